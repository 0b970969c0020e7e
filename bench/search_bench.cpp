// Nodes per second of the computer's search at the two deepest levels.

#include <benchmark/benchmark.h>

#include "game/rules.h"
#include "game/search.h"
#include "toolkit/core/random.h"

namespace {

using namespace tolka;

Board Position(int index) {
    // The start and three mid-game positions (48 seeds each).
    static const Board positions[] = {
        StartBoard(),
        {{5, 0, 6, 1, 7, 2, 0, 3, 5, 1, 4, 6}, {4, 4}},
        {{2, 3, 0, 8, 1, 1, 6, 0, 2, 5, 3, 1}, {10, 6}},
        {{1, 6, 4, 0, 3, 2, 2, 4, 0, 7, 1, 3}, {9, 6}},
    };
    return positions[index];
}

void SearchAt(benchmark::State& state) {
    const auto ruleSet = static_cast<std::int16_t>(state.range(0));
    const auto depth = static_cast<std::int16_t>(state.range(1));
    const Board board = Position(static_cast<int>(state.range(2)));
    std::uint64_t nodes = 0;
    for (auto _ : state) {
        randSeed = 1;
        Searcher searcher(ruleSet, depth, nullptr);
        std::int16_t best = -1;
        benchmark::DoNotOptimize(searcher.Search(1, board, best, 0));
        nodes += searcher.Nodes();
    }
    state.counters["nodes"] =
        benchmark::Counter(static_cast<double>(nodes), benchmark::Counter::kAvgIterations);
    state.counters["nodes/s"] = benchmark::Counter(static_cast<double>(nodes), benchmark::Counter::kIsRate);
}

BENCHMARK(SearchAt)
    ->ArgNames({"rules", "depth", "position"})
    ->ArgsProduct({{kStandardRules, kRelayRules}, {8, 10}, {0, 1, 2, 3}})
    ->Unit(benchmark::kMillisecond);

} // namespace
