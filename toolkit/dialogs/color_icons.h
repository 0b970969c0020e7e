#pragma once
// Colour icons beyond the Toolbox calls of dialogs.h: the window frames' colour icon by number.

#include <cstdint>

#include "toolkit/core/geometry.h"

namespace qiva {

// GetCIcon, PlotCIcon and DisposeCIcon of icon `id` into `where` of the current port; nothing when
// there is no such icon.
void PlotColorIconNumber(std::int16_t id, const Rect& where);

} // namespace qiva
