// Integer points and rectangles of window client areas and the screen.
//
// A rectangle is given by its edges; Right and Bottom lie outside it, so (0, 0, 10, 10) covers
// 10 x 10 pixels and a rectangle with Right <= Left or Bottom <= Top is empty.
#pragma once

#include <algorithm>

struct TPoint {
    int X = 0;
    int Y = 0;

    friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    bool Contains(TPoint p) const {
        return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom;
    }

    friend bool operator==(const TRect&, const TRect&) = default;
};

inline TRect Bounds(int left, int top, int width, int height) {
    return TRect{left, top, left + width, top + height};
}

// The common part of two rectangles; empty (all zero) when they do not overlap.
inline TRect IntersectRects(const TRect& a, const TRect& b) {
    TRect r{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
            std::min(a.Bottom, b.Bottom)};
    return r.IsEmpty() ? TRect{} : r;
}

// The smallest rectangle holding both; an empty rectangle adds nothing.
inline TRect UnionRects(const TRect& a, const TRect& b) {
    if (a.IsEmpty())
        return b;
    if (b.IsEmpty())
        return a;
    return TRect{std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
                 std::max(a.Bottom, b.Bottom)};
}
