// The desktop: the settings' desktop picture drawn once into a buffer and tiled from there, or,
// without a picture, the desktop pattern in its two colours.

#include <span>

#include "toolkit/core/resources.h"
#include "toolkit/core/settings.h"
#include "toolkit/graphics/drawing_state.h"
#include "toolkit/graphics/pict_format.h"
#include "toolkit/graphics/quickdraw.h"
#include "toolkit/windows/wm_state.h"

namespace qiva {

namespace {

constexpr RGBColor kDeskFore{0x0000, 0x6000, 0x6000};
constexpr RGBColor kDeskBack{0x0000, 0x8000, 0x8000};
constexpr Pattern kDeskPattern{{0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA}};
bool tileTried = false;
Pattern deskPattern = kDeskPattern;
RGBColor deskFore = kDeskFore, deskBack = kDeskBack;

// Draws the picture into a buffer of its frame's size; nothing when there is none or it is damaged.
void LoadTile() {
    WindowManagerState& wm = WM();
    tileTried = true;
    Handle h = GetResource(MakeResType("PICT"), DesktopPicture());
    if (!h || !*h) return;
    pict::Header header;
    const auto bytes =
        std::span(reinterpret_cast<const std::uint8_t*>(*h), static_cast<std::size_t>(GetHandleSize(h)));
    if (pict::ReadHeader(bytes, header) != pict::Status::Ok) return;
    const int width = header.frame.right - header.frame.left, height = header.frame.bottom - header.frame.top;
    if (width <= 0 || height <= 0 || width > 2048 || height > 2048) return;
    GrafPtr saved;
    GetPort(&saved);
    if (NewBufferPort(&wm.tile, width, height)) {
        const Rect dst{0, 0, static_cast<std::int16_t>(height), static_cast<std::int16_t>(width)};
        DrawPicture(reinterpret_cast<PicHandle>(h), &dst);
        wm.hasTile = true;
        wm.tileWidth = static_cast<std::int16_t>(width);
        wm.tileHeight = static_cast<std::int16_t>(height);
    }
    SetPort(saved);
}

int FloorTo(int value, int step) {
    const int q = value / step;
    return (value % step != 0 && value < 0 ? q - 1 : q) * step;
}

} // namespace

void SetDesktopPattern(const Pattern& pattern, const RGBColor& fore, const RGBColor& back) {
    deskPattern = pattern;
    deskFore = fore;
    deskBack = back;
    if (!WM().started) return;
    SetEmptyRgn(WM().desktopRgn);
    RedrawPass();
}

void ResetDesktopPattern() {
    deskPattern = kDeskPattern;
    deskFore = kDeskFore;
    deskBack = kDeskBack;
}

void ForgetDesktopPicture() {
    WindowManagerState& wm = WM();
    if (wm.hasTile) DisposeBufferPort(&wm.tile);
    wm.tile = GrafPort{};
    wm.hasTile = false;
    tileTried = false;
}

void PaintDesktop(RgnHandle area) {
    if (EmptyRgn(area)) return;
    WindowManagerState& wm = WM();
    if (!tileTried) LoadTile();
    GrafPtr saved;
    GetPort(&saved);
    BeginDrawing();
    UseManagerPort(area);
    if (wm.hasTile) {
        const Rect box = (*area)->rgnBBox;
        const int tw = wm.tileWidth, th = wm.tileHeight;
        const Rect src{0, 0, static_cast<std::int16_t>(th), static_cast<std::int16_t>(tw)};
        for (int top = FloorTo(box.top, th); top < box.bottom; top += th)
            for (int left = FloorTo(box.left, tw); left < box.right; left += tw) {
                const Rect dst{static_cast<std::int16_t>(top), static_cast<std::int16_t>(left),
                               static_cast<std::int16_t>(top + th), static_cast<std::int16_t>(left + tw)};
                if (RectInRgn(&dst, area))
                    CopyBits(&wm.tile.portBits, &wm.port.portBits, &src, &dst, srcCopy, nullptr);
            }
    } else {
        RGBForeColor(&deskFore);
        RGBBackColor(&deskBack);
        FillRgn(area, &deskPattern);
    }
    EndDrawing();
    SetPort(saved);
}

} // namespace qiva
