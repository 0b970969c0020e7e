#pragma once
// The one 256-colour palette that every buffer and the window share, and the tables derived from it:
// the colour table, the 5-bit inverse table behind Color2Index, the classic colour table behind
// ForeColor/BackColor, and the inversion table of the xor modes. The builders are state-free; the
// toolkit's own copies live in PaletteState.

#include <array>
#include <cstdint>
#include <vector>

#include "toolkit/graphics/quickdraw_types.h"

namespace qiva {

struct PaletteEntry {
    std::uint8_t red;
    std::uint8_t green;
    std::uint8_t blue;
    std::uint8_t flags; // 0 static, 1 reserved (the highlight), 4 no-collapse
};

struct Palette {
    std::array<PaletteEntry, 256> entries;
    std::uint8_t hiliteBackground; // 11, or 10 when the highlight setting gives a real colour
};

// The component conversions between the palette's 8 bits and RGBColor's 16 bits.
std::uint16_t Component8To16(std::uint8_t c8);
std::uint8_t Component16To8(std::uint16_t c16);

// The palette for a highlight setting (three components 0-255, as read from the settings file).
Palette BuildPalette(int highlightRed, int highlightGreen, int highlightBlue);

// 0-9 and 246-255 to 10, 10 to 0, cube colours to their complements, the grey ramp reversed.
std::array<std::uint8_t, 256> BuildInversionTable();

// Entry i: value i, the palette colour in 16 bits.
std::array<ColorSpec, 256> BuildColorSpecs(const Palette& palette);

// An inverse table: 2^(3*res) cells, each the index of the nearest colour-table entry to the
// cell's centre colour. Entry `skip` (the transparent colour) is never chosen: a colour asked for
// by RGB must not vanish when its pixels are later copied as an image.
struct InverseTable {
    int res = 0;
    std::int32_t seed = 0;
    std::vector<std::uint8_t> cells;
};
void BuildInverseTable(const ColorSpec* colourSpecs, int count, int res, int skip, InverseTable& out);
std::uint8_t InverseLookup(const InverseTable& table, const RGBColor& rgb);

struct ClassicColour {
    RGBColor rgb;
    std::uint8_t index;
};
// The 13 colours selected by the classic constants / 32, with indices from the inverse table (or,
// for a two-colour table, black-and-white by brightness except the three greys).
std::array<ClassicColour, 13> BuildClassicColours(const InverseTable& table, int colourCount);

// The toolkit's palette and its tables, rebuilt together.
struct PaletteState {
    Palette palette{};
    std::array<ColorSpec, 256> colourSpecs{};
    std::int32_t ctSeed = 4;
    InverseTable inverse;
    std::array<ClassicColour, 13> classic{};
    std::array<std::uint8_t, 256> inversion{};
};
PaletteState& ThePalette();

// Builds the palette from the highlight setting and every table derived from it.
void SetUpPalette(int highlightRed, int highlightGreen, int highlightBlue);

} // namespace qiva

// Nearest palette index through the inverse table (rebuilt first when the colour table changed).
std::int32_t Color2Index(const RGBColor* rgb);
// The colour-table colour of an index.
void Index2Color(std::int32_t index, RGBColor* rgb);
