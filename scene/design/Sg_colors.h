// Colour and gradient pickers: a swatch (TsgColorBox), a saturation/luminance square for one hue
// (TsgColorQuad), a vertical hue strip (TsgColorPicker) and a gradient bar with draggable colour
// stops (TsgGradientEdit). They are linked in a chain: the gradient editor hands the hue strip
// the colour of its current stop, the strip passes hue, saturation, luminance and alpha to the
// square, and the square shows the resulting colour in the swatch.
//
// They draw themselves instead of using a style. A linked control is not owned; when it is
// freed the link is dropped. HSL components and alpha run from 0 to 1.
#pragma once

#include "scene/core/Sg_scene_brush.h"
#include "scene/core/Sg_scene_control.h"

#include <memory>

class TsgBitmap;

class TsgColorBox : public TsgControl {
    DBI_PERSISTENT(TsgColorBox, TsgControl)

    explicit TsgColorBox(TComponent* AOwner) : TsgControl(AOwner) {}

    TsgColor Color() const { return FColor; }
    void SetColor(TsgColor Value);
    void Paint() override;

private:
    TsgColor FColor = 0;
};

class TsgColorQuad : public TsgControl {
    DBI_PERSISTENT(TsgColorQuad, TsgControl)

    explicit TsgColorQuad(TComponent* AOwner);
    ~TsgColorQuad() override;

    float Hue() const { return FHue; }
    void SetHue(float Value);
    float Sat() const { return FSat; }
    void SetSat(float Value);
    float Lum() const { return FLum; }
    void SetLum(float Value);
    float Alpha() const { return FAlpha; }
    void SetAlpha(float Value);
    TsgColorBox* ColorBox() const { return FColorBox; }
    void SetColorBox(TsgColorBox* Value);
    TNotifyEvent OnChange;
    const TNotifyEvent& GetOnChange() const { return OnChange; }
    void SetOnChange(const TNotifyEvent& V) { OnChange = V; }

    TsgRect GetAbsoluteRect() override;
    void MouseMove(TShiftState Shift, float X, float Y, float Dx, float Dy) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, float X, float Y) override;
    void Paint() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    // The swatch shows the colour, OnChange fires; after every stored change.
    void Changed();
    void PickAt(float X, float Y);

    TsgColorBox* FColorBox = nullptr;
    std::unique_ptr<TsgBitmap> FBitmap;
    float FHue = 0, FSat = 0, FLum = 0;
    float FAlpha = 0;
};

class TsgColorPicker : public TsgControl {
    DBI_PERSISTENT(TsgColorPicker, TsgControl)

    explicit TsgColorPicker(TComponent* AOwner);
    ~TsgColorPicker() override;

    float Hue() const { return FHue; }
    void SetHue(float Value);
    TsgColorQuad* ColorQuad() const { return FColorQuad; }
    void SetColorQuad(TsgColorQuad* Value);
    TsgColor Color() const;
    void SetColor(TsgColor Value);

    TsgRect GetAbsoluteRect() override;
    void MouseMove(TShiftState Shift, float X, float Y, float Dx, float Dy) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, float X, float Y) override;
    void Paint() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    std::unique_ptr<TsgBitmap> FBitmap;
    float FHue = 0;
    TsgColorQuad* FColorQuad = nullptr;
};

class TsgGradientEdit : public TsgControl {
    DBI_PERSISTENT(TsgGradientEdit, TsgControl)

    explicit TsgGradientEdit(TComponent* AOwner);
    ~TsgGradientEdit() override;

    TsgGradient* Gradient() const { return FGradient.get(); }
    void SetGradient(TsgGradient* Value);
    int CurrentPoint() const { return FCurrentPoint; }
    void SetCurrentPoint(int Value);
    TsgColorPicker* ColorPicker() const { return FColorPicker; }
    void SetColorPicker(TsgColorPicker* Value);
    bool CurrentHidden() const { return FCurrentHidden; }
    // The marker square of a point below the bar; empty for an index out of range.
    TsgRect GetPointRect(int Index) const;
    TNotifyEvent OnChange, OnSelectPoint;
    const TNotifyEvent& GetOnChange() const { return OnChange; }
    void SetOnChange(const TNotifyEvent& V) { OnChange = V; }
    const TNotifyEvent& GetOnSelectPoint() const { return OnSelectPoint; }
    void SetOnSelectPoint(const TNotifyEvent& V) { OnSelectPoint = V; }

    void MouseDown(TMouseButton Button, TShiftState Shift, float X, float Y) override;
    void MouseMove(TShiftState Shift, float X, float Y, float Dx, float Dy) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, float X, float Y) override;
    void Paint() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void DoChanged(TObject* Sender);
    void UpdateGradient();
    float OffsetAt(float X) const;

    std::unique_ptr<TsgBitmap> FBitmap;
    std::unique_ptr<TsgGradient> FGradient;
    int FCurrentPoint = 0;
    bool FCurrentHidden = false;
    bool FMoving = false;
    TsgColorPicker* FColorPicker = nullptr;
};

// Registers the four pickers under "Colors".
void RegisterSgColorsUnit();
