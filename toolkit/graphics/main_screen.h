#pragma once
// The screen buffer shown in the shell's main window: the present sink over the platform, and the
// graphics step of the toolkit start-up that creates the window and sizes the screen after it.

#include "toolkit/graphics/present.h"

namespace qiva {

// Presents through the shell's main window (converting the palette to the platform's colours).
class WindowPresent : public PresentSink {
public:
    void Present(const ScreenImage& screen, const Rect& area, Point source) override;
};

// Creates the main window with its saved area and presents there; width and height are its client
// area, the size the screen takes. False when no window can be made.
bool OpenMainScreen(int& width, int& height);

} // namespace qiva
