#include "toolkit/graphics/poly_drawing.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "toolkit/core/memory.h"
#include "toolkit/graphics/drawing_state.h"
#include "toolkit/graphics/pict_record.h"
#include "toolkit/graphics/ports.h"
#include "toolkit/graphics/rect_utils.h"
#include "toolkit/graphics/shape_regions.h"
#include "toolkit/graphics/shapes.h"

namespace {

using qiva::Drawing;

// The edges from the first point on; the polygon is recorded whole, not as its lines.
void FramedPoly(PolyHandle poly, int count) {
    qiva::SuspendRecording();
    qiva::BeginDrawing();
    MoveTo(qiva::PolygonPoints(poly)[0].h, qiva::PolygonPoints(poly)[0].v);
    for (int i = 1; i < count; ++i) // read afresh: a line may be collected into a polygon
        LineTo(qiva::PolygonPoints(poly)[i].h, qiva::PolygonPoints(poly)[i].v);
    qiva::EndDrawing();
    qiva::ResumeRecording();
}

// The polygon cut to the rectangle (Sutherland-Hodgman, one side at a time): inside the rectangle it
// encloses what the polygon encloses, and its size is the rectangle's, however far the points reach.
std::vector<Point> ClipPolygon(std::vector<Point> points, const Rect& box) {
    struct Side {
        bool vertical; // a left or right side (a limit on h), else top or bottom (on v)
        int limit;
        bool keepBelow;
    };
    const Side sides[4] = {
        {true, box.left, false}, {true, box.right, true}, {false, box.top, false}, {false, box.bottom, true}};
    for (const Side& side : sides) {
        std::vector<Point> out;
        const auto inside = [&](Point p) {
            const int c = side.vertical ? p.h : p.v;
            return side.keepBelow ? c <= side.limit : c >= side.limit;
        };
        const auto cut = [&](Point a, Point b) {
            const double a1 = side.vertical ? a.h : a.v, b1 = side.vertical ? b.h : b.v;
            const double a2 = side.vertical ? a.v : a.h, b2 = side.vertical ? b.v : b.h;
            const double t = (side.limit - a1) / (b1 - a1);
            const auto other = static_cast<std::int16_t>(std::lround(a2 + t * (b2 - a2)));
            const auto at = static_cast<std::int16_t>(side.limit);
            return side.vertical ? Point{other, at} : Point{at, other};
        };
        for (std::size_t i = 0; i < points.size(); ++i) {
            const Point cur = points[i], prev = points[(i + points.size() - 1) % points.size()];
            if (inside(cur)) {
                if (!inside(prev)) out.push_back(cut(prev, cur));
                out.push_back(cur);
            } else if (inside(prev)) {
                out.push_back(cut(prev, cur));
            }
        }
        points.swap(out);
        if (points.empty()) break;
    }
    return points;
}

void FilledPoly(PolyHandle poly, int count, qiva::Verb verb) {
    const GrafPtr port = Drawing().current;
    std::vector<Point> points((*poly)->polyPoints, (*poly)->polyPoints + count);
    // Only the part the port can show matters; a margin keeps the cut's own edges out of sight.
    Rect visible;
    if (!SectRect(&(*port->visRgn)->rgnBBox, &(*port->clipRgn)->rgnBBox, &visible) || EmptyRect(&visible))
        return;
    const Rect window{static_cast<std::int16_t>(std::max(-32000, visible.top - 2)),
                      static_cast<std::int16_t>(std::max(-32000, visible.left - 2)),
                      static_cast<std::int16_t>(std::min(32000, visible.bottom + 2)),
                      static_cast<std::int16_t>(std::min(32000, visible.right + 2))};
    points = ClipPolygon(std::move(points), window);
    if (points.empty()) return;
    points.push_back(points.front()); // a filled polygon is closed
    Rect box{32767, 32767, -32768, -32768};
    for (const Point p : points)
        box = {std::min(box.top, p.v), std::min(box.left, p.h), std::max(box.bottom, p.v),
               std::max(box.right, p.h)};
    Handle h = NewHandle(static_cast<Size>(10 + 4 * points.size()));
    if (h == nullptr) return;
    const auto shape = reinterpret_cast<PolyHandle>(h);
    (*shape)->polySize = static_cast<std::int16_t>(std::min<std::size_t>(10 + 4 * points.size(), 32766));
    (*shape)->polyBBox = box;
    std::copy(points.begin(), points.end(), (*shape)->polyPoints);
    box.bottom = static_cast<std::int16_t>(std::min(32767, box.bottom + 1));
    box.right = static_cast<std::int16_t>(std::min(32767, box.right + 1));
    qiva::FillByRegion(box, verb, [&](RgnHandle rgn, const Rect&) {
        qiva::BuildRegionByDrawing(rgn, [&] { FramePoly(shape); });
    });
    KillPoly(shape);
}

void CallPoly(GrafVerb verb, PolyHandle poly) {
    if (Drawing().current == nullptr || poly == nullptr) return;
    qiva::PortProc(&QDProcs::polyProc, StdPoly)(verb, poly);
}

} // namespace

void StdPoly(GrafVerb verb, PolyHandle poly) {
    const GrafPtr port = Drawing().current;
    if (port == nullptr || poly == nullptr) return;
    const int count = qiva::PolygonPointCount(poly);
    if (verb == GrafVerb::frame) {
        if (count == 0) return;
        qiva::RecordPolyVerb(verb, poly);
        FramedPoly(poly, count);
        return;
    }
    qiva::RecordPolyVerb(verb, poly);
    if (count == 0 || port->pnVis < 0) return;
    FilledPoly(poly, count, qiva::FillVerbOf(verb));
}

void FramePoly(PolyHandle poly) {
    CallPoly(GrafVerb::frame, poly);
}
void PaintPoly(PolyHandle poly) {
    CallPoly(GrafVerb::paint, poly);
}
void ErasePoly(PolyHandle poly) {
    CallPoly(GrafVerb::erase, poly);
}
void InvertPoly(PolyHandle poly) {
    CallPoly(GrafVerb::invert, poly);
}
void FillPoly(PolyHandle poly, const Pattern* pat) {
    if (Drawing().current == nullptr || pat == nullptr) return;
    Drawing().current->fillPat = *pat;
    CallPoly(GrafVerb::fill, poly);
}
