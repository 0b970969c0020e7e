// The rasterizer's inner loops against the C library's: PaintRect against memset of the same bytes,
// patterned fills, equal-size CopyBits against memcpy, FABRIQUE_MOB enlarging and shrinking a
// 640 × 400 buffer, and building the inverse table.

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "bench/screen_fixture.h"
#include "toolkit/graphics/drawing_state.h"
#include "toolkit/graphics/quickdraw.h"

namespace {

using qiva_bench::kHeight;
using qiva_bench::kWidth;
constexpr std::int64_t kBytes = std::int64_t{kWidth} * kHeight;

// The graphics layer with two 640 × 400 buffer ports; the current port is `dst`, `src` holds a pattern.
struct Graphics {
    qiva_bench::Graphics screen;
    GrafPort& dst = screen.port;
    GrafPort src{};
    Graphics() {
        NewBufferPort(&src, kWidth, kHeight);
        Rect r;
        SetRect(&r, 0, 0, kWidth, kHeight);
        FillRect(&r, &qd.gray); // something other than one value
        SetPort(&dst);
    }
    ~Graphics() { DisposeBufferPort(&src); }
};

Rect Whole() {
    Rect r;
    SetRect(&r, 0, 0, kWidth, kHeight);
    return r;
}

void BM_PaintRect(benchmark::State& state) {
    Graphics g;
    const Rect r = Whole();
    for (auto _ : state) {
        PaintRect(&r);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kBytes);
}
BENCHMARK(BM_PaintRect);

void BM_Memset(benchmark::State& state) {
    std::vector<std::uint8_t> buffer(kBytes);
    int value = 0;
    for (auto _ : state) {
        std::memset(buffer.data(), ++value & 0xFF, buffer.size());
        benchmark::DoNotOptimize(buffer.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kBytes);
}
BENCHMARK(BM_Memset);

// A patterned fill in a mode: 0 gray copy, 1 gray or, 2 black xor, 3 ltGray bic, 4 hilite.
void BM_FillRectPattern(benchmark::State& state) {
    Graphics g;
    const Rect r = Whole();
    const Pattern* patterns[] = {&qd.gray, &qd.gray, &qd.black, &qd.ltGray, &qd.black};
    const int modes[] = {patCopy, patOr, patXor, patBic, patXor | hilite};
    const int which = static_cast<int>(state.range(0));
    PenMode(modes[which]);
    for (auto _ : state) {
        FillRect(&r, patterns[which]);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kBytes);
    const char* labels[] = {"gray patCopy", "gray patOr", "black patXor", "ltGray patBic", "hilite"};
    state.SetLabel(labels[which]);
}
BENCHMARK(BM_FillRectPattern)->DenseRange(0, 4);

void BM_CopyBitsEqualSize(benchmark::State& state) {
    Graphics g;
    const Rect r = Whole();
    for (auto _ : state) {
        CopyBits(&g.src.portBits, &g.dst.portBits, &r, &r, srcCopy, nullptr);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kBytes);
}
BENCHMARK(BM_CopyBitsEqualSize);

void BM_Memcpy(benchmark::State& state) {
    std::vector<std::uint8_t> from(kBytes, 3), to(kBytes);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), to.size());
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kBytes);
}
BENCHMARK(BM_Memcpy);

// FABRIQUE_MOB of the whole 640 × 400 source to range(0) × range(1); range(2) = 1 reads it as a
// one-bit image (the smoothing path when enlarging).
void BM_FabriqueMob(benchmark::State& state) {
    Graphics g;
    const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
    const bool oneBit = state.range(2) != 0;
    std::vector<std::uint8_t> bits;
    BitMap map{};
    if (oneBit) {
        bits.assign(static_cast<std::size_t>(kWidth / 8) * kHeight, 0);
        for (std::size_t i = 0; i < bits.size(); ++i)
            bits[i] = static_cast<std::uint8_t>(i * 37 % 251);
        map = BitMap{reinterpret_cast<Ptr>(bits.data()), kWidth / 8, Whole()};
        qiva::DescribeSource(&map);
    } else {
        qiva::DescribeSource(&g.src.portBits);
    }
    std::vector<std::uint8_t> block(static_cast<std::size_t>(w) * h);
    const Rect r = Whole();
    for (auto _ : state) {
        FABRIQUE_MOB(&r, w, h, oneBit ? qiva::FetchBit : qiva::FetchMapped, block.data());
        benchmark::ClobberMemory();
    }
    state.counters["pixels/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * w * h, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_FabriqueMob)
    ->Args({960, 600, 0})
    ->Args({1280, 800, 0})
    ->Args({320, 200, 0})
    ->Args({960, 600, 1})
    ->Args({320, 200, 1})
    ->Unit(benchmark::kMillisecond);

void BM_BuildInverseTable(benchmark::State& state) {
    const auto colourSpecs = qiva::BuildColorSpecs(qiva::BuildPalette(0, 0, 0));
    qiva::InverseTable table;
    for (auto _ : state) {
        qiva::BuildInverseTable(colourSpecs.data(), 256, 5, qiva::kTransparentIndex, table);
        benchmark::DoNotOptimize(table.cells.data());
    }
}
BENCHMARK(BM_BuildInverseTable)->Unit(benchmark::kMillisecond);

} // namespace
