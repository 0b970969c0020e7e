#pragma once
// The Window Manager's global state, shared by its units.

#include <string>
#include <vector>

#include "toolkit/core/cursor.h"

#include "toolkit/windows/windows.h"

namespace qiva {

struct WindowManagerState {
    WindowPeek windowList = nullptr; // front-most first
    WindowPeek active = nullptr;
    RgnHandle desktopRgn = nullptr; // what the desktop shows now
    GrafPort port{};                // the whole screen in global coordinates: frames and desktop
    bool started = false;
    std::int16_t menuBarHeight = 0;
    // The desktop picture, drawn once into a buffer port and tiled from there.
    GrafPort tile{};
    bool hasTile = false;
    std::int16_t tileWidth = 0, tileHeight = 0;
    // The region every window and the desktop share: the screen below the menu bar.
    RgnHandle screenRgn = nullptr;
    // Scratch regions of the redraw pass, kept between passes.
    RgnHandle free = nullptr, newVis = nullptr, exposed = nullptr, part = nullptr;
    // Records NewWindow allocated (the others belong to their callers).
    std::vector<WindowPeek> owned;
};

WindowManagerState& WM();

// Starts the state on first use (a test may create windows without InitWindows).
void EnsureWindowManager();

// Whether a pointer names a window of the list.
bool IsListedWindow(WindowPeek w);

// Paints `area` (global) with the desktop picture tiled, or the desktop pattern.
void PaintDesktop(RgnHandle area);
// Puts back the default desktop pattern and colours.
void ResetDesktopPattern();
// Forgets the desktop picture's image (a new picture is read at the next paint).
void ForgetDesktopPicture();

// Moves the screen pixels of `dst` - (dh, dv) to `dst` exactly (no transparent colour).
void MoveScreenPixels(RgnHandle dst, int dh, int dv);

// Screen pixels under a drag outline, kept to be put back exactly.
struct SavedPixels {
    std::vector<Rect> rects;
    std::vector<std::uint8_t> bytes;
};
void SaveScreenPixels(RgnHandle area, SavedPixels& saved);
void RestoreScreenPixels(SavedPixels& saved); // and forgets them

// Frame drawing in the manager's port: the window's frame (or the box named by `part`) clipped
// to `area` (global); null area: the window's visible part less its content.
void DrawWindowFrame(WindowPeek w, RgnHandle area, std::int32_t part = 0);

// Recomputes the window's regions through its definition procedure (empty structure when hidden).
void CalcWindowRegions(WindowPeek w);

// The sizing cursor over the front window's frame (the cursor hook).
FrameCursor FrameCursorFor(Point mouse);
// The windows' lines of the state dump.
void WriteWindowLines(std::string& out);

// The manager's port, current, with `area` as what it may draw on.
void UseManagerPort(RgnHandle area);

} // namespace qiva
