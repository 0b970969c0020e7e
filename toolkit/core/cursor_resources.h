#pragma once
// GetCursor: 'CURS' resources, with the numbers of the system cursors turned into their selectors.

#include <cstdint>

#include "toolkit/core/cursor.h"

using CursPtr = Cursor*;
using CursHandle = CursPtr*;

// The 'CURS' resource of that number, or null when there is none or it is shorter than a cursor.
// For 0, 1, 2 and 4 (arrow, I-beam, cross, wait) the stored hot spot becomes h = 32767, v = the
// number, so that SetCursor shows the system cursor; every other number keeps the resource's image.
CursHandle GetCursor(std::int16_t cursorID);
