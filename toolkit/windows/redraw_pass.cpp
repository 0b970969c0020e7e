// The redraw pass: windows front to back share out the screen; each draws only the part of it that
// was not visible before (content erased and added to the update region, frame drawn), and the
// desktop paints what no window covers and it did not show yet.

#include "toolkit/graphics/drawing_state.h"
#include "toolkit/graphics/quickdraw.h"
#include "toolkit/windows/wm_state.h"

namespace qiva {

namespace {

void EraseContent(WindowPeek w, RgnHandle area) {
    UseManagerPort(area);
    BackColor(w->contentColor);
    BackPat(&qd.white);
    EraseRgn(area);
    UnionRgn(w->updateRgn, area, w->updateRgn);
}

} // namespace

void RedrawPass() {
    EnsureWindowManager();
    WindowManagerState& wm = WM();
    GrafPtr saved;
    GetPort(&saved);
    BeginDrawing();
    CopyRgn(wm.screenRgn, wm.free);
    for (WindowPeek w = wm.windowList; w; w = w->nextWindow) {
        if (!w->visible) {
            SetEmptyRgn(w->visPart);
            SetEmptyRgn(w->port.visRgn);
            continue;
        }
        SectRgn(w->strucRgn, wm.free, wm.newVis);
        DiffRgn(wm.newVis, w->visPart, wm.exposed);
        CopyRgn(wm.newVis, w->visPart);
        SectRgn(w->contRgn, wm.free, w->port.visRgn);
        OffsetRgn(w->port.visRgn, w->port.portBits.bounds.left, w->port.portBits.bounds.top);
        if (!EmptyRgn(wm.exposed)) {
            SectRgn(wm.exposed, w->contRgn, wm.newVis);
            if (!EmptyRgn(wm.newVis)) EraseContent(w, wm.newVis);
            DiffRgn(wm.exposed, w->contRgn, wm.newVis);
            if (!EmptyRgn(wm.newVis)) DrawWindowFrame(w, wm.newVis);
        }
        DiffRgn(wm.free, w->strucRgn, wm.free);
    }
    DiffRgn(wm.free, wm.desktopRgn, wm.exposed);
    PaintDesktop(wm.exposed);
    CopyRgn(wm.free, wm.desktopRgn);
    EndDrawing();
    SetPort(saved);
    // A window's visible region may have changed under its current port.
    if (saved) RecomputeClip();
}

void RedrawAll() {
    EnsureWindowManager();
    WindowManagerState& wm = WM();
    for (WindowPeek w = wm.windowList; w; w = w->nextWindow)
        SetEmptyRgn(w->visPart);
    SetEmptyRgn(wm.desktopRgn);
    RedrawPass();
}

RgnHandle DesktopRegion() {
    EnsureWindowManager();
    return WM().desktopRgn;
}

void SetWindowContentColor(WindowPtr window, std::int16_t colour) {
    WindowPeek w = Peek(window);
    if (!w || !IsListedWindow(w)) return;
    w->contentColor = colour;
    w->contentColor2 = colour;
    if (!w->visible) return;
    WindowManagerState& wm = WM();
    SectRgn(w->visPart, w->contRgn, wm.exposed);
    GrafPtr saved;
    GetPort(&saved);
    BeginDrawing();
    EraseContent(w, wm.exposed);
    EndDrawing();
    SetPort(saved);
    UnionRgn(w->updateRgn, w->contRgn, w->updateRgn);
}

WindowPtr WindowNeedingUpdate() {
    for (WindowPeek w = WM().windowList; w; w = w->nextWindow)
        if (w->visible && !EmptyRgn(w->updateRgn)) return &w->port;
    return nullptr;
}

} // namespace qiva
