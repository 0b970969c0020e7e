#include "toolkit/graphics/region_recording.h"

#include <algorithm>
#include <cmath>

#include "toolkit/graphics/curves.h"
#include "toolkit/graphics/drawing_state.h"
#include "toolkit/graphics/pict_recorder.h"
#include "toolkit/graphics/pictures.h"
#include "toolkit/graphics/polygons.h"
#include "toolkit/graphics/ports.h"
#include "toolkit/graphics/rect_utils.h"
#include "toolkit/graphics/region_drawing.h"
#include "toolkit/graphics/region_ops.h"
#include "toolkit/graphics/regions.h"
#include "toolkit/graphics/shape_geometry.h"
#include "toolkit/graphics/shapes.h"

namespace qiva {

namespace {

// Outlines whose bounding box holds more pixels than this are merged row by row instead of filled.
constexpr std::int64_t kMaxFillPixels = std::int64_t{16} << 20;
// Bounds on the work a region of absurd size can cause: the rectangles collected, and the rows of
// them the row-by-row merge expands. What lies beyond is left out of the region.
constexpr std::size_t kMaxSpans = std::size_t{1} << 18;
constexpr std::int64_t kMaxMergedRows = std::int64_t{1} << 20;

struct RegionRecording {
    bool open = false;
    GrafPtr port = nullptr;
    Handle savedPicSave = nullptr;
    pict::Recorder savedRecorder;
    PicHandle pic = nullptr;
};

RegionRecording& TheRecording() {
    static RegionRecording recording;
    return recording;
}

std::vector<SpanRect>* gSpans = nullptr;

void CollectSpan(int left, int top, int right, int bottom, int, int) {
    if (gSpans != nullptr && left <= right && top <= bottom && gSpans->size() < kMaxSpans)
        gSpans->push_back({left, top, right, bottom});
}

// Appends the scanline record of a row whose intervals changed from previous to current.
void EmitRow(int row, const std::vector<std::int16_t>& previous, const std::vector<std::int16_t>& current,
             std::vector<std::int16_t>& scratch, std::vector<std::int16_t>& out) {
    region::CombinePoints(region::Op::Xor, previous, current, scratch);
    if (scratch.empty()) return;
    out.push_back(static_cast<std::int16_t>(row));
    out.insert(out.end(), scratch.begin(), scratch.end());
    out.push_back(region::kEnd);
}

void Normalised(std::vector<std::int16_t>& records, std::vector<std::int16_t>& out) {
    records.push_back(region::kEnd);
    std::vector<std::int16_t> rgn(region::kHeaderWords, 0);
    rgn[0] = region::kLargeSize;
    rgn.insert(rgn.end(), records.begin(), records.end());
    region::Engine engine;
    engine.Normalise(rgn, out);
}

// The exclusive merge of every row of every span (the pair left, right + 1 merged into that row's
// record, equal points cancelling), united with the spans' own pixels as the filled outline has them.
void MergeRows(std::span<const SpanRect> spans, std::vector<std::int16_t>& out) {
    struct Run {
        int row, left, right; // right exclusive
        bool operator<(const Run& o) const {
            return row != o.row ? row < o.row : left != o.left ? left < o.left : right < o.right;
        }
    };
    std::vector<Run> runs;
    std::int64_t budget = kMaxMergedRows;
    for (const SpanRect& s : spans) {
        budget -= std::int64_t(s.bottom) - s.top + 1;
        if (budget < 0) break;
        for (int y = s.top; y <= s.bottom; ++y)
            runs.push_back({y, s.left, s.right + 1});
    }
    std::sort(runs.begin(), runs.end());
    std::vector<std::int16_t> merged, drawn, points, previous, current, scratch;
    int lastRow = 0;
    bool any = false;
    for (std::size_t i = 0; i < runs.size();) {
        const int row = runs[i].row;
        points.clear();
        current.clear();
        for (; i < runs.size() && runs[i].row == row; ++i) {
            points.push_back(static_cast<std::int16_t>(runs[i].left));
            points.push_back(static_cast<std::int16_t>(runs[i].right));
            if (!current.empty() && runs[i].left <= current.back())
                current.back() = static_cast<std::int16_t>(std::max<int>(current.back(), runs[i].right));
            else
                current.insert(current.end(), {static_cast<std::int16_t>(runs[i].left),
                                               static_cast<std::int16_t>(runs[i].right)});
        }
        std::sort(points.begin(), points.end());
        const std::size_t start = merged.size();
        merged.push_back(static_cast<std::int16_t>(row));
        for (std::size_t a = 0; a < points.size();) {
            std::size_t b = a;
            while (b < points.size() && points[b] == points[a])
                ++b;
            if ((b - a) % 2 == 1) merged.push_back(points[a]);
            a = b;
        }
        if (merged.size() == start + 1)
            merged.pop_back();
        else
            merged.push_back(region::kEnd);
        // The drawn pixels: a row after a gap starts from nothing.
        if (any && row != lastRow + 1) {
            current.swap(scratch);
            current.clear();
            EmitRow(lastRow + 1, previous, current, points, drawn);
            previous.clear();
            current.swap(scratch);
        }
        EmitRow(row, previous, current, points, drawn);
        previous = current;
        lastRow = row;
        any = true;
    }
    if (any) {
        current.clear();
        EmitRow(lastRow + 1, previous, current, points, drawn);
    }
    std::vector<std::int16_t> a, b;
    Normalised(merged, a);
    Normalised(drawn, b);
    region::Engine engine;
    engine.Combine(region::Op::Union, a, b, out);
}

} // namespace

void BuildOutlineRegion(std::span<const SpanRect> spans, std::vector<std::int16_t>& out) {
    if (spans.empty()) {
        region::MakeRect(out, 0, 0, 0, 0);
        return;
    }
    int left = spans[0].left, top = spans[0].top, right = spans[0].right, bottom = spans[0].bottom;
    for (const SpanRect& s : spans) {
        left = std::min(left, s.left);
        top = std::min(top, s.top);
        right = std::max(right, s.right);
        bottom = std::max(bottom, s.bottom);
    }
    // A margin of one pixel all round, from which the outside is reached.
    const int ox = left - 1, oy = top - 1;
    const std::int64_t w = std::int64_t(right) - left + 3, h = std::int64_t(bottom) - top + 3;
    if (w * h > kMaxFillPixels) {
        MergeRows(spans, out);
        return;
    }
    const int W = static_cast<int>(w), H = static_cast<int>(h);
    enum : std::uint8_t { kFree = 0, kDrawn = 1, kOutside = 2 };
    std::vector<std::uint8_t> grid(std::size_t(W) * std::size_t(H), kFree);
    for (const SpanRect& s : spans)
        for (int y = s.top; y <= s.bottom; ++y)
            std::fill_n(grid.begin() + std::ptrdiff_t(y - oy) * W + (s.left - ox), s.right - s.left + 1,
                        kDrawn);
    std::vector<int> stack{0};
    grid[0] = kOutside;
    while (!stack.empty()) {
        const int i = stack.back();
        stack.pop_back();
        const int x = i % W, y = i / W;
        const int next[4] = {x > 0 ? i - 1 : -1, x + 1 < W ? i + 1 : -1, y > 0 ? i - W : -1,
                             y + 1 < H ? i + W : -1};
        for (int n : next) {
            if (n >= 0 && grid[std::size_t(n)] == kFree) {
                grid[std::size_t(n)] = kOutside;
                stack.push_back(n);
            }
        }
    }
    std::vector<std::int16_t> records, previous, current, scratch;
    for (int y = 1; y < H; ++y) {
        current.clear();
        const std::uint8_t* row = &grid[std::size_t(y) * std::size_t(W)];
        for (int x = 1; x < W - 1;) {
            if (row[x] == kOutside) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < W - 1 && row[x] != kOutside)
                ++x;
            current.push_back(static_cast<std::int16_t>(start + ox));
            current.push_back(static_cast<std::int16_t>(x + ox));
        }
        EmitRow(y + oy, previous, current, scratch, records);
        previous.swap(current);
    }
    Normalised(records, out);
}

} // namespace qiva

void OpenRgn() {
    qiva::RegionRecording& rec = qiva::TheRecording();
    const GrafPtr port = qiva::Drawing().current;
    if (port == nullptr || rec.open) return;
    // A picture open on the port goes on after the region, with its own recorded values.
    rec.savedPicSave = port->picSave;
    rec.savedRecorder = qiva::PictureRecorder();
    port->picSave = nullptr;
    const Rect frame{-32000, -32000, 32000, 32000};
    rec.pic = OpenPicture(&frame);
    if (rec.pic == nullptr) {
        port->picSave = rec.savedPicSave;
        return;
    }
    rec.open = true;
    rec.port = port;
}

void CloseRgn(RgnHandle dstRgn) {
    using namespace qiva;
    RegionRecording& rec = TheRecording();
    if (!rec.open) return;
    const GrafPtr caller = Drawing().current;
    SetPort(rec.port);
    ClosePicture();
    rec.open = false;

    GrafPort scratch{};
    OpenPort(&scratch);
    SetRectRgn(scratch.visRgn, -32000, -32000, 32000, 32000);
    SetRectRgn(scratch.clipRgn, -32000, -32000, 32000, 32000);
    RecomputeClip();
    PenSize(1, 1);
    DrawingState& d = Drawing();
    const RasterProcs saved = d.procs;
    std::vector<SpanRect> spans;
    gSpans = &spans;
    d.procs.spanFill = CollectSpan;
    d.procs.maskedCopy = nullptr; // images are drawn as span fills, so they add their pixels too
    const Rect frame{-32000, -32000, 32000, 32000};
    DrawPicture(rec.pic, &frame);
    d.procs = saved;
    gSpans = nullptr;

    if (dstRgn != nullptr) {
        std::vector<std::int16_t> words;
        BuildOutlineRegion(spans, words);
        if (words[0] == region::kRectSize || words.size() <= region::kHeaderWords)
            SetRectRgn(dstRgn, words[2], words[1], words[4], words[3]);
        else
            StoreRegion(dstRgn, words.data() + region::kHeaderWords, words.size() - region::kHeaderWords);
    }
    KillPicture(rec.pic);
    rec.pic = nullptr;
    ClosePort(&scratch);
    rec.port->picSave = rec.savedPicSave;
    PictureRecorder() = rec.savedRecorder;
    SetPort(caller);
}

namespace {

enum class FillVerb { paint, erase, invert, fill };

void FillWith(RgnHandle rgn, FillVerb verb, const Pattern* pat) {
    switch (verb) {
    case FillVerb::paint:
        PaintRgn(rgn);
        break;
    case FillVerb::erase:
        EraseRgn(rgn);
        break;
    case FillVerb::invert:
        InvertRgn(rgn);
        break;
    case FillVerb::fill:
        FillRgn(rgn, pat);
        break;
    }
}

// Records the shape's own opcode, then builds its region and fills it with recording suspended, so
// that an open picture holds the arc or polygon and not the region made of it.
// build(rgn, visible) makes the shape's region in rgn; visible is the part of the port that shows.
template <typename Build>
void FilledByRegion(const Rect& bounds, FillVerb verb, const Pattern* pat, Build&& build) {
    const GrafPtr port = qiva::Drawing().current;
    if (port == nullptr || port->pnVis < 0 || (verb == FillVerb::fill && pat == nullptr)) return;
    // A shape wholly outside what the port shows costs no region.
    Rect visible, ignored;
    if (!SectRect(&(*port->visRgn)->rgnBBox, &(*port->clipRgn)->rgnBBox, &visible) ||
        !SectRect(&visible, &bounds, &ignored) || EmptyRect(&ignored))
        return;
    RgnHandle rgn = NewRgn();
    if (rgn == nullptr) return;
    const Point pen = port->pnLoc;
    qiva::SuspendRecording();
    build(rgn, visible);
    // Only what the port shows is filled: a huge shape's region is cut down before it is walked.
    if (RgnHandle shown = NewRgn()) {
        RectRgn(shown, &visible);
        SectRgn(rgn, shown, rgn);
        DisposeRgn(shown);
    }
    FillWith(rgn, verb, pat);
    qiva::ResumeRecording();
    port->pnLoc = pen;
    DisposeRgn(rgn);
}

// The wedge of an oval too large for its outline to be filled as a bitmap, within the visible
// rectangle only: each row's span of the oval, kept where the angle test passes.
void ArcRegion(const Rect& r, int startAngle, int arcAngle, const Rect& visible, RgnHandle rgn) {
    std::vector<qiva::shapes::Span> spans;
    qiva::shapes::OvalSpans(r.left, r.top, r.right, r.bottom, spans);
    const qiva::shapes::ArcTest arc(r.left, r.top, r.right, r.bottom, startAngle, arcAngle);
    std::vector<std::int16_t> records, previous, current, scratch;
    const int top = std::max<int>(r.top, visible.top), bottom = std::min<int>(r.bottom, visible.bottom);
    for (int v = top; v < bottom; ++v) {
        current.clear();
        const qiva::shapes::Span& span = spans[std::size_t(v - r.top)];
        const int left = std::max<int>(span.left, visible.left),
                  right = std::min<int>(span.right, visible.right - 1);
        for (int h = left; h <= right;) {
            if (!arc.Full() && !arc.Contains(h, v)) {
                ++h;
                continue;
            }
            const int start = h;
            while (h <= right && (arc.Full() || arc.Contains(h, v)))
                ++h;
            current.push_back(static_cast<std::int16_t>(start));
            current.push_back(static_cast<std::int16_t>(h));
        }
        qiva::EmitRow(v, previous, current, scratch, records);
        previous.swap(current);
    }
    current.clear();
    qiva::EmitRow(bottom, previous, current, scratch, records);
    std::vector<std::int16_t> words;
    qiva::Normalised(records, words);
    if (words.size() <= qiva::region::kHeaderWords || words[0] == qiva::region::kRectSize)
        SetRectRgn(rgn, words[2], words[1], words[4], words[3]);
    else
        qiva::StoreRegion(rgn, words.data() + qiva::region::kHeaderWords,
                          words.size() - qiva::region::kHeaderWords);
}

std::uint8_t Opcode(std::uint8_t base, FillVerb verb) {
    return static_cast<std::uint8_t>(base + 1 + static_cast<int>(verb));
}

void FilledArc(const Rect* r, int startAngle, int arcAngle, FillVerb verb, const Pattern* pat) {
    const GrafPtr port = qiva::Drawing().current;
    if (port == nullptr || r == nullptr) return;
    if (verb == FillVerb::fill && pat != nullptr) qiva::RecordPattern(0x0A, *pat);
    qiva::RecordArc(Opcode(0x60, verb), *r, static_cast<std::int16_t>(startAngle),
                    static_cast<std::int16_t>(arcAngle));
    if (!(r->left < r->right && r->top < r->bottom) || arcAngle == 0) return;
    const std::int64_t area = (std::int64_t(r->right) - r->left) * (std::int64_t(r->bottom) - r->top);
    FilledByRegion(*r, verb, pat, [&](RgnHandle rgn, const Rect& visible) {
        if (area > qiva::kMaxFillPixels) {
            ArcRegion(*r, startAngle, arcAngle, visible, rgn);
            return;
        }
        OpenRgn();
        int h0 = 0, v0 = 0;
        qiva::shapes::ArcPoint(r->left, r->top, r->right, r->bottom, startAngle, h0, v0);
        int h1 = 0, v1 = 0;
        qiva::shapes::ArcPoint(r->left, r->top, r->right, r->bottom, startAngle + arcAngle, h1, v1);
        FrameArc(r, startAngle, arcAngle);
        if (arcAngle > -360 && arcAngle < 360) {
            MoveTo(h1, v1);
            LineTo((r->left + r->right) / 2, (r->top + r->bottom) / 2);
            LineTo(h0, v0);
        }
        CloseRgn(rgn);
    });
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

void FilledPoly(PolyHandle poly, FillVerb verb, const Pattern* pat) {
    const GrafPtr port = qiva::Drawing().current;
    if (port == nullptr || poly == nullptr) return;
    if (verb == FillVerb::fill && pat != nullptr) qiva::RecordPattern(0x0A, *pat);
    qiva::RecordPolygon(Opcode(0x70, verb), reinterpret_cast<Handle>(poly));
    const int count = qiva::PolygonPointCount(poly);
    if (count == 0 || port->pnVis < 0) return;
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
    FilledByRegion(box, verb, pat, [&](RgnHandle rgn, const Rect&) {
        OpenRgn();
        FramePoly(shape);
        CloseRgn(rgn);
    });
    KillPoly(shape);
}

} // namespace

void PaintArc(const Rect* r, int startAngle, int arcAngle) {
    FilledArc(r, startAngle, arcAngle, FillVerb::paint, nullptr);
}
void EraseArc(const Rect* r, int startAngle, int arcAngle) {
    FilledArc(r, startAngle, arcAngle, FillVerb::erase, nullptr);
}
void InvertArc(const Rect* r, int startAngle, int arcAngle) {
    FilledArc(r, startAngle, arcAngle, FillVerb::invert, nullptr);
}
void FillArc(const Rect* r, int startAngle, int arcAngle, const Pattern* pat) {
    FilledArc(r, startAngle, arcAngle, FillVerb::fill, pat);
}

void PaintPoly(PolyHandle poly) {
    FilledPoly(poly, FillVerb::paint, nullptr);
}
void ErasePoly(PolyHandle poly) {
    FilledPoly(poly, FillVerb::erase, nullptr);
}
void InvertPoly(PolyHandle poly) {
    FilledPoly(poly, FillVerb::invert, nullptr);
}
void FillPoly(PolyHandle poly, const Pattern* pat) {
    FilledPoly(poly, FillVerb::fill, pat);
}
