#pragma once
// Boards for tests, written as the tools write them: 14 counts, pits 0-11 then the two stores.

#include <sstream>
#include <string>

#include "game/board.h"

namespace tolka::test {

inline Board B(const std::string& text) {
    std::istringstream in(text);
    Board b;
    for (int i = 0; i < 14; ++i) {
        int v = 0;
        in >> v;
        (i < kPitCount ? b.pits[i] : b.stores[i - kPitCount]) = static_cast<std::uint8_t>(v);
    }
    return b;
}

inline std::string Text(const Board& b) {
    std::string out;
    for (int i = 0; i < 14; ++i)
        out += (i ? " " : "") + std::to_string(i < kPitCount ? b.pits[i] : b.stores[i - kPitCount]);
    return out;
}

} // namespace tolka::test
