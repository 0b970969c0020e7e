#pragma once

// The scaling of a picture from its frame onto the destination rectangle. A horizontal length x
// becomes x * dstWidth / frameWidth, a vertical one likewise, the quotient truncated toward zero; a
// point is mapped relative to the two rectangles' top-left corners. Results that leave the 16-bit
// range stop at its edge instead of wrapping.

#include <cstdint>
#include <span>
#include <vector>

#include "toolkit/graphics/pict_format.h"
#include "toolkit/graphics/region_ops.h"

namespace qiva::pict {

class Scaler {
public:
    // The frame must have a positive width and height (ReadHeader refuses any other).
    Scaler(Rect16 frame, Rect16 dst);

    bool Identity() const { return dstW_ == frameW_ && dstH_ == frameH_; }

    std::int16_t Width(std::int32_t x) const;  // a horizontal length
    std::int16_t Height(std::int32_t y) const; // a vertical length
    std::int16_t MapH(std::int32_t h) const;
    std::int16_t MapV(std::int32_t v) const;
    Point16 MapPoint(Point16 p) const { return {MapV(p.v), MapH(p.h)}; }
    Rect16 MapRect(Rect16 r) const { return {MapV(r.top), MapH(r.left), MapV(r.bottom), MapH(r.right)}; }

    // A pen size (v, h): scaled and each raised to at least 1 when both are non-zero, else unchanged.
    Point16 PenSize(Point16 size) const;
    // A text size: 0 stands for 12; scaled both ways, the smaller result, at least 1.
    std::int16_t TextSize(std::int16_t size) const;
    // The space extra (16.16 fixed), scaled horizontally.
    std::int32_t SpaceExtra(std::int32_t extra) const;

    // A region record (host order, starting with its size) mapped into out, normalised. A coordinate of
    // magnitude 30000 or more in a rectangle's box, and an h of that magnitude in scanline data, stays
    // as it is, so open-ended regions stay open-ended.
    void MapRegion(region::Words rgn, std::vector<std::int16_t>& out, region::Engine& engine) const;
    // A polygon record: every point and the box mapped.
    void MapPolygon(std::span<const std::int16_t> poly, std::vector<std::int16_t>& out) const;

private:
    Rect16 frame_, dst_;
    std::int64_t dstW_, frameW_, dstH_, frameH_;
};

} // namespace qiva::pict
