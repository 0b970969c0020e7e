#include "toolkit/graphics/shapes.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "toolkit/graphics/drawing_state.h"
#include "toolkit/graphics/pict_record.h"
#include "toolkit/graphics/polygons.h"
#include "toolkit/graphics/ports.h"
#include "toolkit/graphics/rect_utils.h"

namespace qiva {

namespace {

// The pen rectangle from (h1, v) to (h2, v), its height extended by `extra` rows.
void RunRect(int h1, int v, int h2, int extra) {
    const GrafPtr port = Drawing().current;
    if (h2 < h1) std::swap(h1, h2);
    const Rect& b = port->portBits.bounds;
    ClippedFill(h1 - b.left, v - b.top, h2 + port->pnSize.h - 1 - b.left,
                v + port->pnSize.v + extra - 1 - b.top);
}

} // namespace

void HorizontalRun(int h1, int v, int h2) {
    HorizontalRunTaller(h1, v, h2, 0);
}

void HorizontalRunTaller(int h1, int v, int h2, int extraRows) {
    const GrafPtr port = Drawing().current;
    if (port == nullptr) return;
    SetPt(&port->pnLoc, h2, v);
    RunRect(h1, v, h2, extraRows);
}

void VerticalRun(int h, int vStart, int vEnd) {
    const GrafPtr port = Drawing().current;
    if (port == nullptr) return;
    RunRect(h, std::min(vStart, vEnd), h, std::abs(vEnd - vStart));
    SetPt(&port->pnLoc, h, vEnd);
}

void ApplyVerb(Verb verb) {
    const GrafPtr port = Drawing().current;
    if (port == nullptr) return;
    PenSize(1, 1);
    switch (verb) {
    case Verb::fill:
        PenPat(&port->fillPat);
        break;
    case Verb::erase:
        PenPat(&port->bkPat);
        break;
    case Verb::frameRegion:
        PenPat(&qd.black);
        PenMode(patCopy);
        break;
    case Verb::text:
        PenPat(&qd.black);
        PenMode(port->txMode);
        break;
    case Verb::invert:
        PenMode(patXor);
        PenPat(&qd.black);
        ForeColor(blackColor);
        break;
    case Verb::paint:
        break;
    case Verb::hiliteInvert:
        PenMode(patXor | hilite);
        PenPat(&qd.black);
        ForeColor(blackColor);
        break;
    }
}

VerbScope::VerbScope(Verb verb) {
    const GrafPtr port = Drawing().current;
    if (port == nullptr) return;
    active_ = true;
    GetPenState(&pen_);
    fgColor_ = port->fgColor;
    fgIndex_ = port->fgIndex;
    SuspendRecording(); // the set-up is the shape's own business, not the picture's
    ApplyVerb(verb);
    ResumeRecording();
}

// The invert verbs' ForeColor(blackColor) is undone too: the port's colour is not the verb's to change.
VerbScope::~VerbScope() {
    const GrafPtr port = Drawing().current;
    if (!active_ || port == nullptr) return;
    SetPenState(&pen_);
    port->fgColor = fgColor_;
    port->fgIndex = fgIndex_;
}

Verb FillVerbOf(GrafVerb verb) {
    switch (verb) {
    case GrafVerb::erase:
        return Verb::erase;
    case GrafVerb::invert:
        return Drawing().current != nullptr && Drawing().current->colrBit != 0 ? Verb::hiliteInvert
                                                                               : Verb::invert;
    case GrafVerb::fill:
        return Verb::fill;
    default:
        return Verb::paint;
    }
}

void FrameRectBorder(const Rect& rect) {
    const GrafPtr port = Drawing().current;
    if (port == nullptr) return;
    Rect r = rect;
    if (r.right < r.left) std::swap(r.left, r.right);
    if (r.bottom < r.top) std::swap(r.top, r.bottom);
    const Point loc = port->pnLoc; // framing does not move the pen
    const int b = r.bottom - port->pnSize.v, rt = r.right - port->pnSize.h;
    // One drawing for the four sides: the screen shows the frame once, not side by side.
    BeginDrawing();
    BeginDrawing();
    HorizontalRun(r.left, r.top, rt);
    EndDrawing();
    BeginDrawing();
    HorizontalRun(r.left, b, rt);
    EndDrawing();
    if (b > r.top + 1) {
        BeginDrawing();
        VerticalRun(r.left, r.top, b);
        EndDrawing();
        BeginDrawing();
        VerticalRun(rt, r.top, b);
        EndDrawing();
    }
    EndDrawing();
    port->pnLoc = loc;
}

} // namespace qiva

using qiva::Drawing;

void StdLine(Point newPt) {
    const GrafPtr port = Drawing().current;
    if (port == nullptr) return;
    const int h = newPt.h, v = newPt.v;
    if (qiva::CollectPolygonLine(port, port->pnLoc, newPt)) {
        MoveTo(h, v); // an open polygon takes the line instead of the screen
        return;
    }
    qiva::BeginDrawing();
    const int hStart = port->pnLoc.h, vStart = port->pnLoc.v;
    qiva::RecordLineTo(newPt);
    if (port->pnVis < 0) {
        SetPt(&port->pnLoc, h, v);
    } else if (v == vStart) {
        qiva::HorizontalRun(hStart, v, h);
    } else if (h == hStart) {
        qiva::VerticalRun(h, vStart, v);
    } else {
        // From the upper end point down, so a line and its reverse cover the same pixels.
        int x1 = hStart, y1 = vStart, x2 = h, y2 = v;
        if (y2 < y1) {
            std::swap(x1, x2);
            std::swap(y1, y2);
        }
        const int dh = x2 - x1, dv = y2 - y1;
        if (dv > std::abs(dh)) {
            std::int64_t x = std::int64_t{x1} * 65536 + 32768;
            const std::int64_t step = std::int64_t{dh} * 65536 / dv;
            int prev = x1;
            for (int y = y1; y <= y2; ++y) {
                x += step;
                int next = static_cast<int>(x >> 16);
                if (dh > 0 ? next > x2 : next < x2) next = x2;
                qiva::HorizontalRun(prev, y, next);
                prev = next;
            }
        } else {
            const int dir = dh > 0 ? 1 : -1;
            std::int64_t y = std::int64_t{y1} * 65536 + 32768;
            const std::int64_t step = std::int64_t{dv} * 65536 / std::abs(dh);
            int prev = y1;
            for (int x = x1;; x += dir) {
                y += step;
                const int next = std::min(static_cast<int>(y >> 16), y2);
                qiva::VerticalRun(x, prev, next);
                prev = next;
                if (x == x2) break;
            }
        }
        SetPt(&port->pnLoc, h, v);
    }
    qiva::EndDrawing();
}

void LineTo(int h, int v) {
    if (Drawing().current == nullptr) return;
    // The pen's place is 16 bits: a far end point is held at the edge of the plane.
    qiva::PortProc(&QDProcs::lineProc, StdLine)(Point{qiva::Clamp16(v), qiva::Clamp16(h)});
}

void Line(int dh, int dv) {
    const GrafPtr port = Drawing().current;
    if (port == nullptr) return;
    LineTo(port->pnLoc.h + dh, port->pnLoc.v + dv);
}

void StdRect(GrafVerb verb, const Rect* r) {
    const GrafPtr port = Drawing().current;
    if (port == nullptr || r == nullptr) return;
    qiva::RecordRectVerb(verb, *r);
    if (port->pnVis < 0) return;
    if (verb == GrafVerb::frame) {
        qiva::FrameRectBorder(*r);
        return;
    }
    if (!(r->left < r->right && r->top < r->bottom)) return;
    qiva::BeginDrawing();
    {
        qiva::VerbScope scope(qiva::FillVerbOf(verb));
        // The one-pixel pen made as tall as the rectangle, without passing through 16 bits.
        qiva::HorizontalRunTaller(r->left, r->top, r->right - 1, r->bottom - r->top - 1);
    }
    qiva::EndDrawing();
}

namespace {

void CallRect(GrafVerb verb, const Rect* r) {
    if (Drawing().current == nullptr || r == nullptr) return;
    qiva::PortProc(&QDProcs::rectProc, StdRect)(verb, r);
}

} // namespace

void FrameRect(const Rect* r) {
    CallRect(GrafVerb::frame, r);
}
void PaintRect(const Rect* r) {
    CallRect(GrafVerb::paint, r);
}
void EraseRect(const Rect* r) {
    CallRect(GrafVerb::erase, r);
}
void InvertRect(const Rect* r) {
    CallRect(GrafVerb::invert, r);
}

void FillRect(const Rect* r, const Pattern* pat) {
    const GrafPtr port = Drawing().current;
    if (port == nullptr || pat == nullptr) return;
    port->fillPat = *pat;
    CallRect(GrafVerb::fill, r);
}
