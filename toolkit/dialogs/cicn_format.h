#pragma once
// The 'cicn' resource in its published layout, read without global state: a pixel map, a mask
// bitmap and a one-bit icon bitmap (50 + 14 + 14 bytes), the icon data handle slot, then the mask
// bits, the icon bits, the colour table and the pixels. Every field is checked against the data.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "toolkit/graphics/quickdraw_types.h"

namespace qiva {

struct ParsedColorIcon {
    int width = 0, height = 0;
    int pixelSize = 0;     // 1, 2, 4 or 8
    int pixelRowBytes = 0; // without the pixel-map flag
    int maskRowBytes = 0;
    int iconRowBytes = 0; // 0: no one-bit icon
    std::span<const std::uint8_t> mask, icon, pixels;
    std::vector<ColorSpec> colours; // in host order
    std::int16_t colourFlags = 0;
    std::int32_t colourSeed = 0;
};

inline constexpr std::size_t kColorIconHeaderSize = 82;
inline constexpr int kColorIconMaxSide = 1024;

// Nothing, with `error` saying why, for data that does not hold what its fields announce.
std::optional<ParsedColorIcon> ParseColorIcon(std::span<const std::uint8_t> data, std::string& error);

} // namespace qiva
