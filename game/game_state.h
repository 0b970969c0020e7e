#pragma once
// The game's engine state and its classic entry points: the options, the search
// depth and start, and the board view that animated moves drive. The session and the menus use
// these; the engine units (rules, search) take everything as arguments.

#include <cstdint>

#include "game/board.h"

namespace tolka {

class SowingView;

extern std::int16_t rules; // 0 standard, any other value relay
extern std::int16_t level; // 0-3
// The display and sound options of the Options menu, 1 on and 0 off (kept in Tolka.cfg).
extern std::uint8_t showCounts;      // the seed count under the pointer
extern std::uint8_t showDestination; // where the last seed of the pointed pit lands
extern std::uint8_t soundOn;         // off: each sound becomes a short pause
extern std::uint8_t handAnimation;   // the hand that sows
extern std::uint8_t showMessages;    // the message panel under the board
extern std::int16_t searchDepth;     // plies searched by the computer
extern std::uint32_t searchStart;    // TickCount at the root of the last search

// Search depth of a level (1, 4, 8, 10 plies), or -1 for a level outside 0-3.
constexpr std::int16_t DepthForLevel(int lvl) {
    constexpr std::int16_t depths[] = {1, 4, 8, 10};
    return lvl >= 0 && lvl < 4 ? depths[lvl] : std::int16_t{-1};
}
// Sets searchDepth from level; a level outside 0-3 leaves it as it was.
void UpdateSearchDepth();

// The session's flags that the game's dialogs read.
extern std::uint8_t english; // 1: the English resources, numbered 10000 above the French ones
extern std::uint8_t gameOn;  // a game, or a series of games, has been asked for

// The view that animated moves drive. Without an installed one, a view that keeps the seed records
// and draws nothing is used.
SowingView& BoardView();
void SetBoardView(SowingView* view);

bool PlayStandard(std::uint8_t side, Board& board, int place, bool animate);
bool PlayRelay(std::uint8_t side, Board& board, int place, bool animate);
bool PlayMove(std::uint8_t side, Board& board, int place, bool animate);

// The computer's choice under `rules` and `searchDepth`, with the ten-second cut-off on TickCount.
std::int16_t SearchMove(std::uint8_t side, const Board& board, std::int16_t& best, std::int16_t depth);

// Resets the seed records through the view, then empties the stores and the pits.
void ClearBoard(Board& board);

} // namespace tolka
