#pragma once
// The pixels of a picture's images as palette indices: indexed pixels of 1, 2, 4 or 8 bits through
// a map of their colour table, direct pixels (16 or 32 bits) to the nearest palette colour.

#include <array>
#include <cstdint>

#include "toolkit/graphics/pict_format.h"

namespace qiva {

// The palette index of each stored pixel value: a value whose colour is the palette's own at that
// index keeps it (so the transparent index survives), any other the nearest colour. A one-bit
// BitMap's 0 and 1 are the given background and foreground.
void PixelMap(const pict::Bits& bits, std::uint8_t background, std::uint8_t foreground,
              std::uint8_t (&map)[256]);

// A row of stored pixels (1, 2, 4 or 8 bits) expanded to palette indices.
void ExpandRow(const std::uint8_t* in, int width, int pixelSize, const std::uint8_t (&map)[256],
               std::uint8_t* out);

// Direct pixels (16-bit xRGB 1-5-5-5 words, or 32-bit in planes, triplets or xRGB quadruplets) to
// the nearest palette index, remembered per 15-bit colour.
class DirectColours {
public:
    DirectColours() { cache_.fill(-1); }
    void Row(const pict::Bits& bits, const std::uint8_t* in, int width, std::uint8_t* out);

private:
    std::uint8_t Index(int r, int g, int b);
    std::array<std::int16_t, 32768> cache_;
};

} // namespace qiva
