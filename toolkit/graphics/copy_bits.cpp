#include "toolkit/graphics/copy_bits.h"

#include <algorithm>
#include <cstdio>
#include <numeric>
#include <vector>

#include "toolkit/core/error_box.h"
#include "toolkit/core/memory.h"
#include "toolkit/graphics/buffer_table.h"
#include "toolkit/graphics/drawing_state.h"
#include "toolkit/graphics/palette.h"
#include "toolkit/graphics/rect_utils.h"
#include "toolkit/graphics/shapes.h"

namespace qiva {

TransferSource& CurrentSource() {
    static TransferSource source;
    return source;
}

namespace {

// The kind of the source last described: only buffers are copied without resampling.
const BufferSlot* gSourceBuffer = nullptr;

void IdentityMap(TransferSource& s) {
    std::iota(s.map.begin(), s.map.end(), 0);
}

// Colours of a PixMap's table mapped to the nearest palette index; entries are read only within
// the table's block. A device table (ctFlags bit 15) is indexed by position.
void ColourTableMap(TransferSource& s, CTabHandle table) {
    IdentityMap(s);
    if (table == nullptr || *table == nullptr) return;
    const Size bytes = GetHandleSize(reinterpret_cast<Handle>(table));
    const auto header = static_cast<Size>(offsetof(ColorTable, ctTable));
    if (bytes < header) return;
    const int available = static_cast<int>((bytes - header) / static_cast<Size>(sizeof(ColorSpec)));
    const int count = std::min<int>((*table)->ctSize + 1, available);
    const bool device = ((*table)->ctFlags & 0x8000) != 0;
    for (int i = 0; i < count; ++i) {
        const ColorSpec& entry = (*table)->ctTable[i];
        const int value = device ? i : entry.value;
        if (value >= 0 && value < 256) s.map[value] = static_cast<std::uint8_t>(Color2Index(&entry.rgb));
    }
}

// Clips the source rectangle to the source image and shrinks the destination in proportion to
// what was cut on each side; false when either becomes empty.
bool ClipToSource(const TransferSource& s, Rect& src, Rect& dst) {
    if (EmptyRect(&src) || EmptyRect(&dst)) return false;
    const int sw = src.right - src.left, sh = src.bottom - src.top;
    const int dw = dst.right - dst.left, dh = dst.bottom - dst.top;
    const int extLeft = s.originH, extTop = s.originV;
    const int extRight = s.originH + s.width, extBottom = s.originV + s.height;
    const int cutLeft = std::max(0, extLeft - src.left), cutTop = std::max(0, extTop - src.top);
    const int cutRight = std::max(0, src.right - extRight), cutBottom = std::max(0, src.bottom - extBottom);
    src.left = Clamp16(src.left + cutLeft);
    src.top = Clamp16(src.top + cutTop);
    src.right = Clamp16(src.right - cutRight);
    src.bottom = Clamp16(src.bottom - cutBottom);
    dst.left = Clamp16(dst.left + static_cast<int>(std::int64_t{cutLeft} * dw / sw));
    dst.top = Clamp16(dst.top + static_cast<int>(std::int64_t{cutTop} * dh / sh));
    dst.right = Clamp16(dst.right - static_cast<int>(std::int64_t{cutRight} * dw / sw));
    dst.bottom = Clamp16(dst.bottom - static_cast<int>(std::int64_t{cutBottom} * dh / sh));
    return !EmptyRect(&src) && !EmptyRect(&dst);
}

const std::uint8_t* SourcePixel(const TransferSource& s, int h, int v) {
    return s.base + static_cast<std::ptrdiff_t>(v - s.originV) * s.rowBytes + (h - s.originH);
}

// The rectangle of an 8-bit buffer source, copied out when it is the target itself so that an
// overlapping copy reads the pixels as they were.
const std::uint8_t* StableSourceRows(const TransferSource& s, const Rect& src,
                                     std::vector<std::uint8_t>& copy, int& rowBytes) {
    rowBytes = s.rowBytes;
    const std::uint8_t* first = SourcePixel(s, src.left, src.top);
    if (s.base != Drawing().target.base) return first;
    const int w = src.right - src.left, h = src.bottom - src.top;
    copy.resize(static_cast<std::size_t>(w) * h);
    for (int y = 0; y < h; ++y)
        std::copy_n(first + static_cast<std::ptrdiff_t>(y) * s.rowBytes, w, &copy[y * w]);
    rowBytes = w;
    return copy.data();
}

} // namespace

bool DescribeSource(const BitMap* bits) {
    TransferSource& s = CurrentSource();
    gSourceBuffer = nullptr;
    s = TransferSource{};
    if (bits == nullptr) return false;
    const std::uintptr_t id = BufferIdOf(*bits);
    s.originH = bits->bounds.left;
    s.originV = bits->bounds.top;
    if (const BufferSlot* slot = LookUpBuffer(id)) {
        gSourceBuffer = slot;
        s.base = slot->base;
        s.rowBytes = slot->rowBytes;
        s.pixelSize = 8;
        s.width = slot->width;
        s.height = slot->height;
        IdentityMap(s);
        return true;
    }
    if (id < kMaxBufferId) return false; // a buffer id whose buffer is gone, or no pixels at all
    s.base = reinterpret_cast<const std::uint8_t*>(bits->baseAddr);
    s.rowBytes = bits->rowBytes & 0x3FFF;
    s.width = bits->bounds.right - bits->bounds.left;
    s.height = bits->bounds.bottom - bits->bounds.top;
    if (bits->rowBytes & 0x8000) {
        const auto* pm = reinterpret_cast<const PixMap*>(bits);
        s.pixelSize = pm->pixelSize;
        if (s.pixelSize != 1 && s.pixelSize != 2 && s.pixelSize != 4 && s.pixelSize != 8) return false;
        ColourTableMap(s, pm->pmTable);
    } else {
        s.pixelSize = 1;
        const GrafPtr port = Drawing().current;
        s.map.fill(0);
        s.map[0] = static_cast<std::uint8_t>(port ? port->bkIndex : kIndexWhite);
        s.map[1] = static_cast<std::uint8_t>(port ? port->fgIndex : kIndexBlack);
    }
    // Never read past a row: the width is bounded by what rowBytes holds.
    s.width = std::min(s.width, s.rowBytes * 8 / s.pixelSize);
    if (s.width <= 0 || s.height <= 0) return false;
    return true;
}

void PutBlock(const std::uint8_t* block, int width, int height, std::uint8_t transparent, int h, int v) {
    DrawingState& d = Drawing();
    const GrafPtr port = d.current;
    if (port == nullptr || block == nullptr || width <= 0 || height <= 0) return;
    const int left = h - port->portBits.bounds.left, top = v - port->portBits.bounds.top;
    if (d.procs.maskedCopy != nullptr) {
        ClippedMaskedCopy(left, top, left + width - 1, top + height - 1, block, width, transparent);
        return;
    }
    // No masked copy installed (a region is being recorded): runs of equal pixels as span fills.
    const std::int32_t fg = port->fgIndex;
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* row = block + static_cast<std::ptrdiff_t>(y) * width;
        for (int x = 0; x < width;) {
            int end = x + 1;
            while (end < width && row[end] == row[x])
                ++end;
            if (row[x] != transparent) {
                port->fgIndex = row[x];
                ClippedFill(left + x, top + y, left + end - 1, top + y);
            }
            x = end;
        }
    }
    port->fgIndex = fg;
}

std::uint8_t* ResampleToBlock(const Rect* srcRect, int width, int height, PixelFetch fetch,
                              std::uint8_t* block) {
    if (srcRect == nullptr || width <= 0 || height <= 0) return nullptr;
    bool allocated = false;
    if (block == nullptr) {
        const long bytes = static_cast<long>(width) * height;
        block =
            bytes <= 0x7FFFFFFF ? reinterpret_cast<std::uint8_t*>(NewPtr(static_cast<Size>(bytes))) : nullptr;
        if (block == nullptr) {
            char message[96];
            std::snprintf(message, sizeof message, "Pas de place pour FABRIQUE_MOB Taille : %ld (%dx%d)",
                          bytes, width, height);
            ShowErrorBox(message);
            return nullptr;
        }
        allocated = true;
    }
    if (!Resample(CurrentSource(), *srcRect, width, height, fetch, block)) {
        if (allocated) DisposePtr(reinterpret_cast<Ptr>(block));
        return nullptr;
    }
    return block;
}

} // namespace qiva

std::uint8_t* FABRIQUE_MOB(const Rect* srcRect, int width, int height, qiva::PixelFetch fetch,
                           std::uint8_t* block) {
    return qiva::ResampleToBlock(srcRect, width, height, fetch, block);
}

void CopyBits(const BitMap* srcBits, const BitMap*, const Rect* srcRect, const Rect* dstRect,
              std::int16_t mode, RgnHandle maskRgn) {
    if (qiva::Drawing().current == nullptr || srcRect == nullptr || dstRect == nullptr) return;
    qiva::PortProc(&QDProcs::bitsProc, StdBits)(srcBits, srcRect, dstRect, mode, maskRgn);
}

void StdBits(const BitMap* srcBits, const Rect* srcRect, const Rect* dstRect, std::int16_t, RgnHandle) {
    using namespace qiva;
    const GrafPtr port = Drawing().current;
    if (port == nullptr || srcRect == nullptr || dstRect == nullptr) return;
    BeginDrawing();
    {
        VerbScope scope(Verb::frameRegion);
        Rect src = *srcRect, dst = *dstRect;
        if (DescribeSource(srcBits) && ClipToSource(CurrentSource(), src, dst)) {
            const int w = dst.right - dst.left, h = dst.bottom - dst.top;
            if (gSourceBuffer != nullptr && w == src.right - src.left && h == src.bottom - src.top) {
                std::vector<std::uint8_t> copy;
                int rowBytes = 0;
                const std::uint8_t* pixels = StableSourceRows(CurrentSource(), src, copy, rowBytes);
                const int left = dst.left - port->portBits.bounds.left,
                          top = dst.top - port->portBits.bounds.top;
                ClippedMaskedCopy(left, top, left + w - 1, top + h - 1, pixels, rowBytes, kTransparentIndex);
            } else if (std::uint8_t* block = ResampleToBlock(&src, w, h, FetchMapped, nullptr)) {
                PutBlock(block, w, h, kTransparentIndex, dst.left, dst.top);
                DisposePtr(reinterpret_cast<Ptr>(block));
            }
        }
    }
    EndDrawing();
}

void CopyMask(const BitMap* srcBits, const BitMap* maskBits, const BitMap*, const Rect* srcRect,
              const Rect* maskRect, const Rect* dstRect) {
    using namespace qiva;
    const GrafPtr port = Drawing().current;
    if (port == nullptr || srcRect == nullptr || maskRect == nullptr || dstRect == nullptr ||
        maskBits == nullptr)
        return;
    BeginDrawing();
    {
        VerbScope scope(Verb::frameRegion);
        Rect src = *srcRect, dst = *dstRect;
        const int w = dst.right - dst.left, h = dst.bottom - dst.top;
        const bool maskIsBuffer = LookUpBuffer(BufferIdOf(*maskBits)) != nullptr;
        // Source and mask are resampled (or copied) at the destination's size, then masked.
        std::uint8_t* block = nullptr;
        if (w > 0 && h > 0 && DescribeSource(srcBits) && ClipToSource(CurrentSource(), src, dst) &&
            dst.right - dst.left == w && dst.bottom - dst.top == h)
            block = ResampleToBlock(&src, w, h, FetchMapped, nullptr);
        if (block != nullptr) {
            if (maskIsBuffer) {
                std::vector<std::uint8_t> mask(static_cast<std::size_t>(w) * h, 0);
                if (DescribeSource(maskBits) &&
                    Resample(CurrentSource(), *maskRect, w, h, FetchMapped, mask.data()))
                    for (std::size_t i = 0; i < mask.size(); ++i)
                        if (mask[i] == kIndexWhite) block[i] = kTransparentIndex;
            } else if (maskRect->left == 0 && maskRect->top == 0 && maskRect->right == w &&
                       maskRect->bottom == h && DescribeSource(maskBits)) {
                // Only a one-bit mask at (0, 0) of the destination's size masks anything.
                for (int y = 0; y < h; ++y)
                    for (int x = 0; x < w; ++x)
                        if (FetchBit(CurrentSource(), x, y) == kTransparentIndex)
                            block[y * w + x] = kTransparentIndex;
            }
            PutBlock(block, w, h, kTransparentIndex, dst.left, dst.top);
            DisposePtr(reinterpret_cast<Ptr>(block));
        }
    }
    EndDrawing();
}
