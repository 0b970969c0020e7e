#pragma once
// The toolkit start-up: run once, by the first InitGraf of a program on the shell, before the other
// managers' Init routines. The steps of the layers above the graphics belong to their own Init
// routines (InitWindows makes the window manager's regions), which the application calls after it.

namespace qiva {

// The steps in their order: the message log's output at exit; the graphics step that InitGraf passes
// in; the start-up directory made current again at exit; the mouse read once; the system directory
// found and WLANG.RSR and WINIT.RSR opened; the arrow cursor ('CURS' 0) and the keyboard layout
// ('KCHR' 1); the sound volume; the settings read as at an activation; the main window's close at
// exit. Does its work on the first call only.
void ToolkitStartup(void (*setUpGraphics)());
bool ToolkitStarted();
// Forgets that the start-up ran (tests).
void ResetStartup();

// The start-up panel's flag: on when a person runs the program (the shell sets it from the backend;
// a scripted run, whose first events are the script's, goes without). TakeSplash answers it once.
void SetSplashWanted(bool wanted);
bool TakeSplash();

} // namespace qiva
