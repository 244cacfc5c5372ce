#include "scene/core/Sg_scene_object.h"

#include "scene/core/Sg_scene_registry.h"
#include "scene/core/Sg_scene_visual.h"

#include "platform/rtl/StringUtils.h"
#include "platform/ui/Application.h"

#include <algorithm>
#include <thread>

DBI_PUBLISH(TsgObject) {
    p.Integer("Index", &TsgObject::Index, &TsgObject::SetIndex).Stored([](TPersistent&) {
        return false;
    });
    p.Object("Parent", &TsgObject::Parent, &TsgObject::SetParent).Stored([](TPersistent&) {
        return false;
    });
    p.String("BindingName", &TsgObject::BindingName, &TsgObject::SetBindingName);
    p.String("ResourceName", &TsgObject::ResourceName, &TsgObject::SetResourceName);
}

TsgObject::TsgObject(TComponent* AOwner) : TComponent(AOwner) {
    AddResource(this);
}

TsgObject::~TsgObject() {
    BeforeDestruction();
}

void TsgObject::BeforeDestruction() {
    if (FDetached)
        return;
    FDetached = true;
    Destroying();
    if (FScene)
        FScene->Notification(this, opRemove);
    if (FNotifyList) {
        // A partner may unregister others while it hears the news; walk a copy.
        std::vector<IsgFreeNotify*> partners;
        partners.swap(*FNotifyList);
        delete FNotifyList;
        FNotifyList = nullptr;
        for (IsgFreeNotify* partner : partners)
            partner->FreeNotify(this);
    }
    RemoveResource(this);
    if (FParent)
        FParent->RemoveObject(this);
    else if (FScene)
        FScene->RemoveObject(this);
    FScene = nullptr;
    DeleteChildren();
    FScene = nullptr;
}

bool TsgObject::IsAncestorOrSelf(const TsgObject* AObject) const {
    for (const TsgObject* o = this; o; o = o->FParent)
        if (o == AObject)
            return true;
    return false;
}

void TsgObject::AddObject(TsgObject* AObject) {
    if (!AObject)
        return;
    // A node inside its own subtree would free itself; refuse the cycle.
    if (IsAncestorOrSelf(AObject))
        throw EInvalidOperation("An object cannot become a child of itself or of its subtree");
    if (AObject->FParent)
        AObject->FParent->RemoveObject(AObject);
    if (!FChildren)
        FChildren = new TsgObjectList();
    FChildren->Add(AObject);
    AObject->FParent = this;
    AObject->FScene = FScene;
    if (TsgVisualObject* v = AObject->Visual(); v && v->ClipParent())
        FMayHaveClipParentChild = true;
    AObject->UpdateChildScene();
    AObject->ChangeParent();
    // Only an effect among the children changes what HasEffect answers; long lists add and
    // remove many other children.
    if (AObject->IsEffect())
        FEffectDirty = true;
    ChildAdded(AObject);
    AObject->ParentChanged();
}

void TsgObject::RemoveObject(TsgObject* AObject) {
    if (!AObject || AObject->FParent != this || !FChildren)
        return;
    ChildRemoved(AObject);
    AObject->FParent = nullptr;
    AObject->FScene = nullptr;
    // Searched from the end: long lists are emptied from their last child to their first.
    for (int i = FChildren->Count() - 1; i >= 0; --i)
        if (FChildren->Get(i) == AObject) {
            FChildren->Delete(i);
            break;
        }
    if (AObject->IsEffect())
        FEffectDirty = true;
    AObject->ParentChanged();
}

void TsgObject::ParentChanged() {
    // Everything derived from the ancestors is stale once the ancestors change, also when the
    // old values were read before.
    if (TsgVisualObject* v = Visual()) {
        v->RecalcAbsolute();
        v->RecalcEnabled();
        v->RecalcOpacity();
        v->FRecalcUpdateRect = false;
        v->RecalcUpdateRect();
    }
}

void TsgObject::SetParent(TsgObject* Value) {
    if (Value == FParent)
        return;
    if (FParent) {
        if (!Value && FScene && FScene->GetComponent() &&
            FScene->GetComponent()->Owner() != Owner())
            SetNewScene(FindSceneByOwner(Owner()));
        FParent->RemoveObject(this);
    } else if (FScene) {
        FScene->RemoveObject(this);
    }
    if (Value) {
        Value->AddObject(this);
        ChangeParent();
    }
}

void TsgObject::DeleteChildren() {
    if (!FChildren)
        return;
    // Freed first to last. The list keeps exactly the children not yet freed (a child freed
    // while a sibling goes still leaves it), taken from its end: it is reversed once, so a
    // long list costs no shifting.
    const int count = FChildren->Count();
    for (int i = 0; i < count / 2; ++i)
        FChildren->Exchange(i, count - 1 - i);
    while (FChildren->Count() > 0) {
        const int last = FChildren->Count() - 1;
        auto* child = static_cast<TsgObject*>(FChildren->Get(last));
        FChildren->Delete(last);
        child->FParent = nullptr;
        child->Free();
    }
    delete FChildren;
    FChildren = nullptr;
}

int TsgObject::ChildrenCount() const {
    return FChildren ? FChildren->Count() : 0;
}

TsgObject* TsgObject::GetChild(int Index) const {
    if (Index < 0 || Index >= ChildrenCount())
        return nullptr;
    return static_cast<TsgObject*>(FChildren->Get(Index));
}

int TsgObject::Index() const {
    if (!FParent || !FParent->FChildren)
        return -1;
    return FParent->FChildren->IndexOf(this);
}

void TsgObject::SetIndex(int Value) {
    if (!FParent || !FParent->FChildren)
        return;
    TsgObjectList* list = FParent->FChildren;
    Value = std::clamp(Value, 0, list->Count() - 1);
    list->Move(list->IndexOf(this), Value);
}

void TsgObject::BringToFront() {
    if (!FParent)
        return;
    SetIndex(FParent->ChildrenCount() - 1);
    if (FIsVisual)
        static_cast<TsgVisualObject*>(this)->Repaint();
}

void TsgObject::SendToBack() {
    if (!FParent)
        return;
    SetIndex(0);
    if (FParent->FIsVisual)
        static_cast<TsgVisualObject*>(FParent)->Realign();
}

void TsgObject::Sort(TObjectListSortCompare Compare) {
    if (FChildren)
        FChildren->Sort(Compare);
}

void TsgObject::AddObjectsToList(std::vector<TsgObject*>& AList) {
    AList.push_back(this);
    for (int i = 0; i < ChildrenCount(); ++i)
        GetChild(i)->AddObjectsToList(AList);
}

void TsgObject::AddControlsToList(std::vector<TsgObject*>& AList) {
    if (IsControl())
        AList.push_back(this);
    for (int i = 0; i < ChildrenCount(); ++i)
        GetChild(i)->AddControlsToList(AList);
}

IsgScene* TsgObject::Scene() {
    if (!FScene && FParent)
        FScene = FParent->Scene();
    return FScene;
}

void TsgObject::SetNewScene(IsgScene* AScene) {
    FScene = AScene;
    for (int i = 0; i < ChildrenCount(); ++i)
        GetChild(i)->SetNewScene(AScene);
}

void TsgObject::UpdateChildScene() {
    if (FParent)
        FScene = FParent->FScene;
    for (int i = 0; i < ChildrenCount(); ++i)
        GetChild(i)->UpdateChildScene();
}

TsgVisualObject* TsgObject::Visual() {
    return FIsVisual ? static_cast<TsgVisualObject*>(this) : nullptr;
}

TsgObject* TsgObject::FindResource(const UnicodeString& AResource) {
    if (AResource.IsEmpty())
        return nullptr;
    for (int i = 0; i < ChildrenCount(); ++i) {
        TsgObject* child = GetChild(i);
        if (SameText(child->FResourceName, AResource))
            return child;
        if (TsgObject* found = child->FindResource(AResource))
            return found;
    }
    return nullptr;
}

TsgObject* TsgObject::FindBinding(const UnicodeString& ABinding) {
    if (SameText(FBindingName, ABinding))
        return this;
    for (int i = 0; i < ChildrenCount(); ++i) {
        TsgObject* child = GetChild(i);
        if (SameText(child->FBindingName, ABinding))
            return child;
        if (TsgObject* found = child->FindBinding(ABinding))
            return found;
    }
    return nullptr;
}

TsgVariant TsgObject::GetBinding(const UnicodeString& Index) {
    TsgObject* target = FindBinding(Index);
    return target ? target->GetData() : TsgVariant();
}

void TsgObject::SetBinding(const UnicodeString& Index, const TsgVariant& Value) {
    TsgObject* target = FindBinding(Index);
    if (!target)
        return;
    try {
        target->SetData(Value);
    } catch (...) {
        // A binding that cannot take the value leaves it as it was.
    }
}

TsgVariant TsgObject::GetData() {
    return UnicodeString(Name());
}

void TsgObject::SetResourceName(const UnicodeString& Value) {
    if (Value == FResourceName)
        return;
    FResourceName = Value;
    ResourceNameChanged(this);
}

void TsgObject::SetBindingName(const UnicodeString& Value) {
    if (Value != FBindingName)
        FBindingName = Value;
}

void TsgObject::SetStored(bool Value) {
    if (Value == FStored)
        return;
    FStored = Value;
    ResourceNameChanged(this);
    for (int i = 0; i < ChildrenCount(); ++i)
        GetChild(i)->SetStored(Value);
}

void TsgObject::UpdateResource() {
    if (Loading() || HasState(csDestroying))
        return;
    for (int i = 0; i < ChildrenCount(); ++i)
        GetChild(i)->UpdateResource();
}

bool TsgObject::IsStylePart() {
    TsgVisualObject* v = Visual();
    return v && v->Locked() && !v->HitTest();
}

void TsgObject::StartAnimation(const UnicodeString& AName) {
    for (int i = 0; i < ChildrenCount(); ++i) {
        TsgObject* child = GetChild(i);
        if (child->IsAnimation() && SameText(UnicodeString(child->Name()), AName))
            child->AnimationStart();
    }
}

void TsgObject::StopAnimation(const UnicodeString& AName) {
    for (int i = 0; i < ChildrenCount(); ++i) {
        TsgObject* child = GetChild(i);
        if (child->IsAnimation() && SameText(UnicodeString(child->Name()), AName))
            child->AnimationStop();
    }
}

void TsgObject::StopTriggerAnimation(TsgObject* AInstance) {
    for (int i = 0; i < ChildrenCount(); ++i) {
        TsgObject* child = GetChild(i);
        if (child->IsAnimation() && !child->AnimationTrigger().IsEmpty())
            child->AnimationStop();
        else if (child->IsStylePart())
            child->StopTriggerAnimation(AInstance);
    }
}

void TsgObject::StartTriggerAnimation(TsgObject* AInstance, const AnsiString& ATrigger) {
    StopTriggerAnimation(AInstance);
    for (int i = 0; i < ChildrenCount(); ++i) {
        TsgObject* child = GetChild(i);
        if (child->IsAnimation())
            child->AnimationStartTrigger(AInstance, ATrigger);
        else if (child->IsStylePart())
            child->StartTriggerAnimation(AInstance, ATrigger);
    }
}

void TsgObject::StartTriggerAnimationWait(TsgObject* AInstance, const AnsiString& ATrigger) {
    StopTriggerAnimation(AInstance);
    for (int i = 0; i < ChildrenCount(); ++i) {
        TsgObject* child = GetChild(i);
        if (child->IsAnimation()) {
            child->AnimationStartTrigger(AInstance, ATrigger);
            while (child->AnimationRunning()) {
                if (Application)
                    Application->ProcessMessages();
                std::this_thread::yield();
            }
        } else if (child->IsStylePart()) {
            child->StartTriggerAnimationWait(AInstance, ATrigger);
        }
    }
}

void TsgObject::ApplyTriggerEffect(TsgObject* AInstance, const AnsiString& ATrigger) {
    for (int i = 0; i < ChildrenCount(); ++i) {
        TsgObject* child = GetChild(i);
        if (child->IsEffect())
            child->EffectApplyTrigger(AInstance, ATrigger);
        else if (child->IsStylePart())
            child->ApplyTriggerEffect(AInstance, ATrigger);
    }
}

bool TsgObject::HasEffect() {
    if (FEffectDirty) {
        FEffectDirty = false;
        FHasEffect = false;
        if (!FEffectsDisabled)
            for (int i = 0; i < ChildrenCount() && !FHasEffect; ++i) {
                TsgObject* child = GetChild(i);
                FHasEffect = child->IsEffect() &&
                             (child->EffectEnabled() || !child->EffectTrigger().IsEmpty());
            }
    }
    return FHasEffect;
}

bool TsgObject::HasDisablePaintEffect() {
    if (FEffectsDisabled || !HasEffect())
        return false;
    for (int i = 0; i < ChildrenCount(); ++i) {
        TsgObject* child = GetChild(i);
        if (child->IsEffect() && child->EffectEnabled() && child->EffectDisablePaint())
            return true;
    }
    return false;
}

bool TsgObject::HasAfterPaintEffect() {
    if (FEffectsDisabled || !HasEffect())
        return false;
    for (int i = 0; i < ChildrenCount(); ++i) {
        TsgObject* child = GetChild(i);
        if (child->IsEffect() && child->EffectEnabled() && child->EffectAfterPaint())
            return true;
    }
    return false;
}

TsgVisualObject* TsgObject::HasClipParent() {
    if (!FMayHaveClipParentChild)
        return nullptr;
    for (int i = 0; i < ChildrenCount(); ++i)
        if (TsgVisualObject* v = GetChild(i)->Visual(); v && v->ClipParent())
            return v;
    FMayHaveClipParentChild = false;
    return nullptr;
}

void TsgObject::SetEffectsDisabledTree(bool Value) {
    FEffectsDisabled = Value;
    FEffectDirty = true;
    for (int i = 0; i < ChildrenCount(); ++i)
        GetChild(i)->SetEffectsDisabledTree(Value);
}

void TsgObject::DisableEffects() {
    SetEffectsDisabledTree(true);
}

void TsgObject::EnableEffects() {
    SetEffectsDisabledTree(false);
    if (TsgVisualObject* v = Visual())
        v->Repaint();
}

void TsgObject::AddFreeNotify(IsgFreeNotify* Item) {
    if (!Item)
        return;
    if (!FNotifyList)
        FNotifyList = new std::vector<IsgFreeNotify*>();
    if (std::find(FNotifyList->begin(), FNotifyList->end(), Item) == FNotifyList->end())
        FNotifyList->push_back(Item);
}

void TsgObject::RemoveFreeNotify(IsgFreeNotify* Item) {
    if (FNotifyList)
        FNotifyList->erase(std::remove(FNotifyList->begin(), FNotifyList->end(), Item),
                           FNotifyList->end());
}

void TsgObject::FreeNotify(TsgObject* AObject) {
    Notification(AObject, opRemove);
}

void TsgObject::GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root) {
    TComponent::GetChildren(Proc, Root);
    if (IsContent())
        return;
    for (int i = 0; i < ChildrenCount(); ++i) {
        TsgObject* child = GetChild(i);
        if (child->IsContent())
            for (int j = 0; j < child->ChildrenCount(); ++j)
                if (child->GetChild(j)->FStored)
                    Proc(child->GetChild(j));
        if (child->FStored)
            Proc(child);
    }
}

TComponent* TsgObject::GetParentComponent() {
    if (FParent) {
        if (FParent->PassesChildrenToParent())
            return FParent->FParent;
        return FParent;
    }
    return FScene ? FScene->GetComponent() : nullptr;
}

void TsgObject::SetParentComponent(TComponent* Value) {
    TComponent::SetParentComponent(Value);
    if (FParent)
        FParent->RemoveObject(this);
    if (auto* object = dynamic_cast<TsgObject*>(Value))
        object->AddObject(this);
    else if (auto* scene = dynamic_cast<IsgScene*>(Value))
        scene->AddObject(this);
}
