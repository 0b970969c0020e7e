// Finding the control under a point and tracking the mouse in one.

#include "toolkit/controls/control_defs.h"
#include "toolkit/core/events.h"
#include "toolkit/graphics/quickdraw.h"
#include "toolkit/windows/windows.h"

using namespace qiva::controls;

std::int16_t FindControl(Point thePoint, WindowPtr window, ControlHandle* whichControl) {
    if (whichControl) *whichControl = nullptr;
    if (!window) return 0;
    for (auto c = static_cast<ControlHandle>(qiva::Peek(window)->controlList); c; c = (*c)->nextControl) {
        const auto part = static_cast<std::int16_t>(Send(c, testCntl, PackPoint(thePoint)));
        if (part != 0) {
            if (whichControl) *whichControl = c;
            return part;
        }
    }
    return 0;
}

std::int16_t TestControl(ControlHandle control, Point thePoint) {
    return static_cast<std::int16_t>(Send(control, testCntl, PackPoint(thePoint)));
}

namespace {

Point LocalMouse() {
    Point pt;
    GetMouse(&pt);
    GlobalToLocal(&pt);
    return pt;
}

} // namespace

std::int16_t TrackControl(ControlHandle control, Point startPt, ControlActionProcPtr action) {
    if (!control || !*control || (*control)->contrlHilite > 253) return 0;
    OwnerPort owner(control);
    // The part is read before the thumb moves: after the drag the start point may lie on a page.
    std::int16_t part = TestControl(control, startPt);
    if (Send(control, dragCntl, 1) == 0) {
        if (action == qiva::kUseControlAction) action = (*control)->contrlAction;
        int first = -1;
        bool shown = false;
        // One pass for a pointer position: the part first pressed shows pressed while the pointer
        // is on it; another part of the same control is passed over.
        auto pass = [&](Point pt) {
            part = TestControl(control, pt);
            if (first == -1) first = part;
            if (part != first && part != 0) return;
            if ((part != 0) != shown) {
                shown = !shown;
                if ((*control)->contrlHilite != part) {
                    (*control)->contrlHilite = static_cast<std::uint8_t>(part);
                    Redraw(control, part);
                }
            }
            if (action == qiva::kUseControlAction)
                Send(control, autoTrack, 0);
            else if (action)
                action(control, part);
        };
        // The start point first, so that a click whose release is already queued still counts.
        pass(startPt);
        while (Button())
            pass(LocalMouse());
        // The answer is the part under the pointer where the button came up, if it is the one pressed.
        part = TestControl(control, LocalMouse());
        if (part != first) part = 0;
    }
    Send(control, posCntl, 0);
    if ((*control)->contrlHilite != 0) {
        (*control)->contrlHilite = 0;
        Redraw(control, 0);
    }
    return part;
}
