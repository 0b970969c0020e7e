// Moving screen pixels exactly: a window that moves takes what it showed along, so that the redraw
// pass only has to draw what it newly uncovers.

#include <algorithm>
#include <cstring>
#include <vector>

#include "toolkit/graphics/buffers.h"
#include "toolkit/graphics/drawing_state.h"
#include "toolkit/graphics/quickdraw.h"
#include "toolkit/windows/wm_state.h"

namespace qiva {

void MoveScreenPixels(RgnHandle dst, int dh, int dv) {
    const BufferSlot* screen = LookUpBuffer(ScreenBufferId());
    if (!screen || EmptyRgn(dst)) return;
    const int width = screen->width, height = screen->height;
    // The source pixels are read first, so overlapping source and destination are safe.
    const Rect box = (*dst)->rgnBBox;
    const int left = std::max(0, box.left - dh), top = std::max(0, box.top - dv);
    const int right = std::min(width, box.right - dh), bottom = std::min(height, box.bottom - dv);
    if (left >= right || top >= bottom) return;
    const int copyWidth = right - left;
    std::vector<std::uint8_t> source(static_cast<std::size_t>(copyWidth) *
                                     static_cast<std::size_t>(bottom - top));
    for (int v = top; v < bottom; ++v)
        std::memcpy(&source[static_cast<std::size_t>(v - top) * copyWidth],
                    screen->base + v * screen->rowBytes + left, static_cast<std::size_t>(copyWidth));
    GrafPtr saved;
    GetPort(&saved);
    BeginDrawing();
    UseManagerPort(nullptr);
    BandWalker walker;
    walker.Start(*dst, RegionBytes(dst));
    Band band;
    while (walker.Next(band)) {
        for (int i = 0; i + 1 < band.count; i += 2) {
            // Destination pixels whose source lies off the screen are left for the redraw pass.
            const int x0 = std::max<int>(band.xs[i], left + dh),
                      x1 = std::min<int>(band.xs[i + 1], right + dh);
            const int y0 = std::max(band.top, top + dv), y1 = std::min(band.bottom, bottom + dv);
            if (x0 >= x1 || y0 >= y1) continue;
            for (int v = y0; v < y1; ++v)
                std::memcpy(screen->base + v * screen->rowBytes + x0,
                            &source[static_cast<std::size_t>(v - dv - top) * copyWidth + (x0 - dh - left)],
                            static_cast<std::size_t>(x1 - x0));
            AddDirty(x0, y0, x1 - 1, y1 - 1);
        }
    }
    EndDrawing();
    SetPort(saved);
}

} // namespace qiva

namespace qiva {

namespace {

template <typename Visit>
void ForEachScreenRect(RgnHandle area, int width, int height, Visit visit) {
    BandWalker walker;
    walker.Start(*area, RegionBytes(area));
    Band band;
    while (walker.Next(band)) {
        const int y0 = std::max(band.top, 0), y1 = std::min(band.bottom, height);
        if (y0 >= y1) continue;
        for (int i = 0; i + 1 < band.count; i += 2) {
            const int x0 = std::max<int>(band.xs[i], 0), x1 = std::min<int>(band.xs[i + 1], width);
            if (x0 < x1) visit(x0, y0, x1, y1);
        }
    }
}

} // namespace

void SaveScreenPixels(RgnHandle area, SavedPixels& saved) {
    saved.rects.clear();
    saved.bytes.clear();
    const BufferSlot* screen = LookUpBuffer(ScreenBufferId());
    if (!screen || EmptyRgn(area)) return;
    ForEachScreenRect(area, screen->width, screen->height, [&](int x0, int y0, int x1, int y1) {
        saved.rects.push_back(Rect{static_cast<std::int16_t>(y0), static_cast<std::int16_t>(x0),
                                   static_cast<std::int16_t>(y1), static_cast<std::int16_t>(x1)});
        for (int v = y0; v < y1; ++v)
            saved.bytes.insert(saved.bytes.end(), screen->base + v * screen->rowBytes + x0,
                               screen->base + v * screen->rowBytes + x1);
    });
}

void RestoreScreenPixels(SavedPixels& saved) {
    const BufferSlot* screen = LookUpBuffer(ScreenBufferId());
    if (!screen || saved.rects.empty()) return;
    GrafPtr port;
    GetPort(&port);
    BeginDrawing();
    UseManagerPort(nullptr);
    std::size_t at = 0;
    for (const Rect& r : saved.rects) {
        const int width = r.right - r.left;
        for (int v = r.top; v < r.bottom; ++v, at += static_cast<std::size_t>(width))
            std::memcpy(screen->base + v * screen->rowBytes + r.left, &saved.bytes[at],
                        static_cast<std::size_t>(width));
        AddDirty(r.left, r.top, r.right - 1, r.bottom - 1);
    }
    EndDrawing();
    SetPort(port);
    saved.rects.clear();
    saved.bytes.clear();
}

} // namespace qiva
