#pragma once
// Calls into the board view, the Dialog Manager and the game's dialogs that the program makes.
// INTERIM: the dialog declarations stand in for the headers of those pieces until they land; each
// goes when its piece is on main.

#include <cstdint>

#include "game/board.h"
#include "game/board_geometry.h"
#include "game/board_view.h"
#include "toolkit/graphics/quickdraw_types.h"

using DialogPtr = GrafPtr;

std::int16_t Alert(std::int16_t alertID, void* filterProc);
DialogPtr GetNewDialog(std::int16_t dialogID, void* dStorage, GrafPtr behind);
void ModalDialog(void* filterProc, std::int16_t* itemHit);
void DisposeDialog(DialogPtr dialog);
void HideDItem(DialogPtr dialog, std::int16_t item);
void SetDAFont(std::int16_t font);
void InitDialogs(void* resumeProc);

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
