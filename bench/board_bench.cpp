// The board window's two hot paths against the full-screen copy they are built from: a whole-board
// redraw (48 seeds and their shadows, from the background buffer through a temporary buffer to the
// screen buffer) and one step of the hand (the old place put back, the hand drawn at the new one, the
// union of both copied to the screen). BM_CopyBitsEqualSize is the graphics bench's yardstick.

#include <benchmark/benchmark.h>

#include <cstdio>

#include "bench/screen_fixture.h"
#include "game/board_geometry.h"
#include "game/board_view.h"
#include "toolkit/core/resources.h"
#include "toolkit/graphics/quickdraw.h"

namespace {

using qiva_bench::kHeight;
using qiva_bench::kWidth;

// The graphics layer, the game's resources and a board window on the screen with a new game laid out.
struct BoardScene {
    qiva_bench::Graphics graphics;
    std::int16_t file = OpenResFile(TOLKA_RSR);
    GrafPort window{};
    tolka::Board board = tolka::StartBoard();
    BoardScene() {
        if (file <= 0) std::fprintf(stderr, "cannot open %s\n", TOLKA_RSR);
        OpenPort(&window);
        tolka::BoardDisplay& view = tolka::Display();
        view.Reset();
        view.Attach(&window, &board);
        view.SetCalibration(4, 60);
        view.ResetSeeds();
        for (std::int16_t pit = 0; pit < tolka::kPitCount; ++pit)
            for (int i = 0; i < tolka::kStartSeedsPerPit; ++i)
                view.SetSeedPlace(board, pit, static_cast<std::int16_t>(4 * pit + i));
        view.RedrawBoard(); // the background buffer and the icons, made once
    }
    ~BoardScene() {
        tolka::Display().Reset();
        ClosePort(&window);
        if (file > 0) CloseResFile(file);
    }
};

void BM_CopyBitsEqualSize(benchmark::State& state) {
    qiva_bench::Graphics g;
    GrafPort src{};
    NewBufferPort(&src, kWidth, kHeight);
    Rect r;
    SetRect(&r, 0, 0, kWidth, kHeight);
    FillRect(&r, &qd.gray);
    SetPort(&g.port);
    for (auto _ : state) {
        CopyBits(&src.portBits, &g.port.portBits, &r, &r, srcCopy, nullptr);
        benchmark::ClobberMemory();
    }
    DisposeBufferPort(&src);
}
BENCHMARK(BM_CopyBitsEqualSize);

void BM_RedrawBoard(benchmark::State& state) {
    BoardScene scene;
    for (auto _ : state) {
        tolka::Display().RedrawBoard();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_RedrawBoard);

void BM_SpriteStep(benchmark::State& state) {
    BoardScene scene;
    tolka::BoardDisplay& view = tolka::Display();
    view.StartSprite(0);
    if (!view.SpriteActive()) {
        state.SkipWithError("no hand sprite");
        return;
    }
    // Back and forth by the minimum step: every move is exactly one step.
    const Point centre = tolka::PitCentre(2);
    int dh = 0;
    view.MoveSpriteTo(centre.h, centre.v);
    for (auto _ : state) {
        dh = dh == 0 ? 4 : 0;
        view.MoveSpriteTo(centre.h + dh, centre.v);
        benchmark::ClobberMemory();
    }
    view.EndSprite();
}
BENCHMARK(BM_SpriteStep);

} // namespace
