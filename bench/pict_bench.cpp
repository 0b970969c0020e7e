// Pictures: a board-sized PackBitsRect picture (as qiva-pict makes them from PNG) played at its own
// size and scaled, a recording of shapes played back, and filled polygons through region recording.

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "bench/screen_fixture.h"
#include "toolkit/core/memory.h"
#include "toolkit/graphics/quickdraw.h"
#include "tools/qiva-pict/pict_files.h"

namespace {

using qiva_bench::Graphics;
using qiva_bench::kHeight;
using qiva_bench::kWidth;

// A picture of smooth gradients and a few flat areas, dithered onto the palette.
PicHandle BoardPicture() {
    qiva_pict::RgbaImage image{kWidth, kHeight, {}};
    image.rgba.resize(std::size_t(kWidth) * kHeight * 4);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            std::uint8_t* p = &image.rgba[(std::size_t(y) * kWidth + std::size_t(x)) * 4];
            const bool flat = (x / 80 + y / 80) % 3 == 0;
            p[0] = flat ? 120 : static_cast<std::uint8_t>(x * 255 / kWidth);
            p[1] = flat ? 80 : static_cast<std::uint8_t>(y * 255 / kHeight);
            p[2] = flat ? 40 : static_cast<std::uint8_t>((x + y) % 256);
            p[3] = 255;
        }
    const qiva_pict::Bytes bytes = qiva_pict::PictFromImage(image, qiva::ThePalette().palette, {});
    Handle h = nullptr;
    PtrToHand(bytes.data(), &h, static_cast<Size>(bytes.size()));
    return reinterpret_cast<PicHandle>(h);
}

void DrawBoard(benchmark::State& state, int width, int height) {
    Graphics g;
    const PicHandle pic = BoardPicture();
    Rect dst;
    SetRect(&dst, 0, 0, width, height);
    for (auto _ : state)
        DrawPicture(pic, &dst);
    state.counters["pixels/s"] =
        benchmark::Counter(double(width) * height, benchmark::Counter::kIsIterationInvariantRate);
    KillPicture(pic);
}

void BM_DrawPictureOwnSize(benchmark::State& state) {
    DrawBoard(state, kWidth, kHeight);
}
BENCHMARK(BM_DrawPictureOwnSize);

void BM_DrawPictureHalfSize(benchmark::State& state) {
    DrawBoard(state, kWidth / 2, kHeight / 2);
}
BENCHMARK(BM_DrawPictureHalfSize);

// A hundred shapes of every kind recorded once, played back each iteration.
void BM_PlayRecordedShapes(benchmark::State& state) {
    Graphics g;
    Rect frame;
    SetRect(&frame, 0, 0, kWidth, kHeight);
    const PicHandle pic = OpenPicture(&frame);
    for (int i = 0; i < 100; ++i) {
        Rect r;
        SetRect(&r, (i * 37) % 560, (i * 53) % 330, (i * 37) % 560 + 60, (i * 53) % 330 + 50);
        ForeColor(i % 2 ? redColor : blueColor);
        switch (i % 5) {
        case 0:
            PaintRect(&r);
            break;
        case 1:
            PaintOval(&r);
            break;
        case 2:
            FrameRoundRect(&r, 12, 12);
            break;
        case 3:
            MoveTo(r.left, r.top);
            LineTo(r.right, r.bottom);
            break;
        default:
            PaintArc(&r, 30, 120);
            break;
        }
    }
    ClosePicture();
    for (auto _ : state)
        DrawPicture(pic, &frame);
    state.counters["shapes/s"] = benchmark::Counter(100, benchmark::Counter::kIsIterationInvariantRate);
    KillPicture(pic);
}
BENCHMARK(BM_PlayRecordedShapes);

// A five-pointed star 300 pixels across: its outline recorded, replayed into a region, filled.
void BM_PaintPoly(benchmark::State& state) {
    Graphics g;
    const PolyHandle star = OpenPoly();
    for (int i = 0; i <= 5; ++i) {
        const double a = (i * 144) * 3.14159265 / 180;
        const int h = 320 + static_cast<int>(150 * std::sin(a)),
                  v = 200 - static_cast<int>(150 * std::cos(a));
        if (i == 0)
            MoveTo(h, v);
        else
            LineTo(h, v);
    }
    ClosePoly();
    for (auto _ : state)
        PaintPoly(star);
    KillPoly(star);
}
BENCHMARK(BM_PaintPoly);

} // namespace
