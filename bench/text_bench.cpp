// Text: 200 strings of 30 characters drawn and measured in a bitmap font (the system's family 3 at
// 12 points, from WINIT.RSR) and in a TrueType face (DejaVu Sans at 12), and the first draw after
// the caches were forgotten.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/screen_fixture.h"
#include "toolkit/core/resources.h"
#include "toolkit/graphics/drawing_state.h"
#include "toolkit/graphics/font_numbers.h"
#include "toolkit/graphics/quickdraw.h"

namespace {

constexpr int kStrings = 200, kLength = 30;

// The numbers of DejaVu Sans (a sans face numbered by its name's hash).
const int kDejaVuSans = static_cast<std::int16_t>(qiva::FontNumberFromName("DejaVu Sans", 1, "0"));

std::vector<std::string> Strings() {
    const std::string words = "Le joueur s\x8Eme quatre graines dans la case suivante, puis capture deux ou "
                              "trois graines \x88 chaque tour; \x83galit\x8E ou victoire ?";
    std::vector<std::string> out;
    for (int i = 0; i < kStrings; ++i)
        out.push_back(words.substr(i % (words.size() - kLength), kLength));
    return out;
}

struct Text {
    qiva_bench::Graphics graphics;
    std::int16_t fonts = OpenResFile("WINIT.RSR");
    std::vector<std::string> strings = Strings();
    Text(int font, int size) {
        if (fonts <= 0) std::fprintf(stderr, "WINIT.RSR not found: bitmap text draws nothing\n");
        TextFont(font);
        TextSize(size);
    }
    ~Text() {
        if (fonts > 0) CloseResFile(fonts);
    }
    void DrawAll() {
        for (int i = 0; i < kStrings; ++i) {
            MoveTo(4 + i % 3 * 8, 12 + i % 32 * 12);
            DrawText(strings[i].data(), 0, kLength);
        }
    }
    long MeasureAll() {
        long total = 0;
        for (const std::string& s : strings)
            total += TextWidth(s.data(), 0, kLength);
        return total;
    }
};

void Draw(benchmark::State& state, int font, int size) {
    Text t(font, size);
    t.DrawAll(); // the strike, the face and the glyphs are ready
    for (auto _ : state) {
        t.DrawAll();
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kStrings * kLength);
}

void Measure(benchmark::State& state, int font, int size) {
    Text t(font, size);
    for (auto _ : state)
        benchmark::DoNotOptimize(t.MeasureAll());
    state.SetItemsProcessed(state.iterations() * kStrings * kLength);
}

void BM_DrawBitmap(benchmark::State& state) {
    Draw(state, 3, 12);
}
void BM_DrawBitmapScaled(benchmark::State& state) {
    Draw(state, 3, 13);
}
void BM_DrawTrueType(benchmark::State& state) {
    Draw(state, kDejaVuSans, 12);
}
void BM_TextWidthBitmap(benchmark::State& state) {
    Measure(state, 3, 12);
}
void BM_TextWidthTrueType(benchmark::State& state) {
    Measure(state, kDejaVuSans, 12);
}
BENCHMARK(BM_DrawBitmap)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DrawBitmapScaled)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DrawTrueType)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TextWidthBitmap)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TextWidthTrueType)->Unit(benchmark::kMicrosecond);

// One string after the strikes and scaled glyphs were forgotten (a resource file was opened, fonts
// were purged): the strike is prepared again, and at 13 points its glyphs are resampled again.
void FirstDrawAfterInvalidation(benchmark::State& state, int size) {
    Text t(3, size);
    t.DrawAll();
    for (auto _ : state) {
        qiva::InvalidateTextCaches();
        MoveTo(4, 20);
        DrawText(t.strings[0].data(), 0, kLength);
        benchmark::ClobberMemory();
    }
}
void BM_FirstDrawAfterInvalidation(benchmark::State& state) {
    FirstDrawAfterInvalidation(state, 12);
}
void BM_FirstDrawAfterInvalidationScaled(benchmark::State& state) {
    FirstDrawAfterInvalidation(state, 13);
}
BENCHMARK(BM_FirstDrawAfterInvalidation)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FirstDrawAfterInvalidationScaled)->Unit(benchmark::kMicrosecond);

// A TrueType string after the face table and the opened faces were disposed: fontconfig lists the
// faces again, the face file is opened and its glyphs rendered again.
void BM_FirstTrueTypeDrawAfterDisposal(benchmark::State& state) {
    Text t(kDejaVuSans, 12);
    t.DrawAll();
    for (auto _ : state) {
        qiva::DisposeFaceTable();
        MoveTo(4, 20);
        DrawText(t.strings[0].data(), 0, kLength);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FirstTrueTypeDrawAfterDisposal)->Unit(benchmark::kMicrosecond);

} // namespace
