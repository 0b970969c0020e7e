#include "tools/qiva-demo/demo_windows.h"

#include <cstring>

#include "toolkit/graphics/buffers.h"
#include "toolkit/graphics/quickdraw.h"
#include "toolkit/graphics/text.h"
#include "toolkit/windows/windows.h"

namespace {

WindowPtr const kInFront = reinterpret_cast<WindowPtr>(-1);
WindowPtr one = nullptr, two = nullptr;

bool Ours(WindowPtr w) {
    return w && (w == one || w == two);
}

WindowPtr Open(const char* title, int left, int top, int right, int bottom, std::int16_t colour) {
    Rect bounds;
    SetRect(&bounds, left, top, right, bottom);
    WindowPtr w = NewWindow(nullptr, &bounds, title, true, documentProc, kInFront, true, 0);
    if (w) qiva::SetWindowContentColor(w, colour);
    return w;
}

// The content: its colour, the title written in the middle, the grow box.
void DrawContent(WindowPtr w) {
    SetPort(w);
    ForeColor(qiva::Peek(w)->contentColor);
    PaintRect(&w->portRect);
    char title[256];
    GetWTitle(w, title);
    const int length = static_cast<int>(std::strlen(title));
    ForeColor(blackColor);
    TextFont(0);
    TextSize(24);
    const int width = TextWidth(title, 0, length);
    MoveTo((w->portRect.right - w->portRect.left - width) / 2,
           (w->portRect.bottom - w->portRect.top) / 2 + 8);
    DrawText(title, 0, length);
    DrawGrowIcon(w);
}

void Click(const EventRecord& e, WindowPtr w, std::int16_t part) {
    Rect limit = qiva::TemplatePort()->portRect;
    limit.top = static_cast<std::int16_t>(limit.top + GetMBarHeight() + 4);
    InsetRect(&limit, 4, 4);
    switch (part) {
    case inContent:
        if (w != FrontWindow()) SelectWindow(w);
        break;
    case inDrag:
        DragWindow(w, e.where, &limit);
        break;
    case inGoAway:
        if (TrackGoAway(w, e.where)) {
            DisposeWindow(w);
            (w == one ? one : two) = nullptr;
        }
        break;
    case inGrow: {
        if (w != FrontWindow()) {
            SelectWindow(w);
            break;
        }
        const Rect sizes{60, 120, 440, 640};
        if (const std::int32_t size = GrowWindow(w, e.where, &sizes)) {
            SizeWindow(w, static_cast<std::int16_t>(size & 0xFFFF), static_cast<std::int16_t>(size >> 16),
                       true);
            SetPort(w);
            InvalRect(&w->portRect); // the title stays in the middle
        }
        break;
    }
    case inZoomIn:
    case inZoomOut:
        if (TrackBox(w, e.where, part)) ZoomWindow(w, part, true);
        break;
    default:
        break;
    }
}

} // namespace

void DemoWindowsStart() {
    InitWindows();
    // Without a desktop picture, what a window uncovers is the demo's white background.
    const RGBColor white{0xFFFF, 0xFFFF, 0xFFFF};
    qiva::SetDesktopPattern(qd.white, white, white);
}

void DemoWindowsOpen() {
    one = Open("One", 340, 60, 560, 200, yellowColor);
    two = Open("Two", 420, 140, 620, 280, cyanColor);
}

bool DemoWindowsEvent(const EventRecord& e) {
    WindowPtr w = nullptr;
    switch (e.what) {
    case mouseDown: {
        const std::int16_t part = FindWindow(e.where, &w);
        if (part == inSysWindow) {
            // A desk accessory's window, or the desktop: the toolkit's right click there opens its
            // settings or its speed test, and the demo still shows the click.
            SystemClick(&e, w);
            if (w) return true;
        }
        if (!Ours(w)) break;
        Click(e, w, part);
        return true;
    }
    case updateEvt:
        w = reinterpret_cast<WindowPtr>(e.message);
        if (!Ours(w)) break;
        BeginUpdate(w);
        DrawContent(w);
        EndUpdate(w);
        return true;
    case activateEvt:
        w = reinterpret_cast<WindowPtr>(e.message);
        if (!Ours(w)) break;
        DrawGrowIcon(w);
        return true;
    default:
        break;
    }
    SetPort(qiva::TemplatePort());
    SetClip(qiva::DesktopRegion());
    return false;
}
