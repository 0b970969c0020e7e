#pragma once
// Pictures as files: reading a picture (bare, or as saved on disk behind a 512-byte header), and
// making a PackBitsRect picture on the system palette from a PNG image.

#include <cstdint>
#include <string>
#include <vector>

#include "toolkit/graphics/palette.h"

namespace qiva_pict {

using Bytes = std::vector<std::uint8_t>;

// The picture in a file's bytes: the file itself, or what follows its 512-byte header when only
// that reads as a picture.
Bytes PictureOfFile(const Bytes& file);

struct RgbaImage {
    int width = 0, height = 0;
    Bytes rgba; // four bytes a pixel, rows top to bottom
};

// Reads any PNG (palette, grey, with or without alpha, 16 bits) as 8-bit RGBA; false with a message.
bool ReadPng(const std::string& path, RgbaImage& image, std::string& error);

struct PictOptions {
    bool dither = true; // error diffusion; without it each pixel takes the nearest colour
    bool mask = false;  // a one-bit picture: 1 where the image is opaque (or dark, without alpha)
};

// A version 2 picture of the image's size holding one PackBitsRect: 8-bit indices on the palette
// with the palette as colour table (fully transparent pixels take the transparent index 10), or a
// one-bit mask.
Bytes PictFromImage(const RgbaImage& image, const qiva::Palette& palette, const PictOptions& options);

// The palette index of each pixel as the picture stores it (for tests and the mask rule).
std::vector<std::uint8_t> PaletteIndices(const RgbaImage& image, const qiva::Palette& palette, bool dither);

} // namespace qiva_pict
