#include "game/icon_images.h"

#include <array>
#include <cstddef>

#include "game/offscreen.h"
#include "toolkit/core/big_endian.h"
#include "toolkit/core/memory.h"
#include "toolkit/core/resources.h"
#include "toolkit/graphics/buffer_table.h"
#include "toolkit/graphics/copy_bits.h"
#include "toolkit/graphics/palette.h"
#include "toolkit/graphics/ports.h"

namespace tolka {

namespace {

constexpr std::size_t kPixMapSize = 50, kBitMapSize = 14, kHandleSize = 4;
constexpr int kMaxIconSide = 256;

Rect ReadRect(qiva::BigEndianReader& in) {
    Rect r;
    r.top = in.S16();
    r.left = in.S16();
    r.bottom = in.S16();
    r.right = in.S16();
    return r;
}

} // namespace

bool ParseColorIcon(std::span<const std::uint8_t> bytes, ColorIconParts& parts) {
    parts = ColorIconParts{};
    qiva::BigEndianReader in(bytes);
    in.Skip(4); // baseAddr
    parts.pixelRowBytes = in.U16() & 0x3FFF;
    parts.bounds = ReadRect(in);
    in.Skip(2 + 2 + 4 + 4 + 4 + 2); // version, pack type and size, resolutions, pixel type
    parts.pixelSize = in.S16();
    in.Skip(kPixMapSize - 34);
    in.Skip(4); // mask baseAddr
    parts.maskRowBytes = in.U16() & 0x3FFF;
    const Rect maskBounds = ReadRect(in);
    in.Skip(4);
    const int bitmapRowBytes = in.U16() & 0x3FFF;
    const Rect bitmapBounds = ReadRect(in);
    in.Skip(kHandleSize);
    if (in.Failed()) return false;

    const int width = parts.bounds.right - parts.bounds.left;
    const int height = parts.bounds.bottom - parts.bounds.top;
    if (width <= 0 || height <= 0 || width > kMaxIconSide || height > kMaxIconSide) return false;
    if (parts.pixelSize != 1 && parts.pixelSize != 2 && parts.pixelSize != 4 && parts.pixelSize != 8)
        return false;
    if (parts.pixelRowBytes * 8 < width * parts.pixelSize) return false;
    if (maskBounds.bottom - maskBounds.top != height || parts.maskRowBytes * 8 < width) return false;

    parts.mask = in.Bytes(static_cast<std::size_t>(parts.maskRowBytes) * height);
    in.Skip(static_cast<std::size_t>(bitmapRowBytes) * (bitmapBounds.bottom - bitmapBounds.top));
    in.Skip(4 + 2); // ctSeed, ctFlags
    parts.colourCount = in.S16() + 1;
    if (parts.colourCount < 0 || parts.colourCount > 256) return false;
    parts.colours = in.Bytes(static_cast<std::size_t>(parts.colourCount) * 8);
    parts.pixels = in.Bytes(static_cast<std::size_t>(parts.pixelRowBytes) * height);
    return !in.Failed();
}

namespace {

// The palette index of each pixel value. An entry whose colour is exactly a palette colour widened
// (as icons made on the system palette carry them) keeps that index: the nearest-colour search could
// answer the transparent index for black, which shares its colour.
std::array<std::uint8_t, 256> PixelIndices(const ColorIconParts& parts) {
    std::array<std::uint8_t, 256> map{};
    map.fill(qiva::kIndexBlack);
    const auto& palette = qiva::ThePalette().palette.entries;
    for (int i = 0; i < parts.colourCount; ++i) {
        qiva::BigEndianReader c(parts.colours.subspan(static_cast<std::size_t>(i) * 8, 8));
        const int value = c.S16();
        RGBColor rgb;
        rgb.red = c.U16();
        rgb.green = c.U16();
        rgb.blue = c.U16();
        if (value < 0 || value > 255) continue;
        const qiva::PaletteEntry& same = palette[static_cast<std::size_t>(value)];
        const bool exact =
            same.red * 257 == rgb.red && same.green * 257 == rgb.green && same.blue * 257 == rgb.blue;
        const auto index = static_cast<std::uint8_t>(exact ? value : Color2Index(&rgb));
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
    ColorIconParts parts;
    if (!ParseColorIcon(bytes, parts)) return nullptr;
    const int width = parts.bounds.right - parts.bounds.left;
    const int height = parts.bounds.bottom - parts.bounds.top;
    GrafPtr image = NewOffscreen(width, height);
    if (!image) return nullptr;
    const qiva::BufferSlot* slot = qiva::LookUpBuffer(qiva::BufferIdOf(image->portBits));
    if (!slot) {
        DisposeOffscreen(image);
        return nullptr;
    }
    // Where the mask is clear the picture stays transparent.
    const std::array<std::uint8_t, 256> indices = PixelIndices(parts);
    for (int y = 0; y < height; ++y) {
        const auto pixels = parts.pixels.subspan(static_cast<std::size_t>(y) * parts.pixelRowBytes,
                                                 static_cast<std::size_t>(parts.pixelRowBytes));
        const auto mask = parts.mask.subspan(static_cast<std::size_t>(y) * parts.maskRowBytes,
                                             static_cast<std::size_t>(parts.maskRowBytes));
        std::uint8_t* out = slot->base + static_cast<std::size_t>(y) * slot->rowBytes;
        for (int x = 0; x < width; ++x)
            out[x] = PixelAt(mask, x, 1)
                         ? indices[static_cast<std::size_t>(PixelAt(pixels, x, parts.pixelSize))]
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
