#include "scene/core/Sg_objects.h"

#include "scene/core/Sg_scene_geometry.h"
#include "scene/core/Sg_scene_registry.h"

#include <cmath>

DBI_PUBLISH(TsgImage) {
    using S = TsgImage;
    p.Object("Bitmap", &S::Bitmap, &S::SetBitmap);
    p.Object("BitmapMargins", &S::BitmapMargins, &S::SetBitmapMargins);
    p.Enumeration("WrapMode", &S::WrapMode, &S::SetWrapMode,
                  {"sgImageOriginal", "sgImageFit", "sgImageStretch", "sgImageTile"}, std::nullopt);
    p.Boolean("DisableInterpolation", &S::DisableInterpolation, &S::SetDisableInterpolation, false);
    p.Event("OnBitmapLoaded", &S::GetOnBitmapLoaded, &S::SetOnBitmapLoaded);
}

TsgImage::TsgImage(TComponent* AOwner)
    : TsgVisualObject(AOwner), FBitmap(new TsgBitmap(1, 1, true)), FBitmapMargins(new TsgBounds()) {
    FBitmap->OnThreadLoaded = TNotifyEvent::Bind<&TsgImage::DoBitmapLoaded>(this);
    FBitmap->OnBitmapDestroy = TNotifyEvent::Bind<&TsgImage::DoBitmapDestroy>(this);
    FBitmap->OnChange = TNotifyEvent::Bind<&TsgImage::DoBitmapChanged>(this);
}

TsgImage::~TsgImage() {
    BeforeDestruction();
    delete FBitmapMargins;
    FBitmap->OnThreadLoaded = nullptr;
    FBitmap->OnBitmapDestroy = nullptr;
    FBitmap->OnChange = nullptr;
    delete FBitmap;
}

void TsgImage::SetBitmap(TsgBitmap* Value) {
    FBitmap->Assign(Value);
    Repaint();
}

void TsgImage::SetWrapMode(TsgImageWrap Value) {
    if (Value == FWrapMode)
        return;
    FWrapMode = Value;
    Repaint();
}

void TsgImage::DoBitmapChanged(TObject*) {
    UpdateEffects();
    Repaint();
}

void TsgImage::DoBitmapLoaded(TObject*) {
    if (FOnBitmapLoaded)
        FOnBitmapLoaded(this);
    if (!HasState(csDestroying))
        Repaint();
}

TsgVariant TsgImage::GetData() {
    return ObjectToVariant(FBitmap);
}

void TsgImage::SetData(const TsgVariant& Value) {
    if (VarIsObject(Value)) {
        if (auto* source = dynamic_cast<TPersistent*>(VariantToObject(Value)))
            FBitmap->Assign(source);
        return;
    }
    FBitmap->LoadFromFile(Value);
}

bool TsgImage::ShowsDesignFrame() {
    IsgScene* scene = Scene();
    return scene && scene->GetDesignTime() && !Locked() && !PaintingToTarget();
}

void TsgImage::PaintNinePart(TsgCanvas* Canvas, TsgBitmap* B, float Opacity) {
    const float L = FBitmapMargins->Left(), T = FBitmapMargins->Top();
    const float R = FBitmapMargins->Right(), Bm = FBitmapMargins->Bottom();
    const float W = Width(), H = Height();
    const float bw = float(B->Width()), bh = float(B->Height());
    // Destination and source columns and rows: the margins keep their size, the middle stretches.
    const float dx[4] = {0, L, W - R, W}, sx[4] = {0, L, bw - R, bw};
    const float dy[4] = {0, T, H - Bm, H}, sy[4] = {0, T, bh - Bm, bh};
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
            Canvas->DrawBitmap(B, {sx[col], sy[row], sx[col + 1], sy[row + 1]},
                               {dx[col], dy[row], dx[col + 1], dy[row + 1]}, Opacity, true);
}

void TsgImage::Paint() {
    TsgCanvas* canvas = Canvas();
    if (!canvas)
        return;
    if (ShowsDesignFrame())
        sgPaintDesignFrame(canvas, LocalRect(), AbsoluteOpacity());
    TsgBitmap* b = FBitmap->ResourceBitmap() ? FBitmap->ResourceBitmap() : FBitmap;
    if (b->IsEmpty())
        return;
    const float opacity = AbsoluteOpacity();
    const TsgRect local = LocalRect();
    const float bw = float(b->Width()), bh = float(b->Height());
    const TsgRect source{0, 0, bw, bh};
    if (!FBitmapMargins->MarginEmpty()) {
        PaintNinePart(canvas, b, opacity);
        return;
    }
    switch (FWrapMode) {
    case sgImageOriginal: {
        const uint32_t state = canvas->SaveCanvas();
        canvas->IntersectClipRect(local);
        canvas->DrawBitmap(b, source, source, opacity, true);
        canvas->RestoreCanvas(state);
        break;
    }
    case sgImageFit: {
        TsgRect r = source;
        sgFitRect(r, local);
        canvas->DrawBitmap(b, source, r, opacity, FDisableInterpolation);
        break;
    }
    case sgImageStretch:
        canvas->DrawBitmap(b, source, local, opacity, FDisableInterpolation);
        break;
    case sgImageTile: {
        int columns = 0, rows = 0;
        if (!sgTileCounts(Width(), Height(), bw, bh, columns, rows))
            break;
        const uint32_t state = canvas->SaveCanvas();
        canvas->IntersectClipRect(local);
        for (int i = 0; i <= columns; ++i)
            for (int j = 0; j <= rows; ++j)
                canvas->DrawBitmap(b, source, {i * bw, j * bh, i * bw + bw, j * bh + bh}, opacity,
                                   true);
        canvas->RestoreCanvas(state);
        break;
    }
    }
}
