#pragma once
// Where a seed lies inside its place. In a pit: a random spot near the centre that keeps clear of
// the seeds already there (the first seed exactly at the centre spot, at most 22 tries, then the
// least crowded spot tried). In a store: the next slot of a row growing to the right.

#include <cstdint>

#include "game/board.h"
#include "game/seed_table.h"

namespace tolka {

// The most candidate spots a seed tries in a pit.
constexpr int kMaxPlacementAttempts = 22;

// Positions a seed whose place is already the pit; returns how many spots it tried (1-22).
int PlaceSeedInPit(SeedTable& seeds, std::int16_t pit, std::int16_t seed);

// Names the seed's place and positions it there. A store slot follows the store's count in the
// position, which already counts this seed. Nowhere (or a place that is neither) keeps its spot.
void SetSeedPlace(SeedTable& seeds, const Board& board, std::int16_t place, std::int16_t seed);

// The rule that two seeds of a pit may not share: their 24 × 24 cores (the picture inset by 4)
// meet, touching edges included, so closer than 25 pixels along both axes at once.
bool SeedsCrowd(const SeedRecord& a, const SeedRecord& b);

} // namespace tolka
