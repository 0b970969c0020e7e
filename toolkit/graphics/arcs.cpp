#include "toolkit/graphics/arcs.h"

#include <cstdint>

#include "toolkit/graphics/curves.h"
#include "toolkit/graphics/drawing_state.h"
#include "toolkit/graphics/pict_record.h"
#include "toolkit/graphics/ports.h"
#include "toolkit/graphics/shape_geometry.h"
#include "toolkit/graphics/shape_regions.h"
#include "toolkit/graphics/shapes.h"

namespace {

using qiva::Drawing;

// The wedge's region: the framed arc closed through the centre, or for an oval too large to fill
// as a bitmap, its rows within what the port shows.
void FilledArc(const Rect& r, int startAngle, int arcAngle, qiva::Verb verb) {
    if (!(r.left < r.right && r.top < r.bottom) || arcAngle == 0) return;
    const std::int64_t area = (std::int64_t(r.right) - r.left) * (std::int64_t(r.bottom) - r.top);
    qiva::FillByRegion(r, verb, [&](RgnHandle rgn, const Rect& visible) {
        if (area > qiva::kMaxFillPixels) {
            qiva::BuildWedgeRegion(r, startAngle, arcAngle, visible, rgn);
            return;
        }
        int h0 = 0, v0 = 0;
        qiva::shapes::ArcPoint(r.left, r.top, r.right, r.bottom, startAngle, h0, v0);
        int h1 = 0, v1 = 0;
        qiva::shapes::ArcPoint(r.left, r.top, r.right, r.bottom, startAngle + arcAngle, h1, v1);
        qiva::BuildRegionByDrawing(rgn, [&] {
            qiva::FrameArcOutline(r, startAngle, arcAngle);
            if (arcAngle > -360 && arcAngle < 360) {
                MoveTo(h1, v1);
                LineTo((r.left + r.right) / 2, (r.top + r.bottom) / 2);
                LineTo(h0, v0);
            }
        });
    });
}

void CallArc(GrafVerb verb, const Rect* r, int startAngle, int arcAngle) {
    if (Drawing().current == nullptr || r == nullptr) return;
    qiva::PortProc(&QDProcs::arcProc, StdArc)(verb, r, startAngle, arcAngle);
}

} // namespace

void StdArc(GrafVerb verb, const Rect* r, int startAngle, int arcAngle) {
    if (Drawing().current == nullptr || r == nullptr) return;
    qiva::RecordArcVerb(verb, *r, startAngle, arcAngle);
    if (verb == GrafVerb::frame)
        qiva::FrameArcOutline(*r, startAngle, arcAngle);
    else
        FilledArc(*r, startAngle, arcAngle, qiva::FillVerbOf(verb));
}

void FrameArc(const Rect* r, int startAngle, int arcAngle) {
    CallArc(GrafVerb::frame, r, startAngle, arcAngle);
}
void PaintArc(const Rect* r, int startAngle, int arcAngle) {
    CallArc(GrafVerb::paint, r, startAngle, arcAngle);
}
void EraseArc(const Rect* r, int startAngle, int arcAngle) {
    CallArc(GrafVerb::erase, r, startAngle, arcAngle);
}
void InvertArc(const Rect* r, int startAngle, int arcAngle) {
    CallArc(GrafVerb::invert, r, startAngle, arcAngle);
}
void FillArc(const Rect* r, int startAngle, int arcAngle, const Pattern* pat) {
    if (Drawing().current == nullptr || pat == nullptr) return;
    Drawing().current->fillPat = *pat;
    CallArc(GrafVerb::fill, r, startAngle, arcAngle);
}
