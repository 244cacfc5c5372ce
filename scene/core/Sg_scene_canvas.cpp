#include "scene/core/Sg_scene_canvas.h"

#include "scene/core/Sg_bitmap.h"
#include "scene/core/Sg_scene_geometry.h"
#include "scene/core/Sg_utils.h"

#include "platform/ui/Present.h"

#include <algorithm>
#include <cmath>
#include <cstring>

TsgCanvasClass DefaultCanvasClass = nullptr;
TsgCanvasClass DefaultPrinterCanvasClass = nullptr;

namespace {

int RoundHalfEven(float X) {
    return static_cast<int>(std::nearbyint(static_cast<double>(X)));
}

} // namespace

TsgCanvas::TsgCanvas(int AWidth, int AHeight)
    : FWidth(AWidth), FHeight(AHeight), FFill(std::make_unique<TsgBrush>(sgBrushSolid, 0xFFFFFFFF)),
      FStroke(std::make_unique<TsgBrush>(sgBrushSolid, 0xFF000000)),
      FFont(std::make_unique<TsgFont>()) {
    FFont->OnChanged = TNotifyEvent::Bind<&TsgCanvas::FontChanged>(this);
}

TsgCanvas::~TsgCanvas() {
    // The slots' brushes and fonts go with the array; the buffer last.
    FSaveData.clear();
    FFont->OnChanged = TNotifyEvent();
    FreeBuffer();
}

// Buffer.

void TsgCanvas::FreeBuffer() {
    FBufferStore.clear();
    FBufferStore.shrink_to_fit();
    FBufferBits = nullptr;
}

void TsgCanvas::ResizeBuffer(int AWidth, int AHeight) {
    if (AWidth == FWidth && AHeight == FHeight)
        return;
    FreeBuffer();
    FWidth = std::max(AWidth, 1);
    FHeight = std::max(AHeight, 1);
    FResized = true;
    if (!FBuffered)
        return;
    const size_t count = static_cast<size_t>(FWidth) * static_cast<size_t>(FHeight);
    try {
        FBufferStore.assign(count, 0u);
    } catch (const std::bad_alloc&) {
        FreeBuffer();
        throw Exception("Can't allocate the DIB handle");
    }
    FBufferBits = FBufferStore.data();
}

void TsgCanvas::FlushBuffer(int X, int Y, HWND Wnd) {
    if (!FBufferBits)
        return;
    BeginBufferAccess();
    PresentBuffer(Wnd, FBufferBits, FWidth, FHeight, FWidth * 4,
                  TRect{X, Y, X + FWidth, Y + FHeight});
}

void TsgCanvas::FlushBufferRect(int X, int Y, HWND Wnd, const TsgRect& ARect) {
    if (!FBufferBits)
        return;
    BeginBufferAccess();
    const int left = static_cast<int>(std::trunc(ARect.Left));
    const int top = static_cast<int>(std::trunc(ARect.Top));
    const int right = static_cast<int>(std::trunc(ARect.Right)) + 1;
    const int bottom = static_cast<int>(std::trunc(ARect.Bottom)) + 1;
    // The window shows the buffer at (X, Y); the presenter clips to the buffer and the window.
    PresentBuffer(Wnd, FBufferBits, FWidth, FHeight, FWidth * 4,
                  TRect{X + left, Y + top, X + right, Y + bottom});
}

void TsgCanvas::Clear(TsgColor Color) {
    if (!FBufferBits)
        return;
    BeginBufferAccess();
    FillLongword(FBufferBits, FWidth * FHeight, Color);
    EndBufferAccess();
}

void TsgCanvas::ClearRect(const TsgRect& ARect, TsgColor AColor) {
    if (!FBufferBits)
        return;
    int left = static_cast<int>(std::trunc(ARect.Left));
    int top = static_cast<int>(std::trunc(ARect.Top));
    int right = RoundHalfEven(ARect.Right);
    int bottom = RoundHalfEven(ARect.Bottom);
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, FWidth);
    bottom = std::min(bottom, FHeight);
    bottom = std::max(bottom, top);
    right = std::max(right, left);
    BeginBufferAccess();
    FillLongwordRect(FBufferBits, FWidth, FHeight, left, top, right, bottom, AColor);
    EndBufferAccess();
}

void TsgCanvas::SaveToBits(uint32_t* Bits) {
    if (!FBufferBits || !Bits)
        return;
    BeginBufferAccess();
    std::memcpy(Bits, FBufferBits, sizeof(uint32_t) * size_t(FWidth) * size_t(FHeight));
}

void TsgCanvas::SaveToStream(TStream& S) {
    if (!FBufferBits)
        return;
    TsgBitmap picture(FWidth, FHeight, true);
    SaveToBits(picture.StartLine());
    picture.SaveToStream(S);
}

void TsgCanvas::AssignTo(TPersistent* Dest) {
    auto* bitmap = dynamic_cast<TsgBitmap*>(Dest);
    if (!bitmap) {
        TPersistent::AssignTo(Dest);
        return;
    }
    bitmap->SetSize(FWidth, FHeight);
    if (!FBufferBits)
        return;
    BeginBufferAccess();
    for (int y = 0; y < FHeight; ++y)
        std::memcpy(bitmap->Scanline(y), FBufferBits + size_t(y) * FWidth,
                    sizeof(uint32_t) * size_t(FWidth));
    bitmap->NeedUpdate = true;
}

// Stroke dash.

void TsgCanvas::SetStrokeDash(TsgStrokeDash Value) {
    if (Value == FStrokeDash)
        return;
    FStrokeDash = Value;
    switch (Value) {
    case sgDashSolid:
        FDash.clear();
        break;
    case sgDashDash:
        FDash = {3, 1};
        break;
    case sgDashDot:
        FDash = {1, 1};
        break;
    case sgDashDashDot:
        FDash = {3, 1, 1, 1};
        break;
    case sgDashDashDotDot:
        FDash = {3, 1, 1, 1, 1, 1};
        break;
    case sgDashCustom:
        return;
    }
    FDashOffset = 0;
}

void TsgCanvas::SetCustomDash(const std::vector<float>& Dash, float Offset) {
    FStrokeDash = sgDashCustom;
    FDash = Dash;
    FDashOffset = Offset;
}

// Shapes built on paths.

void TsgCanvas::FillArc(const TsgPoint& Center, const TsgPoint& Radius, float StartAngle,
                        float SweepAngle, float AOpacity) {
    TsgPathData path;
    path.AddArc(Center, Radius, StartAngle, SweepAngle);
    FillPath(&path, path.GetBounds(), AOpacity);
}

void TsgCanvas::DrawArc(const TsgPoint& Center, const TsgPoint& Radius, float StartAngle,
                        float SweepAngle, float AOpacity) {
    TsgPathData path;
    path.AddArc(Center, Radius, StartAngle, SweepAngle);
    DrawPath(&path, path.GetBounds(), AOpacity);
}

namespace {

void PolygonToPath(const TsgPolygon& Points, TsgPathData& Path) {
    bool figureStart = true;
    for (const TsgPoint& p : Points) {
        if (p == ClosePolygon) {
            Path.ClosePath();
            figureStart = true;
        } else if (figureStart) {
            Path.MoveTo(p);
            figureStart = false;
        } else {
            Path.LineTo(p);
        }
    }
}

} // namespace

void TsgCanvas::DrawPolygon(const TsgPolygon& Points, float AOpacity) {
    TsgPathData path;
    PolygonToPath(Points, path);
    DrawPath(&path, path.GetBounds(), AOpacity);
}

void TsgCanvas::FillPolygon(const TsgPolygon& Points, float AOpacity) {
    TsgPathData path;
    PolygonToPath(Points, path);
    if (!Points.empty() && !(Points.back() == ClosePolygon))
        path.ClosePath();
    FillPath(&path, path.GetBounds(), AOpacity);
}

void TsgCanvas::DrawRectSides(const TsgRect& ARect, float xRadius, float yRadius,
                              TsgCorners ACorners, float AOpacity, TsgSides ASides,
                              TsgCornerType ACornerType) {
    const float w = ARect.Right - ARect.Left;
    const float h = ARect.Bottom - ARect.Top;
    float rx = xRadius, ry = yRadius;
    if (2 * rx > w)
        rx = w / 2;
    if (2 * ry > h)
        ry = h / 2;
    const float L = ARect.Left, T = ARect.Top, R = ARect.Right, B = ARect.Bottom;
    constexpr float f = 0.5f;
    constexpr float g = 0.5f;

    TsgPathData path;
    auto drawTo = [&](TsgPoint p, TsgSide side) {
        if (ASides & side)
            path.LineTo(p);
        else
            path.MoveTo(p);
    };
    auto lerp = [](TsgPoint a, TsgPoint b, float t) {
        return TsgPoint{a.X + t * (b.X - a.X), a.Y + t * (b.Y - a.Y)};
    };
    // A corner from its entry A to its exit E about the vertex K (inner point K2).
    auto corner = [&](TsgPoint A, TsgPoint E, TsgPoint K, TsgPoint K2) {
        switch (ACornerType) {
        case sgCornerRound:
            path.CurveTo(lerp(A, K, f), lerp(E, K, f), E);
            break;
        case sgCornerBevel:
            path.LineTo(E);
            break;
        case sgCornerInnerRound:
            path.CurveTo(lerp(A, K2, g), lerp(E, K2, g), E);
            break;
        case sgCornerInnerLine:
            path.LineTo(lerp(A, K2, g));
            path.LineTo(lerp(E, K2, g));
            path.LineTo(E);
            break;
        }
    };

    path.MoveTo({L, T + ry});
    if (ACorners & sgCornerTopLeft)
        corner({L, T + ry}, {L + rx, T}, {L, T}, {L + rx, T + ry});
    else {
        drawTo({L, T}, sgSideLeft);
        drawTo({L + rx, T}, sgSideTop);
    }
    drawTo({R - rx, T}, sgSideTop);
    if (ACorners & sgCornerTopRight)
        corner({R - rx, T}, {R, T + ry}, {R, T}, {R - rx, T + ry});
    else {
        drawTo({R, T}, sgSideTop);
        drawTo({R, T + ry}, sgSideRight);
    }
    drawTo({R, B - ry}, sgSideRight);
    if (ACorners & sgCornerBottomRight)
        corner({R, B - ry}, {R - rx, B}, {R, B}, {R - rx, B - ry});
    else {
        drawTo({R, B}, sgSideRight);
        drawTo({R - rx, B}, sgSideBottom);
    }
    drawTo({L + rx, B}, sgSideBottom);
    if (ACorners & sgCornerBottomLeft)
        corner({L + rx, B}, {L, B - ry}, {L, B}, {L + rx, B - ry});
    else {
        drawTo({L, B}, sgSideBottom);
        drawTo({L, B - ry}, sgSideLeft);
    }
    if (ASides & sgSideLeft)
        path.LineTo({L, T + ry});
    DrawPath(&path, ARect, AOpacity);
}

// Text measuring.

float TsgCanvas::TextWidth(const UnicodeString& AText) {
    TsgRect r{0, 0, 10000, 20};
    MeasureText(r, r, AText, false, sgTextAlignNear, sgTextAlignCenter);
    return r.Right - r.Left;
}

float TsgCanvas::TextHeight(const UnicodeString& AText) {
    TsgRect r{0, 0, 10000, 10000};
    MeasureText(r, r, AText, false, sgTextAlignNear, sgTextAlignCenter);
    return r.Bottom - r.Top;
}
