#pragma once
// The state of a playing session, shared by the turn flow, the menus and keys, the message panel,
// the board view and the game's dialogs: the one board shown and played, the board window, the
// language, and the flags the menu commands set and the turn loop reads at its boundaries.

#include <cstdint>

#include "game/board.h"
#include "game/game_state.h"
#include "toolkit/graphics/quickdraw_types.h"

namespace tolka {

extern Board gameBoard;    // the position shown and played
extern Board startBoard;   // where every game starts: four seeds a pit unless the command line gives one
extern GrafPtr mainWindow; // the board window ('WIND' 128), null before it is made
// english and gameOn are in game/game_state.h.
extern std::uint8_t matchOn;        // the games belong to a match
extern std::uint8_t abortGame;      // stop the game at the next turn boundary
extern std::uint8_t awaitingPlayer; // the player's move is awaited: a click or the space bar plays it
extern std::int16_t hoverPit;       // the pit the hint last described, -1 none, kRedrawHint forces it

constexpr std::int16_t kRedrawHint = -2;
constexpr std::int16_t kEnglishOffset = 10000;

// A resource number in the chosen language: French under its number, English 10000 higher.
inline std::int16_t Localized(std::int16_t id) {
    return static_cast<std::int16_t>(english ? id + kEnglishOffset : id);
}

} // namespace tolka
