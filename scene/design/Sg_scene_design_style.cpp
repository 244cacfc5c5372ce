// Style editing from the design menu: the selected control's style is copied into the scene's
// style container (made when the scene has none), where the designer can edit it; the controls
// inside the copy bring their own styles along. "Edit Default Style..." keeps the name the
// control looks its style up by, "Edit Custom Style..." gives the copy a name of its own and
// points the control at it.
#include "scene/design/Sg_scene_design.h"

#include "scene/core/Sg_scene_background.h"
#include "scene/core/Sg_scene_control.h"
#include "scene/core/Sg_scene_resources.h"

#include "platform/rtl/Exceptions.h"

#include <vector>

namespace {

// The name a control's style goes by when its Resource is empty: "TsgButton" gives
// "ButtonStyle".
UnicodeString DefaultStyleName(TsgControl* C) {
    if (!C->Resource().IsEmpty())
        return C->Resource();
    const UnicodeString name(C->ClassName());
    return (name.Length() > 3 ? name.SubString(4, name.Length() - 3) : UnicodeString()) +
           UnicodeString(u"Style");
}

void CollectControls(TsgObject* O, std::vector<TsgControl*>& Out) {
    for (int i = 0; i < O->ChildrenCount(); ++i) {
        TsgObject* child = O->GetChild(i);
        if (auto* c = dynamic_cast<TsgControl*>(child))
            Out.push_back(c);
        CollectControls(child, Out);
    }
}

// The controls inside a style copy, found before any of them changes.
std::vector<TsgControl*> ControlsInside(TsgObject* Copy) {
    std::vector<TsgControl*> out;
    CollectControls(Copy, out);
    return out;
}

// The style C would wear, as a copy that belongs to the style tree under Root and no longer to
// C: deleting the control later must not take the edited style with it.
TsgObject* MoveStyleCopy(TsgControl* C, TsgObject* Root) {
    TsgObject* copy = nullptr;
    try {
        copy = C->GetResourceObject();
    } catch (const Exception&) {
        return nullptr;
    }
    if (!copy)
        return nullptr;
    if (TComponent* owner = copy->Owner())
        owner->RemoveComponent(copy);
    if (TsgVisualObject* v = copy->Visual())
        v->SetAlign(vaNone);
    copy->SetParent(Root);
    return copy;
}

// Names a style copy: the name it is looked up by, and its component name when that is a valid
// one.
void NameStyleCopy(TsgObject* Copy, const UnicodeString& Name) {
    Copy->SetResourceName(Name);
    try {
        Copy->SetName(AnsiString(Name));
    } catch (const Exception&) {
        // A name that is no identifier still finds the style through ResourceName.
    }
}

} // namespace

TsgResources* TsgSceneDesign::StyleContainer() {
    TComponent* owner = FScene->GetOwner();
    TsgResources* style = FScene->Style();
    if (!style) {
        style = new TsgResources(owner);
        style->Root = new TsgBackground(nullptr);
        if (sgDesigner && owner)
            style->SetName(sgDesigner->UniqueName(owner, style->ClassName()));
        FScene->SetStyle(style);
    }
    if (!style->Root) {
        style->Root = new TsgBackground(nullptr);
        if (sgDesigner && owner)
            style->SetName(sgDesigner->UniqueName(owner, style->ClassName()));
    }
    return style;
}

void TsgSceneDesign::doDesignPopupEditStyle(TObject*) {
    auto* sel = dynamic_cast<TsgControl*>(Selected());
    if (!sel || !sel->Scene())
        return;
    TsgResources* style = StyleContainer();
    TsgObject* root = style->Root;
    const UnicodeString name = DefaultStyleName(sel);
    if (!root->FindResource(name)) {
        if (TsgObject* copy = MoveStyleCopy(sel, root)) {
            // A copy found by the control's Resource comes without a name; it must keep the one
            // the control looks it up by, or the edited style would never be worn.
            copy->SetResourceName(name);
            for (TsgControl* c : ControlsInside(copy)) {
                const UnicodeString inner = DefaultStyleName(c);
                if (root->FindResource(inner))
                    continue;
                if (TsgObject* innerCopy = MoveStyleCopy(c, root))
                    innerCopy->SetResourceName(inner);
            }
        }
    }
    if (sgDesigner)
        sgDesigner->EditStyle(style, name);
}

void TsgSceneDesign::doDesignPopupCreateStyle(TObject*) {
    auto* sel = dynamic_cast<TsgControl*>(Selected());
    if (!sel || !sel->Scene())
        return;
    TComponent* owner = FScene->GetOwner();
    TsgResources* style = StyleContainer();
    TsgObject* root = style->Root;
    const AnsiString base = sel->Name() + "Style";
    if (sel->Resource().IsEmpty() && sgDesigner && owner)
        sel->SetResource(UnicodeString(sgDesigner->UniqueName(owner, base)));
    if (!root->FindResource(sel->Resource())) {
        if (TsgObject* copy = MoveStyleCopy(sel, root)) {
            const UnicodeString name(sgDesigner && owner ? sgDesigner->UniqueName(owner, base)
                                                         : AnsiString(sel->Name()));
            NameStyleCopy(copy, name);
            sel->SetResource(name);
            for (TsgControl* c : ControlsInside(copy)) {
                if (root->FindResource(c->Resource()))
                    continue;
                // The part's own name tells the copies of one style apart.
                const AnsiString innerBase = sel->Name() + AnsiString(c->ResourceName());
                TsgObject* innerCopy = MoveStyleCopy(c, root);
                if (!innerCopy)
                    continue;
                const UnicodeString inner(
                    sgDesigner && owner ? sgDesigner->UniqueName(owner, innerBase) : innerBase);
                NameStyleCopy(innerCopy, inner);
                c->SetResource(inner);
            }
        }
    }
    if (sgDesigner)
        sgDesigner->EditStyle(style, sel->Resource());
}
