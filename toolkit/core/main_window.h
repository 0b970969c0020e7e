#pragma once
// The shell's main window: a view of the toolkit's virtual screen, opened with the saved area and
// closed with the statistics saved.

#include <cstdint>

#include "toolkit/core/geometry.h"

namespace qiva {

// Creates the main window with the saved area (counting the run in the statistics) and gives its
// client rectangle; false if no window can be made. Called once, by the graphics layer's first use
// of the screen.
bool CreateMainWindow(Rect* clientRect);
// Saves the window area and the statistics, then closes the window (an exit step).
void CloseMainWindow();
bool MainWindowOpen();
// Forgets the window without closing it: the platform has released it (at exit, and tests).
void ForgetMainWindow();

// Shows `area` of the 8-bit screen (palette: 256 entries of 0xAARRGGBB) in the main window, paced to
// at most one present per 1/60 s.
void PresentScreen(const std::uint8_t* pixels, int rowBytes, int width, int height,
                   const std::uint32_t* palette, const Rect& area);

} // namespace qiva
