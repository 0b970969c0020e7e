#pragma once
// Colour icons ('cicn') turned once into small offscreen pictures: the icon's pixels under its mask
// are written into a buffer that is transparent elsewhere, so drawing it later is one plain copy that skips
// the transparent index, the fastest transfer the toolkit has.

#include <cstdint>

#include "toolkit/graphics/quickdraw_types.h"

namespace tolka {

// A new offscreen port holding 'cicn' id (transparent where the mask is clear), or null when the
// resource is missing or damaged. The current port is kept.
GrafPtr LoadIconImage(std::int16_t id);
// Draws an icon image into `where` of the current port.
void DrawIconImage(GrafPtr image, const Rect& where);

} // namespace tolka
