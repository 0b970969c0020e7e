#include "game/seed_places.h"

#include <cstdlib>

#include "game/board_geometry.h"
#include "game/random_range.h"

namespace tolka {

namespace {

// How far apart two seeds look: the larger axis gap plus half the smaller one.
int SeedDistance(const SeedRecord& a, const SeedRecord& b) {
    const int dx = std::abs(a.x - b.x);
    const int dy = std::abs(a.y - b.y);
    return dx > dy ? dx + dy / 2 : dy + dx / 2;
}

} // namespace

bool SeedsCrowd(const SeedRecord& a, const SeedRecord& b) {
    constexpr int kCore = kSeedSize - 8;
    return std::abs(a.x - b.x) <= kCore && std::abs(a.y - b.y) <= kCore;
}

int PlaceSeedInPit(SeedTable& seeds, std::int16_t pit, std::int16_t seed) {
    if (seed < 0 || seed >= SeedTable::kSize || pit < 0 || pit >= kPitCount) return 0;
    const Rect pitRect = PitRectOf(pit);
    // The first spot is the centre spot itself; every later try widens the range by one pixel.
    int left = pitRect.left + 32, top = pitRect.top + 32, right = left + 1, bottom = top + 1;
    const int others = seeds.CountIn(pit) - (seeds.Records()[seed].place == pit ? 1 : 0);

    std::int16_t firstX = 0, firstY = 0, bestX = 0, bestY = 0;
    int bestDistance = 0;
    for (int attempt = 1;; ++attempt) {
        const std::int16_t x = RandomRange(left, right);
        const std::int16_t y = RandomRange(top, bottom);
        seeds.SetPosition(seed, x, y);
        if (attempt == 1) firstX = x, firstY = y;
        const SeedRecord& candidate = seeds.Records()[seed];

        int smallest = 9999;
        bool acceptable = true;
        int seen = 0;
        for (int i = 0; i < SeedTable::kSize && seen < others; ++i) {
            const SeedRecord& other = seeds.Records()[i];
            if (i == seed || other.place != pit) continue;
            ++seen;
            const int d = SeedDistance(candidate, other);
            if (d < smallest) smallest = d;
            if (SeedsCrowd(candidate, other)) acceptable = false;
        }
        // Among equal distances the earlier candidate stays.
        if (smallest > bestDistance) bestDistance = smallest, bestX = x, bestY = y;

        --left, --top, ++right, ++bottom;
        if (attempt == kMaxPlacementAttempts) {
            if (bestDistance > 0)
                seeds.SetPosition(seed, bestX, bestY);
            else
                seeds.SetPosition(seed, firstX, firstY);
            return attempt;
        }
        if (acceptable) return attempt;
    }
}

void SetSeedPlace(SeedTable& seeds, const Board& board, std::int16_t place, std::int16_t seed) {
    if (seed < 0 || seed >= SeedTable::kSize) return;
    seeds.SetSeedPlace(place, seed);
    if (place >= 0 && place < kPitCount) {
        PlaceSeedInPit(seeds, place, seed);
    } else if (place == kStoreOfSide0 || place == kStoreOfSide1) {
        const std::uint8_t side = place == kStoreOfSide1 ? 1 : 0;
        const Rect strip = StoreRectOf(side, board.stores[side]);
        seeds.SetPosition(seed, static_cast<std::int16_t>(strip.right - kSeedSize), strip.top);
    }
}

} // namespace tolka
