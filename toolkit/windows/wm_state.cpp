#include "toolkit/windows/wm_state.h"

#include "toolkit/core/events.h"
#include "toolkit/graphics/buffers.h"
#include "toolkit/graphics/drawing_state.h"
#include "toolkit/graphics/quickdraw.h"

namespace qiva {

namespace {

WindowManagerState state;
WindowHooks hooks;

// The screen below the menu bar: the area windows and the desktop share.
void ComputeScreenRegion() {
    WindowManagerState& wm = state;
    Rect r = wm.port.portRect;
    r.top = static_cast<std::int16_t>(r.top + wm.menuBarHeight);
    RectRgn(wm.screenRgn, &r);
}

} // namespace

WindowManagerState& WM() {
    return state;
}

WindowHooks& WindowManagerHooks() {
    return hooks;
}

void EnsureWindowManager() {
    WindowManagerState& wm = state;
    if (wm.started) return;
    GrafPtr saved;
    GetPort(&saved);
    OpenPort(&wm.port);
    SetPort(saved);
    wm.desktopRgn = NewRgn();
    wm.screenRgn = NewRgn();
    wm.free = NewRgn();
    wm.newVis = NewRgn();
    wm.exposed = NewRgn();
    wm.part = NewRgn();
    wm.started = true;
    ComputeScreenRegion();
}

bool IsListedWindow(WindowPeek w) {
    for (WindowPeek p = state.windowList; p; p = p->nextWindow)
        if (p == w) return true;
    return false;
}

Rect GlobalContentRect(WindowPeek w) {
    Rect r = w->port.portRect;
    OffsetRect(&r, -w->port.portBits.bounds.left, -w->port.portBits.bounds.top);
    return r;
}

void UseManagerPort(RgnHandle area) {
    WindowManagerState& wm = state;
    SetPort(&wm.port);
    if (area)
        CopyRgn(area, wm.port.visRgn);
    else
        RectRgn(wm.port.visRgn, &wm.port.portRect);
    const Rect wide = {-32767, -32767, 32767, 32767};
    ClipRect(&wide);
    PenNormal();
    ForeColor(blackColor);
    BackColor(whiteColor);
    RecomputeClip();
}

void DrawWindowFrame(WindowPeek w, RgnHandle area, std::int32_t part) {
    if (!w->visible || !w->windowDefProc) return;
    WindowManagerState& wm = state;
    RgnHandle clip = wm.part;
    if (area)
        SectRgn(area, w->visPart, clip);
    else
        DiffRgn(w->visPart, w->contRgn, clip);
    if (EmptyRgn(clip)) return;
    GrafPtr saved;
    GetPort(&saved);
    BeginDrawing();
    UseManagerPort(clip);
    w->windowDefProc(wDraw, w, part);
    EndDrawing();
    SetPort(saved);
}

void CalcWindowRegions(WindowPeek w) {
    if (w->windowDefProc) w->windowDefProc(wCalcRgns, w, 0);
    if (!w->visible) SetEmptyRgn(w->strucRgn);
}

void CloseWindowManager() {
    WindowManagerState& wm = state;
    if (!wm.started) return;
    while (wm.windowList) {
        WindowPeek w = wm.windowList;
        // Records the caller owns stay with the caller; ours are freed.
        DisposeWindow(&w->port);
    }
    ForgetDesktopPicture();
    ResetDesktopPattern();
    GrafPtr current;
    GetPort(&current);
    if (current == &wm.port) SetPort(TemplatePort());
    ClosePort(&wm.port);
    for (RgnHandle r : {wm.desktopRgn, wm.screenRgn, wm.free, wm.newVis, wm.exposed, wm.part})
        DisposeRgn(r);
    wm = WindowManagerState{};
    hooks = WindowHooks{};
}

void SetMenuBarHeight(short height) {
    state.menuBarHeight = height;
    // The one height of the bar: the core asks for it when it maps the mouse under a scrolled view.
    Hooks().menuBarHeight = [] { return static_cast<std::int16_t>(GetMBarHeight()); };
    if (state.started) {
        ComputeScreenRegion();
        // The desktop gives up the strip to the bar, or takes it back.
        SectRgn(state.desktopRgn, state.screenRgn, state.desktopRgn);
        RedrawPass();
    }
}

} // namespace qiva

short GetMBarHeight() {
    return qiva::WM().menuBarHeight;
}
