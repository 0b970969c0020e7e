#pragma once
// Where the screen buffer goes when it is flushed. The graphics layer knows nothing of windows: it
// hands the screen buffer, the palette and the area to copy to a PresentSink. The platform's window
// implements one (converting the area through the palette to its texture); HeadlessPresent keeps the
// frames in memory for tests and scripted runs.

#include <cstdint>
#include <vector>

#include "toolkit/graphics/palette.h"
#include "toolkit/graphics/quickdraw_types.h"

namespace qiva {

struct ScreenImage {
    const std::uint8_t* pixels; // the screen buffer, top row first
    int rowBytes;
    int width;
    int height;
    const PaletteEntry* palette; // 256 entries
};

class PresentSink {
public:
    virtual ~PresentSink() = default;
    // Copies `area` of the window (window pixels, within the screen's size) from the screen
    // buffer, whose pixel (source.h, source.v) goes to the area's top-left corner.
    virtual void Present(const ScreenImage& screen, const Rect& area, Point source) = 0;
};

// The sink flushes go to; nullptr (the default) drops them.
void SetPresentSink(PresentSink* sink);
PresentSink* GetPresentSink();

// A window in memory: every present copies its area into `window` (palette indices, width × height)
// and is remembered.
class HeadlessPresent : public PresentSink {
public:
    struct Frame {
        Rect area;
        Point source;
    };
    void Present(const ScreenImage& screen, const Rect& area, Point source) override;
    int width = 0, height = 0;
    std::vector<std::uint8_t> window;
    std::vector<Frame> frames;
    std::uint8_t At(int h, int v) const { return window[static_cast<std::size_t>(v) * width + h]; }
};

} // namespace qiva
