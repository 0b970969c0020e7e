#pragma once
// Colour icons ('cicn') turned once into small offscreen pictures: the icon's pixels under its mask
// are written into a buffer that is transparent elsewhere, so drawing it later is one plain copy that skips
// the transparent index, the fastest transfer the toolkit has.

#include <cstdint>
#include <span>

#include "toolkit/graphics/quickdraw_types.h"

namespace tolka {

// The parts of a 'cicn' resource, pointing into its bytes (host-order fields).
struct ColorIconParts {
    Rect bounds{};                         // of the colour pixels
    int pixelRowBytes = 0, pixelSize = 0;  // pixel rows and depth (1, 2, 4 or 8)
    int maskRowBytes = 0;                  // one-bit mask rows, over the same bounds
    std::span<const std::uint8_t> mask;    // maskRowBytes × height
    std::span<const std::uint8_t> pixels;  // pixelRowBytes × height
    std::span<const std::uint8_t> colours; // the colour table's entries: value, red, green, blue words
    int colourCount = 0;
};

// Reads the layout: pixel map, mask and one-bit bitmaps, their data, the colour table, the pixels.
// False for data shorter than its fields announce or with sizes the icon cannot have.
bool ParseColorIcon(std::span<const std::uint8_t> bytes, ColorIconParts& parts);

// A new offscreen port holding 'cicn' id (transparent where the mask is clear), or null when the
// resource is missing or damaged. The current port is kept.
GrafPtr LoadIconImage(std::int16_t id);
// Draws an icon image into `where` of the current port.
void DrawIconImage(GrafPtr image, const Rect& where);

} // namespace tolka
