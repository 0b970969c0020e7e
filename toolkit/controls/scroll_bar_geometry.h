#pragma once
// The scroll bar's arithmetic without any state: where its parts lie, which part a point hits, the
// thumb's position for a value and back, the limits of a thumb drag and the value a drag gives.
// Everything is in the owner window's local coordinates.

#include <cstdint>

#include "toolkit/controls/controls.h"

namespace qiva::scroll {

// The thumb's place on a track of n positions: 0 when max = min, else limited to 0 .. n − 1.
std::int16_t PosFromValue(int value, int n, int min, int max);
// The value nearest a thumb place, limited to min .. max; min when n = 0.
std::int16_t ValueFromPos(int pos, int n, int min, int max);

// A bar is vertical unless it is wider than it is tall.
bool IsVertical(const Rect& bar);

struct Parts {
    Rect upArrow, downArrow, thumb, pageUp, pageDown;
};
// The part rectangles of a bar holding value in min .. max (the thumb at the track's start when
// min = max). An empty page area has its bottom (right) above (left of) its top (left).
Parts BarParts(const Rect& bar, int value, int min, int max);

// The part under pt: arrows, thumb, then the page areas; 0 when none or when the bar is inactive
// (hilite above 253, or min = max).
std::int16_t HitPart(const Rect& bar, int value, int min, int max, int hilite, Point pt);

// What a thumb drag that starts at `down` may do: the pointer stays in the limit rectangle, which
// keeps the thumb between the arrows; beyond the slop rectangle the drag is abandoned.
ThumbDragRecord ThumbLimits(const Rect& bar, int value, int min, int max, Point down);

// The value after the thumb was dragged by (dh, dv) from where `value` put it.
std::int16_t DraggedValue(const Rect& bar, int value, int min, int max, int dh, int dv);

} // namespace qiva::scroll
