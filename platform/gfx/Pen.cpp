#include "platform/gfx/Pen.h"

namespace gfx {

Pen::Pen(Color color, float width) : brush_(std::make_unique<SolidBrush>(color)), width_(width) {}

Pen::Pen(const Brush& brush, float width) : brush_(brush.Clone()), width_(width) {}

Pen::Pen(const Pen& other)
    : brush_(other.brush_->Clone()), width_(other.width_), startCap_(other.startCap_),
      endCap_(other.endCap_), dashCap_(other.dashCap_), join_(other.join_),
      miterLimit_(other.miterLimit_), dashStyle_(other.dashStyle_),
      dashPattern_(other.dashPattern_), dashOffset_(other.dashOffset_) {}

Pen& Pen::operator=(const Pen& other) {
    if (this != &other) {
        Pen copy(other);
        std::swap(brush_, copy.brush_);
        width_ = other.width_;
        startCap_ = other.startCap_;
        endCap_ = other.endCap_;
        dashCap_ = other.dashCap_;
        join_ = other.join_;
        miterLimit_ = other.miterLimit_;
        dashStyle_ = other.dashStyle_;
        dashPattern_ = other.dashPattern_;
        dashOffset_ = other.dashOffset_;
    }
    return *this;
}

Status Pen::SetWidth(float width) {
    if (!(width >= 0))
        return Status::InvalidParameter;
    width_ = width;
    return Status::Ok;
}

Status Pen::SetColor(Color color) {
    brush_ = std::make_unique<SolidBrush>(color);
    return Status::Ok;
}

Status Pen::SetBrush(const Brush& brush) {
    brush_ = brush.Clone();
    return Status::Ok;
}

Status Pen::SetStartCap(LineCap cap) {
    startCap_ = cap;
    return Status::Ok;
}

Status Pen::SetEndCap(LineCap cap) {
    endCap_ = cap;
    return Status::Ok;
}

Status Pen::SetDashCap(DashCap cap) {
    dashCap_ = cap;
    return Status::Ok;
}

Status Pen::SetLineCap(LineCap start, LineCap end, DashCap dash) {
    startCap_ = start;
    endCap_ = end;
    dashCap_ = dash;
    return Status::Ok;
}

Status Pen::SetLineJoin(LineJoin join) {
    join_ = join;
    return Status::Ok;
}

Status Pen::SetMiterLimit(float limit) {
    miterLimit_ = limit < 1 ? 1 : limit;
    return Status::Ok;
}

Status Pen::SetDashStyle(DashStyle style) {
    switch (style) {
    case DashStyle::Solid:
        dashPattern_.clear();
        break;
    case DashStyle::Dash:
        dashPattern_ = {3, 1};
        break;
    case DashStyle::Dot:
        dashPattern_ = {1, 1};
        break;
    case DashStyle::DashDot:
        dashPattern_ = {3, 1, 1, 1};
        break;
    case DashStyle::DashDotDot:
        dashPattern_ = {3, 1, 1, 1, 1, 1};
        break;
    case DashStyle::Custom:
        if (dashPattern_.empty())
            return Status::InvalidParameter;
        break;
    }
    dashStyle_ = style;
    return Status::Ok;
}

Status Pen::SetDashPattern(const float* lengths, int count) {
    if (!lengths || count < 1)
        return Status::InvalidParameter;
    for (int i = 0; i < count; ++i)
        if (!(lengths[i] > 0))
            return Status::InvalidParameter;
    dashPattern_.assign(lengths, lengths + count);
    dashStyle_ = DashStyle::Custom;
    return Status::Ok;
}

Status Pen::SetDashOffset(float offset) {
    dashOffset_ = offset;
    return Status::Ok;
}

} // namespace gfx
