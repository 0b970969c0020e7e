#include "toolkit/graphics/pict_pixels.h"

#include "toolkit/graphics/palette.h"

namespace qiva {

void PixelMap(const pict::Bits& bits, std::uint8_t background, std::uint8_t foreground,
              std::uint8_t (&map)[256]) {
    if (!bits.pixMap) {
        map[0] = background;
        map[1] = foreground;
        return;
    }
    for (int i = 0; i < 256; ++i)
        map[i] = static_cast<std::uint8_t>(i);
    const bool device = (bits.ctFlags & 0x8000) != 0;
    const auto& colourSpecs = ThePalette().colourSpecs;
    for (std::size_t i = 0; i < bits.colours.size(); ++i) {
        const pict::Bits::Entry& e = bits.colours[i];
        const int value = device ? static_cast<int>(i) : e.value;
        if (value < 0 || value > 255) continue;
        const RGBColor c{e.rgb.red, e.rgb.green, e.rgb.blue};
        const RGBColor& own = colourSpecs[std::size_t(value)].rgb;
        // The transparent index is the highlight colour, whose RGB follows the setting: a picture
        // made on the system palette keeps it whatever its colour there.
        static const RGBColor transparent = [] {
            const PaletteEntry t = BuildPalette(0, 0, 0).entries[kTransparentIndex];
            return RGBColor{Component8To16(t.red), Component8To16(t.green), Component8To16(t.blue)};
        }();
        const bool keepsTransparent = value == kTransparentIndex && transparent.red == c.red &&
                                      transparent.green == c.green && transparent.blue == c.blue;
        if (keepsTransparent || (own.red == c.red && own.green == c.green && own.blue == c.blue))
            map[value] = static_cast<std::uint8_t>(value);
        else
            map[value] = static_cast<std::uint8_t>(Color2Index(&c));
    }
}

void ExpandRow(const std::uint8_t* in, int width, int pixelSize, const std::uint8_t (&map)[256],
               std::uint8_t* out) {
    const int perByte = 8 / pixelSize;
    const int mask = (1 << pixelSize) - 1;
    for (int x = 0; x < width; ++x) {
        const int shift = 8 - pixelSize * (x % perByte + 1);
        out[x] = map[(in[x / perByte] >> shift) & mask];
    }
}

void DirectColours::Row(const pict::Bits& bits, const std::uint8_t* in, int width, std::uint8_t* out) {
    const bool planes = bits.pixelSize == 32 && bits.RowPacking() == pict::Bits::Packing::Bytes;
    const int skip = planes && bits.cmpCount == 4 ? width : 0; // the alpha plane comes first
    for (int x = 0; x < width; ++x) {
        int r, g, b;
        if (bits.pixelSize == 16) {
            const int w = in[2 * x] << 8 | in[2 * x + 1];
            r = (w >> 10 & 31) << 3 | (w >> 12 & 7);
            g = (w >> 5 & 31) << 3 | (w >> 7 & 7);
            b = (w & 31) << 3 | (w >> 2 & 7);
        } else if (planes) {
            r = in[skip + x];
            g = in[skip + width + x];
            b = in[skip + 2 * width + x];
        } else if (bits.packType == 2) {
            r = in[3 * x];
            g = in[3 * x + 1];
            b = in[3 * x + 2];
        } else {
            r = in[4 * x + 1];
            g = in[4 * x + 2];
            b = in[4 * x + 3];
        }
        out[x] = Index(r, g, b);
    }
}

std::uint8_t DirectColours::Index(int r, int g, int b) {
    std::int16_t& cell = cache_[std::size_t((r >> 3) << 10 | (g >> 3) << 5 | (b >> 3))];
    if (cell < 0) {
        const RGBColor c{Component8To16(static_cast<std::uint8_t>(r)),
                         Component8To16(static_cast<std::uint8_t>(g)),
                         Component8To16(static_cast<std::uint8_t>(b))};
        cell = static_cast<std::int16_t>(Color2Index(&c));
    }
    return static_cast<std::uint8_t>(cell);
}

} // namespace qiva
