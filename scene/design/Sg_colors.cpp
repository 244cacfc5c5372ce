#include "scene/design/Sg_colors.h"

#include "scene/core/Sg_bitmap.h"
#include "scene/core/Sg_scene_canvas.h"
#include "scene/core/Sg_scene_color.h"
#include "scene/core/Sg_scene_geometry.h"
#include "scene/core/Sg_scene_registry.h"

#include "platform/rtl/Conversions.h"

#include <algorithm>
#include <cmath>

DBI_PUBLISH(TsgColorBox) {}

DBI_PUBLISH(TsgColorQuad) {
    using Q = TsgColorQuad;
    p.Float("Hue", &Q::Hue, &Q::SetHue);
    p.Float("Lum", &Q::Lum, &Q::SetLum);
    p.Float("Sat", &Q::Sat, &Q::SetSat);
    p.Float("Alpha", &Q::Alpha, &Q::SetAlpha);
    p.Object("ColorBox", &Q::ColorBox, &Q::SetColorBox);
    p.Event("OnChange", &Q::GetOnChange, &Q::SetOnChange);
}

DBI_PUBLISH(TsgColorPicker) {
    using P = TsgColorPicker;
    p.Float("Hue", &P::Hue, &P::SetHue);
    p.Object("ColorQuad", &P::ColorQuad, &P::SetColorQuad);
}

DBI_PUBLISH(TsgGradientEdit) {
    using G = TsgGradientEdit;
    p.Event("OnChange", &G::GetOnChange, &G::SetOnChange);
    p.Event("OnSelectPoint", &G::GetOnSelectPoint, &G::SetOnSelectPoint);
    p.Object("ColorPicker", &G::ColorPicker, &G::SetColorPicker);
}

void RegisterSgColorsUnit() {
    static const bool done = [] {
        RegisterSGObjects(u"Colors",
                          {&TsgColorQuad::StaticClassInfo(), &TsgColorPicker::StaticClassInfo(),
                           &TsgGradientEdit::StaticClassInfo(), &TsgColorBox::StaticClassInfo()});
        return true;
    }();
    (void)done;
}

namespace {

constexpr TsgColor kCheckerColor = 0xFFD3D3D3;
constexpr int kMaxPickerBitmap = 4096;

float Clamp01(float Value) {
    return std::clamp(Value, 0.0f, 1.0f);
}

// A cached picture of the control's size, kept within bounds whatever the size says.
int PixelSize(float Value) {
    return std::clamp(static_cast<int>(std::trunc(Value)), 1, kMaxPickerBitmap);
}

// White, then 10 x 10 grey squares where i + j is odd, clipped to R: shows transparency.
void DrawChecker(TsgCanvas* Canvas, const TsgRect& R, float Opacity) {
    const uint32_t state = Canvas->SaveCanvas();
    Canvas->IntersectClipRect(R);
    Canvas->Fill()->SetStyle(sgBrushSolid);
    Canvas->Fill()->SetSolidColor(0xFFFFFFFF);
    Canvas->FillRect(R, 0, 0, AllCorners, Opacity);
    Canvas->Fill()->SetSolidColor(kCheckerColor);
    const int columns = static_cast<int>(std::trunc((R.Right - R.Left) / 10)) + 1;
    const int rows = static_cast<int>(std::trunc((R.Bottom - R.Top) / 10)) + 1;
    for (int i = 0; i <= columns; ++i)
        for (int j = 0; j <= rows; ++j)
            if ((i + j) % 2 == 1)
                Canvas->FillRect({R.Left + float(i) * 10, R.Top + float(j) * 10,
                                  R.Left + float(i) * 10 + 10, R.Top + float(j) * 10 + 10},
                                 0, 0, AllCorners, Opacity);
    Canvas->RestoreCanvas(state);
}

// Black ring, white ring, then the colour, around P.
void DrawMarker(TsgCanvas* Canvas, const TsgPoint& P, TsgColor Color, float Opacity) {
    TsgRect r{P.X, P.Y, P.X, P.Y};
    sgInflateRect(r, 5, 5);
    Canvas->StrokeThickness = 1;
    Canvas->Stroke()->SetStyle(sgBrushSolid);
    Canvas->Stroke()->SetSolidColor(0xFF000000);
    Canvas->DrawEllipse(r, Opacity);
    sgInflateRect(r, -1, -1);
    Canvas->Stroke()->SetSolidColor(0xFFFFFFFF);
    Canvas->DrawEllipse(r, Opacity);
    sgInflateRect(r, -1, -1);
    Canvas->Fill()->SetStyle(sgBrushSolid);
    Canvas->Fill()->SetSolidColor(Color);
    Canvas->FillEllipse(r, Opacity);
}

void DrawStretched(TsgCanvas* Canvas, TsgBitmap* B, float W, float H, float Opacity) {
    Canvas->DrawBitmap(B, {0, 0, float(B->Width()), float(B->Height())}, {0, 0, W, H}, Opacity);
}

} // namespace

// Colour box.

void TsgColorBox::SetColor(TsgColor Value) {
    if (Value == FColor)
        return;
    FColor = Value;
    Repaint();
}

void TsgColorBox::Paint() {
    TsgCanvas* canvas = Canvas();
    if (!canvas)
        return;
    const float opacity = AbsoluteOpacity();
    DrawChecker(canvas, LocalRect(), opacity);
    canvas->Fill()->SetStyle(sgBrushSolid);
    canvas->Fill()->SetSolidColor(FColor);
    canvas->FillRect(LocalRect(), 0, 0, AllCorners, opacity);
}

// Colour square.

TsgColorQuad::TsgColorQuad(TComponent* AOwner) : TsgControl(AOwner) {
    SetAutoCapture(true);
}

TsgColorQuad::~TsgColorQuad() {
    SetColorBox(nullptr);
}

void TsgColorQuad::SetColorBox(TsgColorBox* Value) {
    if (FColorBox)
        RemoveFreeNotification(FColorBox);
    FColorBox = Value;
    if (FColorBox)
        FreeNotification(FColorBox);
}

void TsgColorQuad::Notification(TComponent* AComponent, TOperation Operation) {
    TsgControl::Notification(AComponent, Operation);
    if (Operation == opRemove && FColorBox && static_cast<TComponent*>(FColorBox) == AComponent)
        FColorBox = nullptr;
}

void TsgColorQuad::Changed() {
    if (FColorBox) {
        const TsgColor rgb = HSLtoRGB(FHue, FSat, FLum) & 0x00FFFFFF;
        const auto alpha = static_cast<TsgColor>(Round(double(FAlpha) * 255));
        FColorBox->SetColor(rgb | (alpha << 24));
    }
    if (OnChange)
        OnChange(this);
}

void TsgColorQuad::SetHue(float Value) {
    if (Value == FHue)
        return;
    FHue = Clamp01(Value);
    FBitmap.reset();
    Changed();
    Repaint();
}

void TsgColorQuad::SetSat(float Value) {
    if (Value == FSat)
        return;
    FSat = Clamp01(Value);
    Changed();
    Repaint();
}

void TsgColorQuad::SetLum(float Value) {
    if (Value == FLum)
        return;
    FLum = Clamp01(Value);
    Changed();
    Repaint();
}

void TsgColorQuad::SetAlpha(float Value) {
    if (Value == FAlpha)
        return;
    FAlpha = Clamp01(Value);
    Changed();
}

TsgRect TsgColorQuad::GetAbsoluteRect() {
    TsgRect r = TsgControl::GetAbsoluteRect();
    sgInflateRect(r, 5, 5);
    return r;
}

void TsgColorQuad::PickAt(float X, float Y) {
    if (Height() != 0)
        SetLum(1 - Y / Height());
    if (Width() != 0)
        SetSat(X / Width());
}

void TsgColorQuad::MouseMove(TShiftState Shift, float X, float Y, float Dx, float Dy) {
    TsgControl::MouseMove(Shift, X, Y, Dx, Dy);
    if (Shift.Contains(ssLeft))
        PickAt(X, Y);
}

void TsgColorQuad::MouseUp(TMouseButton Button, TShiftState Shift, float X, float Y) {
    TsgControl::MouseUp(Button, Shift, X, Y);
    PickAt(X, Y);
}

void TsgColorQuad::Paint() {
    TsgCanvas* canvas = Canvas();
    if (!canvas)
        return;
    if (!FBitmap) {
        const int w = PixelSize(Width()), h = PixelSize(Height());
        FBitmap = std::make_unique<TsgBitmap>(w, h);
        for (int j = 0; j < h; ++j)
            for (int i = 0; i < w; ++i)
                FBitmap->SetPixels(i, j,
                                   HSLtoRGB(FHue, float(i) / float(w), 1 - float(j) / float(h)) |
                                       0xFF000000);
    }
    const float opacity = AbsoluteOpacity();
    DrawStretched(canvas, FBitmap.get(), Width(), Height(), opacity);
    DrawMarker(canvas, {FSat * Width(), (1 - FLum) * Height()}, HSLtoRGB(FHue, FSat, FLum),
               opacity);
}

// Hue strip.

TsgColorPicker::TsgColorPicker(TComponent* AOwner) : TsgControl(AOwner) {
    SetAutoCapture(true);
}

TsgColorPicker::~TsgColorPicker() {
    SetColorQuad(nullptr);
}

void TsgColorPicker::SetColorQuad(TsgColorQuad* Value) {
    if (FColorQuad)
        RemoveFreeNotification(FColorQuad);
    FColorQuad = Value;
    if (FColorQuad)
        FreeNotification(FColorQuad);
}

void TsgColorPicker::Notification(TComponent* AComponent, TOperation Operation) {
    TsgControl::Notification(AComponent, Operation);
    if (Operation == opRemove && FColorQuad && static_cast<TComponent*>(FColorQuad) == AComponent)
        FColorQuad = nullptr;
}

void TsgColorPicker::SetHue(float Value) {
    if (Value == FHue)
        return;
    FHue = Clamp01(Value);
    if (FColorQuad)
        FColorQuad->SetHue(FHue);
    Repaint();
}

TsgColor TsgColorPicker::Color() const {
    return HSLtoRGB(FHue, 1, 0.5f);
}

void TsgColorPicker::SetColor(TsgColor Value) {
    float h = 0, s = 0, l = 0;
    RGBtoHSL(Value, h, s, l);
    SetHue(h);
    if (!FColorQuad)
        return;
    FColorQuad->SetAlpha(float(Value >> 24) / 255);
    FColorQuad->SetHue(h);
    FColorQuad->SetSat(s);
    FColorQuad->SetLum(l);
}

TsgRect TsgColorPicker::GetAbsoluteRect() {
    TsgRect r = TsgControl::GetAbsoluteRect();
    sgInflateRect(r, 0, 5);
    return r;
}

void TsgColorPicker::MouseMove(TShiftState Shift, float X, float Y, float Dx, float Dy) {
    TsgControl::MouseMove(Shift, X, Y, Dx, Dy);
    if (Shift.Contains(ssLeft) && Height() != 0)
        SetHue(Y / Height());
}

void TsgColorPicker::MouseUp(TMouseButton Button, TShiftState Shift, float X, float Y) {
    TsgControl::MouseUp(Button, Shift, X, Y);
    if (Height() != 0)
        SetHue(Y / Height());
}

void TsgColorPicker::Paint() {
    TsgCanvas* canvas = Canvas();
    if (!canvas)
        return;
    if (!FBitmap) {
        const int w = PixelSize(Width()), h = PixelSize(Height());
        FBitmap = std::make_unique<TsgBitmap>(w, h);
        for (int j = 0; j < h; ++j) {
            const TsgColor c = HSLtoRGB(float(j) / float(h), 0.9f, 0.5f) | 0xFF000000;
            for (int i = 0; i < w; ++i)
                FBitmap->SetPixels(i, j, c);
        }
    }
    const float opacity = AbsoluteOpacity();
    DrawStretched(canvas, FBitmap.get(), Width(), Height(), opacity);
    DrawMarker(canvas, {Width() / 2, FHue * Height()}, HSLtoRGB(FHue, 0.9f, 0.5f), opacity);
}

// Gradient editor.

TsgGradientEdit::TsgGradientEdit(TComponent* AOwner)
    : TsgControl(AOwner), FGradient(std::make_unique<TsgGradient>()) {
    SetAutoCapture(true);
    SetWidth(200);
    SetHeight(20);
    FGradient->OnChanged = TNotifyEvent::Bind<&TsgGradientEdit::DoChanged>(this);
}

TsgGradientEdit::~TsgGradientEdit() {
    SetColorPicker(nullptr);
}

void TsgGradientEdit::Notification(TComponent* AComponent, TOperation Operation) {
    TsgControl::Notification(AComponent, Operation);
    if (Operation == opRemove && FColorPicker &&
        static_cast<TComponent*>(FColorPicker) == AComponent)
        FColorPicker = nullptr;
}

void TsgGradientEdit::SetGradient(TsgGradient* Value) {
    FGradient->Assign(Value);
}

TsgRect TsgGradientEdit::GetPointRect(int Index) const {
    if (Index < 0 || Index >= FGradient->Points()->Count())
        return {};
    const float x = FGradient->Points()->Points(Index)->Offset() * (Width() - 20) + 10;
    return {x - 5, Height() - 10, x + 5, Height()};
}

void TsgGradientEdit::SetCurrentPoint(int Value) {
    if (Value == FCurrentPoint)
        return;
    FCurrentPoint = Value;
    if (OnSelectPoint)
        OnSelectPoint(this);
    if (FColorPicker && Value >= 0 && Value < FGradient->Points()->Count())
        FColorPicker->SetColor(FGradient->Points()->Points(Value)->IntColor());
}

void TsgGradientEdit::SetColorPicker(TsgColorPicker* Value) {
    if (FColorPicker)
        RemoveFreeNotification(FColorPicker);
    FColorPicker = Value;
    if (!FColorPicker)
        return;
    FreeNotification(FColorPicker);
    if (FCurrentPoint >= 0 && FCurrentPoint < FGradient->Points()->Count())
        FColorPicker->SetColor(FGradient->Points()->Points(FCurrentPoint)->IntColor());
}

void TsgGradientEdit::DoChanged(TObject*) {
    if (OnChange)
        OnChange(this);
    UpdateGradient();
}

void TsgGradientEdit::UpdateGradient() {
    if (FColorPicker && FCurrentPoint >= 0 && FCurrentPoint < FGradient->Points()->Count())
        FColorPicker->SetColor(FGradient->Points()->Points(FCurrentPoint)->IntColor());
}

float TsgGradientEdit::OffsetAt(float X) const {
    const float span = Width() - 20;
    return span > 0 ? Clamp01((X - 10) / span) : 0;
}

void TsgGradientEdit::MouseDown(TMouseButton Button, TShiftState Shift, float X, float Y) {
    TsgControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft)
        return;
    FMoving = false;
    TsgGradientPoints* points = FGradient->Points();
    for (int i = 0; i < points->Count(); ++i) {
        if (!sgPtInRect({X, Y}, GetPointRect(i)))
            continue;
        SetCurrentPoint(i);
        if (OnSelectPoint)
            OnSelectPoint(this);
        FMoving = true;
        Repaint();
        return;
    }
    if (!(Y > 0 && Y < Height() - 10))
        return;
    const float o = OffsetAt(X);
    const TsgColor c = FGradient->InterpolateColor(o);
    for (int i = 1; i < points->Count(); ++i) {
        if (!(points->Points(i)->Offset() > o))
            continue;
        auto* inserted = static_cast<TsgGradientPoint*>(points->Add());
        inserted->SetIndex(i);
        FCurrentPoint = i;
        inserted->SetIntColor(c);
        inserted->SetOffset(o);
        Repaint();
        FGradient->Change();
        return;
    }
}

void TsgGradientEdit::MouseMove(TShiftState Shift, float X, float Y, float Dx, float Dy) {
    TsgControl::MouseMove(Shift, X, Y, Dx, Dy);
    TsgGradientPoints* points = FGradient->Points();
    const int count = points->Count();
    if (!FMoving || FCurrentPoint < 0 || FCurrentPoint >= count)
        return;
    FCurrentHidden = (Y < -10 || Y > Height() + 10) && count > 1 && FCurrentPoint != 0 &&
                     FCurrentPoint != count - 1;
    TsgGradientPoint* current = points->Points(FCurrentPoint);
    current->SetOffset(OffsetAt(X));
    if (FCurrentPoint + 1 < count &&
        current->Offset() > points->Points(FCurrentPoint + 1)->Offset()) {
        current->SetIndex(FCurrentPoint + 1);
        ++FCurrentPoint;
    } else if (FCurrentPoint > 0 &&
               current->Offset() < points->Points(FCurrentPoint - 1)->Offset()) {
        current->SetIndex(FCurrentPoint - 1);
        --FCurrentPoint;
    }
    Repaint();
    FGradient->Change();
}

void TsgGradientEdit::MouseUp(TMouseButton Button, TShiftState Shift, float X, float Y) {
    TsgControl::MouseUp(Button, Shift, X, Y);
    FCurrentHidden = false;
    TsgGradientPoints* points = FGradient->Points();
    if (FMoving && Y > Height() + 10 && points->Count() > 1 && FCurrentPoint >= 0 &&
        FCurrentPoint < points->Count()) {
        points->Delete(FCurrentPoint);
        FCurrentPoint = std::max(FCurrentPoint - 1, 0);
        Repaint();
        FGradient->Change();
    }
    FMoving = false;
}

void TsgGradientEdit::Paint() {
    TsgCanvas* canvas = Canvas();
    if (!canvas)
        return;
    const float opacity = AbsoluteOpacity();
    if (!FBitmap)
        FBitmap = std::make_unique<TsgBitmap>(PixelSize(Width()), PixelSize(Height() - 10));
    const int w = FBitmap->Width();
    for (int x = 0; x < w; ++x) {
        const TsgColor c = FGradient->InterpolateColor(float(x) / float(w));
        // The bitmap holds premultiplied pixels.
        const uint32_t a = c >> 24;
        const uint32_t r = ((c >> 16) & 0xFF) * a / 255, g = ((c >> 8) & 0xFF) * a / 255,
                       b = (c & 0xFF) * a / 255;
        const uint32_t pm = (a << 24) | (r << 16) | (g << 8) | b;
        for (int y = 0; y < FBitmap->Height(); ++y)
            FBitmap->SetPixels(x, y, pm);
    }
    const TsgRect bar{10, 0, Width() - 10, Height() - 10};
    DrawChecker(canvas, bar, opacity);
    canvas->DrawBitmap(FBitmap.get(), {0, 0, float(w), float(FBitmap->Height())}, bar, opacity);
    TsgGradientPoints* points = FGradient->Points();
    canvas->StrokeThickness = 1;
    canvas->Stroke()->SetStyle(sgBrushSolid);
    canvas->Fill()->SetStyle(sgBrushSolid);
    for (int i = 0; i < points->Count(); ++i) {
        if (i == FCurrentPoint && FCurrentHidden)
            continue;
        TsgRect r = GetPointRect(i);
        TsgRect inner = r;
        sgInflateRect(inner, -1, -1);
        canvas->Fill()->SetSolidColor(points->Points(i)->IntColor());
        canvas->FillEllipse(inner, opacity);
        canvas->Stroke()->SetSolidColor(0xFF757575);
        canvas->DrawEllipse(inner, opacity);
        if (i == FCurrentPoint) {
            canvas->Stroke()->SetSolidColor(0xFFFFFFFF);
            canvas->DrawEllipse(r, opacity);
        }
    }
}
