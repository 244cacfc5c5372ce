#include "scene/core/Sg_scene_actions.h"

#include "scene/core/Sg_scene_control.h"

#include "platform/classes/TypInfo.h"
#include "platform/rtl/Exceptions.h"

bool sgHasCaption(TsgControl* AControl) {
    return AControl && IsPublishedProp(AControl, "Text");
}

UnicodeString sgCaptionOf(TsgControl* AControl) {
    return sgHasCaption(AControl) ? GetStrProp(AControl, "Text") : UnicodeString();
}

void sgSetCaption(TsgControl* AControl, const UnicodeString& Value) {
    if (sgHasCaption(AControl))
        SetStrProp(AControl, "Text", Value);
}

void TsgControlActionLink::AssignClient(TObject* AClient) {
    auto* control = dynamic_cast<TsgControl*>(AClient);
    if (AClient && !control)
        throw EInvalidOperation("Invalid class typecast");
    FClient = control;
}

TCustomAction* TsgControlActionLink::CustomAction() const {
    return dynamic_cast<TCustomAction*>(Action());
}

bool TsgControlActionLink::IsCaptionLinked() {
    TCustomAction* action = CustomAction();
    return TActionLink::IsCaptionLinked() && action && sgHasCaption(FClient) &&
           sgCaptionOf(FClient) == action->Caption();
}

bool TsgControlActionLink::IsEnabledLinked() {
    TCustomAction* action = CustomAction();
    return TActionLink::IsEnabledLinked() && action && FClient &&
           FClient->Enabled() == action->Enabled();
}

bool TsgControlActionLink::IsHintLinked() {
    TCustomAction* action = CustomAction();
    return TActionLink::IsHintLinked() && action && FClient && FClient->Hint() == action->Hint();
}

bool TsgControlActionLink::IsVisibleLinked() {
    TCustomAction* action = CustomAction();
    return TActionLink::IsVisibleLinked() && action && FClient &&
           FClient->Visible() == action->Visible();
}

bool TsgControlActionLink::IsOnExecuteLinked() {
    return TActionLink::IsOnExecuteLinked() && FClient &&
           FClient->OnClick.Code() == Action()->OnExecute().Code();
}

void TsgControlActionLink::SetCaption(const UnicodeString& Value) {
    if (IsCaptionLinked())
        sgSetCaption(FClient, Value);
}

void TsgControlActionLink::SetEnabled(bool Value) {
    if (IsEnabledLinked())
        FClient->SetEnabled(Value);
}

void TsgControlActionLink::SetHint(const UnicodeString& Value) {
    if (IsHintLinked())
        FClient->SetHint(Value);
}

void TsgControlActionLink::SetVisible(bool Value) {
    if (IsVisibleLinked())
        FClient->SetVisible(Value);
}

void TsgControlActionLink::SetOnExecute(const ::TNotifyEvent& Value) {
    if (IsOnExecuteLinked())
        FClient->OnClick = Value;
}

bool TsgControlActionLink::DoShowHint(UnicodeString& HintStr) {
    if (TCustomAction* action = CustomAction())
        action->DoHint(HintStr);
    return true;
}
