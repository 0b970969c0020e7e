#include "game/board_text.h"

#include <charconv>

namespace tolka {

ParsedBoard ParseBoard(std::string_view text) {
    Board board;
    int total = 0;
    std::size_t pos = 0;
    for (int i = 0; i < 14; ++i) {
        if (i > 0) {
            if (pos >= text.size() || text[pos] != ' ')
                return {std::nullopt, "a board is 14 numbers separated by single spaces"};
            ++pos;
        }
        unsigned value = 0;
        const char* begin = text.data() + pos;
        const char* end = text.data() + text.size();
        const auto [next, ec] = std::from_chars(begin, end, value);
        if (ec != std::errc() || next == begin)
            return {std::nullopt, "a board is 14 numbers separated by single spaces"};
        if (value > kSeedCount) return {std::nullopt, "a count must lie in 0..48"};
        total += static_cast<int>(value);
        (i < kPitCount ? board.pits[i] : board.stores[i - kPitCount]) = static_cast<std::uint8_t>(value);
        pos = static_cast<std::size_t>(next - text.data());
    }
    if (pos != text.size()) return {std::nullopt, "a board is 14 numbers separated by single spaces"};
    if (total > kSeedCount) return {std::nullopt, "a board holds 48 seeds or fewer"};
    return {board, {}};
}

std::string FormatBoard(const Board& board) {
    std::string out;
    for (int i = 0; i < 14; ++i) {
        if (i > 0) out += ' ';
        out += std::to_string(i < kPitCount ? board.pits[i] : board.stores[i - kPitCount]);
    }
    return out;
}

} // namespace tolka
