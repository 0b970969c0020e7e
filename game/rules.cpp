#include "game/rules.h"

#include "game/relay_laps.h"
#include "game/sow_steps.h"
#include "game/sowing_view.h"

namespace tolka {
namespace {

constexpr bool ValidPlace(int place) {
    return place >= 0 && place < kRowLength;
}

} // namespace

bool ReachesOpponent(const Board& board, int pit, std::int16_t ruleSet) {
    int v = pit + board.pits[pit];
    if (ruleSet == kRelayRules) --v; // the relay's first seed goes back into the pit itself
    return pit < kRowLength ? v > kRowLength - 1 : v > kPitCount - 1;
}

bool CannotFeed(const Board& board, std::uint8_t side, std::int16_t ruleSet) {
    const int base = side == 1 ? kRowLength : 0;
    for (int pit = base; pit < base + kRowLength; ++pit)
        if (ReachesOpponent(board, pit, ruleSet)) return false;
    return true;
}

bool IsLegalStandard(const Board& board, int pit, std::int16_t ruleSet) {
    if (board.pits[pit] == 0) return false;
    if (ReachesOpponent(board, pit, ruleSet)) return true;
    return CannotFeed(board, pit >= kRowLength ? 1 : 0, ruleSet);
}

bool HasRelaySeeds(const Board& board, int pit) {
    return board.pits[pit] >= 2;
}

bool SowStandard(std::uint8_t side, Board& board, int place, std::int16_t ruleSet, SowingView* view) {
    if (!ValidPlace(place)) return false;
    const int pit = AbsolutePit(side, place);
    if (!IsLegalStandard(board, pit, ruleSet)) return false;
    if (view) {
        detail::AnimatedSow sow{*view};
        detail::StandardSowing(sow, side, board, pit);
    } else {
        detail::SilentSow sow;
        detail::StandardSowing(sow, side, board, pit);
    }
    return true;
}

bool SowRelay(std::uint8_t side, Board& board, int place, SowingView* view) {
    if (!ValidPlace(place)) return false;
    int pit = AbsolutePit(side, place);
    if (!HasRelaySeeds(board, pit)) return false;
    if (!view) {
        relay::PlaySilentLaps<relay::kLapHistory>(side, board, pit);
        return true;
    }
    // The animated move plays exactly the laps the silent one would, so both end in one position.
    Board trial = board;
    const int laps = relay::PlaySilentLaps<relay::kLapHistory>(side, trial, pit);
    detail::AnimatedSow sow{*view};
    for (int i = 0; i < laps; ++i)
        pit = detail::RelayLap(sow, side, board, pit);
    sow.End();
    return true;
}

bool SowMove(std::uint8_t side, Board& board, int place, std::int16_t ruleSet, SowingView* view) {
    return ruleSet == kStandardRules ? SowStandard(side, board, place, ruleSet, view)
                                     : SowRelay(side, board, place, view);
}

bool CheckGameOver(Board& board, std::uint8_t& result, std::uint16_t& playerRest,
                   std::uint16_t& computerRest) {
    unsigned rest0 = 0, rest1 = 0;
    bool big = false;
    for (int pit = 0; pit < kPitCount; ++pit) {
        (pit < kRowLength ? rest0 : rest1) += board.pits[pit];
        big = big || board.pits[pit] > 1;
    }
    playerRest = static_cast<std::uint16_t>(rest0);
    computerRest = static_cast<std::uint16_t>(rest1);
    if (rest0 != 0 && rest1 != 0 && big && board.stores[1] <= 24 && board.stores[0] <= 24) return false;

    board.stores[1] = static_cast<std::uint8_t>(board.stores[1] + rest1);
    board.stores[0] = static_cast<std::uint8_t>(board.stores[0] + rest0);
    board.pits.fill(0);
    result = board.stores[0] > board.stores[1]   ? kPlayerWins
             : board.stores[1] > board.stores[0] ? kComputerWins
                                                 : kDraw;
    return true;
}

} // namespace tolka
