#pragma once
// The source side of image transfers and the resampling core of qiva::ResampleToBlock: a source image of
// 1, 2, 4 or 8 bits per pixel read through a 256-entry index map, resampled into a block of
// palette indices of any size (same size, enlarging with optional one-bit smoothing, shrinking).

#include <array>
#include <cstdint>

#include "toolkit/graphics/quickdraw_types.h"

namespace qiva {

struct TransferSource {
    const std::uint8_t* base = nullptr;
    int rowBytes = 0;
    int pixelSize = 8;                 // 1, 2, 4 or 8
    int originH = 0, originV = 0;      // source coordinates of the first pixel (the bounds' top-left)
    int width = 0, height = 0;         // pixels that may be read
    std::array<std::uint8_t, 256> map; // source pixel value to palette index
};

// A pixel fetch: the value at source coordinates (h, v), kTransparentIndex outside the image.
using PixelFetch = std::uint8_t (*)(const TransferSource& source, int h, int v);

// The source pixel through the index map.
std::uint8_t FetchMapped(const TransferSource& source, int h, int v);
// One-bit reading for glyphs and masks: 0 for a set bit, kTransparentIndex for a clear one. Enlarging
// through this fetch smooths the edges; shrinking through it lets a set pixel win.
std::uint8_t FetchBit(const TransferSource& source, int h, int v);

// Resamples srcRect (source coordinates) to width × height indices into block (width × height bytes).
// Returns false (block untouched) when a size is empty.
bool Resample(const TransferSource& source, const Rect& srcRect, int width, int height, PixelFetch fetch,
              std::uint8_t* block);

} // namespace qiva
