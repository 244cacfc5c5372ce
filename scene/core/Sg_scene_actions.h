// TsgControlActionLink: connects a toolkit control to an action, so that the action's caption,
// enabled state, hint, visibility and execute handler flow into the control while the control
// still shows the action's value for each of them.
//
// The caption goes into the control's text: controls with a caption publish it as "Text".
#pragma once

#include "platform/ui/Actions.h"

class TsgControl;

class TsgControlActionLink : public TActionLink {
public:
    TsgControl* Client() const { return FClient; }
    // Raises EInvalidOperation for anything but a toolkit control.
    void AssignClient(TObject* AClient) override;

    bool IsCaptionLinked() override;
    bool IsEnabledLinked() override;
    bool IsHintLinked() override;
    bool IsVisibleLinked() override;
    bool IsOnExecuteLinked() override;
    void SetCaption(const UnicodeString& Value) override;
    void SetEnabled(bool Value) override;
    void SetHint(const UnicodeString& Value) override;
    void SetVisible(bool Value) override;
    void SetOnExecute(const ::TNotifyEvent& Value) override;
    bool DoShowHint(UnicodeString& HintStr) override;

private:
    TCustomAction* CustomAction() const;
    TsgControl* FClient = nullptr;
};

// Whether the control carries a caption ("Text"), and its text.
bool sgHasCaption(TsgControl* AControl);
UnicodeString sgCaptionOf(TsgControl* AControl);
void sgSetCaption(TsgControl* AControl, const UnicodeString& Value);
