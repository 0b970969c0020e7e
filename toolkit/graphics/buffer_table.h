#pragma once
// The buffer table: 8-bit images whose rows are a multiple of 4 bytes, registered under a buffer id
// (2 × slot + 1, below 2002) that a port keeps in portBits.baseAddr; and the template port (the
// screen port), whose buffer is the screen buffer. Only the accessors below read or write an id in
// a BitMap.

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

// The buffer id a BitMap's baseAddr holds (or the address of its pixels, for an image of its own).
std::uintptr_t BufferIdOf(const BitMap& bits);
// Makes bits name the buffer of that id (0: none).
void SetBufferId(BitMap& bits, std::uintptr_t id);

// The slot of a valid id whose slot is in use, else null.
const BufferSlot* LookUpBuffer(std::uintptr_t id);

// Row length of a buffer of that width: rounded up to a multiple of 4.
inline int BufferRowBytes(int width) {
    return (width + 3) & ~3;
}

// A new buffer of width × height zeroed pixels in the first free slot: its id, or 0 when the pixels
// (which says so in the error box) or a slot cannot be had.
std::uintptr_t NewBuffer(int width, int height);
void DisposeBuffer(std::uintptr_t id);
// Frees every buffer and the table.
void DisposeAllBuffers();

// The template port (the screen port) and the screen buffer's id; 0 before the screen is opened.
GrafPtr TemplatePort();
std::uintptr_t ScreenBufferId();
void SetScreenBufferId(std::uintptr_t id);

} // namespace qiva
