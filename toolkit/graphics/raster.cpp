#include "toolkit/graphics/raster.h"

#include <algorithm>
#include <cstring>

#include "toolkit/graphics/quickdraw_types.h"

namespace qiva {

namespace {

constexpr std::uint64_t kOnes = 0x0101010101010101ull;

inline std::uint64_t Load64(const std::uint8_t* p) {
    std::uint64_t w;
    std::memcpy(&w, p, 8);
    return w;
}

inline void Store64(std::uint8_t* p, std::uint64_t w) {
    std::memcpy(p, &w, 8);
}

inline std::uint8_t RotateLeft(std::uint8_t b, int n) {
    n &= 7;
    return static_cast<std::uint8_t>((b << n) | (b >> ((8 - n) & 7)));
}

// Eight pixels of a pattern row, pixel k in byte k (lowest address first): a byte mask.
inline std::uint64_t ExpandBits(std::uint8_t bits) {
    std::uint64_t w = 0;
    for (int k = 0; k < 8; ++k)
        if (bits & (0x80 >> k)) w |= std::uint64_t{0xFF} << (8 * k);
    return w;
}

// dst = (dst & ~mask) | (colour & mask) across n bytes, the mask repeating every 8 pixels.
void MaskedWrite(std::uint8_t* dst, int n, std::uint64_t mask, std::uint64_t colour) {
    int i = 0;
    for (; i + 16 <= n; i += 16) {
        Store64(dst + i, (Load64(dst + i) & ~mask) | (colour & mask));
        Store64(dst + i + 8, (Load64(dst + i + 8) & ~mask) | (colour & mask));
    }
    for (; i + 8 <= n; i += 8)
        Store64(dst + i, (Load64(dst + i) & ~mask) | (colour & mask));
    for (int k = 0; i < n; ++i, ++k)
        if ((mask >> (8 * k)) & 0xFF) dst[i] = static_cast<std::uint8_t>(colour);
}

void PatternWrite(std::uint8_t* dst, int n, std::uint64_t word) {
    // Sixteen bytes per store: the pattern's period of 8 divides it.
    std::uint8_t wide[16];
    std::memcpy(wide, &word, 8);
    std::memcpy(wide + 8, &word, 8);
    int i = 0;
    for (; i + 16 <= n; i += 16)
        std::memcpy(dst + i, wide, 16);
    for (; i + 8 <= n; i += 8)
        Store64(dst + i, word);
    for (int k = 0; i < n; ++i, ++k)
        dst[i] = static_cast<std::uint8_t>(word >> (8 * k));
}

void XorRow(std::uint8_t* dst, int n, std::uint8_t bits, const std::uint8_t* inv) {
    if (bits == 0xFF) {
        for (int i = 0; i < n; ++i)
            dst[i] = inv[dst[i]];
        return;
    }
    for (int i = 0; i < n; ++i)
        if (bits & (0x80 >> (i & 7))) dst[i] = inv[dst[i]];
}

// 0xFF in every byte of w equal to c, 0 elsewhere (exact, no carries between bytes).
inline std::uint64_t EqualBytes(std::uint64_t w, std::uint8_t c) {
    constexpr std::uint64_t low7 = 0x7F7F7F7F7F7F7F7Full;
    const std::uint64_t y = w ^ (c * kOnes);
    const std::uint64_t zeroHigh = ~(((y & low7) + low7) | y) & ~low7;
    return (zeroHigh >> 7) * 0xFF;
}

// Eight pixels at a time: the two hilite indices swap, every other index stays.
void HiliteRow(std::uint8_t* dst, int n, std::uint8_t background) {
    int i = 0;
    for (; i + 8 <= n; i += 8) {
        const std::uint64_t w = Load64(dst + i);
        const std::uint64_t isBackground = EqualBytes(w, background), isWhite = EqualBytes(w, kIndexWhite);
        if ((isBackground | isWhite) == 0) continue;
        Store64(dst + i, (w & ~(isBackground | isWhite)) | (kIndexWhite * kOnes & isBackground) |
                             (background * kOnes & isWhite));
    }
    for (; i < n; ++i) {
        if (dst[i] == background)
            dst[i] = kIndexWhite;
        else if (dst[i] == kIndexWhite)
            dst[i] = background;
    }
}

// Clips the inclusive rectangle to the target; false when nothing is left.
bool ClipToTarget(const RasterTarget& t, int& left, int& top, int& right, int& bottom) {
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, t.width - 1);
    bottom = std::min(bottom, t.height - 1);
    return t.base != nullptr && left <= right && top <= bottom;
}

} // namespace

void SpanFill(const RasterTarget& t, const SpanPaint& paint, int left, int top, int right, int bottom,
              int rowOrigin, int colOrigin) {
    if (right < left || bottom < top) return;
    // The row phase counts from the unclipped top, so clipping never shifts the pattern; the column
    // phase follows the clipped left by itself.
    rowOrigin += std::max(top, 0) - top;
    if (!ClipToTarget(t, left, top, right, bottom)) return;
    const int width = right - left + 1;
    std::uint8_t* row = t.base + static_cast<std::ptrdiff_t>(top) * t.rowBytes + left;

    if (paint.mode & 0x80) {
        for (int y = top; y <= bottom; ++y, row += t.rowBytes)
            HiliteRow(row, width, paint.hiliteBackground);
        return;
    }
    // The eight distinct rows of this fill, rotated and (for the not-modes) inverted once.
    std::uint8_t bits[8];
    for (int k = 0; k < 8; ++k) {
        std::uint8_t b = RotateLeft(paint.pattern[(rowOrigin + k) & 7], colOrigin + left);
        if (paint.mode & 4) b = static_cast<std::uint8_t>(~b);
        bits[k] = b;
    }
    const std::uint64_t fgWord = paint.fg * kOnes;
    const std::uint64_t bkWord = paint.bk * kOnes;
    for (int y = top, k = 0; y <= bottom; ++y, row += t.rowBytes, k = (k + 1) & 7) {
        const std::uint8_t b = bits[k];
        switch (paint.mode & 3) {
        case 0: // copy
            if (b == 0xFF)
                std::memset(row, paint.fg, width);
            else if (b == 0)
                std::memset(row, paint.bk, width);
            else {
                const std::uint64_t m = ExpandBits(b);
                PatternWrite(row, width, (fgWord & m) | (bkWord & ~m));
            }
            break;
        case 1: // or
            if (b == 0xFF)
                std::memset(row, paint.fg, width);
            else if (b != 0)
                MaskedWrite(row, width, ExpandBits(b), fgWord);
            break;
        case 2: // xor
            if (b != 0) XorRow(row, width, b, paint.inversion);
            break;
        default: // bic
            if (b == 0xFF)
                std::memset(row, paint.bk, width);
            else if (b != 0)
                MaskedWrite(row, width, ExpandBits(b), bkWord);
            break;
        }
    }
}

std::uint8_t GetPixelIndex(const RasterTarget& t, int h, int v) {
    if (t.base == nullptr || h < 0 || v < 0 || h >= t.width || v >= t.height) return kTransparentIndex;
    return t.base[static_cast<std::ptrdiff_t>(v) * t.rowBytes + h];
}

std::size_t SaveBlockSize(int left, int top, int right, int bottom) {
    const int w = std::max(right - left, 0);
    const int h = std::max(bottom - top, 0);
    return static_cast<std::size_t>(w) * static_cast<std::size_t>(h) + 8;
}

namespace {

void PutU16(std::uint8_t* p, int value) {
    const auto v = static_cast<std::uint16_t>(value);
    std::memcpy(p, &v, 2);
}

int GetU16(const std::uint8_t* p) {
    std::uint16_t v;
    std::memcpy(&v, p, 2);
    return v;
}

} // namespace

// The header always describes the rectangle asked for; rows outside the buffer are left as they
// were in the block, and the restore clips the same way, so a save and restore pair up exactly.
void SaveBlock(const RasterTarget& t, int left, int top, int right, int bottom, std::uint8_t* dst) {
    const int w = std::max(right - left, 0);
    const int h = std::max(bottom - top, 0);
    PutU16(dst, left);
    PutU16(dst + 2, top);
    PutU16(dst + 4, h);
    PutU16(dst + 6, w);
    std::uint8_t* rows = dst + 8;
    int l = left, tp = top, r = right - 1, b = bottom - 1;
    if (!ClipToTarget(t, l, tp, r, b)) return;
    for (int y = tp; y <= b; ++y)
        std::memcpy(rows + static_cast<std::ptrdiff_t>(y - top) * w + (l - left),
                    t.base + static_cast<std::ptrdiff_t>(y) * t.rowBytes + l, r - l + 1);
}

void SavedBlockBounds(const std::uint8_t* src, int& left, int& top, int& width, int& height) {
    left = static_cast<std::int16_t>(GetU16(src));
    top = static_cast<std::int16_t>(GetU16(src + 2));
    height = GetU16(src + 4);
    width = GetU16(src + 6);
}

void RestoreBlock(const RasterTarget& t, const std::uint8_t* src) {
    int left, top, h, w;
    SavedBlockBounds(src, left, top, w, h);
    const std::uint8_t* rows = src + 8;
    int l = left, tp = top, r = left + w - 1, b = top + h - 1;
    if (!ClipToTarget(t, l, tp, r, b)) return;
    for (int y = tp; y <= b; ++y)
        std::memcpy(t.base + static_cast<std::ptrdiff_t>(y) * t.rowBytes + l,
                    rows + static_cast<std::ptrdiff_t>(y - top) * w + (l - left), r - l + 1);
}

void RowCopy(const RasterTarget& t, int left, int top, int right, int dstLeft, int dstTop) {
    if (t.base == nullptr || top < 0 || top >= t.height || dstTop < 0 || dstTop >= t.height) return;
    // Clip source and destination spans together.
    int shift = std::max({0, -left, -dstLeft});
    left += shift;
    dstLeft += shift;
    right = std::min({right, t.width - 1, t.width - 1 - (dstLeft - left)});
    if (right < left) return;
    // memmove copies backwards when the destination lies after the source.
    std::memmove(t.base + static_cast<std::ptrdiff_t>(dstTop) * t.rowBytes + dstLeft,
                 t.base + static_cast<std::ptrdiff_t>(top) * t.rowBytes + left, right - left + 1);
}

void MaskedCopy(const RasterTarget& t, int left, int top, int right, int bottom, const std::uint8_t* src,
                int srcRowBytes, std::uint8_t transparent, bool xorMode, const std::uint8_t* inversion) {
    if (right < left || bottom < top || src == nullptr) return;
    const int origLeft = left, origTop = top;
    if (!ClipToTarget(t, left, top, right, bottom)) return;
    src += static_cast<std::ptrdiff_t>(top - origTop) * srcRowBytes + (left - origLeft);
    const int width = right - left + 1;
    std::uint8_t* row = t.base + static_cast<std::ptrdiff_t>(top) * t.rowBytes + left;
    for (int y = top; y <= bottom; ++y, row += t.rowBytes, src += srcRowBytes) {
        if (xorMode) {
            for (int i = 0; i < width; ++i)
                if (src[i] != transparent) row[i] = inversion[row[i]];
            continue;
        }
        // Opaque stretches are found with memchr and copied whole; short gaps go pixel by pixel.
        int i = 0;
        while (i < width) {
            const auto* hit = static_cast<const std::uint8_t*>(std::memchr(src + i, transparent, width - i));
            const int end = hit ? static_cast<int>(hit - src) : width;
            std::memcpy(row + i, src + i, end - i);
            i = end;
            const int burst = std::min(width, i + 16);
            for (; i < burst; ++i)
                if (src[i] != transparent) row[i] = src[i];
        }
    }
}

} // namespace qiva
