#include "platform/ui/UpdateRegion.h"

#include <algorithm>

std::vector<TRect> SubtractRect(const TRect& rect, const TRect& hole) {
    if (rect.IsEmpty())
        return {};
    TRect common = IntersectRects(rect, hole);
    if (common.IsEmpty())
        return {rect};
    std::vector<TRect> pieces;
    // A band above and below the hole, then the parts left and right of it between the bands.
    if (common.Top > rect.Top)
        pieces.push_back({rect.Left, rect.Top, rect.Right, common.Top});
    if (common.Bottom < rect.Bottom)
        pieces.push_back({rect.Left, common.Bottom, rect.Right, rect.Bottom});
    if (common.Left > rect.Left)
        pieces.push_back({rect.Left, common.Top, common.Left, common.Bottom});
    if (common.Right < rect.Right)
        pieces.push_back({common.Right, common.Top, rect.Right, common.Bottom});
    return pieces;
}

void TUpdateRegion::Add(const TRect& rect) {
    if (rect.IsEmpty())
        return;
    std::vector<TRect> fresh{rect};
    for (const TRect& existing : rects_) {
        std::vector<TRect> next;
        for (const TRect& piece : fresh) {
            auto rest = SubtractRect(piece, existing);
            next.insert(next.end(), rest.begin(), rest.end());
        }
        fresh.swap(next);
        if (fresh.empty())
            return;
    }
    rects_.insert(rects_.end(), fresh.begin(), fresh.end());
    Normalize();
}

void TUpdateRegion::Subtract(const TRect& rect) {
    if (rect.IsEmpty() || rects_.empty())
        return;
    std::vector<TRect> next;
    for (const TRect& existing : rects_) {
        auto rest = SubtractRect(existing, rect);
        next.insert(next.end(), rest.begin(), rest.end());
    }
    rects_.swap(next);
    Normalize();
}

TRect TUpdateRegion::BoundingBox() const {
    TRect box;
    for (const TRect& r : rects_)
        box = UnionRects(box, r);
    return box;
}

bool TUpdateRegion::Intersects(const TRect& rect) const {
    return std::any_of(rects_.begin(), rects_.end(),
                       [&](const TRect& r) { return !IntersectRects(r, rect).IsEmpty(); });
}

void TUpdateRegion::OffsetAndClip(int dx, int dy, const TRect& clip) {
    std::vector<TRect> next;
    for (TRect r : rects_) {
        r = IntersectRects({r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy}, clip);
        if (!r.IsEmpty())
            next.push_back(r);
    }
    rects_.swap(next);
    Normalize();
}

void TUpdateRegion::Normalize() {
    // Glue neighbours that share a whole edge, so that repeated invalidation of the same area
    // in strips does not grow the list.
    bool merged = true;
    while (merged) {
        merged = false;
        for (size_t i = 0; i < rects_.size() && !merged; ++i) {
            for (size_t j = i + 1; j < rects_.size() && !merged; ++j) {
                TRect& a = rects_[i];
                const TRect& b = rects_[j];
                bool sideBySide = a.Top == b.Top && a.Bottom == b.Bottom &&
                                  (a.Right == b.Left || b.Right == a.Left);
                bool stacked = a.Left == b.Left && a.Right == b.Right &&
                               (a.Bottom == b.Top || b.Bottom == a.Top);
                if (sideBySide || stacked) {
                    a = UnionRects(a, b);
                    rects_.erase(rects_.begin() + static_cast<std::ptrdiff_t>(j));
                    merged = true;
                }
            }
        }
    }
    if (rects_.size() > MaxRects)
        rects_ = {BoundingBox()};
    std::sort(rects_.begin(), rects_.end(), [](const TRect& a, const TRect& b) {
        return a.Top != b.Top ? a.Top < b.Top : a.Left < b.Left;
    });
}
