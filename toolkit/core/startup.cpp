#include "toolkit/core/startup.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/paths.h"
#include "toolkit/core/cursor.h"
#include "toolkit/core/events.h"
#include "toolkit/core/file_search.h"
#include "toolkit/core/keyboard_layout.h"
#include "toolkit/core/main_window.h"
#include "toolkit/core/memory.h"
#include "toolkit/core/message_log.h"
#include "toolkit/core/resources.h"
#include "toolkit/core/settings.h"
#include "toolkit/core/sound.h"

namespace qiva {
namespace {

bool started = false;
bool splashWanted = false;
std::string startDirectory;

void WriteLogAtExit() {
    WriteMessageLog(stdout);
}

void RestoreStartDirectory() {
    if (!startDirectory.empty()) platform::SetCurrentDirectory(startDirectory);
}

void CloseMainWindowAtExit() {
    CloseMainWindow();
}

void LoadArrowCursor() {
    Handle arrow = GetResource(MakeResType("CURS"), 0);
    if (!arrow || !*arrow || GetHandleSize(arrow) < 68) return;
    Cursor cursor;
    std::memcpy(&cursor, *arrow, 68);
    SetArrowCursor(cursor);
    SetCursor(&ArrowCursor());
}

} // namespace

bool ToolkitStarted() {
    return started;
}

void ResetStartup() {
    started = false;
    splashWanted = false;
}

void SetSplashWanted(bool wanted) {
    splashWanted = wanted;
}

bool TakeSplash() {
    const bool wanted = splashWanted;
    splashWanted = false;
    return wanted;
}

void ToolkitStartup(void (*setUpGraphics)()) {
    if (started) return;
    started = true;
    // The message log is written after every other exit step.
    std::atexit(&WriteLogAtExit);
    if (setUpGraphics) setUpGraphics();
    startDirectory = platform::CurrentDirectory();
    std::atexit(&RestoreStartDirectory);
    // Event positions come from GetMouse.
    Point mouse;
    GetMouse(&mouse);
    InitResourcePaths();
    OpenSystemResourceFiles();
    LoadArrowCursor();
    LoadKeyboardLayout();
    SetSoundVol(IniVolume());
    RereadSettingsAtActivation();
    std::atexit(&CloseMainWindowAtExit);
}

} // namespace qiva
