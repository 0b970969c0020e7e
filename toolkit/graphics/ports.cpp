#include "toolkit/graphics/ports.h"

#include <cstring>

#include "toolkit/graphics/buffer_table.h"
#include "toolkit/graphics/drawing_state.h"
#include "toolkit/graphics/palette.h"
#include "toolkit/graphics/pict_record.h"
#include "toolkit/graphics/polygons.h"
#include "toolkit/graphics/rect_utils.h"
#include "toolkit/graphics/regions.h"

QDGlobals qd = {
    {{0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}}, {{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},
    {{0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA}}, {{0x88, 0x22, 0x88, 0x22, 0x88, 0x22, 0x88, 0x22}},
    {{0x77, 0xDD, 0x77, 0xDD, 0x77, 0xDD, 0x77, 0xDD}}, {nullptr, 0, {0, 0, 0, 0}}};

namespace qiva {

void SetScreenView(int hOffset, int vOffset, int bandHeight) {
    DrawingState& d = Drawing();
    d.viewOffsetH = hOffset;
    d.viewOffsetV = vOffset;
    d.viewBandHeight = bandHeight;
}

void SetOutputSuspended(bool suspended) {
    Drawing().outputSuspended = suspended;
}
void SetFlushAtOnce(bool atOnce) {
    Drawing().flushAtOnce = atOnce;
}

} // namespace qiva

using qiva::Drawing;

void SetPort(GrafPtr port) {
    qiva::DrawingState& d = Drawing();
    if (port == d.current) return;
    d.current = port;
    qiva::SelectBufferOf(port);
    if (port != nullptr) qiva::RecomputeClip();
}

void GetPort(GrafPtr* port) {
    *port = Drawing().current;
}

void InitPort(GrafPtr port) {
    if (port == nullptr) return;
    const RgnHandle vis = port->visRgn, clip = port->clipRgn;
    const GrafPtr model = qiva::TemplatePort();
    if (port != model) *port = *model;
    port->visRgn = vis;
    port->clipRgn = clip;
    RectRgn(port->visRgn, &model->portRect);
    SetRectRgn(port->clipRgn, -32767, -32767, 32767, 32767);
    // The port may already be current (the template making itself): select and clip again.
    Drawing().current = nullptr;
    SetPort(port);
    ForeColor(port->fgColor);
    BackColor(port->bkColor);
}

void OpenPort(GrafPtr port) {
    if (port == nullptr) return;
    port->visRgn = NewRgn();
    port->clipRgn = NewRgn();
    InitPort(port);
}

void ClosePort(GrafPtr port) {
    if (port == nullptr) return;
    qiva::ForgetPolygonPort(port);
    DisposeRgn(port->visRgn);
    DisposeRgn(port->clipRgn);
    port->visRgn = nullptr;
    port->clipRgn = nullptr;
    if (Drawing().current == port) SetPort(nullptr);
}

void SetOrigin(int h, int v) {
    const GrafPtr port = Drawing().current;
    if (port == nullptr) return;
    const int dh = h - port->portRect.left, dv = v - port->portRect.top;
    if (dh == 0 && dv == 0) return;
    OffsetRect(&port->portRect, dh, dv);
    OffsetRect(&port->portBits.bounds, dh, dv);
    OffsetRgn(port->visRgn, dh, dv);
    qiva::RecomputeClip();
    qiva::RecordOrigin(static_cast<std::int16_t>(dh), static_cast<std::int16_t>(dv));
}

void MovePortTo(int left, int top) {
    const GrafPtr port = Drawing().current;
    if (port == nullptr) return;
    const Rect& screen = qd.screenBits.bounds;
    const Rect old = port->portBits.bounds;
    SetRect(&port->portBits.bounds, -left, -top, screen.right - left, screen.bottom - top);
    OffsetRgn(port->visRgn, port->portBits.bounds.left - old.left, port->portBits.bounds.top - old.top);
    qiva::RecomputeClip();
}

namespace {

// a + b when it fits 16 bits; a otherwise.
std::int16_t AddUnlessOverflow(std::int16_t a, int b) {
    const int sum = a + b;
    return sum < -32768 || sum > 32767 ? a : static_cast<std::int16_t>(sum);
}

} // namespace

void GlobalToLocal(Point* pt) {
    const GrafPtr port = Drawing().current;
    if (port == nullptr) return;
    pt->h = AddUnlessOverflow(pt->h, port->portBits.bounds.left - port->portRect.left);
    pt->v = AddUnlessOverflow(pt->v, port->portBits.bounds.top - port->portRect.top);
}

void LocalToGlobal(Point* pt) {
    const GrafPtr port = Drawing().current;
    if (port == nullptr) return;
    pt->h = AddUnlessOverflow(pt->h, -(port->portBits.bounds.left - port->portRect.left));
    pt->v = AddUnlessOverflow(pt->v, -(port->portBits.bounds.top - port->portRect.top));
}

void ClipRect(const Rect* r) {
    const GrafPtr port = Drawing().current;
    if (port == nullptr || port->clipRgn == nullptr) return;
    // Recorded even when unchanged: a picture plays with a clip of its own, not the recorder's.
    if (!qiva::IsRectRegion(port->clipRgn) || !EqualRect(&(*port->clipRgn)->rgnBBox, r)) {
        RectRgn(port->clipRgn, r);
        qiva::RecomputeClip();
    }
    qiva::RecordRegion(qiva::pict::kClip, port->clipRgn);
}

void SetClip(RgnHandle rgn) {
    const GrafPtr port = Drawing().current;
    if (port == nullptr || port->clipRgn == nullptr || rgn == nullptr) return;
    if (!qiva::IsRectRegion(port->clipRgn) || !qiva::IsRectRegion(rgn) ||
        !EqualRect(&(*port->clipRgn)->rgnBBox, &(*rgn)->rgnBBox)) {
        CopyRgn(rgn, port->clipRgn);
        qiva::RecomputeClip();
    }
    qiva::RecordRegion(qiva::pict::kClip, port->clipRgn);
}

void GetClip(RgnHandle rgn) {
    const GrafPtr port = Drawing().current;
    if (port == nullptr || port->clipRgn == nullptr) return;
    CopyRgn(port->clipRgn, rgn);
}

void MoveTo(int h, int v) {
    if (const GrafPtr port = Drawing().current) {
        SetPt(&port->pnLoc, h, v);
        qiva::RecordPenMove(port->pnLoc);
    }
}

void Move(int dh, int dv) {
    if (const GrafPtr port = Drawing().current) {
        SetPt(&port->pnLoc, port->pnLoc.h + dh, port->pnLoc.v + dv);
        qiva::RecordPenMove(port->pnLoc);
    }
}

void GetPen(Point* pt) {
    if (const GrafPtr port = Drawing().current) *pt = port->pnLoc;
}

void PenSize(int width, int height) {
    if (const GrafPtr port = Drawing().current) {
        SetPt(&port->pnSize, width, height);
        qiva::RecordPoint(qiva::pict::kPnSize, port->pnSize);
    }
}

void PenMode(int mode) {
    if (const GrafPtr port = Drawing().current) {
        port->pnMode = static_cast<std::int16_t>(mode);
        qiva::RecordShort(qiva::pict::kPnMode, port->pnMode);
    }
}

void PenPat(const Pattern* pat) {
    if (const GrafPtr port = Drawing().current) {
        port->pnPat = *pat;
        qiva::RecordPattern(qiva::pict::kPnPat, port->pnPat);
    }
}

void BackPat(const Pattern* pat) {
    if (const GrafPtr port = Drawing().current) {
        port->bkPat = *pat;
        qiva::RecordPattern(qiva::pict::kBkPat, port->bkPat);
    }
}

void PenNormal() {
    if (const GrafPtr port = Drawing().current) {
        port->pnSize = Point{1, 1};
        port->pnMode = patCopy;
        port->pnPat = qd.black;
        qiva::RecordPoint(qiva::pict::kPnSize, port->pnSize);
        qiva::RecordShort(qiva::pict::kPnMode, port->pnMode);
        qiva::RecordPattern(qiva::pict::kPnPat, port->pnPat);
    }
}

void HidePen() {
    if (const GrafPtr port = Drawing().current) --port->pnVis;
}

void ShowPen() {
    if (const GrafPtr port = Drawing().current) ++port->pnVis;
}

void GetPenState(PenState* state) {
    if (const GrafPtr port = Drawing().current)
        *state = PenState{port->pnLoc, port->pnSize, port->pnMode, port->pnPat};
}

void SetPenState(const PenState* state) {
    if (const GrafPtr port = Drawing().current) {
        port->pnLoc = state->pnLoc;
        port->pnSize = state->pnSize;
        port->pnMode = state->pnMode;
        port->pnPat = state->pnPat;
    }
}

namespace {

std::uint8_t ClassicIndex(std::int32_t colour) {
    // Constants outside the table's 13 entries fall back to black rather than read past it.
    const std::int32_t entry = colour >> 5;
    const auto& classic = qiva::ThePalette().classic;
    return entry >= 0 && entry < static_cast<std::int32_t>(classic.size()) ? classic[entry].index
                                                                           : classic[blackColor >> 5].index;
}

} // namespace

void ForeColor(std::int32_t colour) {
    if (const GrafPtr port = Drawing().current) {
        port->fgColor = colour;
        port->fgIndex = ClassicIndex(colour);
        qiva::RecordLong(qiva::pict::kFgColor, colour);
    }
}

void BackColor(std::int32_t colour) {
    if (const GrafPtr port = Drawing().current) {
        port->bkColor = colour;
        port->bkIndex = ClassicIndex(colour);
        qiva::RecordLong(qiva::pict::kBkColor, colour);
    }
}

void RGBForeColor(const RGBColor* rgb) {
    if (const GrafPtr port = Drawing().current) {
        port->fgIndex = Color2Index(rgb);
        qiva::RecordRGB(qiva::pict::kRGBFgCol, *rgb);
    }
}

void RGBBackColor(const RGBColor* rgb) {
    if (const GrafPtr port = Drawing().current) {
        port->bkIndex = Color2Index(rgb);
        qiva::RecordRGB(qiva::pict::kRGBBkCol, *rgb);
    }
}

void GetForeColor(RGBColor* rgb) {
    if (const GrafPtr port = Drawing().current) Index2Color(port->fgIndex, rgb);
}

void GetBackColor(RGBColor* rgb) {
    if (const GrafPtr port = Drawing().current) Index2Color(port->bkIndex, rgb);
}
