#include "game/session_state.h"

namespace tolka {

Board gameBoard{};
Board startBoard = StartBoard();
GrafPtr mainWindow = nullptr;
std::uint8_t matchOn = 0;
std::uint8_t abortGame = 0;
std::uint8_t awaitingPlayer = 0;
std::int16_t hoverPit = -1;

} // namespace tolka
