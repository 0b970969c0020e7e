#include "toolkit/graphics/present.h"

#include <algorithm>
#include <cstring>

namespace qiva {

namespace {
PresentSink* gSink = nullptr;
}

void SetPresentSink(PresentSink* sink) {
    gSink = sink;
}
PresentSink* GetPresentSink() {
    return gSink;
}

void HeadlessPresent::Present(const ScreenImage& screen, const Rect& area, Point source) {
    if (width != screen.width || height != screen.height) {
        width = screen.width;
        height = screen.height;
        window.assign(static_cast<std::size_t>(width) * height, 0);
    }
    frames.push_back({area, source});
    const int left = std::max<int>(area.left, 0), top = std::max<int>(area.top, 0);
    const int right = std::min<int>(area.right, width), bottom = std::min<int>(area.bottom, height);
    for (int v = top; v < bottom; ++v) {
        const int sv = source.v + (v - area.top);
        if (sv < 0 || sv >= screen.height) continue;
        for (int h = left; h < right; ++h) {
            const int sh = source.h + (h - area.left);
            if (sh < 0 || sh >= screen.width) continue;
            window[static_cast<std::size_t>(v) * width + h] =
                screen.pixels[static_cast<std::size_t>(sv) * screen.rowBytes + sh];
        }
    }
}

} // namespace qiva
