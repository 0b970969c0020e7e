#include "platform/present_convert.h"

#include <cstddef>

namespace platform {

void ConvertRect(const Frame& frame, PixelRect rect, std::uint32_t* out, int pitchBytes) {
    const int width = rect.right - rect.left;
    const std::uint32_t* palette = frame.palette;
    for (int y = rect.top; y < rect.bottom; ++y) {
        const std::uint8_t* src = frame.pixels + static_cast<std::ptrdiff_t>(y) * frame.rowBytes + rect.left;
        auto* dst = reinterpret_cast<std::uint32_t*>(reinterpret_cast<std::uint8_t*>(out) +
                                                     static_cast<std::ptrdiff_t>(y - rect.top) * pitchBytes);
        int x = 0;
        // Four at a time: the loads of the indices and of the palette interleave.
        for (; x + 4 <= width; x += 4) {
            const std::uint32_t a = palette[src[x]], b = palette[src[x + 1]], c = palette[src[x + 2]],
                                d = palette[src[x + 3]];
            dst[x] = a;
            dst[x + 1] = b;
            dst[x + 2] = c;
            dst[x + 3] = d;
        }
        for (; x < width; ++x)
            dst[x] = palette[src[x]];
    }
}

} // namespace platform
