#pragma once
// Boards as text: the 14 counts separated by single spaces, pits 0-11 then store 0 and store 1.

#include <optional>
#include <string>
#include <string_view>

#include "game/board.h"

namespace tolka {

// A board from its text, or an explanation of what is wrong with it: exactly 14 numbers in 0..48
// separated by single spaces, adding up to 48 or less.
struct ParsedBoard {
    std::optional<Board> board;
    std::string error;
};
ParsedBoard ParseBoard(std::string_view text);

std::string FormatBoard(const Board& board);

} // namespace tolka
