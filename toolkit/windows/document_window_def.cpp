// The document window: a title bar 19 pixels high over the content and a frame of the border width
// all round, with close, zoom and grow boxes.

#include <cstring>

#include "toolkit/core/memory.h"
#include "toolkit/core/settings.h"
#include "toolkit/graphics/quickdraw.h"
#include "toolkit/windows/frame_colours.h"
#include "toolkit/windows/window_defs.h"
#include "toolkit/windows/window_geometry.h"
#include "toolkit/windows/wm_state.h"

namespace qiva {

namespace {

using namespace frame;

bool HasGrowBox(WindowPeek w) {
    return (w->procID & 0x17) == documentProc;
}

void Bevel(const Rect& r, bool pressed) {
    RGBForeColor(&kLightGrey);
    PaintRect(&r);
    RGBForeColor(pressed ? &kMidGrey : &kWhite);
    MoveTo(r.left, r.bottom - 1);
    LineTo(r.left, r.top);
    LineTo(r.right - 1, r.top);
    RGBForeColor(pressed ? &kWhite : &kBlack);
    LineTo(r.right - 1, r.bottom - 1);
    LineTo(r.left + 1, r.bottom - 1);
}

// A cross in the close box, a box within a box in the zoom box; pressed, the mark sinks one pixel.
void CloseMark(const Rect& b, bool pressed) {
    const int d = pressed ? 1 : 0;
    RGBForeColor(&kBlack);
    MoveTo(b.left + 4 + d, b.top + 3 + d);
    LineTo(b.left + 11 + d, b.top + 10 + d);
    MoveTo(b.left + 11 + d, b.top + 3 + d);
    LineTo(b.left + 4 + d, b.top + 10 + d);
}

void ZoomMark(const Rect& b, bool pressed) {
    const int d = pressed ? 1 : 0;
    RGBForeColor(&kBlack);
    Rect inner = MakeRect(b.left + 4 + d, b.top + 3 + d, b.right - 4 + d, b.bottom - 3 + d);
    FrameRect(&inner);
    MoveTo(inner.left, inner.top + 1);
    LineTo(inner.right - 1, inner.top + 1);
}

void DrawTitle(WindowPeek w, const Rect& title) {
    const char* text = w->titleText ? w->titleText : "";
    const int length = static_cast<int>(std::strlen(text));
    const int left = title.left + (w->goAwayFlag ? 20 : 0);
    const int limit = title.right - 64;
    TextFont(0);
    TextSize(12);
    TextFace(0);
    TextMode(srcOr);
    RGBForeColor(w->hilited ? &kWhite : &kLightGrey);
    const int baseline = title.top + 13;
    Rect clip = MakeRect(left, title.top, limit, title.bottom);
    ClipRect(&clip);
    MoveTo(left, baseline);
    DrawText(text, 0, length);
    if (left + TextWidth(text, 0, length) > limit) {
        ClipRect(&title);
        MoveTo(limit, baseline);
        DrawText("...", 0, 3);
    }
    const Rect wide = MakeRect(-32767, -32767, 32767, 32767);
    ClipRect(&wide);
    ForeColor(blackColor);
}

void DrawDocumentFrame(WindowPeek w, const DocumentParts& p, const Rect& content, std::int32_t part) {
    if (part != 0) {
        DrawTitleBoxes(w, content, part);
        return;
    }
    const Rect& s = p.structure;
    const int bw = BorderWidth();
    PenSize(bw, bw);
    RGBForeColor(&kLightGrey);
    FrameRect(&s);
    PenSize(1, 1);
    RGBForeColor(&kWhite);
    MoveTo(s.right - 2, s.top + 1);
    LineTo(s.left + 1, s.top + 1);
    LineTo(s.left + 1, s.bottom - 2);
    RGBForeColor(&kMidGrey);
    LineTo(s.right - 2, s.bottom - 2);
    LineTo(s.right - 2, s.top + 2);
    RGBForeColor(&kBlack);
    MoveTo(s.left, s.bottom - 1);
    LineTo(s.right - 1, s.bottom - 1);
    LineTo(s.right - 1, s.top);
    DrawTitleBoxes(w, content, 0);
}

std::int32_t DocumentHit(WindowPeek w, Point pt, const DocumentParts& p, const Rect& c) {
    if (!PtInRgn(pt, w->strucRgn)) return wNoHit;
    if (w->hilited && w->goAwayFlag && Inside(pt, p.closeBox)) return wInGoAway;
    const ZoomState* zoom = ZoomStateOf(w);
    if (w->hilited && zoom && zoom->hasZoom && Inside(pt, p.zoomBox))
        return AtZoomedSize(c, zoom->stdState) ? wInZoomIn : wInZoomOut;
    if (Inside(pt, p.titleBar)) return wInDrag;
    if (Inside(pt, c)) return HasGrowBox(w) && w->hilited && Inside(pt, p.growBox) ? wInGrow : wInContent;
    // The frame band: resizes a window that can be resized by its frame, else drags it.
    return (w->spareFlag & kResizableByFrame) ? wInGrow : wInDrag;
}

} // namespace

ZoomState* ZoomStateOf(WindowPeek w) {
    return static_cast<ZoomState*>(w->dataHandle);
}

bool AtZoomedSize(const Rect& c, const Rect& z) {
    auto near = [](int a, int b) { return a - b <= 7 && b - a <= 7; };
    return near(c.left, z.left) && near(c.top, z.top) && near(c.right, z.right) && near(c.bottom, z.bottom);
}

void DrawTitleBoxes(WindowPeek w, const Rect& content, std::int32_t part) {
    const DocumentParts p = DocumentGeometry(content, BorderWidth());
    const bool pressed = (w->spareFlag & kBoxPressed) != 0;
    const ZoomState* zoom = ZoomStateOf(w);
    const bool hasZoom = zoom && zoom->hasZoom;
    if (part == wInGoAway) {
        if (w->hilited && w->goAwayFlag) {
            Bevel(p.closeBox, pressed);
            CloseMark(p.closeBox, pressed);
        }
        return;
    }
    if (part == wInZoomIn || part == wInZoomOut) {
        if (w->hilited && hasZoom) {
            Bevel(p.zoomBox, pressed);
            ZoomMark(p.zoomBox, pressed);
        }
        return;
    }
    RGBBackColor(w->hilited ? &kNavy : &kMidGrey);
    BackPat(&qd.white);
    EraseRect(&p.titleBar);
    RGBBackColor(&kWhite);
    if (w->hilited && w->goAwayFlag) {
        Bevel(p.closeBox, false);
        CloseMark(p.closeBox, false);
        if (w->colorIconID != kNoColorIcon && WindowManagerHooks().plotColorIcon) {
            const Rect icon =
                MakeRect(p.closeBox.left, p.closeBox.top, p.closeBox.left + 32, p.closeBox.top + 32);
            WindowManagerHooks().plotColorIcon(w->colorIconID, icon);
        }
    }
    if (w->hilited && hasZoom) {
        Bevel(p.zoomBox, false);
        ZoomMark(p.zoomBox, false);
    }
    DrawTitle(w, p.titleBar);
}

std::int32_t DocumentWindowDef(std::int16_t message, WindowPeek w, std::intptr_t param) {
    const Rect c = GlobalContentRect(w);
    const DocumentParts p = DocumentGeometry(c, BorderWidth());
    switch (message) {
    case wNew: {
        auto* zoom = reinterpret_cast<ZoomState*>(NewPtrClear(sizeof(ZoomState)));
        w->dataHandle = zoom;
        if (zoom) {
            zoom->hasZoom = (w->procID & 8) != 0;
            const Rect& screen = WM().port.portRect;
            const int bw = BorderWidth();
            zoom->stdState = MakeRect(screen.left + bw, screen.top + GetMBarHeight() + kTitleBarHeight + bw,
                                      screen.right - bw, screen.bottom - bw);
            zoom->userState = c;
        }
        if ((w->procID & 0x17) == documentProc) w->spareFlag |= kResizableByFrame;
        return 0;
    }
    case wDispose:
        DisposePtr(static_cast<Ptr>(w->dataHandle));
        w->dataHandle = nullptr;
        return 0;
    case wCalcRgns:
        RectRgn(w->strucRgn, &p.structure);
        RectRgn(w->contRgn, &c);
        if (ZoomState* zoom = ZoomStateOf(w); zoom && !AtZoomedSize(c, zoom->stdState)) zoom->userState = c;
        return 0;
    case wDraw:
        DrawDocumentFrame(w, p, c, static_cast<std::int32_t>(param));
        return 0;
    case wHit:
        return DocumentHit(w, UnpackPoint(param), p, c);
    case wDrawGIcon: {
        if (!HasGrowBox(w)) return 0;
        // In the window's own port, local coordinates.
        const Rect& r = w->port.portRect;
        const Rect box = MakeRect(r.right - 15, r.bottom - 15, r.right, r.bottom);
        Bevel(box, false);
        if (w->hilited) {
            RGBForeColor(&kBlack);
            const Rect small = MakeRect(box.left + 3, box.top + 3, box.left + 9, box.top + 9);
            const Rect large = MakeRect(box.left + 5, box.top + 5, box.right - 3, box.bottom - 3);
            FrameRect(&large);
            RGBForeColor(&kLightGrey);
            const Rect inside = MakeRect(small.left + 1, small.top + 1, small.right - 1, small.bottom - 1);
            PaintRect(&inside);
            RGBForeColor(&kBlack);
            FrameRect(&small);
        }
        ForeColor(blackColor);
        return 0;
    }
    default:
        return 0;
    }
}

} // namespace qiva
