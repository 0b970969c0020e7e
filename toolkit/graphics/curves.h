#pragma once
// Rounded rectangles and ovals with their verbs, and the outline of arcs. Filled shapes are drawn as
// one-pixel pen runs row by row with the verb's pen; frames trace the outline with the port's pen, kept
// inside the shape's rectangle the way FrameRect keeps its border inside. Nothing moves the pen location.
// Each goes through the port's rRectProc or ovalProc.

#include "toolkit/graphics/quickdraw_types.h"

void FrameRoundRect(const Rect* r, int ovalWidth, int ovalHeight);
void PaintRoundRect(const Rect* r, int ovalWidth, int ovalHeight);
void EraseRoundRect(const Rect* r, int ovalWidth, int ovalHeight);
void InvertRoundRect(const Rect* r, int ovalWidth, int ovalHeight);
void FillRoundRect(const Rect* r, int ovalWidth, int ovalHeight, const Pattern* pat);

void FrameOval(const Rect* r);
void PaintOval(const Rect* r);
void EraseOval(const Rect* r);
void InvertOval(const Rect* r);
void FillOval(const Rect* r, const Pattern* pat);

// The standard rRectProc and ovalProc: recorded into an open picture, then drawn.
void StdRRect(GrafVerb verb, const Rect* r, int ovalWidth, int ovalHeight);
void StdOval(GrafVerb verb, const Rect* r);

namespace qiva {

// The outline of the oval of r between startAngle and startAngle + arcAngle (degrees clockwise from
// twelve o'clock; a negative arcAngle runs counter-clockwise, a whole turn or more is the whole oval),
// drawn with the port's pen and not recorded.
void FrameArcOutline(const Rect& r, int startAngle, int arcAngle);

} // namespace qiva
