#include "toolkit/graphics/shape_regions.h"

#include <algorithm>
#include <cmath>

#include "toolkit/graphics/drawing_state.h"
#include "toolkit/graphics/pict_record.h"
#include "toolkit/graphics/ports.h"
#include "toolkit/graphics/rect_utils.h"
#include "toolkit/graphics/region_drawing.h"
#include "toolkit/graphics/region_ops.h"
#include "toolkit/graphics/regions.h"
#include "toolkit/graphics/shape_geometry.h"

namespace qiva {

namespace {

// Bounds on the work a region of absurd size can cause: the rectangles collected, and the rows of
// them the row-by-row merge expands. What lies beyond is left out of the region.
constexpr std::size_t kMaxSpans = std::size_t{1} << 18;
constexpr std::int64_t kMaxMergedRows = std::int64_t{1} << 20;

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

namespace {

// Stores a normalised region record into rgn.
void StoreWords(RgnHandle rgn, const std::vector<std::int16_t>& words) {
    if (words.size() <= region::kHeaderWords || words[0] == region::kRectSize)
        SetRectRgn(rgn, words[2], words[1], words[4], words[3]);
    else
        StoreRegion(rgn, words.data() + region::kHeaderWords, words.size() - region::kHeaderWords);
}

} // namespace

void BuildRegionByDrawing(RgnHandle dst, const std::function<void()>& draw) {
    const GrafPtr caller = Drawing().current;
    // The scratch port draws with the standard procedures into nothing, on the whole plane.
    GrafPort scratch{};
    OpenPort(&scratch);
    scratch.picSave = nullptr;
    scratch.grafProcs = nullptr;
    SetRectRgn(scratch.visRgn, -32000, -32000, 32000, 32000);
    SetRectRgn(scratch.clipRgn, -32000, -32000, 32000, 32000);
    RecomputeClip();
    PenSize(1, 1);
    DrawingState& d = Drawing();
    const RasterProcs saved = d.procs;
    std::vector<SpanRect>* const outer = gSpans; // a region built while another is
    std::vector<SpanRect> spans;
    gSpans = &spans;
    d.procs.spanFill = CollectSpan;
    d.procs.maskedCopy = nullptr; // images are drawn as span fills, so they add their pixels too
    draw();
    d.procs = saved;
    gSpans = outer;
    if (dst != nullptr) {
        std::vector<std::int16_t> words;
        BuildOutlineRegion(spans, words);
        StoreWords(dst, words);
    }
    ClosePort(&scratch);
    SetPort(caller);
}

void FillByRegion(const Rect& bounds, Verb verb, const std::function<void(RgnHandle, const Rect&)>& build) {
    const GrafPtr port = Drawing().current;
    if (port == nullptr || port->pnVis < 0) return;
    // A shape wholly outside what the port shows costs no region.
    Rect visible, ignored;
    if (!SectRect(&(*port->visRgn)->rgnBBox, &(*port->clipRgn)->rgnBBox, &visible) ||
        !SectRect(&visible, &bounds, &ignored) || EmptyRect(&ignored))
        return;
    RgnHandle rgn = NewRgn();
    if (rgn == nullptr) return;
    const Point pen = port->pnLoc;
    SuspendRecording();
    build(rgn, visible);
    // Only what the port shows is filled: a huge shape's region is cut down before it is walked.
    if (RgnHandle shown = NewRgn()) {
        RectRgn(shown, &visible);
        SectRgn(rgn, shown, rgn);
        DisposeRgn(shown);
    }
    FillRegionWith(verb, rgn);
    ResumeRecording();
    port->pnLoc = pen;
    DisposeRgn(rgn);
}

void BuildWedgeRegion(const Rect& r, int startAngle, int arcAngle, const Rect& visible, RgnHandle rgn) {
    std::vector<shapes::Span> spans;
    shapes::OvalSpans(r.left, r.top, r.right, r.bottom, spans);
    const shapes::ArcTest arc(r.left, r.top, r.right, r.bottom, startAngle, arcAngle);
    std::vector<std::int16_t> records, previous, current, scratch;
    const int top = std::max<int>(r.top, visible.top), bottom = std::min<int>(r.bottom, visible.bottom);
    for (int v = top; v < bottom; ++v) {
        current.clear();
        const shapes::Span& span = spans[std::size_t(v - r.top)];
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
        EmitRow(v, previous, current, scratch, records);
        previous.swap(current);
    }
    current.clear();
    EmitRow(bottom, previous, current, scratch, records);
    std::vector<std::int16_t> words;
    Normalised(records, words);
    StoreWords(rgn, words);
}

} // namespace qiva
