#include "game/pit_hint.h"

#include "game/rules.h"

namespace tolka {

PitHint PitHintFor(const Board& board, std::int16_t pit, bool gameOn, std::int16_t ruleSet) {
    if (!gameOn) return {16};
    if (pit < 0 || pit >= kPitCount) return {10};
    if (pit >= kRowLength) return {9, 0, true, board.pits[pit]};
    if (ReachesOpponent(board, pit, ruleSet))
        return {5, board.pits[pit] >= 12 ? std::int16_t{31} : std::int16_t{6}};
    return {5, CannotFeed(board, 0, ruleSet) ? std::int16_t{7} : std::int16_t{8}};
}

} // namespace tolka
