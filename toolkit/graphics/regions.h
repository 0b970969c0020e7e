#pragma once
// Region records in relocatable blocks: creation, rectangles, copies, offsets and the intersection
// the ports' clipping needs, over the region engine (region_ops.h). A region is rectangular when
// rgnSize is 10; otherwise scanline records follow its box.

#include "toolkit/core/memory.h"
#include "toolkit/graphics/quickdraw_types.h"

RgnHandle NewRgn(); // an empty rectangular region
void DisposeRgn(RgnHandle rgn);
void CopyRgn(RgnHandle src, RgnHandle dst);
void SetEmptyRgn(RgnHandle rgn); // size 10, box (0, 0, 0, 0)
void SetRectRgn(RgnHandle rgn, int left, int top, int right,
                int bottom); // an empty rectangle gives the empty region
void RectRgn(RgnHandle rgn, const Rect* r);
void OffsetRgn(RgnHandle rgn, int dh, int dv);
bool EmptyRgn(RgnHandle rgn);
// dst = src1 ∩ src2; dst may be one of the sources.
void SectRgn(RgnHandle src1, RgnHandle src2, RgnHandle dst);

namespace qiva {

inline bool IsRectRegion(RgnHandle rgn) {
    return (*rgn)->rgnSize <= 10;
}

// Bytes of the record that may be read (its size, limited to its block).
std::size_t RegionBytes(RgnHandle rgn);

// Replaces dst by the region whose scanline words (records and the final end mark) are given,
// normalised by the region engine.
void StoreRegion(RgnHandle dst, const std::int16_t* words, std::size_t count);

} // namespace qiva
