#pragma once
// The trace of play: one line per event of a game, for checking a run against the engine from the
// command line. "move SIDE PLACE BOARD" after each move (the row place 0-5 and the 14 counts after
// it), "pass SIDE" when a side cannot move, "over RESULT STORE0 STORE1" when a game ends normally.
// The file holds every line written so far, so a run that is stopped keeps what it played.

#include <cstdint>
#include <string>

#include "game/board.h"

namespace tolka {

// Opens the trace file (replacing it); false with the reason in `error` when it cannot be written.
bool OpenPlayTrace(const std::string& path, std::string& error);
void ClosePlayTrace();

// The lines, as written; nothing is written while no trace is open.
std::string MoveLine(std::uint8_t side, int place, const Board& board);
std::string OverLine(std::uint8_t result, const Board& board);

void TraceMove(std::uint8_t side, int place, const Board& board);
void TracePass(std::uint8_t side);
void TraceOver(std::uint8_t result, const Board& board);

} // namespace tolka
