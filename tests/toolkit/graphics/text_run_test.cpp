#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "platform/mac_roman.h"
#include "strike_fixture.h"
#include "toolkit/graphics/quickdraw_types.h"
#include "toolkit/graphics/text_run.h"

namespace {

using namespace qiva;

constexpr std::uint8_t kInk = 5;

// The block as rows of '#' (ink), 'o' (white) and '.' (transparent).
std::string Rows(const TextBlock& b) {
    std::string rows;
    for (int y = 0; y < b.height; ++y) {
        for (int x = 0; x < b.width; ++x) {
            const std::uint8_t p = b.pixels[y * b.width + x];
            rows += p == kInk ? '#' : p == kTransparentIndex ? '.' : 'o';
        }
        rows += '/';
    }
    return rows;
}

const std::uint8_t* Bytes(const char* s) {
    return reinterpret_cast<const std::uint8_t*>(s);
}

class StrikeRun : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(PrepareStrike(bytes, strike), StrikeError::none); }
    std::vector<std::uint8_t> bytes = TinyStrike();
    FontStrike strike;
    GlyphCache cache;
    TextBlock block;
};

TEST_F(StrikeRun, ComposesGlyphsAtTheirOffsetsAndAdvances) {
    const int advance = ComposeStrikeRun(strike, 3 * 128 + 3, {3, 3}, cache, Bytes("ACB"), 3, kInk, block);
    EXPECT_EQ(advance, 4 + 3 + 5); // 'B' is absent: the missing glyph's width
    EXPECT_EQ(advance, StrikeTextWidth(strike, {3, 3}, Bytes("ACB"), 3));
    EXPECT_EQ(block.left, 0);
    EXPECT_EQ(block.top, -2); // the ascent above the baseline
    EXPECT_EQ(Rows(block), ".#...#.###/###...##.#/#.#..#.###/");
    EXPECT_EQ(cache.Glyphs(), 0u); // unscaled glyphs come from the strike itself
}

TEST_F(StrikeRun, ScaledGlyphsAreResampledAndKept) {
    const StrikeScale doubled{3, 6};
    const int advance = ComposeStrikeRun(strike, 3 * 128 + 3, doubled, cache, Bytes("AC"), 2, kInk, block);
    EXPECT_EQ(advance, 8 + 6);
    EXPECT_EQ(advance, StrikeTextWidth(strike, doubled, Bytes("AC"), 2));
    EXPECT_EQ(block.top, -4);
    EXPECT_EQ(block.height, 6);
    EXPECT_EQ(cache.Glyphs(), 2u);
    const std::string first = Rows(block);
    ComposeStrikeRun(strike, 3 * 128 + 3, doubled, cache, Bytes("CA"), 2, kInk, block);
    EXPECT_EQ(cache.Glyphs(), 2u);
    // Twice the size: every pixel of the strike becomes two by two, isolated ones included.
    EXPECT_EQ(first, "..##......##../..##......##../"
                     "######......##/######......##/"
                     "##..##....##../##..##....##../");
}

TEST_F(StrikeRun, GlyphCacheIsReleasedPastItsLimit) {
    // At 400 times its size one glyph takes over a megabyte: the cache keeps only a couple.
    for (int round = 0; round < 3; ++round)
        for (std::uint8_t ch : {'A', 'C', 'D'}) {
            const auto& g = cache.Get(strike, 3 * 128 + 1, {1, 400}, ch);
            EXPECT_EQ(g.height, 1200);
            EXPECT_LE(cache.Count(), GlyphCache::kLimit + 1500);
        }
    EXPECT_LE(cache.Glyphs(), 3u);
}

TEST(FaceRun, AdvanceMatchesTheMeasuredWidthInEveryStyle) {
    auto face = platform::SizedFace::Open(TOLKA_FONT_DEJAVU_SANS, 0, 12, false, false);
    ASSERT_TRUE(face);
    const auto* text = Bytes("Tolka \x8E"
                             "t\x8E");
    const int count = 9;
    int plainWidth = 0;
    for (int i = 0; i < count; ++i)
        plainWidth += face->Advance(platform::MacRomanToUnicode(text[i]));
    for (int styles = 0; styles < 8; ++styles) {
        FaceRunStyle style;
        style.underline = styles & 1;
        style.outline = styles & 2;
        style.shadow = styles & 4;
        style.extra = styles == 7 ? 2 : 0;
        TextBlock block;
        const int advance = ComposeFaceRun(*face, text, count, style, kInk, kIndexWhite, block);
        EXPECT_EQ(advance, FaceTextWidth(*face, text, count, style)) << styles;
        EXPECT_EQ(advance, plainWidth + FaceStyleMargin(style) + count * style.extra) << styles;
    }
    TextBlock block;
    EXPECT_EQ(ComposeFaceRun(*face, text, 0, {}, kInk, kIndexWhite, block), 0);
    EXPECT_EQ(FaceTextWidth(*face, text, 0, {}), 0);
}

TEST(FaceRun, PlainTextIsTheFacesGlyphsAndStylesDrawAroundThem) {
    auto face = platform::SizedFace::Open(TOLKA_FONT_DEJAVU_SANS, 0, 12, false, false);
    ASSERT_TRUE(face);
    const auto l = face->Glyph(U'l');
    TextBlock plain;
    ComposeFaceRun(*face, Bytes("l"), 1, {}, kInk, kIndexWhite, plain);
    int inked = 0;
    for (auto p : plain.pixels)
        inked += p == kInk;
    EXPECT_EQ(inked, l.height); // one column, the stem
    EXPECT_EQ(plain.At(l.left - plain.left, -l.top - plain.top), kInk);

    FaceRunStyle underlined;
    underlined.underline = true;
    TextBlock under;
    ComposeFaceRun(*face, Bytes("ll"), 2, underlined, kInk, kIndexWhite, under);
    const int row = face->Metrics().descent / 2 - under.top;
    for (int x = -under.left; x < 2 * face->Advance(U'l') - under.left; ++x)
        EXPECT_EQ(under.At(x, row), kInk) << x;

    FaceRunStyle outlined;
    outlined.outline = true;
    TextBlock ring;
    ComposeFaceRun(*face, Bytes("l"), 1, outlined, kInk, kIndexWhite, ring);
    // Hollow: the stem, moved one pixel right, is white inside a ring of ink.
    const int x = 1 + l.left - ring.left, y = -l.top - ring.top + 2;
    EXPECT_EQ(ring.At(x, y), kIndexWhite);
    EXPECT_EQ(ring.At(x - 1, y), kInk);
    EXPECT_EQ(ring.At(x + 1, y), kInk);
    EXPECT_EQ(ring.At(x + 2, y), kTransparentIndex);

    FaceRunStyle shadowed;
    shadowed.shadow = true;
    TextBlock shade;
    ComposeFaceRun(*face, Bytes("l"), 1, shadowed, kInk, kIndexWhite, shade);
    // The ring is two pixels thick on the right and below.
    const int sx = 1 + l.left - shade.left, sy = -l.top - shade.top + 2;
    EXPECT_EQ(shade.At(sx, sy), kIndexWhite);
    EXPECT_EQ(shade.At(sx - 1, sy), kInk);
    EXPECT_EQ(shade.At(sx + 2, sy), kInk);
    EXPECT_EQ(shade.At(sx + 3, sy), kTransparentIndex);
    EXPECT_EQ(shade.At(sx, -shade.top + l.height - l.top + 1), kInk);
}

} // namespace
