#pragma once
// GetPicture: pictures kept as 'PICT' resources.

#include <cstdint>

#include "toolkit/graphics/pict_player.h"

// The 'PICT' resource of that number, or null when there is none. The handle stays the resource's.
PicHandle GetPicture(std::int16_t picID);
