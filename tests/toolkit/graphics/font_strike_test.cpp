#include <gtest/gtest.h>

#include <string>

#include "strike_fixture.h"
#include "toolkit/graphics/font_strike.h"

namespace {

using namespace qiva;

std::string GlyphRows(const FontStrike& s, std::uint8_t ch) {
    const StrikeGlyph g = GlyphFor(s, ch);
    std::string rows;
    for (int y = 0; y < s.fRectHeight; ++y) {
        for (int x = 0; x < g.width; ++x)
            rows += StrikePixel(s, g.column + x, y) ? '#' : '.';
        rows += '/';
    }
    return rows;
}

TEST(FontStrike, ReadsHeaderGlyphsAndWidths) {
    auto bytes = TinyStrike();
    FontStrike s;
    ASSERT_EQ(PrepareStrike(bytes, s), StrikeError::none);
    EXPECT_EQ(s.firstChar, 'A');
    EXPECT_EQ(s.lastChar, 'C');
    EXPECT_EQ(s.ascent, 2);
    EXPECT_EQ(s.descent, 1);
    EXPECT_EQ(s.leading, 1);
    EXPECT_EQ(GlyphRows(s, 'A'), ".#./###/#.#/");
    EXPECT_EQ(GlyphRows(s, 'C'), "#./.#/#./");
    const StrikeGlyph a = GlyphFor(s, 'A');
    EXPECT_EQ(a.origin, 0); // offset 1 + kernMax -1
    EXPECT_EQ(a.advance, 4);
    EXPECT_EQ(GlyphFor(s, 'C').origin, 1);
    EXPECT_EQ(CharAdvance(s, 'C'), 3);
}

TEST(FontStrike, MissingCharactersDrawTheMissingGlyph) {
    auto bytes = TinyStrike();
    FontStrike s;
    ASSERT_EQ(PrepareStrike(bytes, s), StrikeError::none);
    const std::string missing = "###/#.#/###/";
    // below firstChar, an entry of -1, lastChar + 1 itself, above it, the top of the range
    for (int ch : {0, int('@'), int('B'), int('D'), int('E'), 255}) {
        EXPECT_EQ(GlyphRows(s, static_cast<std::uint8_t>(ch)), missing) << ch;
        EXPECT_EQ(CharAdvance(s, static_cast<std::uint8_t>(ch)), 5) << ch;
    }
}

TEST(FontStrike, LocationTableIsConvertedOnceInPlace) {
    auto bytes = TinyStrike();
    FontStrike s;
    ASSERT_EQ(PrepareStrike(bytes, s), StrikeError::none);
    EXPECT_EQ(bytes[0] & kStrikeConvertedBit, kStrikeConvertedBit);
    const auto converted = bytes;
    // A second preparation (the strike left the cache while its resource stayed loaded) sees the mark.
    ASSERT_EQ(PrepareStrike(bytes, s), StrikeError::none);
    EXPECT_EQ(bytes, converted);
    EXPECT_EQ(GlyphRows(s, 'C'), "#./.#/#./");
}

TEST(FontStrike, ClassicFontTypeWithTheMarkBitIsStillConverted) {
    // Classic strikes are typed 0x9000 (proportional) or 0xB000 (fixed): bit 7 of their first byte
    // is set before any conversion, and their big-endian table must not be taken as converted.
    for (int type : {0x9000, 0xB000}) {
        auto bytes = TinyStrike(static_cast<std::uint16_t>(type));
        FontStrike s;
        ASSERT_EQ(PrepareStrike(bytes, s), StrikeError::none);
        EXPECT_EQ(GlyphRows(s, 'A'), ".#./###/#.#/");
        EXPECT_EQ(GlyphRows(s, 'D'), "###/#.#/###/");
        const auto converted = bytes;
        ASSERT_EQ(PrepareStrike(bytes, s), StrikeError::none);
        EXPECT_EQ(bytes, converted);
    }
}

TEST(FontStrike, MalformedStrikesAreRefusedUntouched) {
    const auto good = TinyStrike();
    FontStrike s;
    // Every truncation, down to an empty resource.
    for (std::size_t size = 0; size < good.size(); ++size) {
        std::vector<std::uint8_t> cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(size));
        const auto before = cut;
        EXPECT_NE(PrepareStrike(cut, s), StrikeError::none) << size;
        EXPECT_EQ(cut, before) << size;
    }
    struct Case {
        const char* what;
        std::size_t at;
        std::uint8_t hi, lo;
        StrikeError error;
    };
    const Case cases[] = {
        {"lastChar above 255", 4, 0x01, 0x00, StrikeError::badCharRange},
        {"lastChar before firstChar", 4, 0x00, '@', StrikeError::badCharRange},
        {"negative firstChar", 2, 0xFF, 0xFF, StrikeError::badCharRange},
        {"negative height", 14, 0xFF, 0xFE, StrikeError::badDimensions},
        {"negative row words", 24, 0x80, 0x00, StrikeError::badDimensions},
        {"taller than the resource", 14, 0x00, 0x40, StrikeError::tooShort},
        {"decreasing locations", 32 + 4, 0x00, 0x01, StrikeError::badLocations},
        {"location past the image", 32 + 8, 0x00, 0x11, StrikeError::badLocations},
    };
    for (const Case& c : cases) {
        auto bytes = good;
        bytes[c.at] = c.hi;
        bytes[c.at + 1] = c.lo;
        const auto before = bytes;
        EXPECT_EQ(PrepareStrike(bytes, s), c.error) << c.what;
        EXPECT_EQ(bytes, before) << c.what;
    }
}

} // namespace
