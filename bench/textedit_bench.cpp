// TextEdit on a 32,000-character record in DejaVu Sans at 12 points, 400 pixels wide: one character
// typed at the end and in the middle (each followed by a backspace, so the record keeps its size),
// the whole layout (TECalText), and the text layer's TextWidth of the same text for comparison.

#include <benchmark/benchmark.h>

#include <string>

#include "bench/screen_fixture.h"
#include "toolkit/graphics/font_numbers.h"
#include "toolkit/managers/textedit.h"

namespace {

constexpr int kLength = 32000;

std::string Prose() {
    const std::string words = "Le joueur s\x8Eme quatre graines dans la case suivante, puis capture deux ou "
                              "trois graines \x88 chaque tour.\r";
    std::string text;
    while (text.size() < kLength)
        text += words;
    text.resize(kLength);
    return text;
}

struct Record {
    qiva_bench::Graphics graphics;
    std::string text = Prose();
    TEHandle te = nullptr;
    Record() {
        TextFont(static_cast<std::int16_t>(qiva::FontNumberFromName("DejaVu Sans", 1, "0")));
        TextSize(12);
        const Rect dest{0, 0, 32000, 400};
        const Rect view{0, 0, 400, 400};
        te = TENew(&dest, &view);
        TESetText(text.data(), kLength, te);
        TEActivate(te);
    }
    ~Record() { TEDispose(te); }
};

void TypeAt(benchmark::State& state, int offset) {
    Record r;
    for (auto _ : state) {
        TESetSelect(offset, offset, r.te);
        TEKey('x', r.te);
        TEKey(8, r.te);
    }
    state.SetItemsProcessed(state.iterations() * 2);
    state.counters["lines"] = (*r.te)->nLines;
}

void BM_TypeAtEnd(benchmark::State& state) {
    TypeAt(state, kLength);
}
BENCHMARK(BM_TypeAtEnd)->Unit(benchmark::kMicrosecond);

void BM_TypeInMiddle(benchmark::State& state) {
    TypeAt(state, kLength / 2);
}
BENCHMARK(BM_TypeInMiddle)->Unit(benchmark::kMicrosecond);

void BM_TECalText(benchmark::State& state) {
    Record r;
    for (auto _ : state)
        TECalText(r.te);
    state.counters["lines"] = (*r.te)->nLines;
}
BENCHMARK(BM_TECalText)->Unit(benchmark::kMillisecond);

void BM_TextWidthOfTheWholeText(benchmark::State& state) {
    Record r;
    for (auto _ : state)
        benchmark::DoNotOptimize(TextWidth(r.text.data(), 0, kLength));
}
BENCHMARK(BM_TextWidthOfTheWholeText)->Unit(benchmark::kMillisecond);

} // namespace
