#pragma once
// The computer's move: a fixed-depth negamax over the six places of a row, without pruning, scored
// on the difference of the stores, with a random ±1 at the leaves that only breaks ties.

#include <cstdint>

#include "game/board.h"

namespace tolka {

constexpr std::int16_t kNoMoveScore = -32767;
constexpr std::uint32_t kSearchTickLimit = 600; // ten seconds
constexpr std::int16_t kGameEndBonus = 10000;

// One search: the rule set and depth it runs under, and the clock of its cut-off.
class Searcher {
public:
    using TickSource = std::uint32_t (*)();

    // ticks == nullptr searches to the full depth with no cut-off.
    Searcher(std::int16_t ruleSet, std::int16_t depth, TickSource ticks)
        : rules_(ruleSet), depth_(depth), ticks_(ticks) {}

    // Score of the position for `side` to move, `depth` plies below the root; best gets the
    // chosen row place 0-5, or -1 at a leaf or when no place is legal. The board is read only.
    std::int16_t Search(std::uint8_t side, const Board& board, std::int16_t& best, std::int16_t depth);

    // The tick count taken when the search started at its root.
    std::uint32_t Start() const { return start_; }
    // Nodes visited so far (positions searched, leaves included).
    std::uint64_t Nodes() const { return nodes_; }

private:
    std::int16_t rules_;
    std::int16_t depth_;
    TickSource ticks_;
    std::uint32_t start_ = 0;
    std::uint64_t nodes_ = 0;
};

} // namespace tolka
