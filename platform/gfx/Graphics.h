// Drawing into a Bitmap. World coordinates pass through the world transform and the pixel
// offset mode to pixels. Fills use the even-odd rule (paths: their own fill mode, even-odd by
// default); a pen of width 0 draws one-pixel lines. The clip is pixel-exact (not antialiased).
//
// Save() keeps the transform, clip and rendering settings under a token; Restore(token) brings
// them back and drops that state and every state saved after it, so states may be restored out
// of order. The states are kept here and replayed, never as nested cairo saves.
#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Brush.h"
#include "platform/gfx/Font.h"
#include "platform/gfx/GfxTypes.h"
#include "platform/gfx/GraphicsPath.h"
#include "platform/gfx/ImageAttributes.h"
#include "platform/gfx/Matrix.h"
#include "platform/gfx/Pen.h"
#include "platform/gfx/Region.h"
#include "platform/gfx/StringFormat.h"

struct _cairo;

namespace gfx {

// Never 0xFFFFFFFF, which the toolkit uses to mark a free save slot.
using GraphicsState = unsigned;

class Graphics {
public:
    explicit Graphics(Image* target);
    static std::unique_ptr<Graphics> FromImage(Image* target) {
        return std::make_unique<Graphics>(target);
    }
    Graphics(const Graphics&) = delete;
    Graphics& operator=(const Graphics&) = delete;
    ~Graphics();
    Status GetLastStatus() const { return status_; }

    Status SetSmoothingMode(SmoothingMode mode);
    SmoothingMode GetSmoothingMode() const { return state_.smoothing; }
    Status SetPixelOffsetMode(PixelOffsetMode mode);
    PixelOffsetMode GetPixelOffsetMode() const { return state_.pixelOffset; }
    Status SetInterpolationMode(InterpolationMode mode);
    InterpolationMode GetInterpolationMode() const { return state_.interpolation; }
    Status SetCompositingMode(CompositingMode mode);
    CompositingMode GetCompositingMode() const { return state_.compositing; }
    // Kept for the callers; every hint draws glyphs with greyscale antialiasing.
    Status SetTextRenderingHint(TextRenderingHint hint);
    TextRenderingHint GetTextRenderingHint() const { return state_.textHint; }
    Status SetTextContrast(unsigned contrast);
    unsigned GetTextContrast() const { return state_.textContrast; }

    Status SetTransform(const Matrix& m);
    Status GetTransform(Matrix* m) const;
    Status ResetTransform();
    Status MultiplyTransform(const Matrix& m, MatrixOrder order = MatrixOrder::Prepend);
    Status TranslateTransform(float dx, float dy, MatrixOrder order = MatrixOrder::Prepend);
    Status ScaleTransform(float sx, float sy, MatrixOrder order = MatrixOrder::Prepend);
    Status RotateTransform(float degrees, MatrixOrder order = MatrixOrder::Prepend);

    GraphicsState Save();
    // InvalidParameter for a token that is not (or no longer) saved; nothing changes then.
    Status Restore(GraphicsState state);

    // Shapes are given in world coordinates and fixed to the pixels at the time of the call.
    // Replace and Intersect are supported for regions and paths, Replace, Intersect and
    // Exclude for rectangles.
    Status SetClip(const Region& region, CombineMode mode = CombineMode::Replace);
    Status SetClip(const RectF& rect, CombineMode mode = CombineMode::Replace);
    Status SetClip(const GraphicsPath& path, CombineMode mode = CombineMode::Replace);
    Status IntersectClip(const RectF& rect) { return SetClip(rect, CombineMode::Intersect); }
    Status ExcludeClip(const RectF& rect) { return SetClip(rect, CombineMode::Exclude); }
    Status ResetClip();
    // The smallest pixel rectangle holding the clip, in device pixels.
    Status GetClipBoundsDevice(Rect* bounds) const;

    // Every pixel inside the clip becomes the colour (premultiplied), ignoring the transform.
    Status Clear(Color color);
    Status FillRectangle(const Brush& brush, const RectF& rect);
    Status FillRectangle(const Brush& brush, float x, float y, float w, float h) {
        return FillRectangle(brush, RectF(x, y, w, h));
    }
    Status DrawRectangle(const Pen& pen, const RectF& rect);
    Status FillEllipse(const Brush& brush, const RectF& rect);
    Status DrawEllipse(const Pen& pen, const RectF& rect);
    Status DrawLine(const Pen& pen, PointF from, PointF to);
    Status DrawBezier(const Pen& pen, PointF p1, PointF p2, PointF p3, PointF p4);
    Status FillPath(const Brush& brush, const GraphicsPath& path);
    Status DrawPath(const Pen& pen, const GraphicsPath& path);

    // The source rectangle (in pixels of the image) drawn into dst. Samples never come from
    // outside the source rectangle: its edge pixels are repeated instead.
    Status DrawImage(const Image* image, const RectF& dst, float srcX, float srcY, float srcWidth,
                     float srcHeight, Unit srcUnit = Unit::Pixel,
                     const ImageAttributes* attributes = nullptr);
    Status DrawImage(const Image* image, const RectF& dst);
    // At the image's physical size: its pixels times this target's resolution over its own.
    Status DrawImage(const Image* image, float x, float y);

    Status DrawString(std::u16string_view text, const Font& font, const RectF& layoutRect,
                      const StringFormat* format, const Brush& brush);
    // The box of the whole text (one character range covering it) as DrawString lays it out.
    // Needs no pixels: works the same on any Graphics.
    Status MeasureCharacterRanges(std::u16string_view text, const Font& font,
                                  const RectF& layoutRect, const StringFormat* format,
                                  RectF* bounds) const;

    // Finishes pending drawing so that the target's pixels can be read.
    void Flush();

private:
    struct ClipStep;
    struct State {
        Matrix world;
        std::vector<std::shared_ptr<ClipStep>> clip;
        SmoothingMode smoothing = SmoothingMode::None;
        PixelOffsetMode pixelOffset = PixelOffsetMode::None;
        InterpolationMode interpolation = InterpolationMode::Bilinear;
        CompositingMode compositing = CompositingMode::SourceOver;
        TextRenderingHint textHint = TextRenderingHint::SystemDefault;
        unsigned textContrast = 4;
    };

    bool ready() const;
    Matrix deviceMatrix() const;
    void beginShape();
    void applyClip();
    Status addClipStep(std::shared_ptr<ClipStep> step, CombineMode mode);
    std::shared_ptr<ClipStep> captureClipPath(int fillRule);
    bool setSource(const Brush& brush);
    void strokeCurrentPath(const Pen& pen);
    Status fillCurrentPath(const Brush& brush, FillMode mode);
    // The checks and set-up every shape call shares around addPath(), which adds the shape.
    template <typename AddPath, typename Paint>
    Status drawShape(AddPath addPath, Paint paint);
    template <typename AddPath>
    Status fillShape(const Brush& brush, FillMode mode, AddPath addPath);
    template <typename AddPath>
    Status strokeShape(const Pen& pen, AddPath addPath);

    _cairo* cr_ = nullptr;
    Image* target_ = nullptr;
    State state_;
    std::vector<std::pair<GraphicsState, State>> saved_;
    GraphicsState nextToken_ = 1;
    Status status_ = Status::Ok;
};

} // namespace gfx
