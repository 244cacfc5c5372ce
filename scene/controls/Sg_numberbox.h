// The numeric text boxes: TsgNumberBox and TsgSpinBox keep a Value between Min and Max and show
// it as their text; what is typed (digits, signs and separators only) becomes the value when it
// is committed (Enter, leaving the box). The number box also changes its value by dragging the
// pointer over it and by the Up and Down keys; the spin box by its minus and plus buttons (the
// "minusbutton" and "plusbutton" parts of its style) and the same keys, and can show a suffix
// after the number.
//
// Changing the value from code rewrites the text but commits nothing; the drag's release and
// every click of a spin button commit, and raise OnChange.
#pragma once

#include "scene/controls/Sg_textbox.h"

#include <cstdint>

class TsgCustomButton;

enum TsgValueType { sgValueInteger = 0, sgValueFloat = 1 };

// The text a value is shown with: with a fraction and sgValueFloat, the value with Digits
// decimals and the user's decimal separator; else its integer part.
UnicodeString sgValueText(float Value, TsgValueType ValueType, int32_t Digits);

class TsgNumberBox : public TsgTextBox {
    DBI_PERSISTENT(TsgNumberBox, TsgTextBox)

    explicit TsgNumberBox(TComponent* AOwner);

    float Value() const { return FValue; }
    void SetValue(float Value);
    // Neither bound moves the present value; they apply from the next change on.
    float Min() const { return FMin; }
    void SetMin(float Value) { FMin = Value; }
    float Max() const { return FMax; }
    void SetMax(float Value) { FMax = Value; }
    TsgValueType ValueType() const { return FValueType; }
    void SetValueType(TsgValueType Value) { FValueType = Value; }
    float HorzIncrement() const { return FHorzIncrement; }
    void SetHorzIncrement(float Value) { FHorzIncrement = Value; }
    float VertIncrement() const { return FVertIncrement; }
    void SetVertIncrement(float Value) { FVertIncrement = Value; }
    int32_t DecimalDigits() const { return FDecimalDigits; }
    void SetDecimalDigits(int32_t Value) { FDecimalDigits = Value; }
    // A drag is in progress, and whether its last step was vertical.
    bool Dragging() const { return FPressed; }
    bool LastStepVertical() const { return FPressedVert; }

    void Change() override;
    void KeyDown(uint16_t& Key, char16_t& KeyChar, TShiftState Shift) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, float X, float Y) override;
    void MouseMove(TShiftState Shift, float X, float Y, float Dx, float Dy) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, float X, float Y) override;
    void PaintChildren() override;
    // The drag bar, in local coordinates: along the right edge after a vertical step, along the
    // bottom after a horizontal one.
    TsgRect DragBarRect();

    TsgVariant GetData() override;
    void SetData(const TsgVariant& Value) override;

private:
    float FValue = 0;
    float FMin = 0;
    float FMax = 10;
    bool FPressed = false;
    TsgPoint FPressedPos{0, 0};
    bool FPressedVert = false;
    float FPressedInc = 0;
    TsgValueType FValueType = sgValueInteger;
    float FHorzIncrement = 1;
    float FVertIncrement = 5;
    int32_t FDecimalDigits = 2;
};

class TsgSpinBox : public TsgTextBox {
    DBI_PERSISTENT(TsgSpinBox, TsgTextBox)

    explicit TsgSpinBox(TComponent* AOwner);

    float Value() const { return FValue; }
    void SetValue(float Value);
    float Min() const { return FMin; }
    void SetMin(float Value) { FMin = Value; }
    float Max() const { return FMax; }
    void SetMax(float Value) { FMax = Value; }
    TsgValueType ValueType() const { return FValueType; }
    // Whole numbers step by a whole increment: a fractional one becomes 1.
    void SetValueType(TsgValueType Value);
    float Increment() const { return FIncrement; }
    void SetIncrement(float Value) { FIncrement = Value; }
    int32_t DecimalDigits() const { return FDecimalDigits; }
    void SetDecimalDigits(int32_t Value) { FDecimalDigits = Value; }
    const UnicodeString& Suffix() const { return FSuffix; }
    void SetSuffix(const UnicodeString& Value);
    // The buttons of the present style clone, nullptr without them.
    TsgCustomButton* MinusButton() const { return FMinus; }
    TsgCustomButton* PlusButton() const { return FPlus; }

    void Change() override;
    void KeyDown(uint16_t& Key, char16_t& KeyChar, TShiftState Shift) override;
    void KillFocus() override;
    // The suffix stands right of the number; the number moves left by half its width.
    float GetCharX(int P) override;
    int GetCoordinatePosition(float X) override;

    TsgVariant GetData() override;
    void SetData(const TsgVariant& Value) override;

protected:
    void ApplyStyle() override;
    void FreeStyle() override;
    void DoContentPaint(TObject* Sender, TsgCanvas* Canvas, const TsgRect& ARect) override;

private:
    void MinusClick(TObject*);
    void PlusClick(TObject*);
    // Half the suffix's width plus 1; 0 without a suffix.
    float SuffixShift();

    float FValue = 0;
    float FMin = 0;
    float FMax = 10;
    TsgValueType FValueType = sgValueInteger;
    TsgCustomButton* FMinus = nullptr;
    TsgCustomButton* FPlus = nullptr;
    float FIncrement = 1;
    int32_t FDecimalDigits = 2;
    UnicodeString FSuffix;
};

class TsgHudNumberBox : public TsgNumberBox {
    DBI_PERSISTENT(TsgHudNumberBox, TsgNumberBox)
    using TsgNumberBox::TsgNumberBox;
};

class TsgHudSpinBox : public TsgSpinBox {
    DBI_PERSISTENT(TsgHudSpinBox, TsgSpinBox)
    using TsgSpinBox::TsgSpinBox;
};

// Registers the numeric boxes by category; part of the text box unit's start-up.
void RegisterSgNumberBoxes();
