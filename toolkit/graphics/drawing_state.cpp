#include "toolkit/graphics/drawing_state.h"

#include <algorithm>

#include "toolkit/graphics/buffer_table.h"
#include "toolkit/graphics/palette.h"
#include "toolkit/graphics/present.h"
#include "toolkit/graphics/rect_utils.h"
#include "toolkit/graphics/regions.h"

namespace qiva {

DrawingState& Drawing() {
    static DrawingState state;
    return state;
}

std::uint8_t HiliteBackground() {
    return ThePalette().palette.hiliteBackground;
}

void SelectBufferOf(GrafPtr port) {
    DrawingState& d = Drawing();
    const BufferSlot* slot = port ? LookUpBuffer(BufferIdOf(port->portBits)) : nullptr;
    if (slot == nullptr) slot = LookUpBuffer(ScreenBufferId());
    if (slot == nullptr) {
        d.target = RasterTarget{};
        d.targetIsScreen = true;
        return;
    }
    d.target = RasterTarget{slot->base, slot->rowBytes, slot->width, slot->height};
    d.targetIsScreen = slot == LookUpBuffer(ScreenBufferId());
}

void AddDirty(int left, int top, int right, int bottom) {
    DrawingState& d = Drawing();
    if (!d.targetIsScreen) return;
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, d.target.width - 1);
    bottom = std::min(bottom, d.target.height - 1);
    if (right < left || bottom < top) return;
    Rect r;
    SetRect(&r, left, top, right + 1, bottom + 1);
    UnionRect(&d.dirty, &r, &d.dirty);
}

namespace {

void DefaultOpenScreen() {}

void DefaultSpanFill(int left, int top, int right, int bottom, int rowOrigin, int colOrigin) {
    DrawingState& d = Drawing();
    const GrafPtr port = d.current;
    if (port == nullptr || right < left || bottom < top) return;
    AddDirty(left, top, right, bottom);
    const SpanPaint paint{port->pnPat.pat,
                          port->pnMode,
                          static_cast<std::uint8_t>(port->fgIndex),
                          static_cast<std::uint8_t>(port->bkIndex),
                          ThePalette().inversion.data(),
                          HiliteBackground()};
    SpanFill(d.target, paint, left, top, right, bottom, rowOrigin, colOrigin);
}

std::uint8_t DefaultGetPixel(int h, int v) {
    return GetPixelIndex(Drawing().target, h, v);
}

void DefaultSaveBlock(int left, int top, int right, int bottom, std::uint8_t* dst) {
    SaveBlock(Drawing().target, left, top, right, bottom, dst);
}

void DefaultRestoreBlock(const std::uint8_t* src) {
    int left, top, width, height;
    SavedBlockBounds(src, left, top, width, height);
    AddDirty(left, top, left + width - 1, top + height - 1);
    RestoreBlock(Drawing().target, src);
}

void DefaultRowCopy(int left, int top, int right, int dstLeft, int dstTop) {
    AddDirty(dstLeft, dstTop, dstLeft + (right - left), dstTop);
    RowCopy(Drawing().target, left, top, right, dstLeft, dstTop);
}

void DefaultMaskedCopy(int left, int top, int right, int bottom, const std::uint8_t* src, int srcRowBytes,
                       std::uint8_t transparent) {
    DrawingState& d = Drawing();
    const bool xorMode = d.current != nullptr && (d.current->pnMode & 3) == 2;
    AddDirty(left, top, right, bottom);
    MaskedCopy(d.target, left, top, right, bottom, src, srcRowBytes, transparent, xorMode,
               ThePalette().inversion.data());
}

// Moves the band cache to the band holding row y; false when the region has no band there.
bool FindClipBand(int y) {
    DrawingState& d = Drawing();
    if (d.clipBand.top != 32766 && d.clipBand.top <= y && y < d.clipBand.bottom) return true;
    if (d.clipBand.top == 32766 || y < d.clipBand.top) {
        d.clipWalker.Start(*d.effectiveClip, RegionBytes(d.effectiveClip));
        d.clipBand = Band{-32768, -32768, nullptr, 0};
    }
    while (!(d.clipBand.top <= y && y < d.clipBand.bottom)) {
        if (!d.clipWalker.Next(d.clipBand)) {
            InvalidateClipCache();
            return false;
        }
    }
    return true;
}

// Clamps an inclusive rectangle to the clip region's box; false when nothing is left.
bool ClampToClip(int& left, int& top, int& right, int& bottom) {
    DrawingState& d = Drawing();
    if (d.effectiveClip == nullptr || *d.effectiveClip == nullptr) return false;
    const Rect& box = (*d.effectiveClip)->rgnBBox;
    left = std::max<int>(left, box.left);
    top = std::max<int>(top, box.top);
    right = std::min<int>(right, box.right - 1);
    bottom = std::min<int>(bottom, box.bottom - 1);
    return left <= right && top <= bottom;
}

// Calls piece(l, t, r, b) for each part of the inclusive rectangle inside the clip region.
template <typename Piece>
void ForEachClipPiece(int left, int top, int right, int bottom, Piece piece) {
    DrawingState& d = Drawing();
    if (!ClampToClip(left, top, right, bottom)) return;
    if (IsRectRegion(d.effectiveClip)) {
        piece(left, top, right, bottom);
        return;
    }
    for (int y = top; y <= bottom;) {
        if (!FindClipBand(y)) return;
        const Band band = d.clipBand;
        const int rowEnd = std::min(bottom, band.bottom - 1);
        for (int i = 0; i + 1 < band.count; i += 2) {
            const int l = std::max<int>(left, band.xs[i]);
            const int r = std::min<int>(right, band.xs[i + 1] - 1);
            if (l <= r) piece(l, y, r, rowEnd);
        }
        y = rowEnd + 1;
    }
}

} // namespace

RasterProcs DefaultRasterProcs() {
    return RasterProcs{DefaultOpenScreen, DefaultSpanFill,     DefaultGetPixel, SaveBlockSize,
                       DefaultSaveBlock,  DefaultRestoreBlock, DefaultRowCopy,  DefaultMaskedCopy};
}

void InvalidateClipCache() {
    DrawingState& d = Drawing();
    d.clipBand = Band{32766, 32766, nullptr, 0};
}

void ClippedFill(int left, int top, int right, int bottom) {
    DrawingState& d = Drawing();
    if (d.current == nullptr || d.procs.spanFill == nullptr) return;
    const int boundsTop = d.current->portBits.bounds.top, boundsLeft = d.current->portBits.bounds.left;
    ForEachClipPiece(left, top, right, bottom, [&](int l, int t, int r, int b) {
        d.procs.spanFill(l, t, r, b, t + boundsTop, boundsLeft);
    });
}

void ClippedMaskedCopy(int left, int top, int right, int bottom, const std::uint8_t* src, int srcRowBytes,
                       std::uint8_t transparent) {
    DrawingState& d = Drawing();
    if (d.current == nullptr || d.procs.maskedCopy == nullptr || src == nullptr) return;
    ForEachClipPiece(left, top, right, bottom, [&](int l, int t, int r, int b) {
        d.procs.maskedCopy(l, t, r, b, src + static_cast<std::ptrdiff_t>(t - top) * srcRowBytes + (l - left),
                           srcRowBytes, transparent);
    });
}

void RecomputeClip() {
    DrawingState& d = Drawing();
    const GrafPtr port = d.current;
    if (port == nullptr) return;
    if (d.effectiveClip == nullptr) d.effectiveClip = NewRgn();
    if (d.effectiveClip == nullptr) return;
    const RgnHandle vis = port->visRgn, clip = port->clipRgn;
    if (vis == nullptr || clip == nullptr || *vis == nullptr || *clip == nullptr) {
        SetEmptyRgn(d.effectiveClip);
    } else {
        const Rect& cb = (*clip)->rgnBBox;
        const Rect& vb = (*vis)->rgnBBox;
        if (IsRectRegion(clip) && cb.left <= vb.left && cb.top <= vb.top && cb.right >= vb.right &&
            cb.bottom >= vb.bottom)
            CopyRgn(vis, d.effectiveClip);
        else
            SectRgn(vis, clip, d.effectiveClip);
    }
    OffsetRgn(d.effectiveClip, -port->portBits.bounds.left, -port->portBits.bounds.top);
    InvalidateClipCache();
}

void BeginDrawing() {
    ++Drawing().depth;
}

void EndDrawing() {
    DrawingState& d = Drawing();
    --d.depth;
    if (d.depth <= 0) d.depth = 0;
    if ((d.depth == 0 || d.flushAtOnce) && d.targetIsScreen) FlushScreen();
}

void FlushScreen() {
    DrawingState& d = Drawing();
    if (EmptyRect(&d.dirty)) return;
    const Rect area = d.dirty;
    d.dirty = Rect{0, 0, 0, 0};
    if (d.outputSuspended) {
        UnionRect(&d.dirty, &area, &d.dirty);
        return;
    }
    PresentSink* sink = GetPresentSink();
    const BufferSlot* screen = LookUpBuffer(ScreenBufferId());
    if (sink == nullptr || screen == nullptr) return;
    const ScreenImage image{screen->base, screen->rowBytes, screen->width, screen->height,
                            ThePalette().palette.entries.data()};
    const auto at = [](int h, int v) {
        return Point{static_cast<std::int16_t>(v), static_cast<std::int16_t>(h)};
    };
    if (d.viewOffsetV == 0) {
        sink->Present(image, area, at(area.left + d.viewOffsetH, area.top));
        return;
    }
    // The band at the top (the menu bar) never scrolls vertically.
    const int band = d.viewBandHeight;
    if (area.top < band) {
        Rect upper = area;
        upper.bottom = static_cast<std::int16_t>(std::min<int>(area.bottom, band));
        sink->Present(image, upper, at(area.left + d.viewOffsetH, area.top));
    }
    if (area.bottom > band) {
        Rect lower = area;
        lower.top = static_cast<std::int16_t>(std::max<int>(area.top, band));
        sink->Present(image, lower, at(area.left + d.viewOffsetH, lower.top + d.viewOffsetV));
    }
}

} // namespace qiva
