// The system click: a click in a desk accessory's window or on the desktop's right button. A unit of
// its own, since it opens the speed test, which is itself a desk accessory.

#include "toolkit/core/events.h"
#include "toolkit/graphics/quickdraw.h"
#include "toolkit/windows/desk_accessory.h"
#include "toolkit/windows/speed_test.h"
#include "toolkit/windows/window_defs.h"
#include "toolkit/windows/wm_state.h"

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
