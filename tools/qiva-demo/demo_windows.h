#pragma once
// The demo's windows: two overlapping document windows, "One" behind and "Two" in front, that can be
// dragged, brought forward, resized and closed; their contents are drawn through update events.

#include "toolkit/core/events.h"

// Starts the Window Manager; then the demo draws its background, and the windows open over it.
void DemoWindowsStart();
void DemoWindowsOpen();
// Handles the event if it concerns a window (true). Otherwise leaves the screen port current and
// clipped to the desktop, so that what the demo then draws stays behind the windows.
bool DemoWindowsEvent(const EventRecord& event);
