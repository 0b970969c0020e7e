// Update regions: what the application is asked to draw, in global coordinates; the calls take
// the current port's local coordinates.

#include "toolkit/graphics/drawing_state.h"
#include "toolkit/graphics/quickdraw.h"
#include "toolkit/windows/wm_state.h"

using namespace qiva;

namespace {

RgnHandle savedVis = nullptr;

// The current port when it is a window of the list.
WindowPeek CurrentWindow() {
    GrafPtr port;
    GetPort(&port);
    WindowPeek w = Peek(port);
    return w && IsListedWindow(w) ? w : nullptr;
}

void RefreshClip(WindowPtr window) {
    GrafPtr port;
    GetPort(&port);
    if (port == window) RecomputeClip();
}

// Adds (or removes) a local region of the current window to its update region.
void ChangeUpdate(RgnHandle local, bool add) {
    WindowPeek w = CurrentWindow();
    if (!w || !local) return;
    RgnHandle global = NewRgn();
    CopyRgn(local, global);
    OffsetRgn(global, -w->port.portBits.bounds.left, -w->port.portBits.bounds.top);
    if (add)
        UnionRgn(w->updateRgn, global, w->updateRgn);
    else
        DiffRgn(w->updateRgn, global, w->updateRgn);
    DisposeRgn(global);
}

void ChangeUpdate(const Rect* local, bool add) {
    if (!local) return;
    RgnHandle r = NewRgn();
    RectRgn(r, local);
    ChangeUpdate(r, add);
    DisposeRgn(r);
}

} // namespace

void BeginUpdate(WindowPtr window) {
    WindowPeek w = Peek(window);
    if (!w || !IsListedWindow(w)) return;
    if (!savedVis) savedVis = NewRgn();
    CopyRgn(w->port.visRgn, savedVis);
    RgnHandle local = NewRgn();
    CopyRgn(w->updateRgn, local);
    OffsetRgn(local, w->port.portBits.bounds.left, w->port.portBits.bounds.top);
    SectRgn(w->port.visRgn, local, w->port.visRgn);
    DisposeRgn(local);
    SetEmptyRgn(w->updateRgn);
    RefreshClip(window);
}

void EndUpdate(WindowPtr window) {
    WindowPeek w = Peek(window);
    if (!w || !IsListedWindow(w) || !savedVis) return;
    CopyRgn(savedVis, w->port.visRgn);
    RefreshClip(window);
}

void InvalRect(const Rect* badRect) {
    ChangeUpdate(badRect, true);
}

void InvalRgn(RgnHandle badRgn) {
    ChangeUpdate(badRgn, true);
}

void ValidRect(const Rect* goodRect) {
    ChangeUpdate(goodRect, false);
}

void ValidRgn(RgnHandle goodRgn) {
    ChangeUpdate(goodRgn, false);
}
