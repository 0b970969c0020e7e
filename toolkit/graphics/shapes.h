#pragma once
// Lines and rectangles, built from one primitive: the pen run, the pen rectangle swept along a
// horizontal or vertical segment and filled through the clipped fill. Filled shapes set the pen up
// for their verb (a one-pixel pen with the pattern and mode the verb needs) and restore it after.

#include "toolkit/graphics/quickdraw_types.h"

// Each goes through the port's bottleneck: LineTo and Line its lineProc, the rectangles its rectProc.
void LineTo(int h, int v);
void Line(int dh, int dv);
void FrameRect(const Rect* r);
void PaintRect(const Rect* r);
void EraseRect(const Rect* r);
void InvertRect(const Rect* r);
void FillRect(const Rect* r, const Pattern* pat);

// The standard bottlenecks. StdLine adds the line's end to an open polygon instead of drawing it;
// both record into an open picture, then draw while the pen is visible.
void StdLine(Point newPt);
void StdRect(GrafVerb verb, const Rect* r);

namespace qiva {

enum class Verb { fill = 0, erase = 1, frameRegion = 2, text = 3, invert = 4, paint = 5, hiliteInvert = 6 };

// The pen set-up of a filled shape. The caller saves the pen state (and the foreground colour,
// which the invert verbs change) first.
void ApplyVerb(Verb verb);

// Horizontal pen run from (h1, v) to (h2, v); the pen location becomes (h2, v).
void HorizontalRun(int h1, int v, int h2);
// The same with the pen `extraRows` rows taller (filled shapes sweep a whole rectangle at once).
void HorizontalRunTaller(int h1, int v, int h2, int extraRows);
// Vertical pen run from (h, vStart) to (h, vEnd).
void VerticalRun(int h, int vStart, int vEnd);

// The verb a filled shape draws with: frame draws nothing filled, invert highlights instead when
// the port's colrBit is set.
Verb FillVerbOf(GrafVerb verb);

// FrameRect's border with the port's pen, which does not move.
void FrameRectBorder(const Rect& r);

// Saves what a filled shape's verb may change and puts it back on destruction.
class VerbScope {
public:
    explicit VerbScope(Verb verb);
    ~VerbScope();
    VerbScope(const VerbScope&) = delete;
    VerbScope& operator=(const VerbScope&) = delete;

private:
    PenState pen_{};
    std::int32_t fgColor_ = 0, fgIndex_ = 0;
    bool active_ = false;
};

} // namespace qiva
