#pragma once
// Rect and Point utilities with the toolkit's particular rules (OffsetRect keeps edges at ±32000,
// SectRect treats touching rectangles as meeting, Pt2Rect includes both points).

#include "toolkit/graphics/quickdraw_types.h"

void SetRect(Rect* r, int left, int top, int right, int bottom);
void OffsetRect(Rect* r, int dh, int dv);
void InsetRect(Rect* r, int dh, int dv);
bool SectRect(const Rect* a, const Rect* b, Rect* dst);
void UnionRect(const Rect* a, const Rect* b, Rect* dst);
bool EmptyRect(const Rect* r);
bool EqualRect(const Rect* a, const Rect* b);
bool PtInRect(Point pt, const Rect* r);
void Pt2Rect(Point p1, Point p2, Rect* dst);
void SetPt(Point* pt, int h, int v);
bool EqualPt(Point a, Point b);
void AddPt(Point src, Point* dst);
void SubPt(Point src, Point* dst);

namespace qiva {

// Two patterns are equal when all eight rows are.
bool EqualPattern(const Pattern& a, const Pattern& b);

// A 16-bit coordinate from a wider result, saturated instead of wrapped.
constexpr std::int16_t Clamp16(int value) {
    return static_cast<std::int16_t>(value < -32768 ? -32768 : value > 32767 ? 32767 : value);
}

} // namespace qiva
