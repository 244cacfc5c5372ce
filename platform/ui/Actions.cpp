#include "platform/ui/Actions.h"

#include "platform/ui/ImageList.h"

#include "platform/rtl/Exceptions.h"

#include <algorithm>
#include <string>

DBI_PUBLISH(TBasicAction) {
    p.Event("OnExecute", &TBasicAction::OnExecute, &TBasicAction::SetOnExecute);
}

DBI_PUBLISH(TCustomAction) {
    using A = TCustomAction;
    p.String("Caption", &A::Caption, &A::SetCaption);
    p.Boolean("Enabled", &A::Enabled, &A::SetEnabled, true);
    p.String("Hint", &A::Hint, &A::SetHint);
    p.Boolean("Visible", &A::Visible, &A::SetVisible, true);
    p.Integer("ImageIndex", &A::ImageIndex, &A::SetImageIndex, -1);
}

DBI_PUBLISH(TCustomActionList) {
    p.Object("Images", &TCustomActionList::Images, &TCustomActionList::SetImages);
}

TBasicAction::TBasicAction(TComponent* AOwner) : TComponent(AOwner) {}

TBasicAction::~TBasicAction() {
    // The links outlive the action; they simply lose it.
    while (!FClients.empty())
        FClients.back()->SetAction(nullptr);
}

void TBasicAction::SetOnExecute(const ::TNotifyEvent& Value) {
    if (Value == FOnExecute)
        return;
    FOnExecute = Value;
    Change();
}

bool TBasicAction::Execute() {
    if (!FOnExecute)
        return false;
    FOnExecute(this);
    return true;
}

bool TBasicAction::Update() {
    if (!OnUpdate)
        return false;
    OnUpdate(this);
    return true;
}

void TBasicAction::RegisterChanges(TActionLink* Link) {
    if (std::find(FClients.begin(), FClients.end(), Link) == FClients.end())
        FClients.push_back(Link);
}

void TBasicAction::UnRegisterChanges(TActionLink* Link) {
    FClients.erase(std::remove(FClients.begin(), FClients.end(), Link), FClients.end());
}

void TBasicAction::Change() {
    // A link may leave while it hears of the change.
    const std::vector<TActionLink*> clients = FClients;
    for (TActionLink* link : clients)
        if (std::find(FClients.begin(), FClients.end(), link) != FClients.end())
            link->Change();
}

// Each setter pushes the value into the clients that still follow the old one, then tells them
// all of the change.

void TCustomAction::SetCaption(const UnicodeString& Value) {
    if (Value == FCaption)
        return;
    for (TActionLink* link : std::vector<TActionLink*>(Clients()))
        if (link->IsCaptionLinked())
            link->SetCaption(Value);
    FCaption = Value;
    Change();
}

void TCustomAction::SetEnabled(bool Value) {
    if (Value == FEnabled)
        return;
    for (TActionLink* link : std::vector<TActionLink*>(Clients()))
        if (link->IsEnabledLinked())
            link->SetEnabled(Value);
    FEnabled = Value;
    Change();
}

void TCustomAction::SetHint(const UnicodeString& Value) {
    if (Value == FHint)
        return;
    for (TActionLink* link : std::vector<TActionLink*>(Clients()))
        if (link->IsHintLinked())
            link->SetHint(Value);
    FHint = Value;
    Change();
}

void TCustomAction::SetVisible(bool Value) {
    if (Value == FVisible)
        return;
    for (TActionLink* link : std::vector<TActionLink*>(Clients()))
        if (link->IsVisibleLinked())
            link->SetVisible(Value);
    FVisible = Value;
    Change();
}

void TCustomAction::SetOnExecute(const ::TNotifyEvent& Value) {
    if (Value == OnExecute())
        return;
    for (TActionLink* link : std::vector<TActionLink*>(Clients()))
        if (link->IsOnExecuteLinked())
            link->SetOnExecute(Value);
    TBasicAction::SetOnExecute(Value);
}

TCustomAction::~TCustomAction() {
    // Going quietly: the clients hear of the action's end through their links, not as a change.
    LeaveActionList();
}

void TCustomAction::SetImageIndex(int Value) {
    if (Value == FImageIndex)
        return;
    FImageIndex = Value;
    Change();
}

void TCustomAction::SetActionList(TCustomActionList* Value) {
    if (Value == FActionList)
        return;
    LeaveActionList();
    FActionList = Value;
    if (FActionList)
        FActionList->FActions.push_back(this);
    Change();
}

void TCustomAction::LeaveActionList() {
    if (!FActionList)
        return;
    auto& actions = FActionList->FActions;
    actions.erase(std::remove(actions.begin(), actions.end(), this), actions.end());
    FActionList = nullptr;
}

bool TCustomAction::DoHint(UnicodeString& HintStr) {
    bool canShow = true;
    if (OnHint)
        OnHint(HintStr, canShow);
    return canShow;
}

TActionLink::~TActionLink() {
    SetAction(nullptr);
}

void TActionLink::SetAction(TBasicAction* Value) {
    if (Value == FAction)
        return;
    if (FAction)
        FAction->UnRegisterChanges(this);
    FAction = Value;
    if (FAction)
        FAction->RegisterChanges(this);
}

void TActionLink::Change() {
    if (OnChange)
        OnChange(FAction);
}

TCustomActionList::~TCustomActionList() {
    // The actions keep what their clients took from the list; they only stop pointing at it.
    for (TCustomAction* action : FActions)
        action->FActionList = nullptr;
    if (FImages)
        FImages->RemoveFreeNotification(this);
}

void TCustomActionList::SetImages(TCustomImageList* Value) {
    if (Value == FImages)
        return;
    if (FImages)
        FImages->RemoveFreeNotification(this);
    FImages = Value;
    if (FImages)
        FImages->FreeNotification(this);
    // A client may leave the list while it hears of the change.
    for (TCustomAction* action : std::vector<TCustomAction*>(FActions))
        if (std::find(FActions.begin(), FActions.end(), action) != FActions.end())
            action->Change();
}

TCustomAction* TCustomActionList::Actions(int Index) const {
    if (Index < 0 || Index >= ActionCount())
        throw EListError(AnsiString("List index out of bounds (") +
                         AnsiString(std::to_string(Index)) + ")");
    return FActions[size_t(Index)];
}

void TCustomActionList::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent && AComponent == FImages)
        SetImages(nullptr);
}
