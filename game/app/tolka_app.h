#pragma once
// The game program: start-up, the event pass, the turns of a game, the menus and keys. Each routine
// works on the session's state (game/session_state.h) and the options (game/game_state.h).

#include <cstdint>

#include "game/board.h"
#include "game/board_geometry.h"
#include "game/board_view.h"
#include "toolkit/core/events.h"

namespace tolka {

// Start-up and the main loop; GameMain never returns, the program ends through exit().
void GameMain();
void InitApplication();
void SetUpMenuBar(std::int16_t menuBarID);

// One pass over the event queue, and a click in the board window (global coordinates).
void DoEvents();
void DoBoardClick(Point where);

// The turns of a game.
void PlayerTurn();
void ComputerTurn();
bool AskWhoStarts(std::uint8_t& playerFirst);
void NewGame(Board& board);
void UpdateTitle();

// Menus, keys and the pit hint.
void DoMenuCommand(std::int32_t menuResult);
void AdjustMenus();
void DoKey(const EventRecord& event);
void UpdatePitHint();
// The message in the panel stays until the pointer moves to another pit.
void KeepPanelMessage();

// The side whose turn it is, -1 between games (the state dump shows it).
extern std::int16_t turnSide;

// The state dump's game and pit lines.
void RegisterGameDump();

// The board view made the game's: its window, the position, the options and the panel's messages
// (board_link.cpp).
void InstallBoardView();
// The options the view draws with, after they change.
void SyncViewOptions();

} // namespace tolka
