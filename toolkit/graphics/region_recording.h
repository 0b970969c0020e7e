#pragma once
// OpenRgn and CloseRgn: a region is recorded as a picture of its outline and rebuilt by playing that
// picture into a span fill that collects pixels instead of drawing them.

#include <cstdint>
#include <span>
#include <vector>

#include "toolkit/graphics/quickdraw_types.h"

void OpenRgn();
void CloseRgn(RgnHandle dstRgn);

// Filled arcs and polygons: the region of the framed arc closed through the centre, or of the framed
// polygon, recorded with OpenRgn and filled with the verb.
void PaintArc(const Rect* r, int startAngle, int arcAngle);
void EraseArc(const Rect* r, int startAngle, int arcAngle);
void InvertArc(const Rect* r, int startAngle, int arcAngle);
void FillArc(const Rect* r, int startAngle, int arcAngle, const Pattern* pat);

struct Polygon;
void PaintPoly(Polygon** poly);
void ErasePoly(Polygon** poly);
void InvertPoly(Polygon** poly);
void FillPoly(Polygon** poly, const Pattern* pat);

namespace qiva {

// An inclusive pixel rectangle the span fill was given.
struct SpanRect {
    int left, top, right, bottom;
};

// The region that the collected pixels make: every pixel drawn and every pixel they enclose (not
// reachable from outside their bounding box without crossing one), as a normalised region record.
// Outlines too large to hold as a bitmap fall back to the exclusive merge of each row's runs.
void BuildOutlineRegion(std::span<const SpanRect> spans, std::vector<std::int16_t>& out);

} // namespace qiva
