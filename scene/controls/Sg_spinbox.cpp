// The spin box: value and text, its two buttons and the suffix beside the number.
#include "scene/controls/Sg_controls_buttons.h"
#include "scene/controls/Sg_numberbox.h"
#include "scene/controls/Sg_numberbox_p.h"

#include "scene/core/Sg_scene_registry.h"
#include "scene/core/Sg_scene_text.h"

#include "platform/rtl/Conversions.h"
#include "platform/rtl/Exceptions.h"
#include "platform/ui/Input.h"

#include <cmath>

DBI_PUBLISH(TsgSpinBox) {
    using S = TsgSpinBox;
    numericbox::PublishNumeric(p);
    p.Float("Increment", &S::Increment, &S::SetIncrement, 0);
    p.Enumeration("TextAlign", &S::TextAlign, &S::SetTextAlign,
                  {"sgTextAlignCenter", "sgTextAlignNear", "sgTextAlignFar"}, sgTextAlignCenter);
    p.String("Suffix", &S::Suffix, &S::SetSuffix);
}

DBI_PUBLISH(TsgHudSpinBox) {
    (void)p;
}

TsgSpinBox::TsgSpinBox(TComponent* AOwner) : TsgTextBox(AOwner) {
    SetFilterChar(numericbox::kNumberChars);
    SetTextAlign(sgTextAlignCenter);
    WriteText(u"0");
}

void TsgSpinBox::SetValue(float Value) {
    if (Value == FValue || !numericbox::Limit(Value, FMin, FMax))
        return;
    FValue = Value;
    WriteText(sgValueText(FValue, FValueType, FDecimalDigits));
    SetSelLength(0);
    Repaint();
}

void TsgSpinBox::SetValueType(TsgValueType Value) {
    if (Value == FValueType)
        return;
    FValueType = Value;
    if (FValueType == sgValueInteger && FIncrement != std::trunc(FIncrement))
        FIncrement = 1;
}

void TsgSpinBox::SetSuffix(const UnicodeString& Value) {
    if (Value == FSuffix)
        return;
    FSuffix = Value;
    Repaint();
}

void TsgSpinBox::Change() {
    // Text that is no number brings the old value back.
    FValue = numericbox::TypedValue(Text(), FValue, FMin, FMax);
    WriteText(sgValueText(FValue, FValueType, FDecimalDigits));
    Repaint();
    TsgTextBox::Change();
}

void TsgSpinBox::KeyDown(uint16_t& Key, char16_t& KeyChar, TShiftState Shift) {
    if (Key == VK_UP || Key == VK_DOWN) {
        SetValue(Key == VK_UP ? FValue + FIncrement : FValue - FIncrement);
        Key = 0;
        return;
    }
    TsgTextBox::KeyDown(Key, KeyChar, Shift);
}

// A button held while the focus goes elsewhere must not go on clicking.
void TsgSpinBox::KillFocus() {
    TsgTextBox::KillFocus();
    for (TsgCustomButton* b : {FMinus, FPlus})
        if (b)
            b->StopRepeating();
}

// Every click commits, a held button's repeated clicks included.
void TsgSpinBox::MinusClick(TObject*) {
    SetFocus();
    SetValue(FValue - FIncrement);
    SetNeedChange(true);
    Change();
}

void TsgSpinBox::PlusClick(TObject*) {
    SetFocus();
    SetValue(FValue + FIncrement);
    SetNeedChange(true);
    Change();
}

void TsgSpinBox::ApplyStyle() {
    TsgTextBox::ApplyStyle();
    FMinus = dynamic_cast<TsgCustomButton*>(FindResource(u"minusbutton"));
    FPlus = dynamic_cast<TsgCustomButton*>(FindResource(u"plusbutton"));
    if (FMinus) {
        FMinus->SetRepeatClick(true);
        FMinus->OnClick = TNotifyEvent::Bind<&TsgSpinBox::MinusClick>(this);
    }
    if (FPlus) {
        FPlus->SetRepeatClick(true);
        FPlus->OnClick = TNotifyEvent::Bind<&TsgSpinBox::PlusClick>(this);
    }
}

void TsgSpinBox::FreeStyle() {
    TsgTextBox::FreeStyle();
    FMinus = nullptr;
    FPlus = nullptr;
}

// Suffix.

float TsgSpinBox::SuffixShift() {
    if (FSuffix.IsEmpty())
        return 0;
    return TextWidth(FSuffix) / 2 + 1;
}

float TsgSpinBox::GetCharX(int P) {
    return TsgTextBox::GetCharX(P) - SuffixShift();
}

int TsgSpinBox::GetCoordinatePosition(float X) {
    if (!FSuffix.IsEmpty())
        X += std::nearbyint(TextWidth(FSuffix) / 2) + 1;
    return TsgTextBox::GetCoordinatePosition(X);
}

void TsgSpinBox::DoContentPaint(TObject* Sender, TsgCanvas* Canvas, const TsgRect& ARect) {
    if (FSuffix.IsEmpty() || Password()) {
        TsgTextBox::DoContentPaint(Sender, Canvas, ARect);
        return;
    }
    const uint32_t state = Canvas->SaveCanvas();
    Canvas->IntersectClipRect(ARect);
    Canvas->Font()->Assign(Font());
    Canvas->Fill()->Assign(FontFill());
    const float opacity = AbsoluteOpacity();
    const UnicodeString visible = Text().SubString(FirstVisibleChar(), Text().Length());
    TsgRect number = ARect;
    if (TextAlign() == sgTextAlignNear)
        number.Right += Font()->Size() / 2;
    const float numberShift = TextWidth(FSuffix) / 2 + 1;
    number.Left -= numberShift;
    number.Right -= numberShift;
    Canvas->FillText(number, number, visible, false, opacity, TextAlign(), sgTextAlignCenter);
    TsgRect suffix = ARect;
    const float suffixShift = TextWidth(Text()) / 2 + 1;
    suffix.Left += suffixShift;
    suffix.Right += suffixShift;
    Canvas->FillText(suffix, suffix, FSuffix, false, opacity, TextAlign(), sgTextAlignCenter);
    if (IsFocused() && SelLength() > 0) {
        Canvas->Fill()->Assign(SelectionFill());
        const TsgRect content = ContentRect();
        TsgRect r = GetSelRect();
        r.Left -= content.Left;
        r.Right -= content.Left;
        r.Top -= content.Top;
        r.Bottom -= content.Top;
        Canvas->FillRect(r, 0, 0, TsgCorners(), opacity);
    }
    Canvas->RestoreCanvas(state);
}

TsgVariant TsgSpinBox::GetData() {
    return FloatToStr(FValue);
}

void TsgSpinBox::SetData(const TsgVariant& Value) {
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
