#include "toolkit/graphics/palette.h"

#include <algorithm>
#include <limits>

namespace qiva {

namespace {

// The classic static colours of an 8-bit display: the first ten and the last ten entries.
constexpr std::uint8_t kStaticLow[10][3] = {{0, 0, 0},       {128, 0, 0},    {0, 128, 0},   {128, 128, 0},
                                            {0, 0, 128},     {128, 0, 128},  {0, 128, 128}, {192, 192, 192},
                                            {192, 220, 192}, {166, 202, 240}};
constexpr std::uint8_t kStaticHigh[10][3] = {{255, 251, 240}, {160, 160, 164}, {128, 128, 128}, {255, 0, 0},
                                             {0, 255, 0},     {255, 255, 0},   {0, 0, 255},     {255, 0, 255},
                                             {0, 255, 255},   {255, 255, 255}};

constexpr RGBColor kClassicRGB[13] = {{0xFFFF, 0xFFFF, 0xFFFF},
                                      {0, 0, 0},
                                      {0xFFFF, 0xFFFF, 0},
                                      {0x4000, 0x4000, 0x4000},
                                      {0xFFFF, 0, 0xFFFF},
                                      {0x8000, 0x8000, 0x8000},
                                      {0xFFFF, 0, 0},
                                      {0xC000, 0xC000, 0xC000},
                                      {0, 0xFFFF, 0xFFFF},
                                      {0xFFFF, 0xFFFF, 0xFFFF},
                                      {0, 0xFFFF, 0},
                                      {0xFFFF, 0xFFFF, 0xFFFF},
                                      {0, 0, 0xFFFF}};

} // namespace

std::uint16_t Component8To16(std::uint8_t c8) {
    return static_cast<std::uint16_t>(c8 >= 21 ? (c8 - 20) * 278 : c8 * 278);
}

std::uint8_t Component16To8(std::uint16_t c16) {
    const int c8 = c16 > 278 ? c16 / 278 + 20 : 1;
    return static_cast<std::uint8_t>(std::min(c8, 254));
}

Palette BuildPalette(int highlightRed, int highlightGreen, int highlightBlue) {
    Palette p{};
    for (int i = 0; i < 10; ++i) {
        p.entries[i] = {kStaticLow[i][0], kStaticLow[i][1], kStaticLow[i][2], 0};
        p.entries[246 + i] = {kStaticHigh[i][0], kStaticHigh[i][1], kStaticHigh[i][2], 0};
    }
    const bool nearWhite = highlightRed > 250 && highlightGreen > 250 && highlightBlue > 250;
    const bool nearBlack = highlightRed < 20 && highlightGreen < 20 && highlightBlue < 20;
    if (nearWhite || nearBlack) {
        p.hiliteBackground = kIndexBlack;
        p.entries[kTransparentIndex] = {1, 1, 1, 1};
    } else {
        auto roundTrip = [](int c) {
            return Component16To8(Component8To16(static_cast<std::uint8_t>(std::clamp(c, 0, 255))));
        };
        p.hiliteBackground = kTransparentIndex;
        p.entries[kTransparentIndex] = {roundTrip(highlightRed), roundTrip(highlightGreen),
                                        roundTrip(highlightBlue), 1};
    }
    std::uint8_t level[6];
    for (int i = 0; i < 6; ++i)
        level[i] = Component16To8(static_cast<std::uint16_t>(257 * 51 * i));
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b)
                p.entries[11 + 36 * r + 6 * g + b] = {level[r], level[g], level[b], 4};
    for (int j = 0; j < 19; ++j) {
        const std::uint8_t grey = Component16To8(static_cast<std::uint16_t>((j + 2) * 26214 / 10));
        p.entries[227 + j] = {grey, grey, grey, 4};
    }
    return p;
}

std::array<std::uint8_t, 256> BuildInversionTable() {
    std::array<std::uint8_t, 256> t{};
    for (int i = 0; i < 10; ++i) {
        t[i] = kTransparentIndex;
        t[246 + i] = kTransparentIndex;
    }
    t[kTransparentIndex] = 0;
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b)
                t[11 + 36 * r + 6 * g + b] =
                    static_cast<std::uint8_t>(11 + 36 * (5 - r) + 6 * (5 - g) + (5 - b));
    for (int i = 0; i < 19; ++i)
        t[227 + i] = static_cast<std::uint8_t>(245 - i);
    return t;
}

std::array<ColorSpec, 256> BuildColorSpecs(const Palette& palette) {
    std::array<ColorSpec, 256> colourSpecs{};
    for (int i = 0; i < 256; ++i) {
        const PaletteEntry& e = palette.entries[i];
        colourSpecs[i] = {static_cast<std::int16_t>(i),
                          {Component8To16(e.red), Component8To16(e.green), Component8To16(e.blue)}};
    }
    return colourSpecs;
}

void BuildInverseTable(const ColorSpec* colourSpecs, int count, int res, int skip, InverseTable& out) {
    if (res < 3 || res > 5) res = 5;
    const int side = 1 << res;
    out.res = res;
    out.cells.assign(static_cast<std::size_t>(side) * side * side, 0);
    if (count <= 0) return;
    // Squared distances per channel, in 15-bit units so that three of them fit 32 bits.
    std::vector<std::uint32_t> dist(static_cast<std::size_t>(3) * side * count);
    auto channel = [&](int c, int level) {
        return &dist[(static_cast<std::size_t>(c) * side + level) * count];
    };
    for (int level = 0; level < side; ++level) {
        const int centre = std::min(((2 * level + 1) << (15 - res)), 65535) >> 1;
        for (int i = 0; i < count; ++i) {
            const int comps[3] = {colourSpecs[i].rgb.red >> 1, colourSpecs[i].rgb.green >> 1,
                                  colourSpecs[i].rgb.blue >> 1};
            for (int c = 0; c < 3; ++c) {
                const auto d = static_cast<std::uint32_t>(std::abs(comps[c] - centre));
                channel(c, level)[i] = d * d;
            }
        }
    }
    std::vector<std::uint32_t> rg(count);
    for (int r = 0; r < side; ++r) {
        for (int g = 0; g < side; ++g) {
            const std::uint32_t* dr = channel(0, r);
            const std::uint32_t* dg = channel(1, g);
            for (int i = 0; i < count; ++i)
                rg[i] = dr[i] + dg[i];
            if (skip >= 0 && skip < count) rg[skip] = std::numeric_limits<std::uint32_t>::max() / 2;
            for (int b = 0; b < side; ++b) {
                const std::uint32_t* db = channel(2, b);
                std::uint32_t best = std::numeric_limits<std::uint32_t>::max();
                int bestIndex = 0;
                for (int i = 0; i < count; ++i) {
                    const std::uint32_t d = rg[i] + db[i];
                    if (d < best) {
                        best = d;
                        bestIndex = i;
                    }
                }
                out.cells[(((static_cast<std::size_t>(r) << res) + g) << res) + b] =
                    static_cast<std::uint8_t>(colourSpecs[bestIndex].value);
            }
        }
    }
}

std::uint8_t InverseLookup(const InverseTable& table, const RGBColor& rgb) {
    const int res = table.res;
    const int shift = 16 - res;
    const std::size_t cell =
        (((static_cast<std::size_t>(rgb.red >> shift) << res) + (rgb.green >> shift)) << res) +
        (rgb.blue >> shift);
    return cell < table.cells.size() ? table.cells[cell] : 0;
}

std::array<ClassicColour, 13> BuildClassicColours(const InverseTable& table, int colourCount) {
    std::array<ClassicColour, 13> out{};
    for (int i = 0; i < 13; ++i) {
        const RGBColor& rgb = kClassicRGB[i];
        std::uint8_t index;
        if (colourCount >= 3 || i == 3 || i == 5 || i == 7) {
            index = InverseLookup(table, rgb);
        } else {
            index = (rgb.red >= 0xFF00 && rgb.green >= 0xFF00 && rgb.blue >= 0xFF00) ? 1 : 0;
        }
        out[i] = {rgb, index};
    }
    return out;
}

PaletteState& ThePalette() {
    static PaletteState state;
    return state;
}

namespace {

void RebuildInverseIfStale(PaletteState& s) {
    if (s.inverse.cells.empty() || s.inverse.seed != s.ctSeed) {
        BuildInverseTable(s.colourSpecs.data(), 256, 5, kTransparentIndex, s.inverse);
        s.inverse.seed = s.ctSeed;
    }
}

} // namespace

void SetUpPalette(int highlightRed, int highlightGreen, int highlightBlue) {
    PaletteState& s = ThePalette();
    s.palette = BuildPalette(highlightRed, highlightGreen, highlightBlue);
    s.colourSpecs = BuildColorSpecs(s.palette);
    s.inverse.cells.clear();
    RebuildInverseIfStale(s);
    s.classic = BuildClassicColours(s.inverse, 256);
    s.inversion = BuildInversionTable();
}

} // namespace qiva

std::int32_t Color2Index(const RGBColor* rgb) {
    qiva::PaletteState& s = qiva::ThePalette();
    qiva::RebuildInverseIfStale(s);
    return qiva::InverseLookup(s.inverse, *rgb);
}

void Index2Color(std::int32_t index, RGBColor* rgb) {
    *rgb = qiva::ThePalette().colourSpecs[static_cast<std::uint8_t>(index)].rgb;
}
