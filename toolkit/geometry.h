// Points and rectangles in whole pixels, origin at the top left of the frame.
// Plain values: any thread.
#pragma once

#include <algorithm>

namespace MX::toolkit {

using CCoord = int;

struct CPoint {
    CCoord x = 0;
    CCoord y = 0;

    constexpr CPoint() = default;
    constexpr CPoint(CCoord px, CCoord py) : x(px), y(py) {}

    constexpr CPoint& offset(CCoord dx, CCoord dy) {
        x += dx;
        y += dy;
        return *this;
    }
    friend constexpr bool operator==(const CPoint&, const CPoint&) = default;
};

// Half-open: covers the pixels left <= x < right, top <= y < bottom.
struct CRect {
    CCoord left = 0;
    CCoord top = 0;
    CCoord right = 0;
    CCoord bottom = 0;

    constexpr CRect() = default;
    constexpr CRect(CCoord l, CCoord t, CCoord r, CCoord b) : left(l), top(t), right(r), bottom(b) {}

    constexpr CCoord width() const { return right - left; }
    constexpr CCoord height() const { return bottom - top; }
    constexpr bool isEmpty() const { return right <= left || bottom <= top; }
    constexpr CPoint topLeft() const { return {left, top}; }

    constexpr CRect& offset(CCoord dx, CCoord dy) {
        left += dx;
        right += dx;
        top += dy;
        bottom += dy;
        return *this;
    }
    constexpr CRect& moveTo(CCoord x, CCoord y) { return offset(x - left, y - top); }

    // Intersection with `other`; an empty result collapses to a zero-sized rectangle.
    constexpr CRect& bound(const CRect& other) {
        left = std::max(left, other.left);
        top = std::max(top, other.top);
        right = std::min(right, other.right);
        bottom = std::min(bottom, other.bottom);
        if (isEmpty()) right = left, bottom = top;
        return *this;
    }
    constexpr bool rectOverlap(const CRect& other) const {
        return left < other.right && other.left < right && top < other.bottom && other.top < bottom;
    }
    constexpr bool pointInside(const CPoint& p) const {
        return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
    }
    friend constexpr bool operator==(const CRect&, const CRect&) = default;
};

}  // namespace MX::toolkit
