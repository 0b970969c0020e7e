#include "toolkit/graphics/curves.h"

#include <algorithm>
#include <vector>

#include "toolkit/graphics/drawing_state.h"
#include "toolkit/graphics/pict_record.h"
#include "toolkit/graphics/rect_utils.h"
#include "toolkit/graphics/shape_geometry.h"
#include "toolkit/graphics/shapes.h"

namespace {

using qiva::Drawing;
using qiva::Verb;
using qiva::shapes::Span;

enum class Kind { oval, roundRect };

struct Shape {
    Kind kind;
    int ovalWidth = 0, ovalHeight = 0;
};

void ShapeSpans(const Shape& shape, int left, int top, int right, int bottom, std::vector<Span>& out) {
    if (shape.kind == Kind::oval)
        qiva::shapes::OvalSpans(left, top, right, bottom, out);
    else
        qiva::shapes::RoundRectSpans(left, top, right, bottom, shape.ovalWidth, shape.ovalHeight, out);
}

std::vector<Span>& Spans() {
    static std::vector<Span> spans;
    return spans;
}

bool CanDraw() {
    const GrafPtr port = Drawing().current;
    return port != nullptr && port->pnVis >= 0;
}

// One pen run per group of equal rows, with the pen the caller set up.
void RunSpans(const std::vector<Span>& spans, int top) {
    for (std::size_t i = 0; i < spans.size();) {
        std::size_t j = i + 1;
        while (j < spans.size() && spans[j].left == spans[i].left && spans[j].right == spans[i].right)
            ++j;
        if (!spans[i].Empty())
            qiva::HorizontalRunTaller(spans[i].left, top + static_cast<int>(i), spans[i].right,
                                      static_cast<int>(j - i - 1));
        i = j;
    }
}

void Filled(const Shape& shape, const Rect* r, Verb verb) {
    if (r == nullptr || !CanDraw() || !(r->left < r->right && r->top < r->bottom)) return;
    ShapeSpans(shape, r->left, r->top, r->right, r->bottom, Spans());
    qiva::BeginDrawing();
    {
        qiva::VerbScope scope(verb);
        RunSpans(Spans(), r->top);
    }
    qiva::EndDrawing();
}

// The pen positions, in local coordinates, whose pen can reach a pixel of the effective clip.
Rect Reachable() {
    const GrafPtr port = Drawing().current;
    const RgnHandle clip = Drawing().effectiveClip;
    if (clip == nullptr || *clip == nullptr) return Rect{0, 0, 0, 0};
    const Rect box = (*clip)->rgnBBox, bounds = port->portBits.bounds;
    return Rect{qiva::Clamp16(box.top + bounds.top - port->pnSize.v + 1),
                qiva::Clamp16(box.left + bounds.left - port->pnSize.h + 1),
                qiva::Clamp16(box.bottom + bounds.top), qiva::Clamp16(box.right + bounds.left)};
}

// Pen runs over the pixels of pieces of rows, only those the arc test passes when there is one.
// The arc is tested pixel by pixel, so only where the pen can reach the clip.
template <typename Pieces>
void RunPieces(Pieces&& forEachPiece, int top, const qiva::shapes::ArcTest* arc) {
    const Rect reach = Reachable();
    forEachPiece([&](int row, int left, int right) {
        const int v = top + row;
        if (arc == nullptr) {
            qiva::HorizontalRun(left, v, right);
            return;
        }
        if (v < reach.top || v >= reach.bottom) return;
        left = std::max<int>(left, reach.left);
        right = std::min<int>(right, reach.right - 1);
        for (int h = left; h <= right;) {
            if (!arc->Contains(h, v)) {
                ++h;
                continue;
            }
            int end = h;
            while (end < right && arc->Contains(end + 1, v))
                ++end;
            qiva::HorizontalRun(h, v, end);
            h = end + 1;
        }
    });
}

// The outline of a shape, or the part of it an arc selects, with the port's pen. The pen's pixels
// lie at and right of and below each run, so the outline is traced on the shape made smaller by the
// pen's size, which keeps the frame inside r. A pen at least half as wide or as tall as the shape
// covers it all: the whole shape is painted with the pen's pattern and mode.
void Framed(const Shape& shape, const Rect* r, int startAngle, int arcAngle, bool isArc) {
    if (r == nullptr || !CanDraw() || !(r->left < r->right && r->top < r->bottom)) return;
    const GrafPtr port = Drawing().current;
    const int penWidth = port->pnSize.h, penHeight = port->pnSize.v;
    const int width = r->right - r->left, height = r->bottom - r->top;
    if (penWidth <= 0 || penHeight <= 0 || (isArc && arcAngle == 0)) return;
    const Point loc = port->pnLoc;
    qiva::BeginDrawing();
    if (2 * penWidth >= width || 2 * penHeight >= height) {
        ShapeSpans(shape, r->left, r->top, r->right, r->bottom, Spans());
        const qiva::shapes::ArcTest arc(r->left, r->top, r->right, r->bottom, startAngle, arcAngle);
        qiva::VerbScope scope(Verb::paint);
        const auto all = [](auto&& f) {
            const std::vector<Span>& spans = Spans();
            for (std::size_t i = 0; i < spans.size(); ++i)
                f(static_cast<int>(i), spans[i].left, spans[i].right);
        };
        if (isArc && !arc.Full())
            RunPieces(all, r->top, &arc);
        else
            RunSpans(Spans(), r->top);
    } else {
        const int right = r->right - penWidth + 1, bottom = r->bottom - penHeight + 1;
        ShapeSpans(shape, r->left, r->top, right, bottom, Spans());
        const qiva::shapes::ArcTest arc(r->left, r->top, right, bottom, startAngle, arcAngle);
        const auto outline = [](auto&& f) { qiva::shapes::ForEachOutlinePiece(Spans(), f); };
        RunPieces(outline, r->top, isArc && !arc.Full() ? &arc : nullptr);
    }
    qiva::EndDrawing();
    port->pnLoc = loc;
}

// The bottlenecks' drawing: a frame with the port's pen, a filled shape with its verb's.
void Draw(const Shape& shape, GrafVerb verb, const Rect* r) {
    if (verb == GrafVerb::frame)
        Framed(shape, r, 0, 360, false);
    else
        Filled(shape, r, qiva::FillVerbOf(verb));
}

} // namespace

namespace qiva {

void FrameArcOutline(const Rect& r, int startAngle, int arcAngle) {
    Framed({Kind::oval}, &r, startAngle, arcAngle, true);
}

} // namespace qiva

void StdRRect(GrafVerb verb, const Rect* r, int ovalWidth, int ovalHeight) {
    if (Drawing().current == nullptr || r == nullptr) return;
    qiva::RecordRRectVerb(verb, *r, ovalWidth, ovalHeight);
    Draw({Kind::roundRect, ovalWidth, ovalHeight}, verb, r);
}

void StdOval(GrafVerb verb, const Rect* r) {
    if (Drawing().current == nullptr || r == nullptr) return;
    qiva::RecordOvalVerb(verb, *r);
    Draw({Kind::oval}, verb, r);
}

namespace {

void CallRRect(GrafVerb verb, const Rect* r, int ovalWidth, int ovalHeight) {
    if (Drawing().current == nullptr || r == nullptr) return;
    qiva::PortProc(&QDProcs::rRectProc, StdRRect)(verb, r, ovalWidth, ovalHeight);
}

void CallOval(GrafVerb verb, const Rect* r) {
    if (Drawing().current == nullptr || r == nullptr) return;
    qiva::PortProc(&QDProcs::ovalProc, StdOval)(verb, r);
}

} // namespace

void FrameRoundRect(const Rect* r, int ovalWidth, int ovalHeight) {
    CallRRect(GrafVerb::frame, r, ovalWidth, ovalHeight);
}
void PaintRoundRect(const Rect* r, int ovalWidth, int ovalHeight) {
    CallRRect(GrafVerb::paint, r, ovalWidth, ovalHeight);
}
void EraseRoundRect(const Rect* r, int ovalWidth, int ovalHeight) {
    CallRRect(GrafVerb::erase, r, ovalWidth, ovalHeight);
}
void InvertRoundRect(const Rect* r, int ovalWidth, int ovalHeight) {
    CallRRect(GrafVerb::invert, r, ovalWidth, ovalHeight);
}
void FillRoundRect(const Rect* r, int ovalWidth, int ovalHeight, const Pattern* pat) {
    if (Drawing().current == nullptr || pat == nullptr) return;
    Drawing().current->fillPat = *pat;
    CallRRect(GrafVerb::fill, r, ovalWidth, ovalHeight);
}

void FrameOval(const Rect* r) {
    CallOval(GrafVerb::frame, r);
}
void PaintOval(const Rect* r) {
    CallOval(GrafVerb::paint, r);
}
void EraseOval(const Rect* r) {
    CallOval(GrafVerb::erase, r);
}
void InvertOval(const Rect* r) {
    CallOval(GrafVerb::invert, r);
}
void FillOval(const Rect* r, const Pattern* pat) {
    if (Drawing().current == nullptr || pat == nullptr) return;
    Drawing().current->fillPat = *pat;
    CallOval(GrafVerb::fill, r);
}
