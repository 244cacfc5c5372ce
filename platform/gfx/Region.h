// An area made of rectangles, as the clip of a Graphics takes it: infinite, empty, or the union
// of the rectangles added to it (in the world coordinates of the Graphics it is given to).
#pragma once

#include <vector>

#include "platform/gfx/GfxTypes.h"

namespace gfx {

class Region {
public:
    Region() = default;
    explicit Region(const RectF& rect) : infinite_(false), rects_{rect} {}

    void MakeInfinite() {
        infinite_ = true;
        rects_.clear();
    }
    void MakeEmpty() {
        infinite_ = false;
        rects_.clear();
    }
    Status Union(const RectF& rect) {
        if (!infinite_ && !rect.IsEmptyArea())
            rects_.push_back(rect);
        return Status::Ok;
    }
    bool IsInfinite() const { return infinite_; }
    bool IsEmpty() const { return !infinite_ && rects_.empty(); }
    const std::vector<RectF>& Rects() const { return rects_; }
    bool IsVisible(PointF p) const {
        if (infinite_)
            return true;
        for (const RectF& r : rects_)
            if (r.Contains(p))
                return true;
        return false;
    }

private:
    bool infinite_ = true;
    std::vector<RectF> rects_;
};

} // namespace gfx
