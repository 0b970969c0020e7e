#pragma once
// Where the help viewer's text column starts after a scroll request: keys, the scroll bar's arrows
// and page parts, and the mouse wheel. State-free.

#include <optional>

namespace qiva::help {

enum class Scroll { LineUp, LineDown, PageUp, PageDown, Home, End };

// Lines the wheel moves per notch.
constexpr int kWheelLines = 3;

// The largest first line that still fills the column: 0 when everything fits.
int LastTop(int lineCount, int visibleLines);

// The first visible line after `request`, kept within 0 .. LastTop. A page keeps one line of the
// page before in view, and moves at least one line.
int ScrollTop(int top, Scroll request, int visibleLines, int lineCount);

// After `notches` of the wheel (positive: away from the user, towards the start).
int WheelTop(int top, int notches, int visibleLines, int lineCount);

// The request a key makes (the toolkit's characters of Page Up, Page Down, Home, End and the up
// and down arrows), or none.
std::optional<Scroll> ScrollForKey(int character);

} // namespace qiva::help
