#pragma once
// PNG images of 8-bit frames (screenshots of the virtual screen, the drawing tools' canvases): paletted,
// with the frame's 256 colours, and compressed. True-colour images (the art sources, contact sheets)
// go through the same encoder.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace platform {

// Encodes the frame into `png`. Returns an error text, empty on success.
std::string EncodePng(const Frame& frame, std::vector<std::uint8_t>& png);

// Encodes 8-bit RGB (channels 3) or RGBA (channels 4) pixels, rows packed one after another, into
// `png`. Returns an error text, empty on success.
std::string EncodeTrueColourPng(int width, int height, int channels, std::span<const std::uint8_t> pixels,
                                std::vector<std::uint8_t>& png);

// Writes the frame as a PNG file, replaced atomically. Returns an error text, empty on success.
std::string WritePng(const std::string& path, const Frame& frame);

} // namespace platform
