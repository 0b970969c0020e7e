#include "toolkit/graphics/resample.h"

#include <cstring>
#include <vector>

namespace qiva {

namespace {

inline int RawPixel(const TransferSource& s, int px, int py) {
    const std::uint8_t* row = s.base + static_cast<std::ptrdiff_t>(py) * s.rowBytes;
    if (s.pixelSize == 8) return row[px];
    const int bit = px * s.pixelSize;
    const int shift = 8 - s.pixelSize - (bit & 7);
    return (row[bit >> 3] >> shift) & ((1 << s.pixelSize) - 1);
}

inline bool Inside(const TransferSource& s, int px, int py) {
    return s.base != nullptr && px >= 0 && py >= 0 && px < s.width && py < s.height;
}

// A pixel of the resampled rectangle counts as set when it lies inside it and is not transparent.
inline bool SetInside(const TransferSource& s, const Rect& r, int h, int v) {
    if (h < r.left || h >= r.right || v < r.top || v >= r.bottom) return false;
    return FetchBit(s, h, v) != kTransparentIndex;
}

// One-bit enlarging: the block pixel's place inside its source pixel decides which neighbours are
// looked at; isolated corners are rounded off and concave corners filled.
std::uint8_t Smoothed(const TransferSource& s, const Rect& r, int sx, int sy, int fx, int fy) {
    int dx = -1, dy = -1;
    if (fx >= 0x8000) {
        dx = 1;
        fx = 0xFFFF - fx;
    }
    if (fy >= 0x8000) {
        dy = 1;
        fy = 0xFFFF - fy;
    }
    const int code = (SetInside(s, r, sx, sy) ? 1 : 0) | (SetInside(s, r, sx, sy + dy) ? 2 : 0) |
                     (SetInside(s, r, sx + dx, sy) ? 4 : 0) | (SetInside(s, r, sx + dx, sy + dy) ? 8 : 0);
    const bool nearCorner = fx + fy < 0x8000;
    switch (code) {
    case 1:
        return nearCorner ? kTransparentIndex : 0;
    case 6:
    case 14:
        return nearCorner ? 0 : kTransparentIndex;
    case 3:
    case 5:
    case 7:
    case 9:
    case 11:
    case 13:
    case 15:
        return 0;
    default:
        return kTransparentIndex;
    }
}

// The one-pass converter for equal sizes; false when it cannot serve (a custom fetch, or a
// rectangle reaching outside the image), and the caller then fetches pixel by pixel.
bool ConvertRows(const TransferSource& s, const Rect& r, PixelFetch fetch, std::uint8_t* block) {
    if (fetch != FetchMapped && fetch != FetchBit) return false;
    const int px0 = r.left - s.originH, py0 = r.top - s.originV;
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (!Inside(s, px0, py0) || !Inside(s, px0 + w - 1, py0 + h - 1)) return false;
    if (fetch == FetchBit && s.pixelSize != 1) return false;
    for (int y = 0; y < h; ++y) {
        std::uint8_t* out = block + static_cast<std::ptrdiff_t>(y) * w;
        if (fetch == FetchBit) {
            for (int x = 0; x < w; ++x)
                out[x] = RawPixel(s, px0 + x, py0 + y) ? 0 : kTransparentIndex;
        } else if (s.pixelSize == 8) {
            const std::uint8_t* in = s.base + static_cast<std::ptrdiff_t>(py0 + y) * s.rowBytes + px0;
            for (int x = 0; x < w; ++x)
                out[x] = s.map[in[x]];
        } else {
            for (int x = 0; x < w; ++x)
                out[x] = s.map[RawPixel(s, px0 + x, py0 + y)];
        }
    }
    return true;
}

} // namespace

std::uint8_t FetchMapped(const TransferSource& s, int h, int v) {
    const int px = h - s.originH, py = v - s.originV;
    if (!Inside(s, px, py)) return kTransparentIndex;
    return s.map[RawPixel(s, px, py)];
}

std::uint8_t FetchBit(const TransferSource& s, int h, int v) {
    const int px = h - s.originH, py = v - s.originV;
    if (!Inside(s, px, py)) return kTransparentIndex;
    return RawPixel(s, px, py) ? 0 : kTransparentIndex;
}

bool Resample(const TransferSource& s, const Rect& r, int width, int height, PixelFetch fetch,
              std::uint8_t* block) {
    const int srcW = r.right - r.left, srcH = r.bottom - r.top;
    if (width <= 0 || height <= 0 || srcW <= 0 || srcH <= 0 || block == nullptr || fetch == nullptr)
        return false;

    if (srcW == width && srcH == height) {
        if (ConvertRows(s, r, fetch, block)) return true;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                block[static_cast<std::ptrdiff_t>(y) * width + x] = fetch(s, r.left + x, r.top + y);
        return true;
    }

    // Eight-bit sources read through the map, wholly inside the image: rows read directly with the
    // column positions worked out once.
    const bool direct = fetch == FetchMapped && s.pixelSize == 8 &&
                        Inside(s, r.left - s.originH, r.top - s.originV) &&
                        Inside(s, r.right - 1 - s.originH, r.bottom - 1 - s.originV);

    if ((srcW < width || srcH < height) && direct) {
        const auto stepX = static_cast<std::uint32_t>((static_cast<std::int64_t>(srcW) << 16) / width);
        const auto stepY = static_cast<std::uint32_t>((static_cast<std::int64_t>(srcH) << 16) / height);
        std::vector<int> column(static_cast<std::size_t>(width));
        std::uint32_t posX = 0;
        for (int x = 0; x < width; ++x, posX += stepX)
            column[x] = r.left - s.originH + static_cast<int>(posX >> 16);
        std::uint32_t posY = 0;
        for (int y = 0; y < height; ++y, posY += stepY) {
            const std::uint8_t* in =
                s.base +
                static_cast<std::ptrdiff_t>(r.top - s.originV + static_cast<int>(posY >> 16)) * s.rowBytes;
            std::uint8_t* out = block + static_cast<std::ptrdiff_t>(y) * width;
            for (int x = 0; x < width; ++x)
                out[x] = s.map[in[column[x]]];
        }
        return true;
    }

    if (srcW < width || srcH < height) {
        const auto stepX = static_cast<std::uint32_t>((static_cast<std::int64_t>(srcW) << 16) / width);
        const auto stepY = static_cast<std::uint32_t>((static_cast<std::int64_t>(srcH) << 16) / height);
        const bool smooth = fetch == FetchBit;
        std::uint32_t posY = 0;
        for (int y = 0; y < height; ++y, posY += stepY) {
            const int sy = r.top + static_cast<int>(posY >> 16);
            std::uint8_t* out = block + static_cast<std::ptrdiff_t>(y) * width;
            std::uint32_t posX = 0;
            for (int x = 0; x < width; ++x, posX += stepX) {
                const int sx = r.left + static_cast<int>(posX >> 16);
                out[x] = smooth ? Smoothed(s, r, sx, sy, static_cast<int>(posX & 0xFFFF),
                                           static_cast<int>(posY & 0xFFFF))
                                : fetch(s, sx, sy);
            }
        }
        return true;
    }

    std::memset(block, kTransparentIndex, static_cast<std::size_t>(width) * height);
    const auto stepX = static_cast<std::uint32_t>((static_cast<std::int64_t>(width) << 16) / srcW);
    const auto stepY = static_cast<std::uint32_t>((static_cast<std::int64_t>(height) << 16) / srcH);
    const bool combine = fetch == FetchBit; // a set pixel (0) wins over transparent (10)
    if (direct) {
        std::vector<int> column(static_cast<std::size_t>(srcW));
        std::uint32_t posX = 0;
        for (int x = 0; x < srcW; ++x, posX += stepX)
            column[x] = static_cast<int>(posX >> 16);
        std::uint32_t posY = 0;
        for (int y = 0; y < srcH; ++y, posY += stepY) {
            const std::uint8_t* in = s.base +
                                     static_cast<std::ptrdiff_t>(r.top - s.originV + y) * s.rowBytes +
                                     (r.left - s.originH);
            std::uint8_t* out = block + static_cast<std::ptrdiff_t>(posY >> 16) * width;
            for (int x = 0; x < srcW; ++x)
                out[column[x]] = s.map[in[x]];
        }
        return true;
    }
    std::uint32_t posY = 0;
    for (int y = 0; y < srcH; ++y, posY += stepY) {
        std::uint8_t* out = block + static_cast<std::ptrdiff_t>(posY >> 16) * width;
        std::uint32_t posX = 0;
        for (int x = 0; x < srcW; ++x, posX += stepX) {
            const std::uint8_t value = fetch(s, r.left + x, r.top + y);
            std::uint8_t& cell = out[posX >> 16];
            cell = combine ? static_cast<std::uint8_t>(cell & value) : value;
        }
    }
    return true;
}

} // namespace qiva
