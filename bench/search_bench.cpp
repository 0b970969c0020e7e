// Nodes per second of the computer's search at the two deepest levels.

#include <benchmark/benchmark.h>

#include "game/rules.h"
#include "game/search.h"
#include "toolkit/core/random.h"

namespace {

using namespace tolka;

struct Position {
    Board board;
    std::uint8_t side; // to move
};

// The start, then positions from self-play games between two depth-8 searches: a standard game after 8
// and 16 moves, a relay game after 8.
const Position kPositions[] = {
    {StartBoard(), 1},
    {{{8, 0, 0, 7, 6, 0, 8, 1, 1, 7, 6, 0}, {0, 4}}, 0},
    {{{4, 5, 4, 1, 0, 1, 1, 3, 3, 10, 0, 4}, {4, 8}}, 0},
    {{{1, 5, 2, 1, 1, 1, 5, 3, 0, 0, 2, 1}, {14, 12}}, 0},
};

void SearchAt(benchmark::State& state) {
    const auto ruleSet = static_cast<std::int16_t>(state.range(0));
    const auto depth = static_cast<std::int16_t>(state.range(1));
    const Position& position = kPositions[state.range(2)];
    std::uint64_t nodes = 0;
    for (auto _ : state) {
        randSeed = 1;
        Searcher searcher(ruleSet, depth, nullptr);
        std::int16_t best = -1;
        benchmark::DoNotOptimize(searcher.Search(position.side, position.board, best, 0));
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
