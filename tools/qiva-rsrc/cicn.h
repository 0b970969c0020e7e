#pragma once
// Colour icons ('cicn') in the published layout, made from an RGBA image and read back into one:
// an 8-bit pixel map whose colour table is the system palette (so a pixel's value is its palette
// index), the mask from the image's alpha (opaque where alpha is at least half), and the one-bit
// icon drawn for one-bit screens (dark opaque pixels).

#include <string>

#include "toolkit/graphics/palette.h"
#include "tools/qiva-pict/pict_files.h"

namespace qiva_rsrc {

qiva_pict::Bytes CicnFromImage(const qiva_pict::RgbaImage& image, const qiva::Palette& palette, bool dither);

// The icon's colour pixels through its own colour table, alpha 255 under the mask and 0 elsewhere.
// Any pixel depth of 1, 2, 4 or 8 bits is read; false with a message for data that does not hold
// what its fields announce.
bool ImageFromCicn(const qiva_pict::Bytes& data, qiva_pict::RgbaImage& image, std::string& error);

} // namespace qiva_rsrc
