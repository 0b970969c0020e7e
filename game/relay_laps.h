#pragma once
// Relay moves lap by lap. Some relays repeat a position of their own and would sow for ever; a move
// ends before the first lap whose (pit counts, pit to be emptied) equals that of an earlier lap of
// the same move. Exposed for the rules and for tests that check the lap limit against a reference.

#include <cstdint>

#include "game/board.h"

namespace tolka::relay {

// One silent lap from pit p (which holds 2 seeds or more): sow, capture, and return the last pit.
int SilentLap(std::uint8_t side, Board& board, int pit);

// Plays the silent laps of a move from pit p and returns how many were played. `historySize`
// lap keys are kept on the stack; a longer move falls back to cycle detection from the start,
// which gives the same result.
template <int historySize>
int PlaySilentLaps(std::uint8_t side, Board& board, int pit);

extern template int PlaySilentLaps<1>(std::uint8_t, Board&, int);
extern template int PlaySilentLaps<2>(std::uint8_t, Board&, int);
extern template int PlaySilentLaps<64>(std::uint8_t, Board&, int);

constexpr int kLapHistory = 64;

} // namespace tolka::relay
