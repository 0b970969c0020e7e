#include "toolkit/core/cursor.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/platform.h"

namespace qiva {
namespace {

Cursor arrow{};
bool arrowIsSystem = true;
int level = 0;
int cursorSize = 32;
bool tracking = false;
FrameCursorHook frameHook = nullptr;

// The toolkit cursor: a system one or the planes of a custom one.
struct Current {
    bool system = true;
    platform::SystemCursor kind = platform::SystemCursor::Arrow;
    std::vector<std::uint8_t> andPlane, xorPlane;
    int hotX = 0, hotY = 0;
    bool operator==(const Current&) const = default;
};
Current current;
bool platformShowsCurrent = false; // false while a sizing cursor replaces it

std::int16_t Swap(std::int16_t v) {
    const auto u = static_cast<std::uint16_t>(v);
    return static_cast<std::int16_t>((u >> 8) | (u << 8));
}

void Apply(const Current& c) {
    platform::Backend& backend = platform::Current();
    if (c.system) {
        backend.SetSystemCursor(c.kind);
    } else {
        platform::CursorImage image;
        image.size = cursorSize;
        image.andPlane = c.andPlane.data();
        image.xorPlane = c.xorPlane.data();
        image.hotX = c.hotX;
        image.hotY = c.hotY;
        backend.SetCustomCursor(image);
    }
    platformShowsCurrent = true;
}

Current Convert(const Cursor& crsr) {
    Current c;
    // Records made by code carry the selector natively, records read from resources big-endian.
    const bool native = crsr.hotSpot.h == 0x7FFF, stored = Swap(crsr.hotSpot.h) == 0x7FFF;
    if (native || stored) {
        const std::int16_t selector = native ? crsr.hotSpot.v : Swap(crsr.hotSpot.v);
        c.kind = selector == iBeamCursor   ? platform::SystemCursor::IBeam
                 : selector == crossCursor ? platform::SystemCursor::Cross
                 : selector == watchCursor ? platform::SystemCursor::Wait
                                           : platform::SystemCursor::Arrow;
        return c;
    }
    // AND = NOT mask, XOR = mask XOR data, row by row in the stored byte order; the rest of the
    // system-sized planes is transparent.
    c.system = false;
    const int rowBytes = cursorSize / 8;
    c.andPlane.assign(static_cast<std::size_t>(rowBytes) * cursorSize, 0xFF);
    c.xorPlane.assign(c.andPlane.size(), 0);
    for (int row = 0; row < 16; ++row)
        for (int b = 0; b < 2; ++b) {
            const std::uint8_t data = crsr.data[row * 2 + b], mask = crsr.mask[row * 2 + b];
            c.andPlane[static_cast<std::size_t>(row * rowBytes + b)] = static_cast<std::uint8_t>(~mask);
            c.xorPlane[static_cast<std::size_t>(row * rowBytes + b)] = static_cast<std::uint8_t>(mask ^ data);
        }
    c.hotX = std::clamp<int>(Swap(crsr.hotSpot.h), 0, 15);
    c.hotY = std::clamp<int>(Swap(crsr.hotSpot.v), 0, 15);
    return c;
}

} // namespace

void SetArrowCursor(const Cursor& a) {
    arrow = a;
    arrowIsSystem = false;
}

const Cursor& ArrowCursor() {
    if (arrowIsSystem) {
        arrow = Cursor{};
        arrow.hotSpot = {0, 0x7FFF};
    }
    return arrow;
}

void SetFrameCursorHook(FrameCursorHook hook) {
    frameHook = hook;
}
void SetTracking(bool on) {
    tracking = on;
}

void UpdateCursorForMouse(Point mouse) {
    if (level < 0) return;
    const FrameCursor zone = (frameHook && !tracking) ? frameHook(mouse) : FrameCursor::None;
    if (zone == FrameCursor::None) {
        if (!platformShowsCurrent) Apply(current);
        return;
    }
    static const platform::SystemCursor kinds[] = {
        platform::SystemCursor::Arrow,        platform::SystemCursor::SizeHorizontal,
        platform::SystemCursor::SizeVertical, platform::SystemCursor::SizeFalling,
        platform::SystemCursor::SizeRising,   platform::SystemCursor::Hand};
    platform::Current().SetSystemCursor(kinds[static_cast<int>(zone)]);
    platformShowsCurrent = false;
}

int CursorSize() {
    return cursorSize;
}

void SetUpCursorGeometry() {
    cursorSize = std::max(16, platform::Current().CursorSize());
    cursorSize = (cursorSize + 7) / 8 * 8;
}

int CursorLevel() {
    return level;
}

void ResetCursor() {
    current = Current{};
    level = 0;
    tracking = false;
    frameHook = nullptr;
    arrowIsSystem = true;
    platformShowsCurrent = false;
}

void ReleaseCursor() {
    if (!current.system) {
        current = Current{};
        if (platform::HasBackend()) Apply(current);
    }
}

} // namespace qiva

using namespace qiva;

void SetCursor(const Cursor* crsr) {
    if (!crsr) return;
    Current next = Convert(*crsr);
    if (next == current && platformShowsCurrent) return;
    current = std::move(next);
    if (level >= 0) Apply(current);
}

void InitCursor() {
    SetCursor(&ArrowCursor());
    while (level < 0)
        ShowCursor();
}

void HideCursor() {
    if (--level == -1) platform::Current().ShowCursor(false);
}

void ShowCursor() {
    if (level >= 0) return;
    if (++level == 0) {
        platform::Current().ShowCursor(true);
        Apply(current);
    }
}
