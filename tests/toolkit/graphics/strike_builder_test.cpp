#include <gtest/gtest.h>

#include "platform/mac_roman.h"
#include "toolkit/graphics/font_strike.h"
#include "toolkit/graphics/strike_builder.h"

namespace {

using namespace qiva;
using platform::GlyphImage;

GlyphImage Glyph(int width, int height, int left, int top, int advance, std::vector<std::uint8_t> bits) {
    GlyphImage g;
    g.width = width, g.height = height, g.left = left, g.top = top, g.advance = advance;
    g.bits = std::move(bits);
    return g;
}

// Every set pixel of the strike's glyph, relative to the pen and the baseline.
std::vector<std::pair<int, int>> Ink(const FontStrike& s, std::uint8_t ch) {
    const StrikeGlyph g = GlyphFor(s, ch);
    std::vector<std::pair<int, int>> ink;
    for (int y = 0; y < s.fRectHeight; ++y)
        for (int x = 0; x < g.width; ++x)
            if (StrikePixel(s, g.column + x, y)) ink.emplace_back(g.origin + x, y - s.ascent);
    return ink;
}

std::vector<std::pair<int, int>> Ink(const GlyphImage& g) {
    std::vector<std::pair<int, int>> ink;
    for (int y = 0; y < g.height; ++y)
        for (int x = 0; x < g.width; ++x)
            if (g.bits[y * g.width + x]) ink.emplace_back(g.left + x, y - g.top);
    return ink;
}

TEST(StrikeBuilder, GlyphsSurviveTheRoundTrip) {
    const StrikeSource glyphs[] = {
        {' ', Glyph(0, 0, 0, 0, 3, {})},
        {'j', Glyph(2, 4, -1, 2, 2, {0, 1, 0, 1, 0, 1, 1, 0})},   // reaches left of the pen and below
        {'k', Glyph(3, 3, 0, 5, 4, {1, 0, 1, 1, 1, 0, 1, 0, 1})}, // above the requested ascent
    };
    const GlyphImage missing = Glyph(2, 2, 0, 2, 3, {1, 1, 1, 1});
    std::string error;
    auto bytes = BuildStrike(glyphs, missing, {4, 1, 2}, &error);
    ASSERT_FALSE(bytes.empty()) << error;
    EXPECT_EQ(bytes[0] & kStrikeConvertedBit, 0);
    FontStrike s;
    ASSERT_EQ(PrepareStrike(bytes, s), StrikeError::none);
    EXPECT_EQ(s.firstChar, ' ');
    EXPECT_EQ(s.lastChar, 'k');
    EXPECT_EQ(s.ascent, 5);  // the 'k' reaches 5 up
    EXPECT_EQ(s.descent, 2); // the 'j' reaches 2 down
    EXPECT_EQ(s.leading, 2);
    EXPECT_EQ(s.kernMax, -1);
    EXPECT_EQ(s.widMax, 4);
    EXPECT_EQ(s.fRectHeight, 7);
    for (const StrikeSource& g : glyphs) {
        EXPECT_EQ(Ink(s, g.ch), Ink(g.glyph)) << g.ch;
        EXPECT_EQ(CharAdvance(s, g.ch), g.glyph.advance);
    }
    EXPECT_EQ(Ink(s, 'a'), Ink(missing)); // between the given characters
    EXPECT_EQ(CharAdvance(s, 'a'), 3);
    EXPECT_EQ(Ink(s, 200), Ink(missing));
}

TEST(StrikeBuilder, RefusesWhatAStrikeCannotHold) {
    const GlyphImage missing = Glyph(1, 1, 0, 1, 2, {1});
    const StrikeSource wide[] = {{'a', Glyph(1, 1, 0, 1, 256, {1})}};
    const StrikeSource far[] = {{'a', Glyph(1, 1, 255, 1, 2, {1})}};
    const StrikeSource order[] = {{'b', missing}, {'a', missing}};
    std::string error;
    EXPECT_TRUE(BuildStrike(wide, missing, {}, &error).empty());
    EXPECT_TRUE(BuildStrike(far, missing, {}, &error).empty());
    EXPECT_TRUE(BuildStrike(order, missing, {}, &error).empty());
    EXPECT_TRUE(BuildStrike({}, missing, {}, &error).empty());
}

TEST(StrikeBuilder, StrikeFromAPinnedFace) {
    FaceStrikeRequest request;
    request.path = TOLKA_FONT_DEJAVU_SANS;
    request.size = 12;
    std::string error;
    auto bytes = StrikeFromFace(request, &error);
    ASSERT_FALSE(bytes.empty()) << error;
    FontStrike s;
    ASSERT_EQ(PrepareStrike(bytes, s), StrikeError::none);
    EXPECT_EQ(s.firstChar, 17); // the command-key sign, which this face has
    EXPECT_EQ(s.lastChar, 255);
    auto face = platform::SizedFace::Open(TOLKA_FONT_DEJAVU_SANS, 0, 12, false, false);
    ASSERT_TRUE(face);
    for (int ch : {int('A'), int('g'), int(' '), 0x8E /* é */, 0xD5 /* ’ */}) {
        const auto& g = face->Glyph(platform::MacRomanToUnicode(static_cast<std::uint8_t>(ch)));
        EXPECT_EQ(Ink(s, static_cast<std::uint8_t>(ch)), Ink(g)) << ch;
        EXPECT_EQ(CharAdvance(s, static_cast<std::uint8_t>(ch)), g.advance) << ch;
    }
    EXPECT_EQ(Ink(s, 17), Ink(face->Glyph(U'\u2318')));
    // Control characters and the logo character, which the face lacks, are the missing glyph.
    EXPECT_EQ(Ink(s, 0xF0), Ink(s, 20));
    EXPECT_EQ(Ink(s, 0xF0), Ink(s, 0));

    request.path = __FILE__;
    EXPECT_TRUE(StrikeFromFace(request, &error).empty());
    EXPECT_FALSE(error.empty());
}

} // namespace
