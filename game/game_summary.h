#pragma once
// What the end-of-game summary shows, worked out from the final position: the six counts of its seed
// rows, the result string, and where each seed of a row is drawn. State-free.

#include <array>
#include <cstdint>
#include <vector>

#include "game/board.h"
#include "toolkit/core/geometry.h"

namespace tolka {

// The counts of the summary's items 2-7, in that order: seeds side 0 captured, collected from its own
// row at the end and its total; then the same for side 1. `rest0` and `rest1` are the seeds each side
// collected from its row, already counted in the stores.
std::array<std::int16_t, 6> SummaryCounts(const Board& board, int rest0, int rest1);

// The game string naming the result: 18 when side 0 has more seeds, 17 when side 1 has, 19 for a draw.
int SummaryResultString(const Board& board);

// The 8 × 8 squares of `count` seeds in an item: left to right from its top-left corner, a new row
// 9 pixels lower when the next square would pass the item's right edge. A row always takes at least
// one seed, however narrow the item.
constexpr int kSeedSquare = 8;
constexpr int kSeedRowStep = 9;
std::vector<Rect> SeedRowSquares(const Rect& item, int count);

} // namespace tolka
