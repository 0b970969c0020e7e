#pragma once
// What the message panel says about the pit under the pointer: which of the game's strings, and the
// seed count some of them show.

#include <cstdint>

#include "game/board.h"

namespace tolka {

struct PitHint {
    std::int16_t first = 0;  // string index
    std::int16_t second = 0; // string appended to the first, 0 for none
    bool withCount = false;  // the first string is a format that shows `count`
    int count = 0;
};

// The hint for `pit` (-1 for no pit). One of the player's pits gets the beginning 5 and an end that
// says whether its seeds reach the computer's row under the rules in force: 31 with a whole lap or
// more, 6 otherwise, else 7 when no pit of the player reaches, 8 when another one would.
PitHint PitHintFor(const Board& board, std::int16_t pit, bool gameOn, std::int16_t ruleSet);

} // namespace tolka
