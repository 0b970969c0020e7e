#pragma once
// Offscreen buffers: 8-bit images whose rows are a multiple of 4 bytes, registered in the buffer
// table under a buffer id (2 × slot + 1, below 2002) that a port keeps in portBits.baseAddr. One of
// them, the screen buffer, belongs to the template port and mirrors the window.

#include <cstdint>

#include "toolkit/graphics/quickdraw_types.h"

namespace qiva {

struct BufferSlot {
    std::uint8_t inUse;
    std::uint16_t rowBytes;
    void* bitmap; // the allocation behind base
    std::uint8_t* base;
    std::int16_t width;
    std::int16_t height;
};

inline constexpr int kMaxBufferId = 2002;

// The id a BitMap's baseAddr holds.
inline std::uintptr_t BufferIdOf(const BitMap& bits) {
    return reinterpret_cast<std::uintptr_t>(bits.baseAddr);
}
inline Ptr BufferIdPtr(std::uintptr_t id) {
    return reinterpret_cast<Ptr>(id);
}

// The slot of a valid id whose slot is in use, else null.
const BufferSlot* LookUpBuffer(std::uintptr_t id);

// Row length of a buffer of that width: rounded up to a multiple of 4.
inline int BufferRowBytes(int width) {
    return (width + 3) & ~3;
}

// The template port (the screen port) and the screen buffer's id; 0 before OpenScreen.
GrafPtr TemplatePort();
std::uintptr_t ScreenBufferId();

// Creates the screen buffer and the template port of that size (or recreates them when the size
// changes); false when the buffer cannot be made.
bool OpenScreen(int width, int height);
// Frees every buffer and the tables (the end of the graphics layer).
void CloseBuffers();

// Selects the buffer of the port (or the screen buffer) as the rasterizer's target.
void SelectBufferOf(GrafPtr port);

} // namespace qiva

// Opens the port on a new buffer of width × height pixels (contents 0), makes it current.
bool NewBufferPort(GrafPtr port, int width, int height);
void DisposeBufferPort(GrafPtr port);
