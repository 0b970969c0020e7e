#include "tools/qiva-pict/nearest_colour.h"

#include <algorithm>
#include <limits>

namespace qiva_pict {
namespace {

constexpr long kSystemPenalty = 27; // a difference of about one step in each component
constexpr int kOrderSize = 255;     // every index but the transparent one
constexpr long kWeight[3] = {3, 4, 2};

// Position k of the search order: the colour cube and grey ramp (11..245) first, then the system
// colours (0..9, 246..255 without the transparent index). Earlier positions win ties.
int IndexAt(int k) {
    return k < 235 ? k + 11 : k < 245 ? k - 235 : k + 1;
}
long PenaltyAt(int k) {
    return k < 235 ? 0 : kSystemPenalty;
}

long Distance(const qiva::PaletteEntry& e, int r, int g, int b, int k) {
    const long dr = e.red - r, dg = e.green - g, db = e.blue - b;
    return dr * dr * kWeight[0] + dg * dg * kWeight[1] + db * db * kWeight[2] + PenaltyAt(k);
}

int Component(const qiva::PaletteEntry& e, int c) {
    return c == 0 ? e.red : c == 1 ? e.green : e.blue;
}

} // namespace

std::uint8_t NearestBySearch(const qiva::Palette& palette, int r, int g, int b) {
    r = std::clamp(r, 0, 255);
    g = std::clamp(g, 0, 255);
    b = std::clamp(b, 0, 255);
    int best = IndexAt(0);
    long bestDistance = std::numeric_limits<long>::max();
    for (int k = 0; k < kOrderSize; ++k) {
        const long d = Distance(palette.entries[std::size_t(IndexAt(k))], r, g, b, k);
        if (d < bestDistance) {
            bestDistance = d;
            best = IndexAt(k);
        }
    }
    return static_cast<std::uint8_t>(best);
}

NearestColour::NearestColour(const qiva::Palette& palette) : palette_(palette) {}

// An entry can be nearest to a colour of the cell only if its least distance to the cell is no more
// than the greatest distance of some entry to the whole cell.
void NearestColour::Build(int key) {
    const int low[3] = {(key >> 10) << 3, ((key >> 5) & 31) << 3, (key & 31) << 3};
    std::array<long, kOrderSize> least{};
    long bound = std::numeric_limits<long>::max();
    for (int k = 0; k < kOrderSize; ++k) {
        const qiva::PaletteEntry& e = palette_.entries[std::size_t(IndexAt(k))];
        long nearest = PenaltyAt(k), farthest = PenaltyAt(k);
        for (int c = 0; c < 3; ++c) {
            const long v = Component(e, c), lo = low[c], hi = low[c] + 7;
            const long in = v < lo ? lo - v : v > hi ? v - hi : 0;
            const long out = std::max(std::abs(v - lo), std::abs(v - hi));
            nearest += in * in * kWeight[c];
            farthest += out * out * kWeight[c];
        }
        least[std::size_t(k)] = nearest;
        bound = std::min(bound, farthest);
    }
    Cell& cell = cells_[std::size_t(key)];
    cell.first = static_cast<std::uint32_t>(candidates_.size());
    for (int k = 0; k < kOrderSize; ++k) {
        if (least[std::size_t(k)] <= bound) candidates_.push_back(static_cast<std::uint8_t>(k));
    }
    cell.count = static_cast<std::uint16_t>(candidates_.size() - cell.first);
}

std::uint8_t NearestColour::operator()(int r, int g, int b) {
    r = std::clamp(r, 0, 255);
    g = std::clamp(g, 0, 255);
    b = std::clamp(b, 0, 255);
    const int key = (r >> 3) << 10 | (g >> 3) << 5 | (b >> 3);
    if (cells_[std::size_t(key)].count == 0) Build(key);
    const Cell& cell = cells_[std::size_t(key)];
    int best = 0;
    long bestDistance = std::numeric_limits<long>::max();
    for (std::uint32_t n = cell.first; n < cell.first + cell.count; ++n) {
        const int k = candidates_[n];
        const long d = Distance(palette_.entries[std::size_t(IndexAt(k))], r, g, b, k);
        if (d < bestDistance) {
            bestDistance = d;
            best = IndexAt(k);
        }
    }
    return static_cast<std::uint8_t>(best);
}

} // namespace qiva_pict
