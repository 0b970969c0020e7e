// Making and disposing windows, and the front-to-back list: activation, visibility and order.

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "toolkit/core/error_box.h"
#include "toolkit/core/memory.h"
#include "toolkit/graphics/buffers.h"
#include "toolkit/graphics/drawing_state.h"
#include "toolkit/graphics/quickdraw.h"
#include "toolkit/windows/desk_accessory.h"
#include "toolkit/windows/window_defs.h"
#include "toolkit/windows/wm_state.h"

using namespace qiva;

namespace {

WindowPtr const kInFront = reinterpret_cast<WindowPtr>(-1);

void Unlink(WindowPeek w) {
    WindowPeek* link = &WM().windowList;
    while (*link && *link != w)
        link = &(*link)->nextWindow;
    if (*link) *link = w->nextWindow;
    w->nextWindow = nullptr;
}

void LinkAtFront(WindowPeek w) {
    w->nextWindow = WM().windowList;
    WM().windowList = w;
}

void LinkAfter(WindowPeek w, WindowPeek after) {
    if (!after) {
        WindowPeek* link = &WM().windowList;
        while (*link)
            link = &(*link)->nextWindow;
        *link = w;
        w->nextWindow = nullptr;
        return;
    }
    w->nextWindow = after->nextWindow;
    after->nextWindow = w;
}

char* CopyTitle(const char* title) {
    const std::size_t length = title ? std::min<std::size_t>(std::strlen(title), 255) : 0;
    char* copy = NewPtr(static_cast<Size>(length + 1));
    if (copy) {
        if (length) std::memcpy(copy, title, length);
        copy[length] = 0;
    }
    return copy;
}

// The window manager's choice of the next active window after the active one went away.
void ActivateFront() {
    if (WindowPtr front = FrontWindow()) SelectWindow(front);
}

} // namespace

WindowPtr NewWindow(void* wStorage, const Rect* boundsRect, const char* title, Boolean visible,
                    std::int16_t procID, WindowPtr behind, Boolean goAwayFlag, std::int32_t refCon) {
    EnsureWindowManager();
    const WindowDefProc def = DefProcForType(procID);
    if (!def) {
        char message[64];
        std::snprintf(message, sizeof message, "NEW WINDOW: Type (%d) non implémenté", procID);
        ShowErrorBox(message);
        return nullptr;
    }
    if (!boundsRect) return nullptr;
    WindowPeek w = static_cast<WindowPeek>(wStorage);
    if (!w) {
        w = reinterpret_cast<WindowPeek>(NewPtrClear(sizeof(WindowRecord)));
        if (!w) return nullptr;
        WM().owned.push_back(w);
    } else {
        *w = WindowRecord{};
    }
    GrafPtr saved;
    GetPort(&saved);
    OpenPort(&w->port);
    const Rect& screen = WM().port.portBits.bounds;
    const int width = boundsRect->right - boundsRect->left, height = boundsRect->bottom - boundsRect->top;
    SetRect(&w->port.portRect, 0, 0, width, height);
    SetRect(&w->port.portBits.bounds, screen.left - boundsRect->left, screen.top - boundsRect->top,
            screen.right - boundsRect->left, screen.bottom - boundsRect->top);
    SetEmptyRgn(w->port.visRgn);
    SetPort(saved);
    w->titleText = CopyTitle(title);
    w->windowKind = userKind;
    w->visible = visible;
    w->goAwayFlag = goAwayFlag;
    w->refCon = refCon;
    w->procID = procID;
    w->strucRgn = NewRgn();
    w->contRgn = NewRgn();
    w->updateRgn = NewRgn();
    w->visPart = NewRgn();
    w->windowDefProc = def;
    w->contentColor = whiteColor;
    w->contentColor2 = whiteColor;
    w->iconID = kNoWindowIcon;
    w->colorIconID = kNoColorIcon;
    if (!WM().windowList || behind == kInFront)
        LinkAtFront(w);
    else if (!behind)
        LinkAfter(w, nullptr); // at the back
    else if (IsListedWindow(Peek(behind)))
        LinkAfter(w, Peek(behind));
    else
        LinkAtFront(w);
    def(wNew, w, 0);
    CalcWindowRegions(w);
    // A visible window made in front of the others becomes the active one.
    if (visible && FrontWindow() == &w->port) SelectWindow(&w->port);
    RedrawPass();
    return &w->port;
}

void CloseWindow(WindowPtr window) {
    WindowPeek w = Peek(window);
    if (!w || !IsListedWindow(w)) return;
    if (PendingDeactivation() == window) SetPendingActivation(nullptr, PendingActivation());
    if (PendingActivation() == window) SetPendingActivation(PendingDeactivation(), nullptr);
    if (WindowManagerHooks().disposeControls) WindowManagerHooks().disposeControls(window);
    ForgetDeskAccessory(window);
    const bool wasActive = WM().active == w;
    if (wasActive) WM().active = nullptr;
    Unlink(w);
    if (w->windowDefProc) w->windowDefProc(wDispose, w, 0);
    for (RgnHandle* r : {&w->strucRgn, &w->contRgn, &w->updateRgn, &w->visPart}) {
        DisposeRgn(*r);
        *r = nullptr;
    }
    DisposePtr(w->titleText);
    w->titleText = nullptr;
    GrafPtr current;
    GetPort(&current);
    ClosePort(&w->port);
    if (current == window) SetPort(TemplatePort());
    RedrawPass();
    if (wasActive) ActivateFront();
}

void DisposeWindow(WindowPtr window) {
    WindowPeek w = Peek(window);
    if (!w || !IsListedWindow(w)) return;
    CloseWindow(window);
    auto& owned = WM().owned;
    if (auto it = std::find(owned.begin(), owned.end(), w); it != owned.end()) {
        owned.erase(it);
        DisposePtr(reinterpret_cast<Ptr>(w));
    }
}

WindowPtr FrontWindow() {
    for (WindowPeek w = WM().windowList; w; w = w->nextWindow)
        if (w->visible) return &w->port;
    return nullptr;
}

WindowPeek GetWindowList() {
    return WM().windowList;
}

void SelectWindow(WindowPtr window) {
    WindowPeek w = Peek(window);
    if (!w || !IsListedWindow(w)) return;
    WindowPeek old = WM().active;
    if (old == w) {
        if (WM().windowList != w) BringToFront(window);
        return;
    }
    WM().active = w;
    HiliteWindow(window, true);
    if (WM().windowList != w) {
        Unlink(w);
        LinkAtFront(w);
        RedrawPass();
    }
    if (old && IsListedWindow(old)) HiliteWindow(&old->port, false);
}

void HiliteWindow(WindowPtr window, Boolean fHilite) {
    WindowPeek w = Peek(window);
    if (!w || !IsListedWindow(w) || w->hilited == fHilite) return;
    w->hilited = fHilite;
    DrawWindowFrame(w, nullptr);
    if (fHilite) {
        SetPendingActivation(PendingDeactivation() == window ? nullptr : PendingDeactivation(), window);
    } else if (PendingActivation() == window) {
        // Activated and deactivated before the application heard of either: nothing to tell.
        SetPendingActivation(PendingDeactivation(), nullptr);
    } else {
        SetPendingActivation(window, PendingActivation());
    }
}

void ShowHide(WindowPtr window, Boolean showFlag) {
    WindowPeek w = Peek(window);
    if (!w || !IsListedWindow(w) || w->visible == showFlag) return;
    w->visible = showFlag;
    CalcWindowRegions(w);
    RedrawPass();
    if (!showFlag && WM().active == w) {
        WM().active = nullptr;
        HiliteWindow(window, false);
        ActivateFront();
    } else if (showFlag && FrontWindow() == window) {
        SelectWindow(window);
    }
}

void ShowWindow(WindowPtr window) {
    ShowHide(window, true);
}

void HideWindow(WindowPtr window) {
    ShowHide(window, false);
}

void BringToFront(WindowPtr window) {
    WindowPeek w = Peek(window);
    if (!w || !IsListedWindow(w) || WM().windowList == w) return;
    Unlink(w);
    LinkAtFront(w);
    RedrawPass();
}

void SendBehind(WindowPtr window, WindowPtr behindWindow) {
    WindowPeek w = Peek(window);
    WindowPeek behind = Peek(behindWindow);
    if (!w || !IsListedWindow(w) || w == behind || (behind && !IsListedWindow(behind))) return;
    Unlink(w);
    LinkAfter(w, behind);
    RedrawPass();
    if (WM().active == w && FrontWindow() != window) {
        WM().active = nullptr;
        HiliteWindow(window, false);
        ActivateFront();
    }
}

void SetWTitle(WindowPtr window, const char* title) {
    WindowPeek w = Peek(window);
    if (!w || !IsListedWindow(w)) return;
    char* copy = CopyTitle(title);
    if (!copy) return;
    DisposePtr(w->titleText);
    w->titleText = copy;
    DrawWindowFrame(w, nullptr);
}

void GetWTitle(WindowPtr window, char* title) {
    if (!title) return;
    WindowPeek w = Peek(window);
    title[0] = 0;
    if (w && w->titleText) std::strcpy(title, w->titleText); // at most 255 characters and the NUL
}

void SetWRefCon(WindowPtr window, std::int32_t data) {
    if (window) Peek(window)->refCon = data;
}

std::int32_t GetWRefCon(WindowPtr window) {
    return window ? Peek(window)->refCon : 0;
}

std::int16_t FindWindow(Point pt, WindowPtr* window) {
    WindowPtr scratch;
    WindowPtr& found = window ? *window : scratch;
    found = nullptr;
    EnsureWindowManager();
    const Rect& screen = WM().port.portRect;
    if (pt.v >= screen.top && pt.v < screen.top + WM().menuBarHeight && pt.h >= screen.left &&
        pt.h < screen.right)
        return inMenuBar;
    for (WindowPeek w = WM().windowList; w; w = w->nextWindow) {
        if (!w->visible || !w->windowDefProc) continue;
        const std::int32_t hit = w->windowDefProc(wHit, w, PackPoint(pt));
        if (hit == wNoHit) continue;
        found = &w->port;
        return w->refCon < 0 ? inSysWindow : static_cast<std::int16_t>(hit + 2);
    }
    return inSysWindow;
}

void DrawGrowIcon(WindowPtr window) {
    WindowPeek w = Peek(window);
    if (!w || !IsListedWindow(w) || !w->visible || !w->windowDefProc) return;
    GrafPtr saved;
    GetPort(&saved);
    SetPort(window);
    BeginDrawing();
    PenState pen;
    GetPenState(&pen);
    const std::int32_t fgColor = w->port.fgColor, fgIndex = w->port.fgIndex;
    PenNormal();
    w->windowDefProc(wDrawGIcon, w, 0);
    SetPenState(&pen);
    w->port.fgColor = fgColor;
    w->port.fgIndex = fgIndex;
    EndDrawing();
    SetPort(saved);
}
