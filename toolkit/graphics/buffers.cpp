#include "toolkit/graphics/buffers.h"

#include <cstring>
#include <new>

#include "toolkit/core/error_box.h"
#include "toolkit/core/memory.h"
#include "toolkit/graphics/drawing_state.h"
#include "toolkit/graphics/ports.h"
#include "toolkit/graphics/rect_utils.h"
#include "toolkit/graphics/regions.h"

namespace qiva {

namespace {

Handle gTable = nullptr; // BufferSlot records, one more whenever none is free
GrafPort gTemplate{};
std::uintptr_t gScreenId = 0;
bool gTemplateOpen = false;

int SlotCount() {
    return gTable ? static_cast<int>(GetHandleSize(gTable) / sizeof(BufferSlot)) : 0;
}
BufferSlot* Slots() {
    return gTable ? reinterpret_cast<BufferSlot*>(*gTable) : nullptr;
}

// The stand-in for a device-independent bitmap: zeroed pixels, 64-byte aligned rows.
void* AllocatePixels(int rowBytes, int height) {
    const std::size_t bytes = static_cast<std::size_t>(rowBytes) * static_cast<std::size_t>(height);
    void* p = ::operator new (bytes, std::align_val_t{64}, std::nothrow);
    if (p) std::memset(p, 0, bytes);
    return p;
}

void FreePixels(void* p) {
    if (p) ::operator delete (p, std::align_val_t{64});
}

// First free slot, or a new one at the end; -1 when the table cannot grow.
int TakeSlot() {
    const int n = SlotCount();
    for (int i = 0; i < n; ++i)
        if (!Slots()[i].inUse) return i;
    if (2 * n + 1 >= kMaxBufferId) return -1;
    if (gTable == nullptr) {
        gTable = NewHandle(sizeof(BufferSlot));
        if (gTable == nullptr) return -1;
    } else {
        SetHandleSize(gTable, static_cast<Size>((n + 1) * sizeof(BufferSlot)));
        if (MemError() != noErr) return -1;
    }
    Slots()[n] = BufferSlot{};
    return n;
}

} // namespace

const BufferSlot* LookUpBuffer(std::uintptr_t id) {
    if (id == 0 || (id & 1) == 0 || id >= kMaxBufferId) return nullptr;
    const auto slot = static_cast<int>((id - 1) / 2);
    if (slot >= SlotCount() || !Slots()[slot].inUse) return nullptr;
    return &Slots()[slot];
}

GrafPtr TemplatePort() {
    return &gTemplate;
}
std::uintptr_t ScreenBufferId() {
    return gScreenId;
}

void SelectBufferOf(GrafPtr port) {
    DrawingState& d = Drawing();
    const BufferSlot* slot = port ? LookUpBuffer(BufferIdOf(port->portBits)) : nullptr;
    if (slot == nullptr) slot = LookUpBuffer(gScreenId);
    if (slot == nullptr) {
        d.target = RasterTarget{};
        d.targetIsScreen = true;
        return;
    }
    d.target = RasterTarget{slot->base, slot->rowBytes, slot->width, slot->height};
    d.targetIsScreen = slot == LookUpBuffer(gScreenId);
}

bool OpenScreen(int width, int height) {
    // Making the template port makes it current; the caller's port stays current afterwards.
    const GrafPtr previous = Drawing().current == &gTemplate ? nullptr : Drawing().current;
    if (gTemplateOpen) {
        const BufferSlot* slot = LookUpBuffer(gScreenId);
        if (slot && slot->width == width && slot->height == height) return true;
        DisposeBufferPort(&gTemplate);
        gTemplateOpen = false;
        gScreenId = 0;
    }
    // The template is its own model while it is made: start from the classic defaults.
    gTemplate = GrafPort{};
    std::memset(gTemplate.bkPat.pat, 0x00, 8);
    std::memset(gTemplate.pnPat.pat, 0xFF, 8);
    std::memset(gTemplate.fillPat.pat, 0xFF, 8);
    gTemplate.pnSize = Point{1, 1};
    gTemplate.pnMode = patCopy;
    gTemplate.txMode = srcOr;
    gTemplate.fgColor = blackColor;
    gTemplate.bkColor = whiteColor;
    SetRect(&gTemplate.portRect, 0, 0, width, height);
    gTemplate.portBits.bounds = gTemplate.portRect;
    if (!NewBufferPort(&gTemplate, width, height)) return false;
    gTemplateOpen = true;
    gScreenId = BufferIdOf(gTemplate.portBits);
    qd.screenBits = gTemplate.portBits;
    if (previous != nullptr) {
        SetPort(nullptr);
        SetPort(previous); // selects the new screen buffer and recomputes the clip
    } else {
        // The template was selected before it became the screen: select it again as the screen, or
        // drawing in it would never be presented.
        SelectBufferOf(Drawing().current);
    }
    return true;
}

void CloseBuffers() {
    if (gTemplateOpen) DisposeBufferPort(&gTemplate);
    gTemplateOpen = false;
    gScreenId = 0;
    for (int i = 0; i < SlotCount(); ++i)
        if (Slots()[i].inUse) FreePixels(Slots()[i].bitmap);
    if (gTable) DisposeHandle(gTable);
    gTable = nullptr;
    Drawing().target = RasterTarget{};
}

} // namespace qiva

bool NewBufferPort(GrafPtr port, int width, int height) {
    using namespace qiva;
    if (port == nullptr) return false;
    OpenPort(port);
    const int rowBytes = BufferRowBytes(width);
    void* pixels = width > 0 && height > 0 && width <= 32767 && height <= 32767
                       ? AllocatePixels(rowBytes, height)
                       : nullptr;
    if (pixels == nullptr) {
        ShowErrorBox("Impossible d'allouer le tampon offscreen via WING");
        port->portBits.baseAddr = nullptr;
        return false;
    }
    const int slot = TakeSlot();
    if (slot < 0) {
        FreePixels(pixels);
        port->portBits.baseAddr = nullptr;
        return false;
    }
    Slots()[slot] = BufferSlot{1,
                               static_cast<std::uint16_t>(rowBytes),
                               pixels,
                               static_cast<std::uint8_t*>(pixels),
                               static_cast<std::int16_t>(width),
                               static_cast<std::int16_t>(height)};
    port->portBits.baseAddr = BufferIdPtr(static_cast<std::uintptr_t>(2 * slot + 1));
    SetRect(&port->portRect, 0, 0, width, height);
    port->portBits.bounds = port->portRect;
    port->portBits.rowBytes = static_cast<std::int16_t>(width | 0x8000);
    RectRgn(port->visRgn, &port->portRect);
    SelectBufferOf(port);
    if (Drawing().current == port) RecomputeClip();
    return true;
}

void DisposeBufferPort(GrafPtr port) {
    using namespace qiva;
    if (port == nullptr) return;
    if (Drawing().current == port) SetPort(nullptr);
    const std::uintptr_t id = BufferIdOf(port->portBits);
    if (const BufferSlot* slot = LookUpBuffer(id)) {
        BufferSlot& s = Slots()[(id - 1) / 2];
        (void)slot;
        FreePixels(s.bitmap);
        s = BufferSlot{};
        SelectBufferOf(Drawing().current);
    }
    ClosePort(port);
}
