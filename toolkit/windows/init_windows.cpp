// Starting the Window Manager: its regions and port, the hooks through which the core asks for
// update events, desk accessories, sizing cursors and redraws, and the desktop.

#include "toolkit/core/cursor.h"
#include "toolkit/core/events.h"
#include "toolkit/core/settings.h"
#include "toolkit/core/shell.h"
#include "toolkit/core/state_dump.h"
#include "toolkit/graphics/regions.h"
#include "toolkit/windows/desk_accessory.h"
#include "toolkit/windows/wm_state.h"

using namespace qiva;

void InitWindows() {
    // The menu bar may have been set up first; a new start keeps its height.
    const short bar = GetMBarHeight();
    CloseWindowManager();
    EnsureWindowManager();
    SetMenuBarHeight(bar);
    Hooks().windowNeedingUpdate = [] { return static_cast<void*>(WindowNeedingUpdate()); };
    Hooks().deskAccessoryEvent = &DeskAccessoryEvent;
    Shell().redrawAll = &RedrawAll;
    Shell().wheel = &DeskAccessoryWheel;
    SettingsApply().desktopPictureChanged = [] {
        ForgetDesktopPicture();
        SetEmptyRgn(WM().desktopRgn);
        RedrawPass();
    };
    SetFrameCursorHook(&FrameCursorFor);
    RegisterStateDump("windows", &WriteWindowLines);
    RedrawAll();
}
