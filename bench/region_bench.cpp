// The region calls on complex regions of 10, 100 and 1000 scanline records (UnionRgn, SectRgn,
// DiffRgn through their handles), and drawing with regions: PaintOval and FrameOval of 100 × 100,
// PaintRgn of a complex 640 × 400 region, and a 640 × 400 fill clipped to that region against the
// same fill unclipped.

#include <benchmark/benchmark.h>

#include <vector>

#include "bench/screen_fixture.h"
#include "toolkit/graphics/quickdraw.h"
#include "toolkit/graphics/shape_geometry.h"

namespace {

// A region of `records` scanline records: two-row slabs of varying extent every third row, each
// with a notch, so that every record holds four points.
RgnHandle Slabs(int records, int phase) {
    RgnHandle rgn = NewRgn(), piece = NewRgn(), notch = NewRgn();
    for (int i = 0; i < records / 2; ++i) {
        const int left = (i * 37 + phase * 11) % 200, right = left + 120 + (i * 13 + phase) % 100;
        const int v = 3 * i + phase;
        SetRectRgn(piece, left, v, right, v + 2);
        SetRectRgn(notch, left + 40, v, left + 60, v + 2);
        DiffRgn(piece, notch, piece);
        UnionRgn(rgn, piece, rgn);
    }
    DisposeRgn(piece);
    DisposeRgn(notch);
    return rgn;
}

void SetOperation(benchmark::State& state, void (*op)(RgnHandle, RgnHandle, RgnHandle)) {
    const int records = static_cast<int>(state.range(0));
    // The second region is one row lower: each slab overlaps one of the other's by a row.
    RgnHandle a = Slabs(records, 0), b = Slabs(records, 1), out = NewRgn();
    for (auto _ : state) {
        op(a, b, out);
        benchmark::DoNotOptimize(*out);
    }
    state.counters["result_bytes"] = static_cast<double>(qiva::RegionBytes(out));
    state.SetItemsProcessed(state.iterations() * records);
    DisposeRgn(a);
    DisposeRgn(b);
    DisposeRgn(out);
}

void BM_UnionRgn(benchmark::State& state) {
    SetOperation(state, UnionRgn);
}
void BM_SectRgn(benchmark::State& state) {
    SetOperation(state, SectRgn);
}
void BM_DiffRgn(benchmark::State& state) {
    SetOperation(state, DiffRgn);
}
BENCHMARK(BM_UnionRgn)->Arg(10)->Arg(100)->Arg(1000);
BENCHMARK(BM_SectRgn)->Arg(10)->Arg(100)->Arg(1000);
BENCHMARK(BM_DiffRgn)->Arg(10)->Arg(100)->Arg(1000);

using qiva_bench::Graphics;
using qiva_bench::kHeight;
using qiva_bench::kWidth;

// The 640 × 400 oval less a grid of 12 holes, a record on every row: a complex region the size of
// the board.
RgnHandle Board() {
    RgnHandle rgn = NewRgn(), piece = NewRgn();
    std::vector<qiva::shapes::Span> spans;
    qiva::shapes::OvalSpans(0, 0, kWidth, kHeight, spans);
    for (int v = 0; v < kHeight; ++v) {
        SetRectRgn(piece, spans[v].left, v, spans[v].right + 1, v + 1);
        UnionRgn(rgn, piece, rgn);
    }
    for (int i = 0; i < 12; ++i) {
        const int left = 90 + (i % 6) * 80, top = i < 6 ? 110 : 230;
        SetRectRgn(piece, left, top, left + 60, top + 60);
        DiffRgn(rgn, piece, rgn);
    }
    DisposeRgn(piece);
    return rgn;
}

void BM_PaintOval100(benchmark::State& state) {
    Graphics g;
    Rect r;
    SetRect(&r, 10, 10, 110, 110);
    for (auto _ : state) {
        PaintOval(&r);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_PaintOval100);

void BM_FrameOval100(benchmark::State& state) {
    Graphics g;
    Rect r;
    SetRect(&r, 10, 10, 110, 110);
    for (auto _ : state) {
        FrameOval(&r);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FrameOval100);

void BM_PaintRgnBoard(benchmark::State& state) {
    Graphics g;
    RgnHandle board = Board();
    for (auto _ : state) {
        PaintRgn(board);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kWidth * kHeight);
    DisposeRgn(board);
}
BENCHMARK(BM_PaintRgnBoard);

// The same whole-buffer PaintRect, clipped to the board region (range 1) or not (range 0).
void BM_FillClipped(benchmark::State& state) {
    Graphics g;
    RgnHandle board = Board();
    if (state.range(0) != 0) SetClip(board);
    Rect r;
    SetRect(&r, 0, 0, kWidth, kHeight);
    for (auto _ : state) {
        PaintRect(&r);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kWidth * kHeight);
    DisposeRgn(board);
}
BENCHMARK(BM_FillClipped)->Arg(0)->Arg(1);

} // namespace
