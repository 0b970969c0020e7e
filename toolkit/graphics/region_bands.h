#pragma once
// Walking a region band by band. A band is a run of rows sharing the same intervals; its intervals
// are the running merge of every scanline record's inversion points met so far (equal points
// cancel). The walker reads only within the bytes it is given, so a damaged region (a missing end
// mark, a size larger than its block) ends the walk instead of reading past the block. The region
// engine builds its set operations on the same walker.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "toolkit/graphics/quickdraw_types.h"

namespace qiva {

inline constexpr std::int16_t kRegionEnd = 32767;

// One band: rows top to bottom - 1, intervals [xs[0], xs[1]), [xs[2], xs[3]) ...
struct Band {
    int top;
    int bottom;
    const std::int16_t* xs;
    int count; // number of coordinates (twice the intervals)
};

// Exclusive merge of two sorted point lists into out (equal points cancel).
void MergeInversionPoints(const std::int16_t* a, int na, const std::int16_t* b, int nb,
                          std::vector<std::int16_t>& out);

class BandWalker {
public:
    // Starts at the top of the region; bytes is how much of the record may be read.
    void Start(const Region* rgn, std::size_t bytes);
    // The next band, from the band above the first row (no intervals) to the one below the last
    // record (no intervals, bottom 32767); false when the walk is over.
    bool Next(Band& band);
    bool Started() const { return region_ != nullptr; }

private:
    const Region* region_ = nullptr;
    const std::int16_t* words_ = nullptr;
    std::size_t count_ = 0; // words of scanline data available
    std::size_t pos_ = 0;
    int top_ = -32768;
    bool rectangular_ = false;
    bool done_ = true;
    int stage_ = 0;
    std::vector<std::int16_t> running_, scratch_;
    std::int16_t rect_[2] = {0, 0};
};

// Number of bytes of a region record that may be read: its rgnSize, limited to the block it lives in.
std::size_t RegionReadableBytes(const Region* rgn, std::size_t blockBytes);

} // namespace qiva
