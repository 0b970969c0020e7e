#pragma once
// The rasterizer's row loops: the inner loops of every picture. They are state-free and take the
// target buffer and the paint as arguments; the procedure table (ports.h) wraps them with the
// current port's state. Every routine clips to the target, so no caller can write outside it.

#include <cstddef>
#include <cstdint>

namespace qiva {

// An 8-bit buffer: rows of rowBytes bytes (a multiple of 4), width × height pixels used.
struct RasterTarget {
    std::uint8_t* base = nullptr;
    int rowBytes = 0;
    int width = 0;
    int height = 0;
};

// What a span fill paints: the pen pattern in a transfer mode with two palette indices.
struct SpanPaint {
    const std::uint8_t* pattern;   // eight rows
    int mode;                      // bit 7 hilite, bit 2 inverted pattern, bits 0-1 copy/or/xor/bic
    std::uint8_t fg;               // written by pattern bits 1 (copy, or)
    std::uint8_t bk;               // written by pattern bits 0 (copy) and 1 (bic)
    const std::uint8_t* inversion; // the xor modes' table
    std::uint8_t hiliteBackground; // swapped with 226 by the hilite mode
};

// Fills the inclusive rectangle. Buffer row y takes pattern row (rowOrigin + y - top) & 7, rotated
// left by (colOrigin + left) & 7, so the pattern stays aligned to the port's local coordinates.
void SpanFill(const RasterTarget& t, const SpanPaint& paint, int left, int top, int right, int bottom,
              int rowOrigin, int colOrigin);

// Palette index of a pixel; kTransparentIndex outside the buffer.
std::uint8_t GetPixelIndex(const RasterTarget& t, int h, int v);

// Bytes a saved block of the rectangle (right and bottom exclusive) takes: width × height + 8.
std::size_t SaveBlockSize(int left, int top, int right, int bottom);
// Writes left, top, height, width as four u16 values, then the rows; clipped to the buffer.
void SaveBlock(const RasterTarget& t, int left, int top, int right, int bottom, std::uint8_t* dst);
// The rectangle a saved block came from.
void SavedBlockBounds(const std::uint8_t* src, int& left, int& top, int& width, int& height);
// Copies a saved block back to where it came from.
void RestoreBlock(const RasterTarget& t, const std::uint8_t* src);

// Copies pixels left..right (inclusive) of row top to (dstLeft, dstTop); overlap-safe.
void RowCopy(const RasterTarget& t, int left, int top, int right, int dstLeft, int dstTop);

// Copies a source image onto the inclusive rectangle, skipping source pixels equal to transparent.
// With xorMode the destination pixel under each non-transparent source pixel is inverted instead.
void MaskedCopy(const RasterTarget& t, int left, int top, int right, int bottom, const std::uint8_t* src,
                int srcRowBytes, std::uint8_t transparent, bool xorMode, const std::uint8_t* inversion);

} // namespace qiva
