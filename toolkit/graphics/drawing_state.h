#pragma once
// The toolkit-wide drawing state: the current port and the buffer selected for it, the effective
// clip region with its band cache, the drawing bracket and the dirty rectangle of the screen
// buffer, and the rasterizer procedure table through which all pixels are written.

#include <cstddef>
#include <cstdint>

#include "toolkit/graphics/quickdraw_types.h"
#include "toolkit/graphics/raster.h"
#include "toolkit/graphics/region_bands.h"

namespace qiva {

// The rasterizer procedure table. Coordinates are buffer pixels; "inclusive" rectangles include
// their right and bottom edges. A region recorder saves the table and swaps spanFill.
struct RasterProcs {
    void (*openScreen)();
    void (*spanFill)(int left, int top, int right, int bottom, int rowOrigin, int colOrigin); // inclusive
    std::uint8_t (*getPixel)(int h, int v);
    std::size_t (*saveBlockSize)(int left, int top, int right, int bottom); // exclusive
    void (*saveBlock)(int left, int top, int right, int bottom, std::uint8_t* dst);
    void (*restoreBlock)(const std::uint8_t* src);
    void (*rowCopy)(int left, int top, int right, int dstLeft, int dstTop);
    void (*maskedCopy)(int left, int top, int right, int bottom, const std::uint8_t* src, int srcRowBytes,
                       std::uint8_t transparent); // inclusive
};

struct DrawingState {
    GrafPtr current = nullptr;
    RasterTarget target;        // the buffer selected for the current port
    bool targetIsScreen = true; // drawing there grows the dirty rectangle
    RgnHandle effectiveClip = nullptr;
    BandWalker clipWalker; // the band cache: the band found last, top 32766 when invalid
    Band clipBand{32766, 32766, nullptr, 0};
    int depth = 0;
    Rect dirty{0, 0, 0, 0};
    bool flushAtOnce = false;
    bool outputSuspended = false; // set while the Print Manager prints
    RasterProcs procs{};
    // The window's scrolled view of the screen buffer, kept by the Window Manager.
    int viewOffsetH = 0, viewOffsetV = 0, viewBandHeight = 0;
};

DrawingState& Drawing();

// The default entries of the procedure table.
RasterProcs DefaultRasterProcs();

// Begin-drawing and end-drawing: the outermost end flushes the dirty rectangle when the current
// port draws into the screen buffer.
void BeginDrawing();
void EndDrawing();

// Adds an inclusive buffer rectangle to the dirty rectangle when the target is the screen buffer.
void AddDirty(int left, int top, int right, int bottom);

// Copies the dirty rectangle of the screen buffer to the present sink and empties it; while output
// is suspended the area stays dirty for the next flush.
void FlushScreen();

// The clipped fill behind all shape code: an inclusive rectangle in buffer coordinates, cut by the
// effective clip region band by band and handed to the span fill.
void ClippedFill(int left, int top, int right, int bottom);
// The same cut for an image: source pixels of the rectangle's top-left at src.
void ClippedMaskedCopy(int left, int top, int right, int bottom, const std::uint8_t* src, int srcRowBytes,
                       std::uint8_t transparent);

// Recomputes the effective clip of the current port (visRgn ∩ clipRgn in buffer coordinates).
void RecomputeClip();
void InvalidateClipCache();

// Selects the buffer of the port (or the screen buffer) as the rasterizer's target.
void SelectBufferOf(GrafPtr port);

// The current port's bottleneck for one kind of drawing: its own procedure when its grafProcs has
// one, else the standard procedure.
template <typename Proc>
Proc PortProc(Proc QDProcs::*entry, Proc standard) {
    const GrafPtr port = Drawing().current;
    const QDProcs* procs = port != nullptr ? port->grafProcs : nullptr;
    return procs != nullptr && procs->*entry != nullptr ? procs->*entry : standard;
}

// The hilite background of the palette in use.
std::uint8_t HiliteBackground();

} // namespace qiva
