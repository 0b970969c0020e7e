#include "toolkit/graphics/main_screen.h"

#include <cstdint>

#include "toolkit/core/error_box.h"
#include "toolkit/core/main_window.h"

namespace qiva {

void WindowPresent::Present(const ScreenImage& screen, const Rect& area, Point source) {
    std::uint32_t argb[256];
    for (int i = 0; i < 256; ++i) {
        const PaletteEntry& e = screen.palette[i];
        argb[i] = 0xFF000000u | (std::uint32_t{e.red} << 16) | (std::uint32_t{e.green} << 8) | e.blue;
    }
    // The window shows the whole screen, so the area comes from the same place in the buffer.
    const Rect from{source.v, source.h, static_cast<std::int16_t>(source.v + (area.bottom - area.top)),
                    static_cast<std::int16_t>(source.h + (area.right - area.left))};
    PresentScreen(screen.pixels, screen.rowBytes, screen.width, screen.height, argb, from);
}

bool OpenMainScreen(int& width, int& height) {
    static WindowPresent sink;
    Rect client{};
    if (!CreateMainWindow(&client)) {
        ShowErrorBox("Impossible de creer la fenetre principale");
        return false;
    }
    width = client.right - client.left;
    height = client.bottom - client.top;
    SetPresentSink(&sink);
    return true;
}

} // namespace qiva
