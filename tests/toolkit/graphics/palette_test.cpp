#include <gtest/gtest.h>

#include "toolkit/graphics/palette.h"

namespace {

using qiva::BuildPalette;
using qiva::Palette;

TEST(Palette, CubeAndGreyRampLevels) {
    const Palette p = BuildPalette(0, 0, 0);
    const int levels[6] = {1, 67, 114, 161, 208, 254};
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b) {
                const auto& e = p.entries[11 + 36 * r + 6 * g + b];
                ASSERT_EQ(e.red, levels[r]);
                ASSERT_EQ(e.green, levels[g]);
                ASSERT_EQ(e.blue, levels[b]);
                ASSERT_EQ(e.flags, 4);
            }
    const int greys[19] = {38,  48,  57,  67,  76,  86,  95,  104, 114, 123,
                           133, 142, 152, 161, 170, 180, 189, 199, 208};
    for (int j = 0; j < 19; ++j)
        EXPECT_EQ(p.entries[227 + j].red, greys[j]) << j;
    EXPECT_EQ(p.entries[0].flags, 0);
    EXPECT_EQ(p.entries[255].red, 255);
}

TEST(Palette, HighlightSetting) {
    struct Case {
        int r, g, b;
        int background;
        int red, green, blue;
    };
    const Case cases[] = {
        {0, 0, 0, 11, 1, 1, 1},     {255, 255, 255, 11, 1, 1, 1},   {251, 251, 251, 11, 1, 1, 1},
        {0, 0, 255, 10, 1, 1, 254}, {19, 19, 200, 10, 39, 39, 200}, {250, 255, 255, 10, 250, 254, 254},
    };
    for (const Case& c : cases) {
        const Palette p = BuildPalette(c.r, c.g, c.b);
        EXPECT_EQ(p.hiliteBackground, c.background) << c.r << " " << c.g << " " << c.b;
        EXPECT_EQ(p.entries[10].red, c.red);
        EXPECT_EQ(p.entries[10].green, c.green);
        EXPECT_EQ(p.entries[10].blue, c.blue);
        EXPECT_EQ(p.entries[10].flags, 1);
    }
}

TEST(Palette, ComponentConversions) {
    EXPECT_EQ(qiva::Component8To16(0), 0);
    EXPECT_EQ(qiva::Component8To16(20), 20 * 278);
    EXPECT_EQ(qiva::Component8To16(21), 278);
    EXPECT_EQ(qiva::Component8To16(254), 234 * 278);
    EXPECT_EQ(qiva::Component16To8(278), 1);
    EXPECT_EQ(qiva::Component16To8(279), 21);
    EXPECT_EQ(qiva::Component16To8(65535), 254);
}

TEST(InversionTable, PairsAndSystemColours) {
    const auto inv = qiva::BuildInversionTable();
    EXPECT_EQ(inv[11], 226);
    EXPECT_EQ(inv[226], 11);
    EXPECT_EQ(inv[227], 245);
    EXPECT_EQ(inv[236], 236); // the middle of the ramp is its own opposite
    for (int i = 11; i <= 245; ++i)
        EXPECT_EQ(inv[inv[i]], i) << i;
    for (int i : {0, 5, 9, 246, 255}) {
        EXPECT_EQ(inv[i], 10);
        EXPECT_EQ(inv[inv[i]], 0);
    }
}

class PaletteState : public ::testing::Test {
protected:
    void SetUp() override { qiva::SetUpPalette(0, 0, 0); }
};

TEST_F(PaletteState, Color2IndexFindsCubeColoursAndNeverTheTransparentOne) {
    struct Case {
        RGBColor rgb;
        int index;
    };
    const Case cases[] = {
        {{0, 0, 0}, 11},      {{0xFFFF, 0xFFFF, 0xFFFF}, 226}, {{0xFFFF, 0, 0}, 11 + 36 * 5},
        {{0, 0, 0xFFFF}, 16}, {{0x8000, 0x8000, 0x8000}, 238}, // the grey ramp lies nearer than cube 161
    };
    for (const Case& c : cases)
        EXPECT_EQ(Color2Index(&c.rgb), c.index) << c.rgb.red << " " << c.rgb.green;
    const auto& cells = qiva::ThePalette().inverse.cells;
    ASSERT_EQ(cells.size(), 32768u);
    for (std::uint8_t cell : cells)
        ASSERT_NE(cell, qiva::kTransparentIndex);
}

TEST_F(PaletteState, InverseTableCellsHoldTheNearestEntry) {
    // Brute force over a sample of cells with the same metric.
    const auto& s = qiva::ThePalette();
    for (int cell = 0; cell < 32768; cell += 97) {
        const int r = cell >> 10, g = (cell >> 5) & 31, b = cell & 31;
        auto centre = [](int level) { return ((2 * level + 1) << 10) >> 1; };
        long best = -1;
        for (int i = 0; i < 256; ++i) {
            if (i == 10) continue;
            auto d = [&](int c, int level) {
                const long x = (c >> 1) - centre(level);
                return x * x;
            };
            const long dist = d(s.colourSpecs[i].rgb.red, r) + d(s.colourSpecs[i].rgb.green, g) +
                              d(s.colourSpecs[i].rgb.blue, b);
            if (best < 0 || dist < best) best = dist;
        }
        const auto& chosen = s.colourSpecs[s.inverse.cells[cell]].rgb;
        auto d = [&](int c, int level) {
            const long x = (c >> 1) - centre(level);
            return x * x;
        };
        EXPECT_EQ(d(chosen.red, r) + d(chosen.green, g) + d(chosen.blue, b), best) << cell;
    }
}

TEST_F(PaletteState, ClassicColours) {
    const auto& classic = qiva::ThePalette().classic;
    EXPECT_EQ(classic[whiteColor / 32].index, 226);
    EXPECT_EQ(classic[blackColor / 32].index, 11);
    EXPECT_EQ(classic[redColor / 32].index, 11 + 36 * 5);
    // 96, 160 and 224 are the three greys: dark, middle, light.
    const RGBColor dark = qiva::ThePalette().colourSpecs[classic[3].index].rgb;
    const RGBColor light = qiva::ThePalette().colourSpecs[classic[7].index].rgb;
    EXPECT_EQ(dark.red, dark.green);
    EXPECT_LT(dark.red, 0x5000);
    EXPECT_GT(dark.red, 0x3000);
    EXPECT_GT(light.red, 0xB000);
}

TEST(InverseTable, ResolutionOutsideThreeToFiveBecomesFive) {
    const auto colourSpecs = qiva::BuildColorSpecs(BuildPalette(0, 0, 0));
    qiva::InverseTable t;
    qiva::BuildInverseTable(colourSpecs.data(), 256, 7, -1, t);
    EXPECT_EQ(t.res, 5);
    qiva::BuildInverseTable(colourSpecs.data(), 256, 3, -1, t);
    EXPECT_EQ(t.cells.size(), 512u);
}

} // namespace
