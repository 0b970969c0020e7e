// The frames without a title bar: the modal dialog frame, the plain box and the box with a shadow.
// Their only part is the content, so they are neither dragged, resized nor closed by the mouse.

#include "toolkit/graphics/quickdraw.h"
#include "toolkit/windows/window_defs.h"
#include "toolkit/windows/window_geometry.h"
#include "toolkit/windows/wm_state.h"

namespace qiva {

namespace {

void Line(int h1, int v1, int h2, int v2) {
    MoveTo(h1, v1);
    LineTo(h2, v2);
}

// Points are (h, v); S is (T, L, B, R).
void DrawDialogFrame(const Rect& s) {
    const int T = s.top, L = s.left, B = s.bottom, R = s.right;
    ForeColor(blackColor);
    PenSize(1, 1);
    Line(R - 1, T, R - 1, B - 1);
    LineTo(L, B - 1);
    Rect outer = MakeRect(L, T, R - 1, B - 1);
    FrameRect(&outer);
    PenSize(1, 4);
    ForeColor(whiteColor);
    Line(L + 1, T + 1, R - 3, T + 1);
    ForeColor(96);
    Line(L + 1, B - 6, R - 3, B - 6);
    PenSize(1, 1);
    ForeColor(whiteColor);
    Line(L + 1, T + 1, L + 1, B - 3);
    Line(R - 7, T + 5, R - 7, B - 7);
    LineTo(L + 4, B - 7);
    ForeColor(224);
    for (int i = 0; i < 3; ++i)
        Line(L + 2 + i, T + 2 + i, L + 2 + i, B - 4 - i);
    ForeColor(160);
    for (int i = 0; i < 4; ++i)
        Line(R - 3 - i, T + 1 + i, R - 3 - i, B - 2 - i);
    ForeColor(blackColor);
    Rect inner = MakeRect(L + 5, T + 5, R - 6, B - 6);
    FrameRect(&inner);
    Line(L + 6, B - 8, L + 6, T + 6);
    LineTo(R - 8, T + 6);
    ForeColor(whiteColor);
    Rect edge = MakeRect(L + 7, T + 7, R - 7, B - 7);
    FrameRect(&edge);
    ForeColor(blackColor);
}

// Shared by the three: the structure from the content, a hit in the content only.
template <Rect (*Structure)(const Rect&), void (*Draw)(const Rect& s, const Rect& c)>
std::int32_t BoxDef(std::int16_t message, WindowPeek w, std::intptr_t param) {
    const Rect c = GlobalContentRect(w);
    const Rect s = Structure(c);
    switch (message) {
    case wCalcRgns:
        RectRgn(w->strucRgn, &s);
        RectRgn(w->contRgn, &c);
        return 0;
    case wDraw:
        if (param == 0) Draw(s, c);
        return 0;
    case wHit:
        return Inside(UnpackPoint(param), c) ? wInContent : wNoHit;
    default:
        return 0;
    }
}

void DrawDialog(const Rect& s, const Rect&) {
    DrawDialogFrame(s);
}

void DrawPlain(const Rect& s, const Rect&) {
    ForeColor(blackColor);
    PenSize(1, 1);
    FrameRect(&s);
}

void DrawShadow(const Rect& s, const Rect& c) {
    ForeColor(blackColor);
    PenSize(1, 1);
    const Rect box = PlainBoxStructure(c);
    FrameRect(&box);
    const Rect right = MakeRect(box.right, box.top + 2, s.right, s.bottom);
    const Rect below = MakeRect(box.left + 2, box.bottom, s.right, s.bottom);
    PaintRect(&right);
    PaintRect(&below);
}

} // namespace

std::int32_t DialogFrameDef(std::int16_t message, WindowPeek w, std::intptr_t param) {
    return BoxDef<DialogStructure, DrawDialog>(message, w, param);
}

std::int32_t PlainBoxDef(std::int16_t message, WindowPeek w, std::intptr_t param) {
    return BoxDef<PlainBoxStructure, DrawPlain>(message, w, param);
}

std::int32_t ShadowBoxDef(std::int16_t message, WindowPeek w, std::intptr_t param) {
    if (message == wCalcRgns) {
        // The shadow leaves the top-right and bottom-left corners to what lies behind.
        const Rect c = GlobalContentRect(w);
        Rect box = PlainBoxStructure(c);
        RectRgn(w->strucRgn, &box);
        OffsetRect(&box, 2, 2);
        RgnHandle shadow = NewRgn();
        RectRgn(shadow, &box);
        UnionRgn(w->strucRgn, shadow, w->strucRgn);
        DisposeRgn(shadow);
        RectRgn(w->contRgn, &c);
        return 0;
    }
    return BoxDef<ShadowBoxStructure, DrawShadow>(message, w, param);
}

WindowDefProc DefProcForType(std::int16_t procID) {
    switch (procID & 0x17) {
    case documentProc:
    case noGrowDocProc:
        return &DocumentWindowDef;
    case dBoxProc:
        return &DialogFrameDef;
    case plainDBox:
        return &PlainBoxDef;
    case altDBoxProc:
        return &ShadowBoxDef;
    case rDocProc:
        return &RoundedWindowDef;
    default:
        return nullptr;
    }
}

} // namespace qiva
