#include "game/icon_images.h"

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string>

#include "game/offscreen.h"
#include "toolkit/core/memory.h"
#include "toolkit/core/resources.h"
#include "toolkit/dialogs/cicn_format.h"
#include "toolkit/graphics/buffer_table.h"
#include "toolkit/graphics/copy_bits.h"
#include "toolkit/graphics/palette.h"
#include "toolkit/graphics/ports.h"

namespace tolka {

namespace {

// The palette index of each pixel value. An entry whose colour is exactly a palette colour widened
// (as icons made on the system palette carry them) keeps that index: the nearest-colour search could
// answer the transparent index for black, which shares its colour.
std::array<std::uint8_t, 256> PixelIndices(const qiva::ParsedColorIcon& icon) {
    std::array<std::uint8_t, 256> map{};
    map.fill(qiva::kIndexBlack);
    const auto& palette = qiva::ThePalette().palette.entries;
    // A device table (flags bit 15) gives the pixel values by position.
    const bool byPosition = (icon.colourFlags & 0x8000) != 0;
    for (std::size_t i = 0; i < icon.colours.size(); ++i) {
        const ColorSpec& entry = icon.colours[i];
        const int value = byPosition ? static_cast<int>(i) : entry.value;
        const RGBColor& rgb = entry.rgb;
        if (value < 0 || value > 255) continue;
        const qiva::PaletteEntry& same = palette[static_cast<std::size_t>(value)];
        const bool exact =
            same.red * 257 == rgb.red && same.green * 257 == rgb.green && same.blue * 257 == rgb.blue;
        const auto index = static_cast<std::uint8_t>(exact ? value : Color2Index(&entry.rgb));
        map[static_cast<std::size_t>(value)] = index == qiva::kTransparentIndex ? qiva::kIndexBlack : index;
    }
    return map;
}

int PixelAt(std::span<const std::uint8_t> row, int x, int depth) {
    const int bit = x * depth;
    const int shift = 8 - depth - bit % 8;
    return (row[static_cast<std::size_t>(bit / 8)] >> shift) & ((1 << depth) - 1);
}

} // namespace

GrafPtr LoadIconImage(std::int16_t id) {
    Handle h = GetResource(MakeResType("cicn"), id);
    if (!h || !*h) return nullptr;
    const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(*h),
                                              static_cast<std::size_t>(GetHandleSize(h)));
    std::string error;
    const std::optional<qiva::ParsedColorIcon> icon = qiva::ParseColorIcon(bytes, error);
    if (!icon) return nullptr;
    const int width = icon->width, height = icon->height;
    GrafPtr image = NewOffscreen(width, height);
    if (!image) return nullptr;
    const qiva::BufferSlot* slot = qiva::LookUpBuffer(qiva::BufferIdOf(image->portBits));
    if (!slot) {
        DisposeOffscreen(image);
        return nullptr;
    }
    // Where the mask is clear the picture stays transparent.
    const std::array<std::uint8_t, 256> indices = PixelIndices(*icon);
    for (int y = 0; y < height; ++y) {
        const auto pixels = icon->pixels.subspan(static_cast<std::size_t>(y) * icon->pixelRowBytes,
                                                 static_cast<std::size_t>(icon->pixelRowBytes));
        const auto mask = icon->mask.subspan(static_cast<std::size_t>(y) * icon->maskRowBytes,
                                             static_cast<std::size_t>(icon->maskRowBytes));
        std::uint8_t* out = slot->base + static_cast<std::size_t>(y) * slot->rowBytes;
        for (int x = 0; x < width; ++x)
            out[x] = PixelAt(mask, x, 1)
                         ? indices[static_cast<std::size_t>(PixelAt(pixels, x, icon->pixelSize))]
                         : qiva::kTransparentIndex;
    }
    return image;
}

void DrawIconImage(GrafPtr image, const Rect& where) {
    GrafPtr port = nullptr;
    GetPort(&port);
    if (!image || !port) return;
    CopyBits(&image->portBits, &port->portBits, &image->portRect, &where, srcCopy, nullptr);
}

} // namespace tolka
