// Blur rectangle and blur round rectangle: a figure rendered once into a buffer, blurred, and
// drawn from the buffer until something that changes the picture changes.
#include "scene/core/Sg_objects.h"

#include "scene/core/Sg_effects.h"

#include <cmath>

DBI_PUBLISH(TsgBlurRectangle) {
    using S = TsgBlurRectangle;
    p.Float("Softness", &S::Softness, &S::SetSoftness);
}

DBI_PUBLISH(TsgBlurRoundRect) {
    using S = TsgBlurRoundRect;
    p.Float("Softness", &S::Softness, &S::SetSoftness);
}

namespace {

// The blur radius and the inset of the figure inside its buffer.
int BlurRadius(float Softness) {
    return static_cast<int>(std::trunc(Softness * 15));
}

} // namespace

// The buffer.

bool TsgBlurBuffer::Prepare(float Width, float Height) {
    const int w = static_cast<int>(std::nearbyint(Width));
    const int h = static_cast<int>(std::nearbyint(Height));
    if (!FBuffer) {
        FBuffer = std::make_unique<TsgBitmap>(w, h);
        FRecreate = true;
    } else if (FBuffer->Width() != std::max(w, 1) || FBuffer->Height() != std::max(h, 1)) {
        FBuffer->SetSize(w, h);
        FRecreate = true;
    }
    return FRecreate;
}

void TsgBlurBuffer::Render(int Radius, const std::function<void(TsgCanvas*)>& Draw) {
    FBuffer->Clear(0);
    if (TsgCanvas* canvas = FBuffer->Canvas()) {
        if (canvas->BeginScene()) {
            canvas->SetMatrix(IdentityMatrix);
            Draw(canvas);
            canvas->EndScene();
        }
    }
    Blur(FBuffer->Canvas(), FBuffer.get(), Radius, true);
    FRecreate = false;
}

void TsgBlurBuffer::Paint(TsgCanvas* Canvas, float Width, float Height, float Opacity) {
    const TsgRect local{0, 0, Width, Height};
    Canvas->DrawBitmap(FBuffer.get(), local, local, Opacity, true);
}

// Blur rectangle.

TsgBlurRectangle::TsgBlurRectangle(TComponent* AOwner) : TsgRectangle(AOwner) {
    Stroke()->SetStyle(sgBrushNone);
}

void TsgBlurRectangle::SetSoftness(float Value) {
    if (Value == FSoftness)
        return;
    FSoftness = Value;
    FBuffer.Invalidate();
    Repaint();
}

void TsgBlurRectangle::SetxRadius(float Value) {
    TsgRectangle::SetxRadius(Value);
    FBuffer.Invalidate();
}

void TsgBlurRectangle::SetyRadius(float Value) {
    TsgRectangle::SetyRadius(Value);
    FBuffer.Invalidate();
}

void TsgBlurRectangle::SetCorners(TsgCorners Value) {
    TsgRectangle::SetCorners(Value);
    FBuffer.Invalidate();
}

void TsgBlurRectangle::SetCornerType(TsgCornerType Value) {
    TsgRectangle::SetCornerType(Value);
    FBuffer.Invalidate();
}

void TsgBlurRectangle::FillChanged() {
    TsgRectangle::FillChanged();
    FBuffer.Invalidate();
}

void TsgBlurRectangle::Paint() {
    TsgCanvas* canvas = Canvas();
    if (!canvas)
        return;
    const int b = BlurRadius(FSoftness);
    const float opacity = AbsoluteOpacity();
    if (FBuffer.Prepare(Width(), Height()))
        FBuffer.Render(b, [&](TsgCanvas* target) {
            const TsgRect r{float(b), float(b), Width() - b, Height() - b};
            target->Fill()->Assign(Fill());
            target->FillRect(r, xRadius(), yRadius(), Corners(), opacity, CornerType());
            target->Stroke()->Assign(Stroke());
            target->DrawRect(r, xRadius(), yRadius(), Corners(), opacity, CornerType());
        });
    FBuffer.Paint(canvas, Width(), Height(), opacity);
}

// Blur round rectangle.

TsgBlurRoundRect::TsgBlurRoundRect(TComponent* AOwner) : TsgRoundRect(AOwner) {
    Stroke()->SetStyle(sgBrushNone);
}

void TsgBlurRoundRect::SetSoftness(float Value) {
    if (Value == FSoftness)
        return;
    FSoftness = Value;
    FBuffer.Invalidate();
    Repaint();
}

void TsgBlurRoundRect::SetCorners(TsgCorners Value) {
    TsgRoundRect::SetCorners(Value);
    FBuffer.Invalidate();
}

void TsgBlurRoundRect::FillChanged() {
    TsgRoundRect::FillChanged();
    FBuffer.Invalidate();
}

void TsgBlurRoundRect::Paint() {
    TsgCanvas* canvas = Canvas();
    if (!canvas)
        return;
    const int b = BlurRadius(FSoftness);
    const float opacity = AbsoluteOpacity();
    if (FBuffer.Prepare(Width(), Height()))
        FBuffer.Render(b, [&](TsgCanvas* target) {
            const TsgRect r{float(b), float(b), Width() - b, Height() - b};
            const float radius = (r.Bottom - r.Top) / 2;
            target->Fill()->Assign(Fill());
            target->FillRect(r, radius, radius, Corners(), opacity, sgCornerRound);
            target->Stroke()->Assign(Stroke());
            target->DrawRect(r, radius, radius, Corners(), opacity, sgCornerRound);
        });
    FBuffer.Paint(canvas, Width(), Height(), opacity);
}
