// The canvas over the drawing layer: surfaces, world transform, saved states, clipping, and the
// translation of the canvas's brushes into the layer's brushes and pens.
#include "scene/core/Sg_canvas_gdip.h"

#include "scene/core/Sg_bitmap.h"
#include "scene/core/Sg_scene_color.h"
#include "scene/core/Sg_scene_geometry.h"
#include "scene/core/Sg_scene_paint.h"

#include "platform/gfx/FontAliases.h"
#include "platform/gfx/Gfx.h"

#include <cmath>

namespace {

std::unique_ptr<TsgCanvas> CreateBuffered(int AWidth, int AHeight) {
    return std::make_unique<TsgCanvasGdiPlus>(AWidth, AHeight);
}

std::unique_ptr<TsgCanvas> CreateOnBitmap(TsgBitmap* ABitmap) {
    return std::make_unique<TsgCanvasGdiPlus>(ABitmap);
}

gfx::RectF ToRectF(const TsgRect& R) {
    return gfx::RectF(R.Left, R.Top, R.Right - R.Left, R.Bottom - R.Top);
}

gfx::Matrix ToGfxMatrix(const TsgMatrix& M) {
    gfx::Matrix m(M.m11, M.m12, M.m21, M.m22, M.m31, M.m32);
    m.Shear(M.m13, M.m23, gfx::MatrixOrder::Prepend);
    return m;
}

gfx::Color ToColor(TsgColor C) {
    return gfx::Color(C);
}

// The stops of a fill gradient: the end colours repeated at 0 and 1 when the points stop short.
void FillStops(TsgGradient* Gradient, float AOpacity, bool PadEnds, std::vector<gfx::Color>& Colors,
               std::vector<float>& Positions) {
    TsgGradientPoints* points = Gradient->Points();
    const int count = points->Count();
    TsgGradientPoint* first = points->Points(0);
    TsgGradientPoint* last = points->Points(count - 1);
    if (PadEnds && first->Offset() > 0) {
        Colors.push_back(ToColor(sgOpacity(first->IntColor(), AOpacity)));
        Positions.push_back(0);
    }
    for (int i = 0; i < count; ++i) {
        Colors.push_back(ToColor(sgOpacity(points->Points(i)->IntColor(), AOpacity)));
        Positions.push_back(points->Points(i)->Offset());
    }
    if (PadEnds && last->Offset() < 1) {
        Colors.push_back(ToColor(sgOpacity(last->IntColor(), AOpacity)));
        Positions.push_back(1);
    }
}

// Start and stop of a linear gradient in ARect (its Right and Bottom, not width and height,
// scale the positions).
void GradientLine(TsgGradient* Gradient, const TsgRect& ARect, gfx::PointF& P1, gfx::PointF& P2) {
    P1 = gfx::PointF(ARect.Left + Gradient->StartPosition()->X() * ARect.Right,
                     ARect.Top + Gradient->StartPosition()->Y() * ARect.Bottom);
    P2 = gfx::PointF(ARect.Left + Gradient->StopPosition()->X() * ARect.Right,
                     ARect.Top + Gradient->StopPosition()->Y() * ARect.Bottom);
}

int gCanvasUnitStarted = 0;

} // namespace

const TsgCanvasClassInfo TsgCanvasGdiPlus::ClassInfoRecord = {
    "TsgCanvasGdiPlus", &CreateBuffered, &CreateOnBitmap, &TsgCanvasGdiPlus::GetBitmapScanline};

void InitSgCanvasUnit() {
    if (gCanvasUnitStarted++ > 0)
        return;
    DefaultFilterClass = &TsgFilterGdiPlus::ClassInfoRecord;
    if (!DefaultCanvasClass)
        DefaultCanvasClass = &TsgCanvasGdiPlus::ClassInfoRecord;
    DefaultPrinterCanvasClass = &TsgCanvasGdiPlus::ClassInfoRecord;
    gfx::LoadProjectFontAliases();
}

// Construction and surfaces.

TsgCanvasGdiPlus::TsgCanvasGdiPlus(int AWidth, int AHeight) : TsgCanvas(0, 0) {
    InitSgCanvasUnit();
    FBuffered = true;
    ResizeBuffer(AWidth, AHeight);
    InitDrawingObjects();
}

TsgCanvasGdiPlus::TsgCanvasGdiPlus(TsgBitmap* ABitmap)
    : TsgCanvas(ABitmap->Width(), ABitmap->Height()) {
    InitSgCanvasUnit();
    FBitmap = ABitmap;
    UpdateBitmapHandle(ABitmap);
    if (ABitmap->Handle()) {
        FGraphics = std::make_unique<gfx::Graphics>(ABitmap->Handle());
        ApplyQuality(false);
    }
    InitDrawingObjects();
}

TsgCanvasGdiPlus::~TsgCanvasGdiPlus() {
    FFontCollection.reset();
    FGraphics.reset();
    FGPFamily.reset();
    FGPBrush.reset();
    FGPPenBrush.reset();
    FGPPen.reset();
    FBufferImage.reset();
}

void TsgCanvasGdiPlus::InitDrawingObjects() {
    FGPPenBrush = std::make_unique<gfx::SolidBrush>(gfx::Color(0xFF000000));
    FGPPen = std::make_unique<gfx::Pen>(*FGPPenBrush, 1.0f);
    FGPBrush = std::make_unique<gfx::SolidBrush>(gfx::Color(0xFFFFFFFF));
    FGPFamily = std::make_unique<gfx::FontFamily>(u"Arial");
    if (!FGPFamily->IsAvailable())
        FGPFamily = gfx::FontFamily::GenericSansSerif();
}

void TsgCanvasGdiPlus::ApplyQuality(bool Full) {
    FGraphics->SetSmoothingMode(gfx::SmoothingMode::HighQuality);
    FGraphics->SetPixelOffsetMode(gfx::PixelOffsetMode::Half);
    FGraphics->SetTextContrast(2);
    if (Full) {
        FGraphics->SetInterpolationMode(gfx::InterpolationMode::HighQuality);
        FGraphics->SetCompositingMode(gfx::CompositingMode::SourceOver);
    }
    ApplyTextHint();
}

void TsgCanvasGdiPlus::FreeBuffer() {
    FGraphics.reset();
    FBufferImage.reset();
    TsgCanvas::FreeBuffer();
}

void TsgCanvasGdiPlus::ResizeBuffer(int AWidth, int AHeight) {
    TsgCanvas::ResizeBuffer(AWidth, AHeight);
    if (FBufferBits && !FGraphics) {
        FBufferImage = std::make_unique<gfx::Bitmap>(FWidth, FHeight, FWidth * 4,
                                                     gfx::PixelFormat::Format32bppPArgb,
                                                     reinterpret_cast<uint8_t*>(FBufferBits));
        FGraphics = std::make_unique<gfx::Graphics>(FBufferImage.get());
        ApplyQuality(true);
        SetMatrix(FMatrix);
    }
}

void TsgCanvasGdiPlus::BeginBufferAccess() {
    if (FGraphics)
        FGraphics->Flush();
    if (FBufferImage)
        FBufferImage->Flush();
}

void TsgCanvasGdiPlus::EndBufferAccess() {
    if (FBufferImage)
        FBufferImage->MarkDirty();
}

uint32_t* TsgCanvasGdiPlus::GetBitmapScanline(TsgBitmap* Bitmap, int y) {
    return Bitmap ? Bitmap->Scanline(y) : nullptr;
}

void TsgCanvasGdiPlus::UpdateBitmapHandle(TsgBitmap* Bitmap) {
    if (!Bitmap || Bitmap->IsEmpty())
        return;
    gfx::Bitmap* handle = Bitmap->Handle();
    if (!handle || handle->GetWidth() != Bitmap->Width() ||
        handle->GetHeight() != Bitmap->Height()) {
        Bitmap->SetHandle(std::make_unique<gfx::Bitmap>(
            Bitmap->Width(), Bitmap->Height(), Bitmap->Width() * 4,
            gfx::PixelFormat::Format32bppPArgb, reinterpret_cast<uint8_t*>(Bitmap->StartLine())));
        Bitmap->NeedUpdate = true;
    } else {
        // Words written directly since the last draw must be seen by the surface.
        handle->MarkDirty();
    }
    Bitmap->NeedUpdate = false;
}

// World transform.

void TsgCanvasGdiPlus::SetMatrix(const TsgMatrix& M) {
    FMatrix = M;
    if (!FGraphics)
        return;
    // The all-zero matrix of a canvas never given one (and of states saved before that) means
    // no transform yet, not a collapse of everything to a point.
    FGraphics->SetTransform(M == TsgMatrix{} ? gfx::Matrix() : ToGfxMatrix(M));
}

void TsgCanvasGdiPlus::MultyMatrix(const TsgMatrix& M) {
    if (FGraphics)
        FGraphics->MultiplyTransform(ToGfxMatrix(M), gfx::MatrixOrder::Prepend);
}

// Saved states.

uint32_t TsgCanvasGdiPlus::SaveCanvas() {
    if (!FGraphics)
        return 0xFFFFFFFF;
    size_t slot = 0;
    while (slot < FSaveData.size() && FSaveData[slot].Index != 0xFFFFFFFF)
        ++slot;
    if (slot == FSaveData.size())
        FSaveData.emplace_back();
    TsgSaveData& d = FSaveData[slot];
    d.Index = FGraphics->Save();
    d.Matrix = FMatrix;
    d.Stroke = std::make_unique<TsgBrush>(sgBrushSolid, 0xFF000000);
    d.Stroke->Assign(FStroke.get());
    d.Fill = std::make_unique<TsgBrush>(sgBrushSolid, 0xFFFFFFFF);
    d.Fill->Assign(FFill.get());
    d.StrokeThickness = StrokeThickness;
    d.StrokeCap = StrokeCap;
    d.StrokeJoin = StrokeJoin;
    d.StrokeDash = FStrokeDash;
    d.Dash.clear();
    if (FStrokeDash != sgDashSolid)
        d.Dash = FDash;
    d.DashOffset = FDashOffset;
    d.Font = std::make_unique<TsgFont>();
    d.Font->Assign(FFont.get());
    return static_cast<uint32_t>(slot);
}

void TsgCanvasGdiPlus::RestoreCanvas(uint32_t AState) {
    if (!FGraphics || AState >= FSaveData.size() || FSaveData[AState].Index == 0xFFFFFFFF)
        return;
    TsgSaveData& d = FSaveData[AState];
    // A state saved after this one is dropped by the layer; its slot is freed by its own call.
    FGraphics->Restore(d.Index);
    d.Index = 0xFFFFFFFF;
    FMatrix = d.Matrix;
    FStroke->Assign(d.Stroke.get());
    FFill->Assign(d.Fill.get());
    d.Stroke.reset();
    d.Fill.reset();
    SetMatrix(FMatrix);
    StrokeThickness = d.StrokeThickness;
    StrokeCap = d.StrokeCap;
    StrokeJoin = d.StrokeJoin;
    FStrokeDash = d.StrokeDash;
    if (FStrokeDash != sgDashSolid)
        FDash = d.Dash;
    else
        FDash.clear();
    FDashOffset = d.DashOffset;
    FFont->Assign(d.Font.get());
    d.Font.reset();
}

// Clipping.

void TsgCanvasGdiPlus::SetClipRects(const std::vector<TsgRect>& ARects) {
    if (!FGraphics)
        return;
    gfx::Region region;
    region.MakeEmpty();
    for (const TsgRect& r : ARects)
        region.Union(ToRectF(r));
    FGraphics->SetClip(region, gfx::CombineMode::Replace);
}

void TsgCanvasGdiPlus::IntersectClipRect(const TsgRect& ARect) {
    if (FGraphics)
        FGraphics->IntersectClip(ToRectF(ARect));
}

void TsgCanvasGdiPlus::ExcludeClipRect(const TsgRect& ARect) {
    if (FGraphics)
        FGraphics->ExcludeClip(ToRectF(ARect));
}

void TsgCanvasGdiPlus::ResetClipRect() {
    if (FGraphics)
        FGraphics->ResetClip();
}

// Brushes and pens.

void TsgCanvasGdiPlus::ResolveResource(TsgBrush* Brush) {
    if (Brush->Style() != sgBrushResource)
        return;
    if (TsgBrush* resolved = Brush->Resource()->GetBrush())
        if (resolved != Brush)
            Brush->Assign(resolved);
}

void TsgCanvasGdiPlus::ApplyFill(const TsgRect& ARect, float AOpacity) {
    FGPBrush.reset();
    ResolveResource(FFill.get());
    TsgBrush* fill = FFill.get();
    const TsgBrushStyle style = fill->Style();
    if (style == sgBrushSolid ||
        (style == sgBrushGradient && fill->Gradient()->Points()->Count() < 2)) {
        FGPBrush =
            std::make_unique<gfx::SolidBrush>(ToColor(sgOpacity(fill->GetSolidColor(), AOpacity)));
        return;
    }
    if (style == sgBrushGradient) {
        TsgGradient* gradient = fill->Gradient();
        std::vector<gfx::Color> colors;
        std::vector<float> positions;
        FillStops(gradient, AOpacity, true, colors, positions);
        if (gradient->Style() == sgLinearGradient) {
            gfx::PointF p1, p2;
            GradientLine(gradient, ARect, p1, p2);
            auto brush =
                std::make_unique<gfx::LinearGradientBrush>(p1, p2, colors.front(), colors.back());
            brush->SetWrapMode(gradient->StartPosition()->X() != gradient->StopPosition()->X()
                                   ? gfx::WrapMode::TileFlipX
                                   : gfx::WrapMode::Tile);
            brush->SetInterpolationColors(colors.data(), positions.data(), int(colors.size()));
            FGPBrush = std::move(brush);
        } else {
            gfx::GraphicsPath ellipse(gfx::FillMode::Alternate);
            ellipse.AddEllipse(ToRectF(ARect));
            auto brush = std::make_unique<gfx::PathGradientBrush>(ellipse);
            const TsgMatrix& t = gradient->RadialTransform()->Matrix();
            brush->SetTransform(gfx::Matrix(t.m11, t.m12, t.m21, t.m22, t.m31, t.m32));
            brush->SetWrapMode(gfx::WrapMode::TileFlipXY);
            brush->SetInterpolationColors(colors.data(), positions.data(), int(colors.size()));
            FGPBrush = std::move(brush);
        }
        return;
    }
    if (style == sgBrushBitmap) {
        TsgBitmap* bitmap = fill->Bitmap()->Bitmap();
        if (bitmap->Width() > 0 && bitmap->Height() > 0) {
            UpdateBitmapHandle(bitmap);
            if (bitmap->Handle()) {
                const TsgWrapMode wrap = fill->Bitmap()->WrapMode();
                if (wrap == sgWrapTileStretch) {
                    auto brush =
                        std::make_unique<gfx::TextureBrush>(bitmap->Handle(), gfx::WrapMode::Clamp);
                    brush->ScaleTransform(
                        (sgRectWidth(ARect) + StrokeThickness / 2) / float(bitmap->Width()),
                        (sgRectHeight(ARect) + StrokeThickness / 2) / float(bitmap->Height()),
                        gfx::MatrixOrder::Prepend);
                    FGPBrush = std::move(brush);
                } else {
                    FGPBrush = std::make_unique<gfx::TextureBrush>(
                        bitmap->Handle(), static_cast<gfx::WrapMode>(static_cast<int>(wrap)));
                }
                return;
            }
        }
    }
    FGPBrush = std::make_unique<gfx::SolidBrush>(gfx::Color(0));
}

void TsgCanvasGdiPlus::ApplyStroke(const TsgRect& ARect, float AOpacity) {
    FGPPen.reset();
    FGPPenBrush.reset();
    ResolveResource(FStroke.get());
    TsgBrush* stroke = FStroke.get();
    const TsgBrushStyle style = stroke->Style();
    if (style == sgBrushSolid ||
        (style == sgBrushGradient && stroke->Gradient()->Points()->Count() < 2)) {
        FGPPenBrush = std::make_unique<gfx::SolidBrush>(
            ToColor(sgOpacity(stroke->GetSolidColor(), AOpacity)));
    } else if (style == sgBrushGradient) {
        TsgGradient* gradient = stroke->Gradient();
        std::vector<gfx::Color> colors;
        std::vector<float> positions;
        FillStops(gradient, AOpacity, false, colors, positions);
        gfx::PointF p1, p2;
        GradientLine(gradient, ARect, p1, p2);
        auto brush =
            std::make_unique<gfx::LinearGradientBrush>(p1, p2, colors.front(), colors.back());
        brush->SetInterpolationColors(colors.data(), positions.data(), int(colors.size()));
        const float dx = std::fabs(gradient->StartPosition()->X() - gradient->StopPosition()->X());
        const float dy = std::fabs(gradient->StartPosition()->Y() - gradient->StopPosition()->Y());
        if (dx >= dy)
            brush->ScaleTransform(sgRectWidth(ARect), sgRectHeight(ARect),
                                  gfx::MatrixOrder::Prepend);
        else
            brush->ScaleTransform(sgRectHeight(ARect), sgRectWidth(ARect),
                                  gfx::MatrixOrder::Prepend);
        FGPPenBrush = std::move(brush);
    } else if (style == sgBrushBitmap && stroke->Bitmap()->Bitmap()->Width() > 0 &&
               stroke->Bitmap()->Bitmap()->Height() > 0) {
        TsgBitmap* bitmap = stroke->Bitmap()->Bitmap();
        UpdateBitmapHandle(bitmap);
        const TsgWrapMode wrap = stroke->Bitmap()->WrapMode();
        if (!bitmap->Handle()) {
            FGPPenBrush = std::make_unique<gfx::SolidBrush>(gfx::Color(0));
        } else if (wrap == sgWrapTileStretch) {
            auto brush =
                std::make_unique<gfx::TextureBrush>(bitmap->Handle(), gfx::WrapMode::Clamp);
            brush->ScaleTransform(sgRectWidth(ARect) / float(bitmap->Width()),
                                  sgRectHeight(ARect) / float(bitmap->Height()),
                                  gfx::MatrixOrder::Prepend);
            FGPPenBrush = std::move(brush);
        } else {
            FGPPenBrush = std::make_unique<gfx::TextureBrush>(
                bitmap->Handle(), static_cast<gfx::WrapMode>(static_cast<int>(wrap)));
        }
    } else {
        FGPPenBrush = std::make_unique<gfx::SolidBrush>(gfx::Color(0));
    }

    FGPPen = std::make_unique<gfx::Pen>(*FGPPenBrush, 1.0f);
    if (StrokeCap == sgCapRound)
        FGPPen->SetLineCap(gfx::LineCap::Round, gfx::LineCap::Round, gfx::DashCap::Round);
    else
        FGPPen->SetLineCap(gfx::LineCap::Flat, gfx::LineCap::Flat, gfx::DashCap::Flat);
    if (FDash.empty()) {
        FGPPen->SetDashStyle(gfx::DashStyle::Solid);
    } else {
        FGPPen->SetDashOffset(FDashOffset);
        FGPPen->SetDashPattern(FDash.data(), int(FDash.size()));
    }
    switch (StrokeJoin) {
    case sgJoinMiter:
        FGPPen->SetLineJoin(gfx::LineJoin::Miter);
        break;
    case sgJoinRound:
        FGPPen->SetLineJoin(gfx::LineJoin::Round);
        break;
    case sgJoinBevel:
        FGPPen->SetLineJoin(gfx::LineJoin::Bevel);
        break;
    }
    FGPPen->SetWidth(StrokeThickness);
}

void TsgCanvasGdiPlus::PaintVisualBrush(const TsgRect& ARect, float AOpacity) {
    TsgVisualObject* visual = FFill->Visual()->VisualObject();
    if (!visual)
        return;
    // The painted object draws with this canvas's stroke; keep ours.
    TsgBrush stroke(sgBrushSolid, 0xFF000000);
    stroke.Assign(FStroke.get());
    const float thickness = StrokeThickness;
    sgPaintVisual(this, visual, ARect, AOpacity);
    FStroke->Assign(&stroke);
    StrokeThickness = thickness;
}
