#include "game/search.h"

#include "game/random_range.h"
#include "game/rules.h"

namespace tolka {

std::int16_t Searcher::Search(std::uint8_t side, const Board& board, std::int16_t& best, std::int16_t depth) {
    ++nodes_;
    const std::uint8_t opp = static_cast<std::uint8_t>(1 - side);
    const int material = 100 * (board.stores[side] - board.stores[opp]);

    if (depth == 0 && ticks_) start_ = ticks_();
    // Only nodes four plies or more below the root are cut, so the shallow tree is always complete.
    if (depth > 3 && ticks_ && ticks_() > start_ + kSearchTickLimit) depth = depth_;
    if (depth >= depth_) {
        best = -1;
        return static_cast<std::int16_t>(material + RandomRange(-1, 2));
    }

    std::int16_t bestPlace = -1;
    std::int16_t bestScore = kNoMoveScore;
    for (std::int16_t m = 0; m < kRowLength; ++m) {
        Board trial = board;
        if (!SowMove(side, trial, m, rules_, nullptr)) continue;
        // When every legal place scores as badly as possible the first legal one is chosen, never an illegal
        // one.
        if (bestPlace < 0) bestPlace = m;
        std::uint8_t result;
        std::uint16_t rest0, rest1;
        if (CheckGameOver(trial, result, rest0, rest1)) {
            // The first legal place that ends the game decides the node, scored on the stores as
            // they were before it was played.
            best = m;
            if (result == side) return static_cast<std::int16_t>(material + kGameEndBonus);
            if (result == opp) return static_cast<std::int16_t>(material - kGameEndBonus);
            return 0;
        }
        std::int16_t scratch;
        const auto score =
            static_cast<std::int16_t>(-Search(opp, trial, scratch, static_cast<std::int16_t>(depth + 1)));
        if (score > bestScore) {
            bestScore = score;
            bestPlace = m;
        }
    }
    best = bestPlace; // -1 when no place was legal, with the worst score
    return bestScore;
}

} // namespace tolka
