// Mouse tracking (the close and zoom boxes, dragging and growing with a grey outline) and the
// geometry changes they lead to. The loops poll Button, so a scripted run is served meanwhile.

#include <algorithm>
#include <memory>

#include "toolkit/core/cursor.h"
#include "toolkit/core/settings.h"
#include "toolkit/graphics/drawing_state.h"
#include "toolkit/graphics/quickdraw.h"
#include "toolkit/windows/window_defs.h"
#include "toolkit/windows/window_geometry.h"
#include "toolkit/windows/wm_state.h"

using namespace qiva;

namespace {

constexpr std::int32_t kOutsideSlop = static_cast<std::int32_t>(0x80008000u);

// No sizing cursors while the mouse is tracked.
struct TrackingScope {
    TrackingScope() { SetTracking(true); }
    ~TrackingScope() { SetTracking(false); }
};

// The one-pixel border of a region, drawn in the grey pattern over saved screen pixels.
class Outline {
public:
    explicit Outline(RgnHandle shape) : border_(NewRgn()) {
        RgnHandle inner = NewRgn(), moved = NewRgn();
        CopyRgn(shape, inner);
        const int steps[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
        for (const auto& step : steps) {
            CopyRgn(shape, moved);
            OffsetRgn(moved, step[0], step[1]);
            SectRgn(inner, moved, inner);
        }
        DiffRgn(shape, inner, border_);
        DisposeRgn(inner);
        DisposeRgn(moved);
    }
    ~Outline() {
        Hide();
        DisposeRgn(border_);
    }
    Outline(const Outline&) = delete;
    Outline& operator=(const Outline&) = delete;

    void ShowAt(int dh, int dv) {
        Hide();
        OffsetRgn(border_, dh - dh_, dv - dv_);
        dh_ = dh;
        dv_ = dv;
        SaveScreenPixels(border_, saved_);
        GrafPtr port;
        GetPort(&port);
        BeginDrawing();
        UseManagerPort(nullptr);
        FillRgn(border_, &qd.gray);
        EndDrawing();
        SetPort(port);
    }
    void Hide() { RestoreScreenPixels(saved_); }

private:
    RgnHandle border_;
    int dh_ = 0, dv_ = 0;
    SavedPixels saved_;
};

int Clamp(int value, int low, int high) {
    return std::max(low, std::min(value, high));
}

// Tracks a box of the frame while the button is down; true if released inside.
bool TrackPart(WindowPeek w, Point start, std::int32_t hit) {
    if (!w || !IsListedWindow(w) || !w->windowDefProc) return false;
    TrackingScope scope;
    auto inside = [&](Point pt) { return w->windowDefProc(wHit, w, PackPoint(pt)) == hit; };
    auto show = [&](bool pressed) {
        if (pressed)
            w->spareFlag |= kBoxPressed;
        else
            w->spareFlag &= static_cast<std::uint8_t>(~kBoxPressed);
        DrawWindowFrame(w, nullptr, hit);
    };
    bool in = inside(start);
    show(in);
    while (Button()) {
        Point pt;
        GetMouse(&pt);
        if (inside(pt) != in) {
            in = !in;
            show(in);
        }
    }
    if (in) show(false);
    return in;
}

} // namespace

Boolean TrackGoAway(WindowPtr window, Point thePt) {
    return TrackPart(Peek(window), thePt, wInGoAway);
}

Boolean TrackBox(WindowPtr window, Point thePt, std::int16_t partCode) {
    return TrackPart(Peek(window), thePt, partCode - 2);
}

std::int32_t DragGrayRgn(RgnHandle theRgn, Point startPt, const Rect* limitRect, const Rect* slopRect,
                         std::int16_t axis, void (*actionProc)()) {
    if (!theRgn || !limitRect || !slopRect) return kOutsideSlop;
    EnsureWindowManager();
    TrackingScope scope;
    Outline outline(theRgn);
    int dh = 0, dv = 0;
    bool inSlop = true;
    outline.ShowAt(0, 0);
    Point last = startPt;
    while (Button()) {
        Point pt;
        GetMouse(&pt);
        if (actionProc) actionProc();
        if (pt.h == last.h && pt.v == last.v) continue;
        last = pt;
        inSlop = Inside(pt, *slopRect);
        const int h = Clamp(pt.h, limitRect->left, limitRect->right - 1);
        const int v = Clamp(pt.v, limitRect->top, limitRect->bottom - 1);
        dh = axis == vAxisOnly ? 0 : h - startPt.h;
        dv = axis == hAxisOnly ? 0 : v - startPt.v;
        if (inSlop)
            outline.ShowAt(dh, dv);
        else
            outline.Hide();
    }
    outline.Hide();
    if (!inSlop) return kOutsideSlop;
    return static_cast<std::int32_t>((static_cast<std::uint32_t>(static_cast<std::uint16_t>(dv)) << 16) |
                                     static_cast<std::uint16_t>(dh));
}

void DragWindow(WindowPtr window, Point startPt, const Rect* boundsRect) {
    WindowPeek w = Peek(window);
    if (!w || !IsListedWindow(w) || !boundsRect) return;
    const std::int32_t moved =
        DragGrayRgn(w->strucRgn, startPt, boundsRect, boundsRect, noConstraint, nullptr);
    if (moved != kOutsideSlop && moved != 0) {
        const Rect c = GlobalContentRect(w);
        MoveWindow(window, static_cast<std::int16_t>(c.left + static_cast<std::int16_t>(moved & 0xFFFF)),
                   static_cast<std::int16_t>(c.top + static_cast<std::int16_t>(moved >> 16)), false);
    }
    // The command key drags a window without bringing it forward.
    if (!(CurrentModifiers() & cmdKey)) SelectWindow(window);
}

void MoveWindow(WindowPtr window, std::int16_t hGlobal, std::int16_t vGlobal, Boolean front) {
    WindowPeek w = Peek(window);
    if (!w || !IsListedWindow(w)) return;
    const Rect c = GlobalContentRect(w);
    const int dh = hGlobal - c.left, dv = vGlobal - c.top;
    if (dh != 0 || dv != 0) {
        WindowManagerState& wm = WM();
        OffsetRect(&w->port.portBits.bounds, -dh, -dv);
        OffsetRgn(w->updateRgn, dh, dv);
        CalcWindowRegions(w);
        if (w->visible) {
            // What the window showed goes along with it, within what it may show now; the pass
            // then draws only what it uncovers.
            CopyRgn(wm.screenRgn, wm.free);
            for (WindowPeek p = wm.windowList; p && p != w; p = p->nextWindow)
                if (p->visible) DiffRgn(wm.free, p->strucRgn, wm.free);
            SectRgn(wm.free, w->strucRgn, wm.free);
            OffsetRgn(w->visPart, dh, dv);
            SectRgn(w->visPart, wm.free, w->visPart);
            MoveScreenPixels(w->visPart, dh, dv);
        }
        RedrawPass();
    }
    if (front) SelectWindow(window);
}

void SizeWindow(WindowPtr window, std::int16_t width, std::int16_t height, Boolean fUpdate) {
    WindowPeek w = Peek(window);
    if (!w || !IsListedWindow(w) || width <= 0 || height <= 0) return;
    Rect& r = w->port.portRect;
    if (r.right - r.left == width && r.bottom - r.top == height) return;
    const Rect oldContent = GlobalContentRect(w);
    RgnHandle kept = NewRgn(), scratch = NewRgn();
    RectRgn(scratch, &oldContent);
    SectRgn(w->visPart, scratch, kept);
    // The grow box and the right and bottom edges of the old content are drawn again.
    const Rect oldGrow =
        MakeRect(oldContent.right - 15, oldContent.bottom - 15, oldContent.right, oldContent.bottom);
    RectRgn(scratch, &oldGrow);
    DiffRgn(kept, scratch, kept);
    r.right = static_cast<std::int16_t>(r.left + width);
    r.bottom = static_cast<std::int16_t>(r.top + height);
    CalcWindowRegions(w);
    SectRgn(kept, w->contRgn, kept);
    CopyRgn(kept, w->visPart);
    RgnHandle update = scratch;
    CopyRgn(w->updateRgn, update);
    RedrawPass();
    if (!fUpdate) CopyRgn(update, w->updateRgn);
    SectRgn(w->updateRgn, w->contRgn, w->updateRgn);
    DisposeRgn(kept);
    DisposeRgn(scratch);
}

std::int32_t GrowWindow(WindowPtr window, Point startPt, const Rect* sizeRect) {
    WindowPeek w = Peek(window);
    if (!w || !IsListedWindow(w) || !sizeRect) return 0;
    const Rect c = GlobalContentRect(w);
    const int bw = BorderWidth();
    const DocumentParts parts = DocumentGeometry(c, bw);
    int zone = 12;
    if (w->spareFlag & kResizableByFrame)
        zone = FrameZone(startPt, (*w->strucRgn)->rgnBBox, parts.growBox, bw);
    if (zone == 0) zone = 12;
    TrackingScope scope;
    Rect next = c;
    auto sizeFrom = [&](Point pt) {
        const int dh = pt.h - startPt.h, dv = pt.v - startPt.v;
        Rect n = c;
        const int minW = std::max<int>(sizeRect->left, 1), maxW = std::max<int>(sizeRect->right, minW);
        const int minH = std::max<int>(sizeRect->top, 1), maxH = std::max<int>(sizeRect->bottom, minH);
        if (zone & 4) n.right = static_cast<std::int16_t>(c.left + Clamp(c.right - c.left + dh, minW, maxW));
        if (zone & 8) n.bottom = static_cast<std::int16_t>(c.top + Clamp(c.bottom - c.top + dv, minH, maxH));
        if (zone & 1) n.left = static_cast<std::int16_t>(c.right - Clamp(c.right - c.left - dh, minW, maxW));
        if (zone & 2) n.top = static_cast<std::int16_t>(c.bottom - Clamp(c.bottom - c.top - dv, minH, maxH));
        return n;
    };
    RgnHandle shape = NewRgn();
    auto outlineOf = [&](const Rect& content) {
        const Rect s = DocumentGeometry(content, bw).structure;
        RectRgn(shape, &s);
    };
    outlineOf(c);
    {
        auto outline = std::make_unique<Outline>(shape);
        outline->ShowAt(0, 0);
        Point last = startPt;
        while (Button()) {
            Point pt;
            GetMouse(&pt);
            if (pt.h == last.h && pt.v == last.v) continue;
            last = pt;
            next = sizeFrom(pt);
            outline.reset();
            outlineOf(next);
            outline = std::make_unique<Outline>(shape);
            outline->ShowAt(0, 0);
        }
    }
    DisposeRgn(shape);
    if (next.left == c.left && next.top == c.top && next.right == c.right && next.bottom == c.bottom)
        return 0;
    if (next.left != c.left || next.top != c.top) MoveWindow(window, next.left, next.top, false);
    return static_cast<std::int32_t>((static_cast<std::uint32_t>(next.bottom - next.top) << 16) |
                                     static_cast<std::uint16_t>(next.right - next.left));
}

void ZoomWindow(WindowPtr window, std::int16_t partCode, Boolean front) {
    WindowPeek w = Peek(window);
    if (!w || !IsListedWindow(w)) return;
    ZoomState* zoom = w->windowDefProc == &DocumentWindowDef ? ZoomStateOf(w) : nullptr;
    if (!zoom) return;
    // The size to return to is the one before zooming out, not a step on the way.
    const Rect user = zoom->userState;
    const Rect target = partCode == inZoomOut ? zoom->stdState : user;
    MoveWindow(window, target.left, target.top, false);
    SizeWindow(window, static_cast<std::int16_t>(target.right - target.left),
               static_cast<std::int16_t>(target.bottom - target.top), true);
    zoom->userState = user;
    if (front) SelectWindow(window);
}
