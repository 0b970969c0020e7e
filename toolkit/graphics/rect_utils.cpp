#include "toolkit/graphics/rect_utils.h"

#include <algorithm>
#include <iterator>

using qiva::Clamp16;

void SetRect(Rect* r, int left, int top, int right, int bottom) {
    r->top = static_cast<std::int16_t>(top);
    r->left = static_cast<std::int16_t>(left);
    r->bottom = static_cast<std::int16_t>(bottom);
    r->right = static_cast<std::int16_t>(right);
}

// Edges at or beyond ±32000 stand for "unbounded" (the wide-open clip) and never move.
void OffsetRect(Rect* r, int dh, int dv) {
    if (dh == 0 && dv == 0) return;
    if (r->top > -32000) r->top = Clamp16(r->top + dv);
    if (r->left > -32000) r->left = Clamp16(r->left + dh);
    if (r->bottom < 32000) r->bottom = Clamp16(r->bottom + dv);
    if (r->right < 32000) r->right = Clamp16(r->right + dh);
}

void InsetRect(Rect* r, int dh, int dv) {
    r->top = Clamp16(r->top + dv);
    r->left = Clamp16(r->left + dh);
    r->bottom = Clamp16(r->bottom - dv);
    r->right = Clamp16(r->right - dh);
}

bool SectRect(const Rect* a, const Rect* b, Rect* dst) {
    if (a->bottom < b->top || a->right < b->left || b->bottom < a->top || b->right < a->left) {
        *dst = Rect{0, 0, 0, 0};
        return false;
    }
    const Rect r{std::max(a->top, b->top), std::max(a->left, b->left), std::min(a->bottom, b->bottom),
                 std::min(a->right, b->right)};
    *dst = r;
    return true;
}

void UnionRect(const Rect* a, const Rect* b, Rect* dst) {
    if (EmptyRect(a)) {
        *dst = *b;
    } else if (EmptyRect(b)) {
        *dst = *a;
    } else {
        const Rect r{std::min(a->top, b->top), std::min(a->left, b->left), std::max(a->bottom, b->bottom),
                     std::max(a->right, b->right)};
        *dst = r;
    }
}

bool EmptyRect(const Rect* r) {
    return !(r->left < r->right && r->top < r->bottom);
}

bool EqualRect(const Rect* a, const Rect* b) {
    return a->top == b->top && a->left == b->left && a->bottom == b->bottom && a->right == b->right;
}

bool PtInRect(Point pt, const Rect* r) {
    return r->left <= pt.h && pt.h < r->right && r->top <= pt.v && pt.v < r->bottom;
}

void Pt2Rect(Point p1, Point p2, Rect* dst) {
    dst->top = std::min(p1.v, p2.v);
    dst->left = std::min(p1.h, p2.h);
    dst->bottom = Clamp16(std::max(p1.v, p2.v) + 1);
    dst->right = Clamp16(std::max(p1.h, p2.h) + 1);
}

void SetPt(Point* pt, int h, int v) {
    pt->h = static_cast<std::int16_t>(h);
    pt->v = static_cast<std::int16_t>(v);
}

bool EqualPt(Point a, Point b) {
    return a.h == b.h && a.v == b.v;
}

void AddPt(Point src, Point* dst) {
    dst->h = static_cast<std::int16_t>(dst->h + src.h);
    dst->v = static_cast<std::int16_t>(dst->v + src.v);
}

void SubPt(Point src, Point* dst) {
    dst->h = static_cast<std::int16_t>(dst->h - src.h);
    dst->v = static_cast<std::int16_t>(dst->v - src.v);
}

namespace qiva {

bool EqualPattern(const Pattern& a, const Pattern& b) {
    return std::equal(std::begin(a.pat), std::end(a.pat), std::begin(b.pat));
}

} // namespace qiva
