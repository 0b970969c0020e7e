#pragma once
// The game position: 14 unsigned bytes, pits in sowing order then the two stores.

#include <array>
#include <cstdint>

namespace tolka {

constexpr int kPitCount = 12;
constexpr int kRowLength = 6;
constexpr int kSeedCount = 48;
constexpr int kStartSeedsPerPit = 4;

struct Board {
    std::array<std::uint8_t, kPitCount> pits{}; // 0-5 the player's row, 6-11 the computer's
    std::array<std::uint8_t, 2> stores{};       // seeds captured by side 0 and by side 1

    friend bool operator==(const Board&, const Board&) = default;
};
static_assert(sizeof(Board) == 14, "the position record is 14 bytes; the search copies it whole");

// Four seeds in every pit, both stores empty.
constexpr Board StartBoard() {
    Board b;
    b.pits.fill(kStartSeedsPerPit);
    return b;
}

// Game results written by CheckGameOver.
constexpr std::uint8_t kPlayerWins = 0;
constexpr std::uint8_t kComputerWins = 1;
constexpr std::uint8_t kDraw = 255;

// The absolute pit of row place m (0-5) of a side.
constexpr int AbsolutePit(std::uint8_t side, int place) {
    return place + kRowLength * side;
}

} // namespace tolka
