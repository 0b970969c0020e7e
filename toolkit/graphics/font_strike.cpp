#include "toolkit/graphics/font_strike.h"

#include <cstring>

#include "toolkit/core/big_endian.h"

namespace qiva {

namespace {

std::uint16_t Native16(const std::uint8_t* p) {
    std::uint16_t v;
    std::memcpy(&v, p, 2);
    return v;
}

std::uint16_t Swapped16(const std::uint8_t* p) {
    return LoadBigEndian<std::uint16_t>(p);
}

// Locations must not decrease and must stay inside the bit image's width.
template <typename Read>
bool LocationsValid(const std::uint8_t* table, int entries, int imageWidth, Read read) {
    int previous = 0;
    for (int i = 0; i < entries; ++i) {
        const int loc = read(table + 2 * i);
        if (loc < previous || loc > imageWidth) return false;
        previous = loc;
    }
    return true;
}

} // namespace

StrikeError PrepareStrike(std::span<std::uint8_t> resource, FontStrike& strike) {
    if (resource.size() < kStrikeHeaderBytes) return StrikeError::tooShort;
    std::uint8_t* p = resource.data();
    FontStrike s;
    std::int16_t* fields[] = {&s.fontType, &s.firstChar,  &s.lastChar,    &s.widMax, &s.kernMax,
                              &s.nDescent, &s.fRectWidth, &s.fRectHeight, &s.owTLoc, &s.ascent,
                              &s.descent,  &s.leading,    &s.rowWords};
    BigEndianReader header(resource);
    for (std::int16_t* field : fields)
        *field = header.S16();

    if (s.firstChar < 0 || s.lastChar > 255 || s.firstChar > s.lastChar) return StrikeError::badCharRange;
    if (s.fRectHeight < 0 || s.rowWords < 0) return StrikeError::badDimensions;

    const std::size_t imageBytes = static_cast<std::size_t>(s.rowWords) * 2 * s.fRectHeight;
    const int entries = s.lastChar - s.firstChar + 3;
    const std::size_t tableBytes = static_cast<std::size_t>(entries) * 2;
    if (resource.size() < kStrikeHeaderBytes + imageBytes + 2 * tableBytes) return StrikeError::tooShort;

    std::uint8_t* locations = p + kStrikeHeaderBytes + imageBytes;
    const int imageWidth = s.rowWords * 16;
    const bool marked = (p[0] & kStrikeConvertedBit) != 0;
    if (!(marked && LocationsValid(locations, entries, imageWidth, Native16))) {
        if (!LocationsValid(locations, entries, imageWidth, Swapped16)) return StrikeError::badLocations;
        for (int i = 0; i < entries; ++i) {
            const std::uint16_t v = Swapped16(locations + 2 * i);
            std::memcpy(locations + 2 * i, &v, 2);
        }
        p[0] |= kStrikeConvertedBit;
        s.fontType = LoadBigEndian<std::int16_t>(p);
    }

    s.image = p + kStrikeHeaderBytes;
    s.locations = locations;
    s.offsetWidths = locations + tableBytes;
    strike = s;
    return StrikeError::none;
}

StrikeGlyph GlyphFor(const FontStrike& strike, std::uint8_t ch) {
    const int missing = strike.lastChar + 1 - strike.firstChar;
    int index = ch - strike.firstChar;
    if (index < 0 || index > missing) index = missing;
    std::uint16_t ow = Swapped16(strike.offsetWidths + 2 * index);
    if (ow == 0xFFFF && index != missing) {
        index = missing;
        ow = Swapped16(strike.offsetWidths + 2 * index);
    }
    StrikeGlyph g;
    if (ow == 0xFFFF) return g;
    const int column = Native16(strike.locations + 2 * index);
    g.column = column;
    g.width = Native16(strike.locations + 2 * (index + 1)) - column;
    g.origin = (ow >> 8) + strike.kernMax;
    g.advance = ow & 0xFF;
    g.present = true;
    return g;
}

} // namespace qiva
