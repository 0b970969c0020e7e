#pragma once

// The region engine: the classic region record read from and written to plain 16-bit words, and the
// algebra on it (intersection, union, difference, exclusive or, offset, point and rectangle tests).
// Nothing here touches the Toolbox's global state; the RgnHandle calls are thin wrappers over it.
//
// A region record is the words rgnSize (bytes), the box (top, left, bottom, right) and, when rgnSize
// is not 10, scanline records — the row, the x coordinates where membership changes compared with the
// row above (inversion points, increasing), 32767 — closed by a final 32767. A pixel (h, v) is inside
// when an odd number of inversion points at or left of h lie in the records at or above row v.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace qiva::region {

inline constexpr std::int16_t kEnd = 32767;    // ends a scanline record and the scanline data
inline constexpr std::int16_t kRectSize = 10;  // rgnSize of a rectangular region (no scanline data)
inline constexpr std::size_t kHeaderWords = 5; // rgnSize and the box
inline constexpr std::int16_t kLow = -32767;   // smallest coordinate the engine works with
inline constexpr std::int16_t kHigh = 32766;   // largest: 32767 is the end marker
// rgnSize of a region of more than 32766 bytes, which 16 bits cannot count. Sizes are even, so the
// odd value is unambiguous; every reader walks the scanline data to its final 32767 instead.
inline constexpr std::int16_t kLargeSize = 32767;

using Words = std::span<const std::int16_t>;
using MutableWords = std::span<std::int16_t>;

enum class Op { Sect, Union, Diff, Xor };

struct Box {
    std::int16_t top = 0, left = 0, bottom = 0, right = 0;
};

// rgnSize 10 (or, in a damaged record, less, or a record too short to hold scanline data) means the
// box is the whole region.
inline bool IsRectangular(Words rgn) {
    return rgn.size() <= kHeaderWords || rgn[0] <= kRectSize;
}

inline Box BoxOf(Words rgn) {
    if (rgn.size() < kHeaderWords) return {};
    return {rgn[1], rgn[2], rgn[3], rgn[4]};
}

// A region is empty when its box is; normalised regions never have an empty box and scanline data.
inline bool IsEmpty(Words rgn) {
    const Box b = BoxOf(rgn);
    return !(b.left < b.right && b.top < b.bottom);
}

// The words a region record occupies, found by walking to the final 32767 (never past rgn's end).
std::size_t WordCount(Words rgn);

// rgnSize for a record of the given number of words.
std::int16_t SizeField(std::size_t words);

// out becomes the rectangular region (top, left, bottom, right), or the empty region (0, 0, 0, 0) when
// the rectangle is empty.
void MakeRect(std::vector<std::int16_t>& out, std::int16_t top, std::int16_t left, std::int16_t bottom,
              std::int16_t right);

// Reads the scanline records of a region one at a time, a rectangular region as its two records (top
// and bottom, each with left and right). Coordinates are kept within kLow..kHigh (32767 and -32768 in a
// box become 32766 and -32767), rows never go back up, and the points of a record come out strictly
// increasing (sorted, a point given twice cancelling), so a damaged record still yields a bounded,
// well-formed walk.
class RecordReader {
public:
    explicit RecordReader(Words rgn);

    bool Done() const { return !pending_; }
    std::int16_t Row() const { return row_; }
    // The points of the current record; valid until the next Advance.
    std::span<const std::int16_t> Points() const { return points_; }
    void Advance();

private:
    void ReadRecord();

    Words words_;
    std::size_t pos_ = 0;
    bool rect_ = false;
    std::int16_t rectBottom_ = 0;
    bool pending_ = false;
    std::int16_t row_ = kLow;
    std::int16_t rectPoints_[2] = {};
    std::span<const std::int16_t> points_;
    std::vector<std::int16_t> scratch_;
};

// The exclusive merge of two strictly increasing point lists (equal points cancel): a scanline
// record applied to the band above it, or the record between two bands.
void MergePoints(std::span<const std::int16_t> a, std::span<const std::int16_t> b,
                 std::vector<std::int16_t>& out);

// The band operations on sorted point lists (inversion points from the left: [p0, p1), [p2, p3) ...).
// Points equal in both inputs are taken together, so touching intervals join and equal points cancel.
// A list that ends inside (an odd count) is closed at kHigh.
void CombinePoints(Op op, std::span<const std::int16_t> a, std::span<const std::int16_t> b,
                   std::vector<std::int16_t>& out);

// The working buffers of the set operations. They grow to the widest band met and are kept for the
// next call, so a band may hold any number of intervals and steady use allocates nothing.
class Engine {
public:
    // out = a op b, normalised: a single rectangle gives rgnSize 10, an empty result the empty region.
    // out must not share storage with a or b.
    void Combine(Op op, Words a, Words b, std::vector<std::int16_t>& out);

    // out = rgn rebuilt from its bands: the normalised form of any record, however damaged.
    void Normalise(Words rgn, std::vector<std::int16_t>& out);

    // out = rgn moved by (dh, dv). A rectangular box moves by the OffsetRect rule (edges at or beyond
    // ±32000 stay; the empty region stays where it is); a complex region's records move, coordinates
    // pushed past the usable range stop at its edge, and its box is the extent of the moved records.
    void Offset(Words rgn, std::int16_t dh, std::int16_t dv, std::vector<std::int16_t>& out);

    // pt inside: left <= h < right of an interval of the band holding row v.
    bool PtIn(Words rgn, std::int16_t v, std::int16_t h);

    // Whether any pixel of the rectangle (top, left, bottom, right) is in the region.
    bool RectIn(Words rgn, std::int16_t top, std::int16_t left, std::int16_t bottom, std::int16_t right);

    // Calls f(top, bottom, points) for every band of the region that holds pixels, top to bottom: rows
    // top to bottom - 1 share the intervals [points[0], points[1]), [points[2], points[3]) ...
    template <typename F>
    void ForEachBand(Words rgn, F&& f);

private:
    void Emit(std::int16_t row, std::vector<std::int16_t>& out);

    std::vector<std::int16_t> bandA_, bandB_, result_, previous_, points_, moved_;
    std::vector<std::int16_t> walk_, walkNext_; // ForEachBand's own, so its callback may use the engine
    std::size_t records_ = 0;
    std::size_t firstPoints_ = 0;
    Box extent_{};
};

// In place when nothing would be pushed past the usable range: the common case of OffsetRgn, with no
// copy. Returns false, leaving rgn unchanged, when Engine::Offset is needed instead.
bool OffsetInPlace(MutableWords rgn, std::int16_t dh, std::int16_t dv);

template <typename F>
void Engine::ForEachBand(Words rgn, F&& f) {
    if (IsRectangular(rgn)) {
        const Box b = BoxOf(rgn);
        const std::int16_t top = std::max(b.top, kLow), bottom = std::min(b.bottom, kHigh);
        const std::int16_t left = std::max(b.left, kLow), right = std::min(b.right, kHigh);
        if (top < bottom && left < right) {
            const std::int16_t points[2] = {left, right};
            f(top, bottom, std::span<const std::int16_t>(points));
        }
        return;
    }
    RecordReader reader(rgn);
    std::vector<std::int16_t> band = std::move(walk_), next = std::move(walkNext_);
    band.clear();
    while (!reader.Done()) {
        const std::int16_t row = reader.Row();
        while (!reader.Done() && reader.Row() == row) {
            MergePoints(band, reader.Points(), next);
            band.swap(next);
            reader.Advance();
        }
        const std::int16_t bottom = reader.Done() ? kHigh : reader.Row();
        if (!band.empty() && bottom > row) f(row, bottom, std::span<const std::int16_t>(band));
    }
    walk_ = std::move(band);
    walkNext_ = std::move(next);
}

} // namespace qiva::region
