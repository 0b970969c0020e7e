#pragma once
// The palette colour an image's pixel takes: the nearest by a weighted distance, never the
// transparent index, the colour cube and grey ramp preferred to the system colours at both ends
// (which repeat their colours within a step and win only when clearly nearer).

#include <array>
#include <cstdint>
#include <vector>

#include "toolkit/graphics/palette.h"

namespace qiva_pict {

inline constexpr std::uint8_t kTransparentIndex = 10;

// The definition: every entry of the palette searched.
std::uint8_t NearestBySearch(const qiva::Palette& palette, int r, int g, int b);

// The same answers, found through an inverse table of 32768 cells (5 bits a component). Each cell
// holds, in search order, the few entries that can be nearest to some colour inside it; a cell is
// built the first time a colour falls in it. A photograph costs a handful of comparisons a pixel.
class NearestColour {
public:
    explicit NearestColour(const qiva::Palette& palette);
    std::uint8_t operator()(int r, int g, int b);

private:
    struct Cell {
        std::uint32_t first = 0;
        std::uint16_t count = 0; // 0: not built yet (every built cell holds at least one entry)
    };
    void Build(int key);

    const qiva::Palette& palette_;
    std::array<Cell, 32768> cells_{};
    std::vector<std::uint8_t> candidates_; // positions in the search order
};

} // namespace qiva_pict
