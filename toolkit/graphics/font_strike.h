#pragma once
// The bitmap font strike, the classic 'FONT' resource: a big-endian header of 13 words, one bit
// image holding every glyph side by side, a location table giving each glyph's first column and
// an offset/width table giving where each glyph sits and how far the pen moves. The location table
// is turned into the machine's byte order once, in place, and bit 7 of the first byte says so.

#include <cstddef>
#include <cstdint>
#include <span>

namespace qiva {

enum class StrikeError {
    none,
    tooShort,      // the header or the tables run past the end of the resource
    badCharRange,  // firstChar/lastChar outside 0..255 or in the wrong order
    badDimensions, // negative rows, row words or height
    badLocations,  // the location table decreases or points outside the bit image
};

// A prepared strike: the header's fields and views into the resource's bytes. Valid as long as
// the bytes are.
struct FontStrike {
    std::int16_t fontType = 0;
    std::int16_t firstChar = 0;
    std::int16_t lastChar = 0;
    std::int16_t widMax = 0;
    std::int16_t kernMax = 0;
    std::int16_t nDescent = 0;
    std::int16_t fRectWidth = 0;
    std::int16_t fRectHeight = 0;
    std::int16_t owTLoc = 0;
    std::int16_t ascent = 0;
    std::int16_t descent = 0;
    std::int16_t leading = 0;
    std::int16_t rowWords = 0;

    const std::uint8_t* image = nullptr;        // fRectHeight rows of rowWords * 2 bytes
    const std::uint8_t* locations = nullptr;    // lastChar - firstChar + 3 words, machine order
    const std::uint8_t* offsetWidths = nullptr; // as many big-endian words: offset high, width low

    int RowBytes() const { return rowWords * 2; }
    int GlyphCount() const { return lastChar - firstChar + 2; } // the characters and the missing glyph
};

constexpr std::size_t kStrikeHeaderBytes = 26;
constexpr std::uint8_t kStrikeConvertedBit = 0x80; // in the first byte of the resource

// Checks every table against the resource's length and against each other, converts the location
// table in place on first use and fills `strike`. A malformed strike is refused and left as it was.
// A strike whose first byte already has bit 7 set but whose locations only make sense big-endian
// (classic fonts are marked 0x9000 and up) is converted as well, so that it is never misread.
StrikeError PrepareStrike(std::span<std::uint8_t> resource, FontStrike& strike);

// One glyph of a strike, ready to draw: columns [column, column + width) of the bit image, placed
// `origin` pixels right of the pen (the offset plus kernMax), moving the pen by `advance`.
struct StrikeGlyph {
    int column = 0;
    int width = 0;
    int origin = 0;
    int advance = 0;
    bool present = false; // false when even the missing-character glyph is absent
};

// The glyph drawn for a character: characters outside firstChar..lastChar + 1, and those whose
// offset/width entry is -1, are drawn as the missing-character glyph (lastChar + 1).
StrikeGlyph GlyphFor(const FontStrike& strike, std::uint8_t ch);

// The advance of a character, the entry of the width table (the missing glyph's for a missing one).
inline int CharAdvance(const FontStrike& strike, std::uint8_t ch) {
    return GlyphFor(strike, ch).advance;
}

// Whether a pixel of the bit image is set; (x, y) must lie inside it.
inline bool StrikePixel(const FontStrike& strike, int x, int y) {
    return (strike.image[static_cast<std::size_t>(y) * strike.RowBytes() + (x >> 3)] >> (7 - (x & 7))) & 1;
}

} // namespace qiva
