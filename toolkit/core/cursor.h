#pragma once
// Cursors: system cursors selected by the 0x7FFF hot spot, 16 x 16 custom cursors, and the visibility
// count of HideCursor / ShowCursor.

#include <cstdint>

#include "toolkit/core/geometry.h"

// A cursor as stored in a 'CURS' resource: 16 rows of data and 16 of mask, each row two bytes in the
// stored (big-endian) order, then the hot spot, also big-endian. A record whose hot spot h is 0x7FFF
// names a system cursor by its v: 0 arrow, 1 I-beam, 2 cross, 4 wait.
struct Cursor {
    std::uint8_t data[32];
    std::uint8_t mask[32];
    Point hotSpot;
};

constexpr std::int16_t iBeamCursor = 1;
constexpr std::int16_t crossCursor = 2;
constexpr std::int16_t watchCursor = 4;

void SetCursor(const Cursor* crsr);
void InitCursor(); // the arrow, shown
void HideCursor();
void ShowCursor();

namespace qiva {

// The arrow (what 'CURS' 0 holds once resources are read; a system arrow until then).
void SetArrowCursor(const Cursor& arrow);
const Cursor& ArrowCursor();

// Sizing cursors the window manager asks for over a resizable front window's frame.
enum class FrameCursor : std::uint8_t { None, Horizontal, Vertical, Falling, Rising, Other };
using FrameCursorHook = FrameCursor (*)(Point mouse);
void SetFrameCursorHook(FrameCursorHook hook);
void SetTracking(bool tracking); // no sizing cursors while a drag is tracked

// What the shell does on a mouse move.
void UpdateCursorForMouse(Point mouse);

// The size of the platform's custom cursors (at least 16), from start-up step 6.
int CursorSize();
void SetUpCursorGeometry();
int CursorLevel();    // 0 shown, negative hidden
void ResetCursor();   // tests
void ReleaseCursor(); // at exit

} // namespace qiva
