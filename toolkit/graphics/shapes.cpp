#include "toolkit/graphics/shapes.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "toolkit/graphics/drawing_state.h"
#include "toolkit/graphics/pictures.h"
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
    if (!Drawing().regionMode) RunRect(h, std::min(vStart, vEnd), h, std::abs(vEnd - vStart));
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

} // namespace qiva

using qiva::Drawing;

void LineTo(int h, int v) {
    const GrafPtr port = Drawing().current;
    if (port == nullptr) return;
    if (qiva::CollectPolygonLine(port, port->pnLoc, Point{qiva::Clamp16(v), qiva::Clamp16(h)})) {
        MoveTo(h, v); // an open polygon takes the line instead of the screen
        return;
    }
    qiva::BeginDrawing();
    const int hStart = port->pnLoc.h, vStart = port->pnLoc.v;
    qiva::RecordLineTo(Point{static_cast<std::int16_t>(v), static_cast<std::int16_t>(h)});
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
        if (dv > std::abs(dh) || Drawing().regionMode) {
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

void Line(int dh, int dv) {
    const GrafPtr port = Drawing().current;
    if (port == nullptr) return;
    LineTo(port->pnLoc.h + dh, port->pnLoc.v + dv);
}

void FrameRect(const Rect* rect) {
    const GrafPtr port = Drawing().current;
    if (port == nullptr) return;
    qiva::RecordRect(0x30, *rect);
    if (port->pnVis < 0) return;
    Rect r = *rect;
    if (r.right < r.left) std::swap(r.left, r.right);
    if (r.bottom < r.top) std::swap(r.top, r.bottom);
    const Point loc = port->pnLoc; // framing does not move the pen
    const int b = r.bottom - port->pnSize.v, rt = r.right - port->pnSize.h;
    qiva::BeginDrawing();
    qiva::HorizontalRun(r.left, r.top, rt);
    qiva::EndDrawing();
    qiva::BeginDrawing();
    qiva::HorizontalRun(r.left, b, rt);
    qiva::EndDrawing();
    if (b > r.top + 1) {
        qiva::BeginDrawing();
        qiva::VerticalRun(r.left, r.top, b);
        qiva::EndDrawing();
        qiva::BeginDrawing();
        qiva::VerticalRun(rt, r.top, b);
        qiva::EndDrawing();
    }
    port->pnLoc = loc;
}

namespace {

void FilledRect(const Rect* r, qiva::Verb verb, std::uint8_t opcode) {
    const GrafPtr port = Drawing().current;
    if (port == nullptr) return;
    if (opcode == 0x34) qiva::RecordPattern(0x0A, port->fillPat);
    qiva::RecordRect(opcode, *r);
    if (port->pnVis < 0 || !(r->left < r->right && r->top < r->bottom)) return;
    qiva::BeginDrawing();
    {
        qiva::VerbScope scope(verb);
        // The one-pixel pen made as tall as the rectangle, without passing through 16 bits.
        qiva::HorizontalRunTaller(r->left, r->top, r->right - 1, r->bottom - r->top - 1);
    }
    qiva::EndDrawing();
}

} // namespace

void PaintRect(const Rect* r) {
    FilledRect(r, qiva::Verb::paint, 0x31);
}
void EraseRect(const Rect* r) {
    FilledRect(r, qiva::Verb::erase, 0x32);
}

void InvertRect(const Rect* r) {
    const GrafPtr port = Drawing().current;
    if (port == nullptr) return;
    FilledRect(r, port->colrBit != 0 ? qiva::Verb::hiliteInvert : qiva::Verb::invert, 0x33);
}

void FillRect(const Rect* r, const Pattern* pat) {
    const GrafPtr port = Drawing().current;
    if (port == nullptr) return;
    port->fillPat = *pat;
    FilledRect(r, qiva::Verb::fill, 0x34);
}
