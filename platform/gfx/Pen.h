// How outlines are stroked. A width of 0 draws lines one device pixel wide whatever the
// transform. Dash lengths and the dash offset are in multiples of the width (of one pixel for a
// width below 1).
#pragma once

#include <memory>
#include <vector>

#include "platform/gfx/Brush.h"
#include "platform/gfx/GfxTypes.h"

namespace gfx {

class Pen {
public:
    explicit Pen(Color color, float width = 1);
    explicit Pen(const Brush& brush, float width = 1);
    Pen(const Pen& other);
    Pen& operator=(const Pen& other);

    Status SetWidth(float width);
    float GetWidth() const { return width_; }
    Status SetColor(Color color);
    Status SetBrush(const Brush& brush);
    const Brush& GetBrush() const { return *brush_; }

    Status SetStartCap(LineCap cap);
    Status SetEndCap(LineCap cap);
    Status SetDashCap(DashCap cap);
    Status SetLineCap(LineCap start, LineCap end, DashCap dash);
    LineCap GetStartCap() const { return startCap_; }
    LineCap GetEndCap() const { return endCap_; }
    DashCap GetDashCap() const { return dashCap_; }
    Status SetLineJoin(LineJoin join);
    LineJoin GetLineJoin() const { return join_; }
    Status SetMiterLimit(float limit);
    float GetMiterLimit() const { return miterLimit_; }

    // The named styles set their patterns (Dash 3,1; Dot 1,1; DashDot 3,1,1,1; DashDotDot
    // 3,1,1,1,1,1); Custom keeps the pattern last given to SetDashPattern.
    Status SetDashStyle(DashStyle style);
    DashStyle GetDashStyle() const { return dashStyle_; }
    // Every length must be above 0 (InvalidParameter otherwise); sets the style to Custom.
    Status SetDashPattern(const float* lengths, int count);
    const std::vector<float>& GetDashPattern() const { return dashPattern_; }
    Status SetDashOffset(float offset);
    float GetDashOffset() const { return dashOffset_; }

private:
    std::unique_ptr<Brush> brush_;
    float width_;
    LineCap startCap_ = LineCap::Flat;
    LineCap endCap_ = LineCap::Flat;
    DashCap dashCap_ = DashCap::Flat;
    LineJoin join_ = LineJoin::Miter;
    float miterLimit_ = 10;
    DashStyle dashStyle_ = DashStyle::Solid;
    std::vector<float> dashPattern_;
    float dashOffset_ = 0;
};

} // namespace gfx
