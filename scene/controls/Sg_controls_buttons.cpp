#include "scene/controls/Sg_controls_buttons.h"

#include "scene/core/Sg_objects.h"
#include "scene/core/Sg_scene_color.h"
#include "scene/core/Sg_scene_geometry.h"
#include "scene/core/Sg_scene_iscene.h"
#include "scene/core/Sg_scene_registry.h"

#include "platform/ui/Actions.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Menus.h"

#include <cmath>
#include <iterator>

namespace {

// A held button clicks this long after the press, then at every repeat interval.
constexpr uint32_t kRepeatDelayMs = 500;
constexpr uint32_t kRepeatIntervalMs = 100;

constexpr uint16_t kKeyEnter = 13;
constexpr uint16_t kKeyEscape = 27;
constexpr uint16_t kKeySpace = 32;

// The first form among the scene's owner and its owners in turn.
TForm* FormOf(IsgScene* Scene) {
    if (!Scene)
        return nullptr;
    for (TComponent* c = Scene->GetOwner(); c; c = c->Owner())
        if (auto* form = dynamic_cast<TForm*>(c))
            return form;
    return nullptr;
}

} // namespace

DBI_PUBLISH(TsgCustomButton) {
    using S = TsgCustomButton;
    p.String("Text", &S::Text, &S::SetText);
    p.Object("Font", &S::Font, &S::SetFont);
    p.Enumeration("TextAlign", &S::TextAlign, &S::SetTextAlign, SgTextAlignNames(), std::nullopt);
    p.Object("Action", &S::Action, &S::SetAction);
    p.Boolean("AutoTranslate", &S::AutoTranslate, &S::SetAutoTranslate, true);
    p.Boolean("StaysPressed", &S::StaysPressed, &S::SetStaysPressed, std::nullopt);
    p.Boolean("StaysPressedDown", &S::StaysPressedDown, &S::SetStaysPressedDown, std::nullopt);
    p.Boolean("IsPressed", &S::IsPressed, &S::SetIsPressed, std::nullopt);
    p.Boolean("CanFocused", &S::CanFocused, &S::SetCanFocused, true);
    p.Boolean("DisableFocusEffect", &S::DisableFocusEffect, &S::SetDisableFocusEffect, false);
    p.Integer("TabOrder", &S::TabOrder, &S::SetTabOrder, -1);
    p.Integer("ModalResult", &S::ModalResult, &S::SetModalResult, 0);
    p.Boolean("RepeatClick", &S::RepeatClick, &S::SetRepeatClick, false);
}

DBI_PUBLISH(TsgButton) {
    p.Boolean("Default", &TsgButton::Default, &TsgButton::SetDefault, false);
    p.Boolean("Cancel", &TsgButton::Cancel, &TsgButton::SetCancel, false);
}

DBI_PUBLISH(TsgRoundButton) {
    (void)p;
}
DBI_PUBLISH(TsgCircleButton) {
    (void)p;
}

DBI_PUBLISH(TsgSpeedButton) {
    using S = TsgSpeedButton;
    p.Boolean("CanFocused", &S::CanFocused, &S::SetCanFocused, false);
    p.Boolean("RepeatClick", &S::RepeatClick, &S::SetRepeatClick, true);
}

DBI_PUBLISH(TsgExpanderButton) {
    p.Boolean("CanFocused", &TsgExpanderButton::CanFocused, &TsgExpanderButton::SetCanFocused,
              false);
}

DBI_PUBLISH(TsgPopupButton) {
    p.Object("PopupMenu", &TsgPopupButton::PopupMenu, &TsgPopupButton::SetPopupMenu);
}

DBI_PUBLISH(TsgColorButton) {
    using S = TsgColorButton;
    p.Boolean("AutoTranslate", &S::AutoTranslate, &S::SetAutoTranslate, false);
    p.String("Color", &S::Color, &S::SetColor);
    // Declared and constructed alike, so a True value survives a stream.
    p.Boolean("UseStandardDialog", &S::UseStandardDialog, &S::SetUseStandardDialog, false);
    p.Event("OnChange", &S::GetOnChange, &S::SetOnChange);
    p.Event("OnDialogShowing", &S::GetOnDialogShowing, &S::SetOnDialogShowing);
    p.Event("OnDialogClosing", &S::GetOnDialogClosing, &S::SetOnDialogClosing);
}

DBI_PUBLISH(TsgCornerButton) {
    using S = TsgCornerButton;
    p.Float("xRadius", &S::xRadius, &S::SetxRadius, 0);
    p.Float("yRadius", &S::yRadius, &S::SetyRadius, 0);
    p.Set("Corners", &S::Corners, &S::SetCorners,
          {std::begin(sgCornerNames), std::end(sgCornerNames)}, AllCorners);
    p.Enumeration("CornerType", &S::CornerType, &S::SetCornerType,
                  {"sgCornerRound", "sgCornerBevel", "sgCornerInnerRound", "sgCornerInnerLine"},
                  sgCornerRound);
}

DBI_PUBLISH(TsgHudButton) {
    (void)p;
}
DBI_PUBLISH(TsgHudRoundButton) {
    (void)p;
}
DBI_PUBLISH(TsgHudCircleButton) {
    (void)p;
}
DBI_PUBLISH(TsgHudCornerButton) {
    (void)p;
}
DBI_PUBLISH(TsgHudSpeedButton) {
    (void)p;
}

// Custom button.

TsgCustomButton::TsgCustomButton(TComponent* AOwner) : TsgTextControl(AOwner) {
    SetAutoTranslate(true);
    SetCanFocused(true);
    SetAutoCapture(true);
    SetWidth(80);
    SetHeight(22);
}

void TsgCustomButton::PressedTrigger() {
    StartTriggerAnimation(this, "IsPressed");
    ApplyTriggerEffect(this, "IsPressed");
}

void TsgCustomButton::SetIsPressed(bool Value) {
    if (!FStaysPressed || Value == FIsPressed)
        return;
    FIsPressed = Value;
    PressedTrigger();
}

void TsgCustomButton::ApplyStyle() {
    TsgTextControl::ApplyStyle();
    PressedTrigger();
}

void TsgCustomButton::Click() {
    if (FModalResult != 0)
        if (TForm* form = FormOf(Scene()))
            form->SetModalResult(FModalResult);
    TsgTextControl::Click();
}

void TsgCustomButton::DblClick() {
    TsgTextControl::DblClick();
    Click();
}

void TsgCustomButton::MouseDown(TMouseButton Button, TShiftState Shift, float X, float Y) {
    TsgTextControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft)
        return;
    FPressing = true;
    const bool old = FIsPressed;
    if (FStaysPressed || FStaysPressedDown) {
        FIsPressed = FStaysPressedDown ? true : !old;
    } else {
        FIsPressed = true;
        if (FRepeat) {
            if (!FRepeatTimer)
                FRepeatTimer = new TsgTimer(this);
            // Every press waits the full delay again, not only the first one.
            FRepeatTimer->SetEnabled(false);
            FRepeatTimer->SetInterval(kRepeatDelayMs);
            FRepeatTimer->SetOnTimer(TNotifyEvent::Bind<&TsgCustomButton::DelayTimer>(this));
            FRepeatTimer->SetEnabled(true);
        }
    }
    if (!(old && FStaysPressedDown))
        PressedTrigger();
}

void TsgCustomButton::DelayTimer(TObject*) {
    FRepeatTimer->SetOnTimer(TNotifyEvent::Bind<&TsgCustomButton::RepeatTimerTick>(this));
    FRepeatTimer->SetInterval(kRepeatIntervalMs);
}

void TsgCustomButton::RepeatTimerTick(TObject*) {
    Click();
}

void TsgCustomButton::MouseMove(TShiftState Shift, float X, float Y, float Dx, float Dy) {
    TsgTextControl::MouseMove(Shift, X, Y, Dx, Dy);
    if (!Shift.Contains(ssLeft) || !FPressing)
        return;
    const bool inside = sgPtInRect({X, Y}, LocalRect());
    if (inside != FIsPressed && !FStaysPressed && !FStaysPressedDown) {
        FIsPressed = inside;
        PressedTrigger();
    }
}

void TsgCustomButton::MouseUp(TMouseButton Button, TShiftState Shift, float X, float Y) {
    if (FPressing) {
        if (FRepeatTimer)
            FRepeatTimer->SetEnabled(false);
        FPressing = false;
        if (!FStaysPressed && !FStaysPressedDown) {
            FIsPressed = false;
            PressedTrigger();
        }
    }
    TsgTextControl::MouseUp(Button, Shift, X, Y);
}

void TsgCustomButton::StopRepeating() {
    if (!FPressing)
        return;
    if (FRepeatTimer)
        FRepeatTimer->SetEnabled(false);
    FPressing = false;
    if (!FStaysPressed && !FStaysPressedDown) {
        FIsPressed = false;
        PressedTrigger();
    }
}

void TsgCustomButton::KeyDown(uint16_t& Key, char16_t& KeyChar, TShiftState Shift) {
    TsgTextControl::KeyDown(Key, KeyChar, Shift);
    if (Key == kKeyEnter || Key == kKeySpace)
        Click();
}

void TsgCustomButton::SetData(const TsgVariant& Value) {
    if (VarIsEvent(Value))
        OnClick = TNotifyEvent::FromMethod(VariantToEvent(Value));
}

// Button.

void TsgButton::DialogKey(uint16_t& Key, TShiftState Shift) {
    TsgCustomButton::DialogKey(Key, Shift);
    if ((FDefault && Key == kKeyEnter) || (FCancel && Key == kKeyEscape)) {
        Click();
        Key = 0;
    }
}

TsgCircleButton::TsgCircleButton(TComponent* AOwner) : TsgButton(AOwner) {
    SetWidth(21);
    SetHeight(21);
}

TsgSpeedButton::TsgSpeedButton(TComponent* AOwner) : TsgCustomButton(AOwner) {
    SetCanFocused(false);
    SetRepeatClick(true);
    SetWidth(23);
    SetHeight(23);
}

TsgExpanderButton::TsgExpanderButton(TComponent* AOwner) : TsgCustomButton(AOwner) {
    SetCanFocused(false);
}

// Popup button.

void TsgPopupButton::SetPopupMenu(TPopupMenu* Value) {
    if (Value == FPopupMenu)
        return;
    if (FPopupMenu)
        FPopupMenu->RemoveFreeNotification(this);
    FPopupMenu = Value;
    if (FPopupMenu)
        FPopupMenu->FreeNotification(this);
}

void TsgPopupButton::Click() {
    TsgButton::Click();
    IsgScene* scene = Scene();
    if (!FPopupMenu || !scene)
        return;
    const TsgPoint p = scene->LocalToScreen(LocalToAbsolute({0, Height()}));
    FPopupMenu->Popup(static_cast<int>(std::nearbyint(p.X)), static_cast<int>(std::nearbyint(p.Y)));
}

void TsgPopupButton::Notification(TComponent* AComponent, TOperation Operation) {
    TsgButton::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FPopupMenu)
        FPopupMenu = nullptr;
}

// Colour button.

TsgColorButton::TsgColorButton(TComponent* AOwner) : TsgCustomButton(AOwner) {
    SetAutoTranslate(false);
}

void TsgColorButton::SetColor(const UnicodeString& Value) {
    FColor = Value;
    if (FFill)
        FFill->Fill()->SetColor(Value);
    if (!Loading() && OnChange)
        OnChange(this);
}

void TsgColorButton::ApplyStyle() {
    TsgCustomButton::ApplyStyle();
    FFill = dynamic_cast<TsgShape*>(FindResource(u"fill"));
    if (FFill)
        FFill->Fill()->SetColor(FColor);
}

TsgColorButtonDialog& sgColorButtonDialog() {
    static TsgColorButtonDialog dialog;
    return dialog;
}

void TsgColorButton::Click() {
    TsgCustomButton::Click();
    const auto showing = [this](TObject* Dialog) {
        if (OnDialogShowing)
            OnDialogShowing(this, Dialog);
    };
    if (!FUseStandardDialog && sgColorButtonDialog()) {
        TsgPoint at{-10, Height() - 10};
        if (IsgScene* scene = Scene())
            at = scene->LocalToScreen(LocalToAbsolute(at));
        UnicodeString color = FColor;
        if (sgColorButtonDialog()(color, int(std::nearbyint(at.X)), int(std::nearbyint(at.Y)),
                                  showing))
            SetColor(color);
    } else {
        TColorDialog dialog;
        const TsgColor argb = sgStrToColor(FColor);
        dialog.Color = ((argb & 0xFF) << 16) | (argb & 0xFF00) | ((argb >> 16) & 0xFF);
        showing(&dialog);
        if (dialog.Execute()) {
            const uint32_t c = dialog.Color;
            const TsgColor chosen =
                0xFF000000u | ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
            SetColor(sgColorToStr(chosen));
        }
    }
    if (OnDialogClosing)
        OnDialogClosing(this);
}

// Corner button.

TsgCornerButton::TsgCornerButton(TComponent* AOwner) : TsgCustomButton(AOwner) {}

void TsgCornerButton::SetxRadius(float Value) {
    if (Value == FxRadius)
        return;
    FxRadius = Value;
    if (StyleClone())
        ApplyStyle();
}

void TsgCornerButton::SetyRadius(float Value) {
    if (Value == FyRadius)
        return;
    FyRadius = Value;
    if (StyleClone())
        ApplyStyle();
}

void TsgCornerButton::SetCorners(TsgCorners Value) {
    if (Value == FCorners)
        return;
    FCorners = Value;
    if (StyleClone())
        ApplyStyle();
}

void TsgCornerButton::SetCornerType(TsgCornerType Value) {
    if (Value == FCornerType)
        return;
    FCornerType = Value;
    if (StyleClone())
        ApplyStyle();
}

void TsgCornerButton::ApplyStyle() {
    TsgCustomButton::ApplyStyle();
    if (auto* background = dynamic_cast<TsgRectangle*>(FindResource(u"Background"))) {
        background->SetCornerType(FCornerType);
        background->SetCorners(FCorners);
        background->SetxRadius(FxRadius);
        background->SetyRadius(FyRadius);
    }
}
