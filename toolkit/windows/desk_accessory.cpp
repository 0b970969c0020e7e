// The desk accessory hand-off and the system click.

#include "toolkit/windows/desk_accessory.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "toolkit/core/settings.h"
#include "toolkit/graphics/quickdraw.h"
#include "toolkit/windows/speed_test.h"
#include "toolkit/windows/window_defs.h"
#include "toolkit/windows/wm_state.h"

namespace qiva {

namespace {

std::vector<std::pair<WindowPtr, DeskAccessory*>> handlers;

bool IsDeskAccessoryWindow(WindowPtr window) {
    WindowPeek w = Peek(window);
    return w && IsListedWindow(w) && w->refCon < 0;
}

} // namespace

void SetDeskAccessory(WindowPtr window, DeskAccessory* handler) {
    std::erase_if(handlers, [&](const auto& entry) { return entry.first == window; });
    if (window && handler) handlers.emplace_back(window, handler);
}

DeskAccessory* DeskAccessoryOf(WindowPtr window) {
    if (!IsDeskAccessoryWindow(window)) return nullptr;
    for (const auto& [w, handler] : handlers)
        if (w == window) return handler;
    return nullptr;
}

bool DeskAccessoryEvent(EventRecord& event) {
    if (WindowManagerHooks().dialogueEvent && WindowManagerHooks().dialogueEvent(event)) return true;
    WindowPtr window = nullptr;
    switch (event.what) {
    case keyDown:
    case autoKey:
        window = FrontWindow();
        break;
    case updateEvt:
    case activateEvt:
        window = reinterpret_cast<WindowPtr>(event.message);
        break;
    default:
        return false;
    }
    DeskAccessory* handler = DeskAccessoryOf(window);
    if (!handler) return false;
    if (event.what == updateEvt) {
        BeginUpdate(window);
        handler->Event(window, event);
        EndUpdate(window);
    } else {
        handler->Event(window, event);
    }
    return true;
}

void DeskAccessoryWheel(Point where, int notches) {
    WindowPtr window = nullptr;
    FindWindow(where, &window);
    if (DeskAccessory* handler = DeskAccessoryOf(window)) handler->Wheel(window, notches);
}

} // namespace qiva

using namespace qiva;

void SystemClick(const EventRecord* theEvent, WindowPtr theWindow) {
    if (!theEvent) return;
    const Point where = theEvent->where;
    if (!theWindow) {
        // A right click on the desktop: the settings popup, or with Control the speed test (and
        // with Shift too the screen animation), after which the button must come up first.
        if (!(Input().buttons & 2)) return;
        if (theEvent->modifiers & cmdKey) {
            if (theEvent->modifiers & shiftKey)
                ScreenAnimation(where);
            else
                ShowSpeedTest();
            while (Button()) {
            }
        } else if (WindowManagerHooks().settingsPopup) {
            WindowManagerHooks().settingsPopup(where);
        }
        return;
    }
    WindowPeek w = Peek(theWindow);
    if (!IsListedWindow(w) || w->refCon >= 0 || !w->windowDefProc) return;
    if (FrontWindow() != theWindow) SelectWindow(theWindow);
    DeskAccessory* handler = DeskAccessoryOf(theWindow);
    const Rect& screen = WM().port.portRect;
    Rect limit = screen;
    limit.top = static_cast<std::int16_t>(limit.top + GetMBarHeight());
    InsetRect(&limit, 4, 4);
    switch (w->windowDefProc(wHit, w, PackPoint(where))) {
    case wInContent:
        if (handler) handler->Event(theWindow, *theEvent);
        break;
    case wInDrag:
        DragWindow(theWindow, where, &limit);
        break;
    case wInGoAway:
        if (TrackGoAway(theWindow, where)) {
            if (handler)
                handler->Close(theWindow);
            else
                CloseWindow(theWindow);
        }
        break;
    case wInGrow: {
        const Rect sizes{60, 80, screen.bottom, screen.right};
        if (const std::int32_t size = GrowWindow(theWindow, where, &sizes))
            SizeWindow(theWindow, static_cast<std::int16_t>(size & 0xFFFF),
                       static_cast<std::int16_t>(size >> 16), true);
        break;
    }
    case wInZoomIn:
    case wInZoomOut: {
        const std::int16_t part = static_cast<std::int16_t>(w->windowDefProc(wHit, w, PackPoint(where)) + 2);
        if (TrackBox(theWindow, where, part)) ZoomWindow(theWindow, part, true);
        break;
    }
    default:
        break;
    }
}
