#include "toolkit/graphics/polygons.h"

#include <algorithm>
#include <cstddef>

#include "toolkit/core/memory.h"
#include "toolkit/graphics/drawing_state.h"
#include "toolkit/graphics/rect_utils.h"

namespace {

constexpr std::size_t kHeaderBytes = 10;

// The polygon being collected (one at a time) and the port whose lines it takes.
struct OpenPolygon {
    PolyHandle poly = nullptr;
    GrafPtr port = nullptr;
    bool first = true;
};

OpenPolygon& Collecting() {
    static OpenPolygon open;
    return open;
}

// The port's pen comes back (ClosePort forgets a closing port first).
void EndCollecting() {
    OpenPolygon& open = Collecting();
    if (open.port != nullptr) ++open.port->pnVis;
    open = {};
}

Handle AsHandle(PolyHandle poly) {
    return reinterpret_cast<Handle>(poly);
}

void Append(PolyHandle poly, Point pt) {
    const Size bytes = GetHandleSize(AsHandle(poly));
    // Grown in steps, so that a long polygon is not resized at every point; polySize counts the
    // points really held.
    const auto used =
        static_cast<Size>(kHeaderBytes + 4 * static_cast<std::size_t>(qiva::PolygonPointCount(poly)));
    if (used + 4 > 32766) return; // polySize is 16 bits: a polygon holds at most 8189 points
    if (used + 4 > bytes) {
        SetHandleSize(AsHandle(poly), used + 4 * 64);
        if (MemError() != noErr) return;
    }
    qiva::PolygonPoints(poly)[(used - kHeaderBytes) / 4] = pt;
    (*poly)->polySize = static_cast<std::int16_t>(used + 4);
}

} // namespace

namespace qiva {

Point* PolygonPoints(PolyHandle poly) {
    return reinterpret_cast<Point*>(reinterpret_cast<char*>(*poly) + kHeaderBytes);
}

void ForgetPolygonPort(GrafPtr port) {
    if (Collecting().port == port) Collecting() = {};
}

int PolygonPointCount(PolyHandle poly) {
    if (poly == nullptr || *poly == nullptr) return 0;
    const Size bytes = GetHandleSize(AsHandle(poly));
    const Size size = std::min<Size>((*poly)->polySize, bytes);
    return size <= static_cast<Size>(kHeaderBytes) ? 0 : static_cast<int>((size - kHeaderBytes) / 4);
}

bool CollectPolygonLine(GrafPtr port, Point from, Point to) {
    OpenPolygon& open = Collecting();
    if (open.poly == nullptr || port != open.port) return false;
    if (open.first) Append(open.poly, from);
    open.first = false;
    Append(open.poly, to);
    return true;
}

} // namespace qiva

PolyHandle OpenPoly() {
    const GrafPtr port = qiva::Drawing().current;
    const auto poly = reinterpret_cast<PolyHandle>(NewHandleClear(kHeaderBytes));
    if (poly == nullptr || port == nullptr) return poly;
    (*poly)->polySize = kHeaderBytes;
    EndCollecting(); // one polygon at a time
    // As a picture recording would, the port draws nothing until ClosePoly.
    --port->pnVis;
    Collecting() = {poly, port, true};
    return poly;
}

void ClosePoly() {
    const PolyHandle poly = Collecting().poly;
    EndCollecting();
    if (poly == nullptr || *poly == nullptr) return;
    const int count = qiva::PolygonPointCount(poly);
    SetHandleSize(AsHandle(poly), static_cast<Size>(kHeaderBytes + 4 * static_cast<std::size_t>(count)));
    Rect box{32000, 32000, -32000, -32000};
    const Point* points = qiva::PolygonPoints(poly);
    for (int i = 0; i < count; ++i) {
        box.top = std::min(box.top, points[i].v);
        box.left = std::min(box.left, points[i].h);
        box.bottom = std::max(box.bottom, points[i].v);
        box.right = std::max(box.right, points[i].h);
    }
    (*poly)->polyBBox = count > 0 ? box : Rect{0, 0, 0, 0};
}

void KillPoly(PolyHandle poly) {
    if (poly == nullptr) return;
    if (Collecting().poly == poly) EndCollecting();
    DisposeHandle(AsHandle(poly));
}

void OffsetPoly(PolyHandle poly, int dh, int dv) {
    const int count = qiva::PolygonPointCount(poly);
    if (poly == nullptr || *poly == nullptr) return;
    Point* points = qiva::PolygonPoints(poly);
    for (int i = 0; i < count; ++i) {
        points[i].h = qiva::Clamp16(points[i].h + dh);
        points[i].v = qiva::Clamp16(points[i].v + dv);
    }
    if (count > 0) {
        Rect& box = (*poly)->polyBBox;
        box = {qiva::Clamp16(box.top + dv), qiva::Clamp16(box.left + dh), qiva::Clamp16(box.bottom + dv),
               qiva::Clamp16(box.right + dh)};
    }
}
