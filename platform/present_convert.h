#pragma once
// The present's inner loop: a rectangle of an 8-bit frame through its palette into 32-bit pixels.

#include <cstdint>

#include "platform/platform.h"

namespace platform {

// Converts `rect` (already inside the frame) into `out`, whose first pixel is the rectangle's
// top-left corner and whose rows are `pitchBytes` apart.
void ConvertRect(const Frame& frame, PixelRect rect, std::uint32_t* out, int pitchBytes);

} // namespace platform
