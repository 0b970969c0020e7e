#pragma once
// A small hand-made 'FONT' strike, big-endian as on disk: characters 'A' to 'C' with 'B' absent,
// three rows high, kernMax -1.
//   A (columns 0-2)  C (3-4)  missing (5-7)
//   .#.              #.       ###
//   ###              .#       #.#
//   #.#              #.       ###

#include <cstdint>
#include <vector>

inline std::vector<std::uint8_t> TinyStrike(std::uint16_t fontType = 0x1000) {
    auto w = [](std::vector<std::uint8_t>& v, int x) {
        v.push_back(static_cast<std::uint8_t>((x >> 8) & 0xFF));
        v.push_back(static_cast<std::uint8_t>(x & 0xFF));
    };
    std::vector<std::uint8_t> v;
    for (int x : {int(fontType), int('A'), int('C'), 5, -1, -1, 5, 3, 13, 2, 1, 1, 1})
        w(v, x); // header
    for (int row : {0x5700, 0xED00, 0xB700})
        w(v, row); // bit image
    for (int loc : {0, 3, 3, 5, 8})
        w(v, loc); // locations
    for (int ow : {0x0104, 0xFFFF, 0x0203, 0x0105, 0xFFFF})
        w(v, ow); // offset/width
    return v;
}
