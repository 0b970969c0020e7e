#pragma once
// The colours of the window frames.

#include "toolkit/graphics/quickdraw_types.h"

namespace qiva::frame {

inline constexpr RGBColor kWhite{0xFFFF, 0xFFFF, 0xFFFF};
inline constexpr RGBColor kBlack{0, 0, 0};
inline constexpr RGBColor kLightGrey{0xC000, 0xC000, 0xC000};
inline constexpr RGBColor kMidGrey{0x8000, 0x8000, 0x8000}; // the light grey's components × 2 / 3
inline constexpr RGBColor kNavy{0, 0, 0x8000};

} // namespace qiva::frame
