#pragma once
// Regions made by drawing: while a region is built the span fill collects the rectangles the pen
// runs give instead of drawing them, and the region is every pixel drawn and every pixel they enclose.
// CloseRgn builds its region so, and the filled arcs and polygons build the region of their outline
// and fill it.

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "toolkit/graphics/quickdraw_types.h"
#include "toolkit/graphics/shapes.h"

namespace qiva {

// Outlines whose bounding box holds more pixels than this are merged row by row instead of filled.
inline constexpr std::int64_t kMaxFillPixels = std::int64_t{16} << 20;

// An inclusive pixel rectangle the span fill was given.
struct SpanRect {
    int left, top, right, bottom;
};

// The region that the collected pixels make: every pixel drawn and every pixel they enclose (not
// reachable from outside their bounding box without crossing one), as a normalised region record.
// Outlines too large to hold as a bitmap fall back to the exclusive merge of each row's runs.
void BuildOutlineRegion(std::span<const SpanRect> spans, std::vector<std::int16_t>& out);

// Runs draw() in a scratch port over the whole plane with a 1 × 1 pen and the standard procedures,
// collecting what it draws, and makes dst the region of it; the caller's port is current afterwards.
void BuildRegionByDrawing(RgnHandle dst, const std::function<void()>& draw);

// Fills the region of a shape with the verb, recording nothing: build(rgn, visible) makes the
// shape's region in rgn, where visible is the part of the port that shows; only that part is
// filled. A shape wholly outside it costs no region.
void FillByRegion(const Rect& bounds, Verb verb, const std::function<void(RgnHandle, const Rect&)>& build);

// The wedge of the oval of r between the angles, within the visible rectangle only: each row's span
// of the oval kept where the angle test passes (for ovals too large to fill as a bitmap).
void BuildWedgeRegion(const Rect& r, int startAngle, int arcAngle, const Rect& visible, RgnHandle rgn);

} // namespace qiva
