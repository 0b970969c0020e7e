#pragma once
// Where the help viewer's text column starts after a scroll request: keys, the scroll bar's arrows
// and page parts, and the mouse wheel. State-free.

#include <optional>

namespace qiva::help {

enum class Scroll { LineUp, LineDown, PageUp, PageDown, Home, End };

// Lines the wheel moves per notch.
constexpr int kWheelLines = 3;

// The largest first line: the one that fills the column with the last lines (0 when everything
// fits), or the last topic's title when that comes later, so that every topic can be shown from its
// title. `lastTopicLine` is -1 for none.
int LastTop(int lineCount, int visibleLines, int lastTopicLine = -1);

// The first visible line after `request`, kept within 0 .. `lastTop`. A page keeps one line of the
// page before in view, and moves at least one line.
int ScrollTop(int top, Scroll request, int visibleLines, int lastTop);

// After `notches` of the wheel (positive: away from the user, towards the start).
int WheelTop(int top, int notches, int lastTop);

// The request a key makes (the toolkit's characters of Page Up, Page Down, Home, End and the up
// and down arrows), or none.
std::optional<Scroll> ScrollForKey(int character);

} // namespace qiva::help
