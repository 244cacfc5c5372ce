// Actions: commands kept apart from the controls that trigger them. An action holds a caption,
// an enabled state, a hint, a visibility and an execute handler; every control linked to it
// (through a TActionLink of the control's own kind) follows its changes, as long as the
// control still shows the action's value for that property (the "linked" tests).
//
// Actions may belong to an action list, which gives them their pictures: an action's ImageIndex
// picks one of the list's Images.
#pragma once

#include "platform/classes/Closure.h"
#include "platform/classes/Component.h"
#include "platform/rtl/UnicodeString.h"

#include <vector>

class TActionLink;
class TCustomActionList;
class TCustomImageList;

class TBasicAction : public TComponent {
    DBI_PERSISTENT(TBasicAction, TComponent)

    explicit TBasicAction(TComponent* AOwner);
    ~TBasicAction() override;

    ::TNotifyEvent OnExecute() const { return FOnExecute; }
    virtual void SetOnExecute(const ::TNotifyEvent& Value);
    ::TNotifyEvent OnUpdate;

    // Runs OnExecute; false when there is none.
    virtual bool Execute();
    // Runs OnUpdate; false when there is none.
    virtual bool Update();

    void RegisterChanges(TActionLink* Link);
    void UnRegisterChanges(TActionLink* Link);

protected:
    friend class TCustomActionList;
    // Tells every link that something changed.
    void Change();
    const std::vector<TActionLink*>& Clients() const { return FClients; }

private:
    ::TNotifyEvent FOnExecute;
    std::vector<TActionLink*> FClients;
};

class TCustomAction : public TBasicAction {
    DBI_PERSISTENT(TCustomAction, TBasicAction)

    explicit TCustomAction(TComponent* AOwner) : TBasicAction(AOwner) {}
    ~TCustomAction() override;

    const UnicodeString& Caption() const { return FCaption; }
    void SetCaption(const UnicodeString& Value);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    const UnicodeString& Hint() const { return FHint; }
    void SetHint(const UnicodeString& Value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    void SetOnExecute(const ::TNotifyEvent& Value) override;
    // -1: no picture.
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value);
    // The list the action belongs to; nullptr for none.
    TCustomActionList* ActionList() const { return FActionList; }
    void SetActionList(TCustomActionList* Value);

    // The action's own hint processing; true when the hint is to be shown.
    virtual bool DoHint(UnicodeString& HintStr);
    TClosure<void(UnicodeString& HintStr, bool& CanShow)> OnHint;

private:
    friend class TCustomActionList;
    void LeaveActionList();

    UnicodeString FCaption;
    bool FEnabled = true;
    UnicodeString FHint;
    bool FVisible = true;
    int FImageIndex = -1;
    TCustomActionList* FActionList = nullptr;
};

// A set of actions sharing one image list. The list does not own its actions: an action that
// goes leaves the list, and actions left when the list goes belong to no list.
class TCustomActionList : public TComponent {
    DBI_PERSISTENT(TCustomActionList, TComponent)

    explicit TCustomActionList(TComponent* AOwner) : TComponent(AOwner) {}
    ~TCustomActionList() override;

    TCustomImageList* Images() const { return FImages; }
    // The actions of the list tell their clients, which may take their pictures anew.
    void SetImages(TCustomImageList* Value);

    int ActionCount() const { return static_cast<int>(FActions.size()); }
    TCustomAction* Actions(int Index) const;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    friend class TCustomAction;
    TCustomImageList* FImages = nullptr;
    std::vector<TCustomAction*> FActions;
};

class TActionLink : public TObject {
public:
    TActionLink() = default;
    ~TActionLink() override;
    TActionLink(const TActionLink&) = delete;
    TActionLink& operator=(const TActionLink&) = delete;

    TBasicAction* Action() const { return FAction; }
    void SetAction(TBasicAction* Value);
    // Runs with the action whenever it changes.
    ::TNotifyEvent OnChange;

    virtual void AssignClient(TObject*) {}
    virtual bool Execute() { return FAction && FAction->Execute(); }
    virtual bool Update() { return FAction && FAction->Update(); }

    // Whether the client still follows that property of the action; the kinds of link refine
    // these by comparing the client's value with the action's.
    virtual bool IsCaptionLinked() { return dynamic_cast<TCustomAction*>(FAction) != nullptr; }
    virtual bool IsEnabledLinked() { return dynamic_cast<TCustomAction*>(FAction) != nullptr; }
    virtual bool IsHintLinked() { return dynamic_cast<TCustomAction*>(FAction) != nullptr; }
    virtual bool IsVisibleLinked() { return dynamic_cast<TCustomAction*>(FAction) != nullptr; }
    virtual bool IsOnExecuteLinked() { return FAction != nullptr; }
    virtual void SetCaption(const UnicodeString&) {}
    virtual void SetEnabled(bool) {}
    virtual void SetHint(const UnicodeString&) {}
    virtual void SetVisible(bool) {}
    virtual void SetOnExecute(const ::TNotifyEvent&) {}
    virtual bool DoShowHint(UnicodeString&) { return true; }

private:
    friend class TBasicAction;
    void Change();
    TBasicAction* FAction = nullptr;
};
