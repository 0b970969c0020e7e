#pragma once
// The application shell: the process entry, the pump step that turns one platform event into toolkit
// events (the window procedure), activation, close and quit, and the orderly end through exit() with
// the exit handlers in reverse order of registration. The main window is toolkit/core/main_window.h.

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

// What the window procedure hands to the toolkit's upper layers; each may be null until its layer
// exists.
struct ShellHooks {
    void (*redrawAll)() = nullptr;   // desktop and windows, after a resize
    void (*scrapExport)() = nullptr; // toolkit scrap to the clipboard (deactivation)
    void (*scrapImport)() = nullptr; // clipboard to the toolkit scrap (activation)
    // Menus: the centre of the title of the first menu whose key letter is `letter`.
    bool (*menuTitleCentre)(char letter, Point* centre) = nullptr;
    void (*releaseGraphics)() = nullptr; // offscreen buffers and the palette, at exit
    // The mouse wheel turned `notches` (positive away from the user) with the pointer at `where`
    // (global coordinates): the Window Manager hands it to the desk accessory there.
    void (*wheel)(Point where, int notches) = nullptr;
};
ShellHooks& Shell();

// Runs the start-up steps, then `appMain`, then exits with status 0. Chooses the platform backend from
// the command line (see platform::InstallFromCommandLine). A second instance wakes the first and
// returns 0; a bad command line prints its error and returns 2. With --help (or -h) it prints `usage`
// (the program's own lines) and the options every program on the shell takes, and returns 0 having
// started nothing.
int ShellMain(int argc, char** argv, const char* applicationName, void (*appMain)(),
              const char* usage = nullptr);
// The --help text: a usage line for `program`, `usage`, the shell's options and the script lines.
std::string ShellUsage(const char* program, const char* usage);

// The error box of a started application: the error sound when a person is there, then the
// stop-icon box of the platform.
void PlatformErrorBox(const std::string& message);

// One pump step: at most one platform event, the time tasks, then the quit and redraw flags.
void PumpStep();
// What the window procedure does with one platform event (the pump step calls it; tests too).
void HandlePlatformEvent(const platform::Event& event);

// The quit flag, set when the main window is to close; the next pump step ends the program.
bool QuitRequested();
// Forgets the shell's state, the main window and the application's name (tests).
void ResetShell();

} // namespace qiva
