#include "toolkit/graphics/buffer_table.h"

#include <cstring>
#include <new>

#include "toolkit/core/error_box.h"
#include "toolkit/core/memory.h"

namespace qiva {

namespace {

Handle gTable = nullptr; // BufferSlot records, one more whenever none is free
GrafPort gTemplate{};
std::uintptr_t gScreenId = 0;

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

std::uintptr_t BufferIdOf(const BitMap& bits) {
    return reinterpret_cast<std::uintptr_t>(bits.baseAddr);
}

void SetBufferId(BitMap& bits, std::uintptr_t id) {
    bits.baseAddr = reinterpret_cast<Ptr>(id);
}

const BufferSlot* LookUpBuffer(std::uintptr_t id) {
    if (id == 0 || (id & 1) == 0 || id >= kMaxBufferId) return nullptr;
    const auto slot = static_cast<int>((id - 1) / 2);
    if (slot >= SlotCount() || !Slots()[slot].inUse) return nullptr;
    return &Slots()[slot];
}

std::uintptr_t NewBuffer(int width, int height) {
    const int rowBytes = BufferRowBytes(width);
    void* pixels = width > 0 && height > 0 && width <= 32767 && height <= 32767
                       ? AllocatePixels(rowBytes, height)
                       : nullptr;
    if (pixels == nullptr) {
        ShowErrorBox("Impossible d'allouer le tampon offscreen via WING");
        return 0;
    }
    const int slot = TakeSlot();
    if (slot < 0) {
        FreePixels(pixels);
        return 0;
    }
    Slots()[slot] = BufferSlot{1,
                               static_cast<std::uint16_t>(rowBytes),
                               pixels,
                               static_cast<std::uint8_t*>(pixels),
                               static_cast<std::int16_t>(width),
                               static_cast<std::int16_t>(height)};
    return static_cast<std::uintptr_t>(2 * slot + 1);
}

void DisposeBuffer(std::uintptr_t id) {
    if (LookUpBuffer(id) == nullptr) return;
    BufferSlot& s = Slots()[(id - 1) / 2];
    FreePixels(s.bitmap);
    s = BufferSlot{};
}

void DisposeAllBuffers() {
    for (int i = 0; i < SlotCount(); ++i)
        if (Slots()[i].inUse) FreePixels(Slots()[i].bitmap);
    if (gTable) DisposeHandle(gTable);
    gTable = nullptr;
}

GrafPtr TemplatePort() {
    return &gTemplate;
}
std::uintptr_t ScreenBufferId() {
    return gScreenId;
}
void SetScreenBufferId(std::uintptr_t id) {
    gScreenId = id;
}

} // namespace qiva
