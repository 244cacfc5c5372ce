// The part of a window that needs painting, as a set of rectangles that never overlap.
//
// Invalidating adds the parts of a rectangle not yet covered; validating cuts a rectangle out.
// Rectangles are clipped to the window's client area by the window, not here. When a region
// splinters into many pieces it is replaced by its bounding box: painting a little more is
// always correct, and the scene merges long lists anyway.
#pragma once

#include "platform/ui/Geometry.h"

#include <vector>

class TUpdateRegion {
public:
    static constexpr size_t MaxRects = 64;

    void Add(const TRect& rect);
    void Subtract(const TRect& rect);
    void Clear() { rects_.clear(); }

    bool IsEmpty() const { return rects_.empty(); }
    // Disjoint rectangles covering the region, top to bottom, then left to right.
    const std::vector<TRect>& Rects() const { return rects_; }
    TRect BoundingBox() const;
    // Whether any pixel of `rect` needs painting.
    bool Intersects(const TRect& rect) const;
    // Shifts every rectangle by (dx, dy) and clips the region to `clip`.
    void OffsetAndClip(int dx, int dy, const TRect& clip);

private:
    void Normalize();

    std::vector<TRect> rects_;
};

// The pieces of `rect` outside `hole`: at most four rectangles.
std::vector<TRect> SubtractRect(const TRect& rect, const TRect& hole);
