#include "game/game_state.h"

#include "game/rules.h"
#include "game/search.h"
#include "game/seed_table.h"
#include "toolkit/core/tick_count.h"

namespace tolka {

std::int16_t rules = kStandardRules;
std::int16_t level = 0;
std::uint8_t showCounts = 1;
std::uint8_t showDestination = 1;
std::uint8_t soundOn = 1;
std::uint8_t handAnimation = 1;
std::uint8_t showMessages = 1;
std::int16_t searchDepth = 8;
std::uint32_t searchStart = 0;
std::uint8_t english = 0;
std::uint8_t gameOn = 0;

namespace {

SowingView* installedView = nullptr;

SowingView& RecordsOnlyView() {
    static SeedTableView view;
    return view;
}

} // namespace

void UpdateSearchDepth() {
    if (const std::int16_t depth = DepthForLevel(level); depth > 0) searchDepth = depth;
}

SowingView& BoardView() {
    return installedView ? *installedView : RecordsOnlyView();
}
void SetBoardView(SowingView* view) {
    installedView = view;
}

static SowingView* ViewFor(bool animate) {
    return animate ? &BoardView() : nullptr;
}

bool PlayStandard(std::uint8_t side, Board& board, int place, bool animate) {
    return tolka::SowStandard(side, board, place, rules, ViewFor(animate));
}
bool PlayRelay(std::uint8_t side, Board& board, int place, bool animate) {
    return tolka::SowRelay(side, board, place, ViewFor(animate));
}
bool PlayMove(std::uint8_t side, Board& board, int place, bool animate) {
    return tolka::SowMove(side, board, place, rules, ViewFor(animate));
}

std::int16_t SearchMove(std::uint8_t side, const Board& board, std::int16_t& best, std::int16_t depth) {
    Searcher searcher(rules, searchDepth, &::TickCount);
    const std::int16_t score = searcher.Search(side, board, best, depth);
    if (depth == 0) searchStart = searcher.Start();
    return score;
}

void ClearBoard(Board& board) {
    BoardView().ResetSeeds();
    board = Board{};
}

} // namespace tolka
