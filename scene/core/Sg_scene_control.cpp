// Style application, data binding and the action place of TsgControl.
//
// Style application swallows every failure: a broken style leaves the control unstyled rather
// than failing the window. What it must never leave behind is a scene whose updates stay
// suppressed, so the suppression taken while a loading control is styled is given back by a
// scope guard, also when finding or cloning the style raises.
#include "scene/core/Sg_scene_control.h"

#include "scene/core/Sg_scene_iscene.h"

#include "platform/rtl/Exceptions.h"
#include "platform/win/DebugOutput.h"

#include <algorithm>
#include <optional>

DBI_PUBLISH(TsgControl) {
    p.String("Resource", &TsgControl::Resource, &TsgControl::SetResource);
}

namespace {

// Puts a scene's update suppression back to what it was when the guard was made.
class TUpdateSuppression {
public:
    explicit TUpdateSuppression(IsgScene* Scene) : FScene(Scene) {
        if (FScene) {
            FSaved = FScene->GetDisableUpdate();
            FScene->SetDisableUpdate(true);
        }
    }
    ~TUpdateSuppression() {
        if (FScene)
            FScene->SetDisableUpdate(FSaved);
    }
    TUpdateSuppression(const TUpdateSuppression&) = delete;
    TUpdateSuppression& operator=(const TUpdateSuppression&) = delete;

private:
    IsgScene* FScene;
    bool FSaved = false;
};

// A clone read from a stream has had Loaded already; one still marked loading (a tree built by
// hand while loading) gets it here, parents before children.
void FinishLoading(TsgObject* O) {
    if (O->HasState(csLoading)) {
        O->Loaded();
        O->ClearStateFlags(csLoading);
    }
    for (int i = 0; i < O->ChildrenCount(); ++i)
        FinishLoading(O->GetChild(i));
}

// Styles may hold controls that wear styles of their own. A sheet whose style holds a control
// wearing that same style would otherwise clone itself once more on every paint, without end.
constexpr int kMaxStyleNesting = 64;

bool NestedTooDeep(TsgObject* C) {
    int controls = 0;
    for (TsgObject* o = C->Parent(); o; o = o->Parent())
        if (o->IsControl() && ++controls > kMaxStyleNesting)
            return true;
    return false;
}

} // namespace

TsgControl::TsgControl(TComponent* AOwner) : TsgVisualObject(AOwner) {}

TsgControl::~TsgControl() {
    FActionLink = nullptr;
    while (!FBindingObjects.empty())
        RemoveBindingObject(FBindingObjects.back());
    // The source would otherwise tell a freed control of its own end.
    SetBindingSource(nullptr);
    BeforeDestruction();
}

UnicodeString TsgControl::StyleNameOf(const TClassInfo& AClass) {
    const UnicodeString name(AClass.ClassName());
    return (name.Length() > 3 ? name.SubString(4, name.Length() - 3) : UnicodeString()) +
           UnicodeString(u"style");
}

void TsgControl::SetResource(const UnicodeString& Value) {
    if (Value == FResource)
        return;
    FResource = Value;
    FNeedStyleLookup = true;
    if (!Loading())
        ApplyResource();
}

void TsgControl::ApplyResource() {
    TsgVisualObject::ApplyResource();
    if (!FNeedStyleLookup)
        return;
    FNeedStyleLookup = false;
    if (NestedTooDeep(this)) {
        OutputDebugStringA("Styles nest too deep (a style holding a control of itself?); "
                           "the control stays unstyled");
        return;
    }
    try {
        TsgObject* S = GetResourceObject();
        if (!S)
            return;
        try {
            FinishLoading(S);
            IsgScene* scene = Scene();
            std::optional<TUpdateSuppression> suppression;
            if (scene && Loading())
                suppression.emplace(scene);
            InstallStyle(S);
        } catch (...) {
            if (S != FResourceLink)
                S->Free();
            throw;
        }
        MarkEffectsDirty();
    } catch (...) {
        // A style that cannot be found, cloned or applied leaves the control without it.
    }
}

void TsgControl::InstallStyle(TsgObject* S) {
    if (FResourceLink) {
        FreeStyle();
        TsgObject* old = FResourceLink;
        FResourceLink = nullptr;
        old->Free();
    }
    // The clone has no parent yet, so the alignment is taken without laying anything out; the
    // clone is fresh, so its effect cache starts out stale.
    if (TsgVisualObject* v = S->Visual()) {
        v->SetAlign(vaContents);
        v->SetDesignHide(false);
    }
    FResourceLink = S;
    AddObject(S);
    S->SetIndex(0);
    S->SetStored(false);
    if (TsgVisualObject* v = S->Visual())
        v->Lock();
    ApplyStyle();
}

void TsgControl::ApplyStyle() {
    if (IsFocused() && CanFocused()) {
        RecalcUpdateRect();
        Repaint();
        StartTriggerAnimation(this, "IsFocused");
        ApplyTriggerEffect(this, "IsFocused");
    }
}

void TsgControl::UpdateResource() {
    if (Loading() || HasState(csDestroying))
        return;
    TsgVisualObject::UpdateResource();
    FNeedStyleLookup = true;
    ApplyResource();
}

TsgObject* TsgControl::FindResource(const UnicodeString& AResource) {
    if (FResourceLink)
        if (TsgObject* found = FResourceLink->FindResource(AResource))
            return found;
    return TsgVisualObject::FindResource(AResource);
}

void TsgControl::BeforePaint() {
    TsgVisualObject::BeforePaint();
    ApplyResource();
}

void TsgControl::EnterFocus() {
    ApplyResource();
    TsgVisualObject::EnterFocus();
}

void TsgControl::SetFocus() {
    // A window's scene enters the focus of the object it makes focused; entering it again here
    // would tell OnFocus twice.
    if (IsgScene* scene = Scene())
        scene->SetFocused(this);
    if (!IsFocused())
        EnterFocus();
}

void TsgControl::Loaded() {
    TsgVisualObject::Loaded();
    if (IsgScene* scene = Scene())
        if (scene->GetActiveControl() == this)
            SetFocus();
}

void TsgControl::SetBindingSource(TsgControl* Value) {
    if (Value == FBindingSource)
        return;
    if (FBindingSource) {
        FBindingSource->RemoveBindingObject(this);
        FBindingSource->RemoveFreeNotify(this);
    }
    FBindingSource = Value;
    if (FBindingSource) {
        // The source tells this control when it goes, so the reference never dangles.
        FBindingSource->AddFreeNotify(this);
        FBindingSource->AddBindingObject(this);
    }
}

void TsgControl::AddBindingObject(TsgControl* AObject) {
    if (!AObject ||
        std::find(FBindingObjects.begin(), FBindingObjects.end(), AObject) != FBindingObjects.end())
        return;
    AObject->AddFreeNotify(this);
    FBindingObjects.push_back(AObject);
    ToBindingObjects();
}

void TsgControl::RemoveBindingObject(TsgControl* AObject) {
    auto it = std::find(FBindingObjects.begin(), FBindingObjects.end(), AObject);
    if (it == FBindingObjects.end())
        return;
    AObject->RemoveFreeNotify(this);
    FBindingObjects.erase(it);
}

void TsgControl::ToBindingObjects() {
    // A binding object may change the list from its SetData; walk by index.
    for (size_t i = 0; i < FBindingObjects.size(); ++i)
        FBindingObjects[i]->SetData(GetData());
}

TBasicAction* TsgControl::GetAction() {
    return nullptr;
}

void TsgControl::SetAction(TBasicAction* Value) {
    if (Value)
        throw EInvalidOperation("Controls cannot take actions in this build");
}

void TsgControl::ActionChange(TBasicAction*, bool) {}

void TsgControl::InitiateAction() {}

void TsgControl::Notification(TComponent* AComponent, TOperation Operation) {
    TsgVisualObject::Notification(AComponent, Operation);
    if (Operation != opRemove || !AComponent)
        return;
    if (AComponent == FBindingSource)
        SetBindingSource(nullptr);
    for (TsgControl* bound : FBindingObjects)
        if (static_cast<TComponent*>(bound) == AComponent) {
            RemoveBindingObject(bound);
            break;
        }
    if (AComponent == FResourceLink)
        FResourceLink = nullptr;
}
