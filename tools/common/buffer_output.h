#pragma once
// What the drawing tools write: an 8-bit buffer as a paletted PNG through the system palette, and
// as text giving each pixel's palette index (the form the golden tests compare).

#include <cstdint>
#include <string>

#include "toolkit/graphics/buffers.h"

namespace qiva_tools {

// Palette indices, rows `rowBytes` apart.
struct IndexImage {
    const std::uint8_t* base;
    int rowBytes, width, height;
};
IndexImage ImageOf(const qiva::BufferSlot& slot);

// Each returns an error text, empty on success.
std::string WritePalettedPng(const std::string& path, const IndexImage& image);
std::string WriteIndexText(const std::string& path, const IndexImage& image); // one row per line

// A width or height given on the command line: a whole number from 1 to 4096.
bool ParseDimension(const char* text, int& out);

} // namespace qiva_tools
