// The region engine's set operations on complex regions of 10, 100 and 1000 scanline records.

#include <benchmark/benchmark.h>

#include <vector>

#include "toolkit/graphics/region_ops.h"

namespace {

using namespace qiva::region;
using Record = std::vector<std::int16_t>;

// A region of `records` scanline records: two-row slabs of varying extent every third row, each slab
// with a notch, so that every record holds four points.
Record Slabs(int records, int phase) {
    Engine engine;
    Record rgn, piece, notch, out;
    MakeRect(rgn, 0, 0, 0, 0);
    for (int i = 0; i < records / 2; ++i) {
        const int left = (i * 37 + phase * 11) % 200, right = left + 120 + (i * 13 + phase) % 100;
        const auto v = std::int16_t(3 * i + phase);
        MakeRect(piece, v, std::int16_t(left), std::int16_t(v + 2), std::int16_t(right));
        MakeRect(notch, v, std::int16_t(left + 40), std::int16_t(v + 2), std::int16_t(left + 60));
        engine.Combine(Op::Diff, piece, notch, out);
        engine.Combine(Op::Union, rgn, out, piece);
        rgn.swap(piece);
    }
    return rgn;
}

void SetOperation(benchmark::State& state, Op op) {
    const int records = static_cast<int>(state.range(0));
    // The second region is one row lower: each slab overlaps one of the other's by a row.
    const Record a = Slabs(records, 0), b = Slabs(records, 1);
    Engine engine;
    Record out;
    for (auto _ : state) {
        engine.Combine(op, a, b, out);
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["result_words"] = static_cast<double>(out.size());
    state.SetItemsProcessed(state.iterations() * records);
}

void Union(benchmark::State& state) {
    SetOperation(state, Op::Union);
}
void Sect(benchmark::State& state) {
    SetOperation(state, Op::Sect);
}
void Diff(benchmark::State& state) {
    SetOperation(state, Op::Diff);
}

BENCHMARK(Union)->Arg(10)->Arg(100)->Arg(1000);
BENCHMARK(Sect)->Arg(10)->Arg(100)->Arg(1000);
BENCHMARK(Diff)->Arg(10)->Arg(100)->Arg(1000);

} // namespace
