#pragma once
// The application shell: the process entry, the main window (a view of the toolkit's virtual screen),
// the pump step that turns one platform event into toolkit events, activation, close and quit, and
// the orderly end through exit() with the exit handlers in reverse order of registration.

#include <cstdint>
#include <string>

#include "toolkit/core/geometry.h"

namespace platform {
struct Event;
}

// Ends the program with status 0 (the exit handlers run).
[[noreturn]] void ExitToShell();

namespace qiva {

// Application hooks. The quit hook answers whether the program may close (default: yes); the
// activate and deactivate hooks whether the toolkit may exchange its scrap with the clipboard.
using ApplicationHook = bool (*)();
void SetQuitHook(ApplicationHook hook);
void SetActivateHook(ApplicationHook hook);
void SetDeactivateHook(ApplicationHook hook);

// Hooks of the toolkit's upper layers; each may be null until its layer exists.
struct ShellHooks {
    void (*redrawAll)() = nullptr;   // desktop and windows, after a resize
    void (*scrapExport)() = nullptr; // toolkit scrap to the clipboard (deactivation)
    void (*scrapImport)() = nullptr; // clipboard to the toolkit scrap (activation)
    // Menus: the centre of the title of the first menu whose key letter is `letter`.
    bool (*menuTitleCentre)(char letter, Point* centre) = nullptr;
    void (*releaseGraphics)() = nullptr; // offscreen buffers and the palette, at exit
};
ShellHooks& Shell();

// Runs the start-up steps, then `appMain`, then exits with status 0. Chooses the platform backend from
// the command line (see platform::InstallFromCommandLine). A second instance wakes the first and
// returns 0; a bad command line prints its error and returns 2.
int ShellMain(int argc, char** argv, const char* applicationName, void (*appMain)());

// The application's name: the window's title, the single-instance name, the statistics' section.
const std::string& ApplicationName();
void SetApplicationName(const std::string& name);

// One pump step: at most one platform event, the time tasks, then the quit and redraw flags.
void PumpStep();
// What the window procedure does with one platform event (the pump step calls it; tests too).
void HandlePlatformEvent(const platform::Event& event);

// Creates the main window with the saved area (counting the run in the statistics) and gives its
// client rectangle; false if no window can be made. Called once, by the graphics layer's first use
// of the screen.
bool CreateMainWindow(Rect* clientRect);
// Saves the window area and the statistics, then closes the window (an exit step).
void CloseMainWindow();
bool MainWindowOpen();

// Shows `area` of the 8-bit screen (palette: 256 entries of 0xAARRGGBB) in the main window, paced to
// at most one present per 1/60 s.
void PresentScreen(const std::uint8_t* pixels, int rowBytes, int width, int height,
                   const std::uint32_t* palette, const Rect& area);
// True inside ShellMain: the program runs on the shell (a window, the toolkit start-up), not in a test.
bool ShellRunning();

// The quit flag, set when the main window is to close; the next pump step ends the program.
bool QuitRequested();
// Forgets the shell's state (tests).
void ResetShell();

} // namespace qiva
