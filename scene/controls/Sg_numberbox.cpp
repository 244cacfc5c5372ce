// The value, text and drag of the number box, and the text of values both numeric boxes share.
#include "scene/controls/Sg_numberbox.h"
#include "scene/controls/Sg_numberbox_p.h"

#include "scene/core/Sg_scene_registry.h"
#include "scene/core/Sg_scene_text.h"

#include "platform/rtl/Conversions.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"
#include "platform/ui/Input.h"

#include <algorithm>
#include <cmath>

namespace {

// More decimals than a single-precision value holds would only print noise; a stream cannot
// make the text grow without bound.
constexpr int32_t kMaxShownDigits = 20;

constexpr TsgColor kDragBarColor = 0xAA505050;

} // namespace

UnicodeString sgValueText(float Value, TsgValueType ValueType, int32_t Digits) {
    const double v = Value;
    if (ValueType == sgValueFloat && v != std::trunc(v)) {
        const int32_t digits = std::clamp(Digits, 0, kMaxShownDigits);
        return Format(UnicodeString(u"%.") + IntToStr(digits) + u"f", v);
    }
    // Adding 0 turns a truncated -0.5 into 0, not "-0".
    return Format(u"%.0f", std::trunc(v) + 0.0);
}

DBI_PUBLISH(TsgNumberBox) {
    using S = TsgNumberBox;
    numericbox::PublishNumeric(p);
    p.Float("HorzIncrement", &S::HorzIncrement, &S::SetHorzIncrement, 0);
    p.Float("VertIncrement", &S::VertIncrement, &S::SetVertIncrement, 0);
}

DBI_PUBLISH(TsgHudNumberBox) {
    (void)p;
}

TsgNumberBox::TsgNumberBox(TComponent* AOwner) : TsgTextBox(AOwner) {
    SetFilterChar(numericbox::kNumberChars);
    SetAutoCapture(true);
    WriteText(u"0");
}

void TsgNumberBox::SetValue(float Value) {
    if (Value == FValue || !numericbox::Limit(Value, FMin, FMax))
        return;
    FValue = Value;
    WriteText(sgValueText(FValue, FValueType, FDecimalDigits));
    SetSelLength(0);
    Repaint();
}

void TsgNumberBox::Change() {
    // Text that is no number brings the old value back.
    FValue = numericbox::TypedValue(Text(), FValue, FMin, FMax);
    WriteText(sgValueText(FValue, FValueType, FDecimalDigits));
    Repaint();
    TsgTextBox::Change();
}

void TsgNumberBox::KeyDown(uint16_t& Key, char16_t& KeyChar, TShiftState Shift) {
    if (Key == VK_UP || Key == VK_DOWN) {
        SetValue(Key == VK_UP ? FValue + FHorzIncrement : FValue - FHorzIncrement);
        Key = 0;
        return;
    }
    TsgTextBox::KeyDown(Key, KeyChar, Shift);
}

void TsgNumberBox::MouseDown(TMouseButton Button, TShiftState Shift, float X, float Y) {
    TsgTextBox::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft)
        return;
    FPressed = true;
    FPressedPos = {X, Y};
    FPressedVert = false;
    FPressedInc = 0;
}

// Every move is one step, whatever its length: the value follows the number of events, not the
// distance.
void TsgNumberBox::MouseMove(TShiftState Shift, float X, float Y, float Dx, float Dy) {
    TsgTextBox::MouseMove(Shift, X, Y, Dx, Dy);
    if (!FPressed)
        return;
    const float dx = std::fabs(X - FPressedPos.X);
    const float dy = std::fabs(Y - FPressedPos.Y);
    const bool vertical = dx < dy;
    if (!vertical)
        SetValue(X > FPressedPos.X ? FValue + FHorzIncrement : FValue - FHorzIncrement);
    else
        SetValue(Y >= FPressedPos.Y ? FValue - FVertIncrement : FValue + FVertIncrement);
    FPressedInc = X - FPressedPos.X;
    FPressedVert = vertical;
    SetNeedChange(true);
    FPressedPos = {X, Y};
}

void TsgNumberBox::MouseUp(TMouseButton Button, TShiftState Shift, float X, float Y) {
    TsgTextBox::MouseUp(Button, Shift, X, Y);
    if (!FPressed)
        return;
    FPressed = false;
    Change();
    Repaint();
}

TsgRect TsgNumberBox::DragBarRect() {
    TsgRect r = LocalRect();
    r = {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
    if (FPressedVert)
        r.Left = r.Right - 5;
    else
        r.Top = r.Bottom - 5;
    return r;
}

void TsgNumberBox::PaintChildren() {
    if (FPressed)
        FDisableCaret = true;
    TsgTextBox::PaintChildren();
    FDisableCaret = false;
    if (!FPressed)
        return;
    TsgCanvas* canvas = Canvas();
    if (!canvas)
        return;
    canvas->SetMatrix(AbsoluteMatrix());
    canvas->Fill()->SetStyle(sgBrushSolid);
    canvas->Fill()->SetSolidColor(kDragBarColor);
    canvas->FillRect(DragBarRect(), 1, 1, AllCorners, AbsoluteOpacity());
}

TsgVariant TsgNumberBox::GetData() {
    return FloatToStr(FValue);
}

void TsgNumberBox::SetData(const TsgVariant& Value) {
    if (VarIsEvent(Value)) {
        OnChange = TNotifyEvent::FromMethod(VariantToEvent(Value));
        return;
    }
    try {
        SetValue(static_cast<float>(StrToFloat(Value)));
    } catch (const EConvertError&) {
        // A value that is no number leaves the box as it is.
    }
}
