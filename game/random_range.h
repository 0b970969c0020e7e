#pragma once
// A value from lo to hi - 1 drawn from the toolkit's generator: lo + (unsigned 16-bit draw) * (hi - lo) /
// 65536.

#include <cstdint>

#include "toolkit/core/random.h"

namespace tolka {

inline std::int16_t RandomRange(int lo, int hi) {
    const auto draw = static_cast<std::uint16_t>(Random());
    return static_cast<std::int16_t>(lo + static_cast<std::int32_t>(draw) * (hi - lo) / 65536);
}

} // namespace tolka
