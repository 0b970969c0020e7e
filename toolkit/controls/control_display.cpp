// Showing, hiding, highlighting, moving and sizing controls.

#include "toolkit/controls/control_defs.h"
#include "toolkit/graphics/quickdraw.h"
#include "toolkit/windows/windows.h"

using namespace qiva::controls;

namespace {

// Erases the control's rectangle in the background colour and leaves it to the next update.
void EraseAndInvalidate(ControlHandle c) {
    OwnerPort owner(c);
    GrafPtr port;
    GetPort(&port);
    const std::int32_t bk = port->bkColor, bkIndex = port->bkIndex;
    BackColor(224);
    const Rect r = (*c)->contrlRect;
    EraseRect(&r);
    InvalRect(&r);
    BackColor(bk);
    port->bkIndex = bkIndex;
}

} // namespace

void HideControl(ControlHandle control) {
    if (!control || !*control || !(*control)->contrlVis) return;
    (*control)->contrlVis = 0;
    EraseAndInvalidate(control);
}

void ShowControl(ControlHandle control) {
    if (!control || !*control || (*control)->contrlVis) return;
    (*control)->contrlVis = 255;
    Redraw(control, 0);
}

void Draw1Control(ControlHandle control) {
    if (control && *control && (*control)->contrlVis) Redraw(control, 0);
}

void DrawControls(WindowPtr window) {
    if (!window) return;
    for (auto c = static_cast<ControlHandle>(qiva::Peek(window)->controlList); c; c = (*c)->nextControl)
        if (RectInRgn(&(*c)->contrlRect, window->visRgn)) Draw1Control(c);
}

void HiliteControl(ControlHandle control, std::int16_t hiliteState) {
    if (!control || !*control) return;
    const auto state = static_cast<std::uint8_t>(hiliteState);
    if ((*control)->contrlHilite == state) return;
    (*control)->contrlHilite = state;
    Redraw(control, hiliteState);
}

namespace {

// Moves the rectangle's edges by the given amounts, erasing the old place and drawing at the new.
void Reshape(ControlHandle c, int dLeft, int dTop, int dRight, int dBottom) {
    const bool visible = (*c)->contrlVis != 0;
    if (visible) EraseAndInvalidate(c);
    Rect& r = (*c)->contrlRect;
    r.left = static_cast<std::int16_t>(r.left + dLeft);
    r.top = static_cast<std::int16_t>(r.top + dTop);
    r.right = static_cast<std::int16_t>(r.right + dRight);
    r.bottom = static_cast<std::int16_t>(r.bottom + dBottom);
    if (!visible) return;
    {
        OwnerPort owner(c);
        const Rect now = r;
        ValidRect(&now);
    }
    Redraw(c, 0);
}

} // namespace

void MoveControl(ControlHandle control, std::int16_t h, std::int16_t v) {
    if (!control || !*control) return;
    const Rect& r = (*control)->contrlRect;
    const int dh = h - r.left, dv = v - r.top;
    Reshape(control, dh, dv, dh, dv);
}

void SizeControl(ControlHandle control, std::int16_t w, std::int16_t h) {
    if (!control || !*control) return;
    const Rect& r = (*control)->contrlRect;
    const int dw = w - (r.right - r.left), dh = h - (r.bottom - r.top);
    if (dw == 0 && dh == 0) return;
    Reshape(control, 0, 0, dw, dh);
}
