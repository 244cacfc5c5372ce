// Chief header of the canvas unit: TsgCanvasGdiPlus, the toolkit's only concrete canvas, and
// TsgFilterGdiPlus, its image codec, both over the drawing layer platform/gfx.
//
// The surface is the canvas's buffer or a bitmap's pixels, wrapped in place. Saved states are
// kept as the layer's tokens, which may be restored out of order. Brushes and pens are built from
// the canvas state by every fill and stroke; gradient stop tables grow with the gradient.
#pragma once

#include "scene/core/Sg_scene_canvas.h"
#include "scene/core/Sg_scene_filter.h"

#include <memory>

namespace gfx {
class Bitmap;
class Brush;
class FontFamily;
class Graphics;
class GraphicsPath;
class Pen;
class PrivateFontCollection;
class StringFormat;
} // namespace gfx

class TsgCanvasGdiPlus : public TsgCanvas {
public:
    // A buffered surface of that size (no surface for 0 x 0 until resized).
    TsgCanvasGdiPlus(int AWidth, int AHeight);
    // Draws into the bitmap's pixels; the bitmap must outlive the canvas (it owns it).
    explicit TsgCanvasGdiPlus(TsgBitmap* ABitmap);
    ~TsgCanvasGdiPlus() override;

    static const TsgCanvasClassInfo ClassInfoRecord;
    static uint32_t* GetBitmapScanline(TsgBitmap* Bitmap, int y);

    void FreeBuffer() override;
    void ResizeBuffer(int AWidth, int AHeight) override;
    bool HasSurface() const { return FGraphics != nullptr; }

    void SetMatrix(const TsgMatrix& M) override;
    void MultyMatrix(const TsgMatrix& M) override;

    uint32_t SaveCanvas() override;
    void RestoreCanvas(uint32_t AState) override;
    void SetClipRects(const std::vector<TsgRect>& ARects) override;
    void IntersectClipRect(const TsgRect& ARect) override;
    void ExcludeClipRect(const TsgRect& ARect) override;
    void ResetClipRect() override;

    void DrawLine(const TsgPoint& APt1, const TsgPoint& APt2, float AOpacity) override;
    void FillRect(const TsgRect& ARect, float xRadius, float yRadius, TsgCorners ACorners,
                  float AOpacity, TsgCornerType ACornerType = sgCornerRound) override;
    void DrawRect(const TsgRect& ARect, float xRadius, float yRadius, TsgCorners ACorners,
                  float AOpacity, TsgCornerType ACornerType = sgCornerRound) override;
    void FillEllipse(const TsgRect& ARect, float AOpacity) override;
    void DrawEllipse(const TsgRect& ARect, float AOpacity) override;
    bool PtInPath(const TsgPoint& APoint, const TsgRect& ARect, TsgPathData* APath) override;
    void FillPath(TsgPathData* APath, const TsgRect& ARect, float AOpacity) override;
    void DrawPath(TsgPathData* APath, const TsgRect& ARect, float AOpacity) override;
    void DrawBitmap(TsgBitmap* ABitmap, const TsgRect& SrcRect, const TsgRect& DstRect,
                    float AOpacity, bool HighSpeed = false) override;
    void DrawThumbnail(TsgBitmap* ABitmap, float Width, float Height) override;

    void FontChanged(TObject* Sender) override;
    bool LoadFontFromStream(TStream& AStream) override;
    void FillText(const TsgRect& ARect, const TsgRect& AClipRect, const UnicodeString& AText,
                  bool WordWrap, float AOpacity, TsgTextAlign ATextAlign,
                  TsgTextAlign AVTextAlign = sgTextAlignCenter) override;
    void MeasureText(TsgRect& ARect, const TsgRect& AClipRect, const UnicodeString& AText,
                     bool WordWrap, TsgTextAlign ATextAlign,
                     TsgTextAlign AVTextAlign = sgTextAlignCenter) override;
    bool TextToPath(TsgPathData* Path, const TsgRect& ARect, const UnicodeString& AText,
                    bool WordWrap, TsgTextAlign ATextAlign,
                    TsgTextAlign AVTextAlign = sgTextAlignCenter) override;

    // The brush and pen the last fill and stroke built (for inspection by tests and tools).
    const gfx::Brush* LastFillBrush() const { return FGPBrush.get(); }
    const gfx::Pen* LastPen() const { return FGPPen.get(); }
    // The layer's surface, nullptr without one.
    gfx::Graphics* Graphics() const { return FGraphics.get(); }

    // Makes or refreshes the layer's wrapper of the bitmap's pixels.
    static void UpdateBitmapHandle(TsgBitmap* Bitmap);

protected:
    void BeginBufferAccess() override;
    void EndBufferAccess() override;

private:
    void InitDrawingObjects();
    void ApplyQuality(bool Full);
    void ApplyFill(const TsgRect& ARect, float AOpacity);
    void ApplyStroke(const TsgRect& ARect, float AOpacity);
    void FillPlainRect(const TsgRect& ARect, float AOpacity);
    void FillGPPath(const gfx::GraphicsPath& Path, const TsgRect& ARect, float AOpacity);
    void PaintVisualBrush(const TsgRect& ARect, float AOpacity);
    void ResolveResource(TsgBrush* Brush);
    void ApplyTextHint();
    bool ScaledText() const;

    std::unique_ptr<gfx::Bitmap> FBufferImage;
    std::unique_ptr<gfx::Graphics> FGraphics;
    std::unique_ptr<gfx::Pen> FGPPen;
    std::unique_ptr<gfx::Brush> FGPPenBrush;
    std::unique_ptr<gfx::Brush> FGPBrush;
    std::unique_ptr<gfx::FontFamily> FGPFamily;
    std::unique_ptr<gfx::PrivateFontCollection> FFontCollection;
};

class TsgFilterGdiPlus : public TsgFilter {
public:
    static const TsgFilterClassInfo ClassInfoRecord;
    static UnicodeString GetFileTypes();
    static TsgPoint GetImageSize(const UnicodeString& AFileName);

    bool LoadFromFile(const UnicodeString& AFileName, float Rotate, TsgBitmap& Bitmap) override;
    bool LoadThumbnailFromFile(const UnicodeString& AFileName, float AFitWidth, float AFitHeight,
                               bool UseEmbedded, TsgBitmap& Bitmap) override;
    bool SaveToFile(const UnicodeString& AFileName, TsgBitmap& Bitmap,
                    const UnicodeString& Params) override;
    bool LoadFromStream(TStream& AStream, TsgBitmap& Bitmap) override;
    bool SaveToStream(TStream& AStream, TsgBitmap& Bitmap, const UnicodeString& Format,
                      const UnicodeString& Params) override;
};

// The unit's start-up, run once (later calls do nothing): the codec class, the canvas class
// (when none is set yet) and the printer canvas class, and the project's font aliases.
void InitSgCanvasUnit();
