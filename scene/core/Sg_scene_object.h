// TsgObject: a node of the scene graph.
//
// A node has two independent keepers. Its Owner (the component sense) frees it when the owner
// goes; its Parent holds it in the children list and frees it when the parent goes. One
// destruction protocol keeps both sides right whichever frees first: a node that is destroyed
// leaves its parent's children (and tab) list, or its scene when it is a root, then frees its
// own subtree, then leaves its owner's component list. DeleteChildren clears a child's parent
// before freeing it, so the dying parent is never called back. Every node is thus freed exactly
// once, by whichever keeper lets go first.
//
// A node is in its parent's children list exactly once while its parent is set: AddObject and
// RemoveObject change both sides together, and AddObject first takes the node out of any other
// parent, so no node can end up in two lists (and be freed twice).
//
// Later kinds of node (animations, effects, controls, the content placeholder of styles, the
// combo list box) plug into the tree through the virtual hooks at the end of the class; the
// core never names those classes.
#pragma once

#include "scene/core/Sg_classes_objectlist.h"
#include "scene/core/Sg_scene_iscene.h"

#include "platform/classes/Component.h"
#include "platform/rtl/UnicodeString.h"

#include <type_traits>
#include <vector>

class TStream;
class TsgVisualObject;
class TsgObject;

// The toolkit carries bound data and property values as text; objects and method pointers
// travel inside it as "sgobj..." and "sgmet..." texts (Sg_scene_registry.h).
using TsgVariant = UnicodeString;

// Something that must hear when a node it refers to is destroyed (AddFreeNotify).
class IsgFreeNotify {
public:
    virtual void FreeNotify(TsgObject* AObject) = 0;

protected:
    ~IsgFreeNotify() = default;
};

// Application data hung on a node; the toolkit never reads it.
class TsgCustomData {
public:
    virtual ~TsgCustomData() = default;
};

class TsgObject : public TComponent, public IsgFreeNotify {
    DBI_PERSISTENT(TsgObject, TComponent)

    explicit TsgObject(TComponent* AOwner);
    ~TsgObject() override;

    // Tree.
    virtual void AddObject(TsgObject* AObject);
    virtual void RemoveObject(TsgObject* AObject);
    virtual void DeleteChildren();
    TsgObject* Parent() const { return FParent; }
    virtual void SetParent(TsgObject* Value);
    virtual void ChangeParent() {}
    int ChildrenCount() const;
    // nullptr at or beyond the count.
    TsgObject* GetChild(int Index) const;
    int Index() const;
    void SetIndex(int Value);
    void BringToFront();
    void SendToBack();
    void Sort(TObjectListSortCompare Compare);
    void AddObjectsToList(std::vector<TsgObject*>& AList);
    void AddControlsToList(std::vector<TsgObject*>& AList);

    // Scene.
    IsgScene* Scene();
    void SetNewScene(IsgScene* AScene);
    void UpdateChildScene();
    bool IsVisual() const { return FIsVisual; }
    TsgVisualObject* Visual();

    // Lookup.
    virtual TsgObject* FindResource(const UnicodeString& AResource);
    TsgObject* FindBinding(const UnicodeString& ABinding);
    virtual TsgVariant GetBinding(const UnicodeString& Index);
    virtual void SetBinding(const UnicodeString& Index, const TsgVariant& Value);
    virtual TsgVariant GetData();
    virtual void SetData(const TsgVariant&) {}
    virtual AnsiString ItemClass() { return AnsiString(); }

    const UnicodeString& ResourceName() const { return FResourceName; }
    void SetResourceName(const UnicodeString& Value);
    const UnicodeString& BindingName() const { return FBindingName; }
    void SetBindingName(const UnicodeString& Value);
    bool Stored() const { return FStored; }
    void SetStored(bool Value);

    TObject* TagObject = nullptr;
    float TagFloat = 0;
    UnicodeString TagString;
    TsgCustomData* TagData = nullptr;

    // Streams and clones. The text form is the platform's component text; see the .cpp for
    // which names are kept.
    void SaveToStream(TStream& Stream);
    void SaveToStreamNoNames(TStream& Stream);
    void LoadFromStream(TStream& AStream);
    void SaveToBinStream(TStream& AStream);
    void LoadFromBinStream(TStream& AStream);
    // Form loads keep the names read (window fields bind by name); toolkit loads drop them.
    void LoadFromBinStreamKeepNames(TStream& AStream);
    TsgObject* Clone(TComponent* AOwner);
    void CloneChildFromStream(TStream& AStream);

    virtual void UpdateResource();

    // Animations, triggers and effects among the children.
    virtual void StartAnimation(const UnicodeString& AName);
    virtual void StopAnimation(const UnicodeString& AName);
    virtual void StartTriggerAnimation(TsgObject* AInstance, const AnsiString& ATrigger);
    virtual void StartTriggerAnimationWait(TsgObject* AInstance, const AnsiString& ATrigger);
    virtual void StopTriggerAnimation(TsgObject* AInstance);
    virtual void ApplyTriggerEffect(TsgObject* AInstance, const AnsiString& ATrigger);
    bool HasEffect();
    bool HasDisablePaintEffect();
    bool HasAfterPaintEffect();
    TsgVisualObject* HasClipParent();
    void DisableEffects();
    void EnableEffects();
    bool EffectsDisabled() const { return FEffectsDisabled; }
    // Moves a property (a path such as "Position.X") from its current value to NewValue with a
    // temporary child animation (Sg_ani_animate.cpp). AnimateFloat and AnimateColor free theirs
    // when it finishes; AnimateFloatDelay keeps it as a child; AnimateFloatWait pumps messages
    // until it has finished, then frees it.
    void AnimateFloat(const AnsiString& APropertyName, float NewValue, float Duration = 0.2f,
                      TsgAnimationType AType = sgAnimationIn,
                      TsgInterpolationType AInterpolation = sgInterpolationLinear);
    void AnimateFloatDelay(const AnsiString& APropertyName, float NewValue, float Duration = 0.2f,
                           float Delay = 0, TsgAnimationType AType = sgAnimationIn,
                           TsgInterpolationType AInterpolation = sgInterpolationLinear);
    void AnimateColor(const AnsiString& APropertyName, const UnicodeString& NewValue,
                      float Duration = 0.2f, TsgAnimationType AType = sgAnimationIn,
                      TsgInterpolationType AInterpolation = sgInterpolationLinear);
    void AnimateFloatWait(const AnsiString& APropertyName, float NewValue, float Duration = 0.2f,
                          TsgAnimationType AType = sgAnimationIn,
                          TsgInterpolationType AInterpolation = sgInterpolationLinear);

    void AddFreeNotify(IsgFreeNotify* Item);
    void RemoveFreeNotify(IsgFreeNotify* Item);
    void FreeNotify(TsgObject* AObject) override;

    // Platform streaming.
    void GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root) override;
    TComponent* GetParentComponent() override;
    bool HasParent() override { return true; }
    void SetParentComponent(TComponent* Value) override;

    // Hooks for node kinds built on the core.
    // The content placeholder of a style: its children stream as its control's own.
    virtual bool IsContent() const { return false; }
    // A container whose children stream as its parent's (content, combo list box).
    virtual bool PassesChildrenToParent() const { return IsContent(); }
    virtual bool IsControl() const { return false; }
    virtual bool IsScrollContent() const { return false; }
    // Animations.
    virtual bool IsAnimation() const { return false; }
    virtual AnsiString AnimationTrigger() const { return AnsiString(); }
    virtual bool AnimationRunning() const { return false; }
    virtual void AnimationStart() {}
    virtual void AnimationStop() {}
    virtual void AnimationStartTrigger(TsgObject*, const AnsiString&) {}
    // Effects.
    virtual bool IsEffect() const { return false; }
    virtual bool EffectEnabled() const { return false; }
    virtual AnsiString EffectTrigger() const { return AnsiString(); }
    virtual bool EffectDisablePaint() const { return false; }
    virtual bool EffectAfterPaint() const { return false; }
    virtual void EffectApplyTrigger(TsgObject*, const AnsiString&) {}
    virtual TsgRect EffectRect(const TsgRect& ARect) const { return ARect; }

protected:
    // Leaves parent (or scene), free-notification partners and the resource list, and frees
    // the subtree. Every destructor of the hierarchy calls it first, so this happens while the
    // most derived parts of the object still exist; later calls do nothing.
    void BeforeDestruction();

    bool Loading() const { return HasState(csLoading); }
    // Lets a stream name differ: the reader's set-name hook blanks names.
    void ReadInto(TStream& AStream, bool KeepNames);
    void WriteBinaryBlankName(TStream& AStream, bool BlankChildNames);
    // The changed children count and order invalidate the effect cache.
    void MarkEffectsDirty() { FEffectDirty = true; }
    // Visual objects answer their own reactions to a new child.
    virtual void ChildAdded(TsgObject*) {}
    virtual void ChildRemoved(TsgObject*) {}

    TsgObjectList* FChildren = nullptr;

private:
    friend class TsgVisualObject;
    bool IsAncestorOrSelf(const TsgObject* AObject) const;
    bool IsStylePart();
    void ParentChanged();
    void SetEffectsDisabledTree(bool Value);

    bool FStored = true;
    UnicodeString FResourceName;
    bool FEffectDirty = true;
    bool FHasEffect = false;
    bool FIsVisual = false;
    std::vector<IsgFreeNotify*>* FNotifyList = nullptr;
    UnicodeString FBindingName;
    TsgObject* FParent = nullptr;
    IsgScene* FScene = nullptr;
    bool FEffectsDisabled = false;
    bool FDetached = false;
    // Set when a child may have ClipParent, cleared by a look that finds none: most nodes have
    // no such child, and a long list would otherwise be searched at every paint.
    bool FMayHaveClipParentChild = false;
};

// Points Link at Value and moves Holder's free notification from the old node to the new one, so
// that Link is cleared if the node it refers to is destroyed.
template <class T>
void sgRelinkFreeNotify(T*& Link, std::type_identity_t<T>* Value, IsgFreeNotify* Holder) {
    if (Link)
        Link->RemoveFreeNotify(Holder);
    Link = Value;
    if (Link)
        Link->AddFreeNotify(Holder);
}
