#pragma once
// The region calls of the Toolbox over RgnHandles: relocatable blocks holding the classic region
// record. The algebra itself is the state-free engine of region_ops.h; these calls read the source
// blocks, let the engine build the result in its working buffers and copy it into the destination,
// so a destination may also be a source. A null or empty handle reads as the empty region.

#include <cstddef>

#include "toolkit/core/memory.h"
#include "toolkit/graphics/quickdraw_types.h"
#include "toolkit/graphics/region_ops.h"

RgnHandle NewRgn(); // an empty rectangular region (size 10, box (0, 0, 0, 0))
void DisposeRgn(RgnHandle rgn);
void CopyRgn(RgnHandle src, RgnHandle dst);
void SetEmptyRgn(RgnHandle rgn);
void SetRectRgn(RgnHandle rgn, int left, int top, int right, int bottom); // empty rectangle: empty region
void RectRgn(RgnHandle rgn, const Rect* r);
void OffsetRgn(RgnHandle rgn, int dh, int dv);
void SectRgn(RgnHandle a, RgnHandle b, RgnHandle dst);
void UnionRgn(RgnHandle a, RgnHandle b, RgnHandle dst);
void DiffRgn(RgnHandle a, RgnHandle b, RgnHandle dst);
void XorRgn(RgnHandle a, RgnHandle b, RgnHandle dst);
bool EmptyRgn(RgnHandle rgn);
bool EqualRgn(RgnHandle a, RgnHandle b);
bool PtInRgn(Point pt, RgnHandle rgn);
bool RectInRgn(const Rect* r, RgnHandle rgn);

namespace qiva {

// rgnSize 10 (or, in a damaged record, less) means the box is the whole region.
inline bool IsRectRegion(RgnHandle rgn) {
    return (*rgn)->rgnSize <= 10;
}

// The toolkit's one region engine and its working buffers.
region::Engine& RegionEngine();

// The words of a region's block: the record and whatever follows it in the block. Empty for a null
// handle or one whose data is not in memory.
region::Words RegionWords(RgnHandle rgn);

// Makes rgn hold the complete record in words (resizing its block). When the block cannot be
// resized, rgn is left as the Memory Manager left it and MemError says why.
void StoreRecord(RgnHandle rgn, region::Words words);

// Replaces dst by the region whose scanline words (records and the final end mark) are given,
// normalised: the box recomputed, a single rectangle made rectangular, nothing made empty.
void StoreRegion(RgnHandle dst, const std::int16_t* words, std::size_t count);

// Bytes of the record that may be read: its size limited to its block, or the whole block for a
// region too large for its size field (the walk stops at the final end mark).
std::size_t RegionBytes(RgnHandle rgn);

} // namespace qiva
