#include "toolkit/controls/scroll_bar_geometry.h"

#include <algorithm>

namespace qiva::scroll {

namespace {

// Room the arrows and the thumb leave on the track: the drawn track and the dragged one differ by
// the two pixels the thumb may overlap the down arrow when it is drawn.
constexpr int kDrawnRoom = 46;
constexpr int kDragRoom = 48;
constexpr int kArrow = 16;
constexpr int kSlopAlong = 120;
constexpr int kSlopAcross = 32;

Rect Make(int left, int top, int right, int bottom) {
    return Rect{static_cast<std::int16_t>(top), static_cast<std::int16_t>(left),
                static_cast<std::int16_t>(bottom), static_cast<std::int16_t>(right)};
}

bool Inside(Point pt, const Rect& r) {
    return pt.h >= r.left && pt.h < r.right && pt.v >= r.top && pt.v < r.bottom;
}

} // namespace

std::int16_t PosFromValue(int value, int n, int min, int max) {
    if (max == min) return 0;
    const long long pos = static_cast<long long>(value - min) * n / (max - min);
    return static_cast<std::int16_t>(std::max(0LL, std::min<long long>(pos, n - 1)));
}

std::int16_t ValueFromPos(int pos, int n, int min, int max) {
    if (n == 0) return static_cast<std::int16_t>(min);
    const long long v =
        min + (static_cast<long long>(n) + 2LL * pos * (static_cast<long long>(max) - min + 1)) / (2LL * n);
    return static_cast<std::int16_t>(std::max<long long>(min, std::min<long long>(v, max)));
}

bool IsVertical(const Rect& bar) {
    return bar.right - bar.left <= bar.bottom - bar.top;
}

Parts BarParts(const Rect& bar, int value, int min, int max) {
    const int L = bar.left, T = bar.top, R = bar.right, B = bar.bottom;
    Parts p;
    if (IsVertical(bar)) {
        const int pos = min == max ? 0 : PosFromValue(value, B - T - kDrawnRoom, min, max);
        p.upArrow = Make(L, T, R, T + kArrow);
        p.downArrow = Make(L, B - kArrow, R, B);
        p.thumb = Make(L + 1, T + kArrow + pos, R - 1, T + 2 * kArrow + pos);
        p.pageUp = Make(L + 1, T + kArrow + 1, R - 1, p.thumb.top - 1);
        p.pageDown = Make(L + 1, p.thumb.bottom + 1, R - 1, B - kArrow - 1);
    } else {
        const int pos = min == max ? 0 : PosFromValue(value, R - L - kDrawnRoom, min, max);
        p.upArrow = Make(L, T, L + kArrow, B);
        p.downArrow = Make(R - kArrow, T, R, B);
        p.thumb = Make(L + kArrow + pos, T + 1, L + 2 * kArrow + pos, B - 1);
        p.pageUp = Make(L + kArrow, T + 1, p.thumb.left - 1, B - 1);
        p.pageDown = Make(p.thumb.right + 1, T + 1, R - kArrow, B - 1);
    }
    return p;
}

std::int16_t HitPart(const Rect& bar, int value, int min, int max, int hilite, Point pt) {
    if (hilite > 253 || min == max) return 0;
    const Parts p = BarParts(bar, value, min, max);
    if (Inside(pt, p.upArrow)) return inUpButton;
    if (Inside(pt, p.downArrow)) return inDownButton;
    if (Inside(pt, p.thumb)) return inThumb;
    if (Inside(pt, p.pageUp)) return inPageUp;
    if (Inside(pt, p.pageDown)) return inPageDown;
    return 0;
}

ThumbDragRecord ThumbLimits(const Rect& bar, int value, int min, int max, Point down) {
    const Parts p = BarParts(bar, value, min, max);
    const int dh = down.h - p.thumb.left, dv = down.v - p.thumb.top;
    ThumbDragRecord d{};
    if (IsVertical(bar)) {
        // The thumb's top may go from just below the up arrow to where its bottom meets the down
        // arrow; the rectangle holds every top-left the pointer may give, so its bottom is one past.
        const int first = p.upArrow.bottom, last = p.downArrow.top - (p.thumb.bottom - p.thumb.top);
        d.limitRect = Make(p.thumb.left + dh, first + dv, p.thumb.left + dh + 1, last + dv + 1);
        d.slopRect = Make(bar.left - kSlopAcross, bar.top - kSlopAlong, bar.right + kSlopAcross,
                          bar.bottom + kSlopAlong);
        d.axis = vAxisOnly;
    } else {
        const int first = p.upArrow.right, last = p.downArrow.left - (p.thumb.right - p.thumb.left);
        d.limitRect = Make(first + dh, p.thumb.top + dv, last + dh + 1, p.thumb.top + dv + 1);
        d.slopRect = Make(bar.left - kSlopAlong, bar.top - kSlopAcross, bar.right + kSlopAlong,
                          bar.bottom + kSlopAcross);
        d.axis = hAxisOnly;
    }
    return d;
}

std::int16_t DraggedValue(const Rect& bar, int value, int min, int max, int dh, int dv) {
    if (IsVertical(bar)) {
        if (dv == 0) return static_cast<std::int16_t>(value);
        const int n = bar.bottom - bar.top - kDragRoom;
        const int p = std::clamp(dv + PosFromValue(value, n, min, max), 0, std::max(0, n - 1));
        return ValueFromPos(p, n, min, max);
    }
    if (dh == 0) return static_cast<std::int16_t>(value);
    const int n = bar.right - bar.left - kDragRoom;
    const int p = std::clamp(dh + PosFromValue(value, n, min, max), 0, std::max(0, n));
    return ValueFromPos(p, n, min, max);
}

} // namespace qiva::scroll
