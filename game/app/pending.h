#pragma once
// Calls into the board view and the game's dialogs that the program makes.
// INTERIM: the game-dialog declarations stand in for the header of that piece until it lands.

#include <cstdint>

#include "game/board.h"
#include "game/board_geometry.h"
#include "game/board_view.h"
#include "toolkit/dialogs/dialogs.h"
#include "toolkit/graphics/quickdraw_types.h"

namespace tolka {

// The board view made the game's: its window, the position, the options and the panel's messages
// (board_link.cpp).
void InstallBoardView();
// The options the view draws with, after they change.
void SyncViewOptions();

// Game dialogs.
void ShowAbout();
bool ShowGameSummary(std::uint16_t playerRest, std::uint16_t computerRest);
void ClearMatch();
bool RecordMatchGame(std::int16_t store0, std::int16_t store1);
void ShowScoreSheet();
bool MayQuit();
void GetItemRect(DialogPtr dialog, std::int16_t item, Rect* r);
void SetItemText(DialogPtr dialog, std::int16_t item, const char* text);
std::int16_t MatchSet();
std::int16_t MatchGame();

} // namespace tolka
