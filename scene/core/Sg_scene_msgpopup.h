// MessagePopup: the toolkit's own message box. It shows a TsgMessagePopup (a popup that stays
// open, follows its form and disables the rest of the scene while it shows) with an icon, a
// title, a text and one button per requested answer, modally, at the top of the form or under a
// target object, and answers the modal result of the pressed button.
//
// The title, text and buttons are the toolkit's labels, layouts and buttons, made by class name
// ("TsgLabel", "TsgLayout", "TsgButton") so this layer does not depend on the control library;
// a class that is not registered is stood in for by a plain visual object.
#pragma once

#include "scene/core/Sg_scene_popup.h"

#include <cstdint>
#include <initializer_list>

class TsgBitmap;

enum TsgMessageType {
    sgMessageWarning,
    sgMessageError,
    sgMessageInformation,
    sgMessageConfirmation,
    sgMessageCustom
};

enum TsgMessageButton {
    sgButtonYes,
    sgButtonNo,
    sgButtonOK,
    sgButtonCancel,
    sgButtonAbort,
    sgButtonRetry,
    sgButtonIgnore,
    sgButtonAll,
    sgButtonNoToAll,
    sgButtonYesToAll,
    sgButtonHelp
};

// A set of buttons, one bit per button.
using TsgMessageButtons = uint16_t;
constexpr TsgMessageButtons sgButtons(std::initializer_list<TsgMessageButton> Buttons) {
    TsgMessageButtons set = 0;
    for (TsgMessageButton b : Buttons)
        set = static_cast<TsgMessageButtons>(set | (1u << b));
    return set;
}
constexpr bool sgHasButton(TsgMessageButtons Set, TsgMessageButton B) {
    return (Set >> B) & 1u;
}

constexpr TModalResult mrAll = 8;
constexpr TModalResult mrNoToAll = 9;
constexpr TModalResult mrYesToAll = 10;

// The caption and modal result of each button.
const char16_t* sgMessageButtonCaption(TsgMessageButton B);
TModalResult sgMessageButtonResult(TsgMessageButton B);
// The button Return presses: OK when requested, else Yes, else Retry (which may be absent).
TsgMessageButton sgMessageDefaultButton(TsgMessageButtons Buttons);
// The button Escape presses: Cancel when requested, else No, else OK (which may be absent).
TsgMessageButton sgMessageCancelButton(TsgMessageButtons Buttons);

class TsgMessagePopup : public TsgPopup {
    DBI_PERSISTENT(TsgMessagePopup, TsgPopup)

    explicit TsgMessagePopup(TComponent* AOwner);

    // The rest of the popup's scene is disabled while the loop runs.
    TModalResult PopupModal() override;
    // Centred under the target, or at the top of the owner form's client area.
    void ApplyPlacement() override;
};

// Runs the message popup; Owner, Target, ABitmap and AStyle may be nullptr. An empty set of
// buttons gets an OK button (there would be no way to close the popup otherwise).
int MessagePopup(const UnicodeString& ACaption, const UnicodeString& AMessage, TsgMessageType AType,
                 TsgMessageButtons Buttons, TsgScene* Owner = nullptr,
                 TsgVisualObject* Target = nullptr, TsgBitmap* ABitmap = nullptr,
                 TsgResources* AStyle = nullptr);
// Called with the popup once it is built, before it opens (tests press its buttons).
extern void (*sgMessagePopupShown)(TsgMessagePopup* Popup);
