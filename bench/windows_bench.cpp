// The Window Manager's redraw while a window is dragged across five overlapping windows: each step
// moves it 4 pixels (its pixels carried, the pass drawing what it uncovers) and serves the update
// events that follow, against a full-screen CopyBits on the same 640 × 400 screen.

#include <benchmark/benchmark.h>

#include "bench/screen_fixture.h"
#include "toolkit/core/events.h"
#include "toolkit/graphics/buffers.h"
#include "toolkit/windows/windows.h"

namespace {

using qiva_bench::kHeight;
using qiva_bench::kWidth;

WindowPtr const kInFront = reinterpret_cast<WindowPtr>(-1);

struct Desk {
    qiva_bench::Graphics graphics;
    WindowPtr moving = nullptr;
    Desk() {
        InitWindows();
        const std::int16_t colours[] = {yellowColor, cyanColor, magentaColor, greenColor, redColor};
        for (int i = 0; i < 5; ++i) {
            Rect r;
            SetRect(&r, 60 + i * 100, 60 + (i % 2) * 80, 60 + i * 100 + 160, 60 + (i % 2) * 80 + 200);
            WindowPtr w = NewWindow(nullptr, &r, "", true, documentProc, kInFront, true, 0);
            qiva::SetWindowContentColor(w, colours[i]);
        }
        Rect r;
        SetRect(&r, 10, 120, 170, 260);
        moving = NewWindow(nullptr, &r, "", true, documentProc, kInFront, true, 0);
        ServeUpdates();
    }
    ~Desk() { qiva::CloseWindowManager(); }

    static void ServeUpdates() {
        while (WindowPtr w = qiva::WindowNeedingUpdate()) {
            SetPort(w);
            BeginUpdate(w);
            ForeColor(blackColor);
            Rect band;
            SetRect(&band, 8, 8, 80, 20);
            PaintRect(&band);
            EndUpdate(w);
        }
    }
};

// range(0) = 0: the move and its redraw pass only; 1: with the update events served.
void BM_DragAcrossFiveWindows(benchmark::State& state) {
    Desk desk;
    const bool serve = state.range(0) != 0;
    int step = 4;
    for (auto _ : state) {
        const Rect c = qiva::GlobalContentRect(qiva::Peek(desk.moving));
        if (c.right + step > kWidth - 10 || c.left + step < 10) step = -step;
        MoveWindow(desk.moving, static_cast<std::int16_t>(c.left + step), c.top, false);
        if (serve) Desk::ServeUpdates();
        benchmark::ClobberMemory();
    }
    state.SetLabel(serve ? "move, pass and updates" : "move and pass");
}
BENCHMARK(BM_DragAcrossFiveWindows)->Arg(0)->Arg(1);

void BM_FullScreenCopyBits(benchmark::State& state) {
    Desk desk;
    SetPort(qiva::TemplatePort());
    Rect whole;
    SetRect(&whole, 0, 0, kWidth, kHeight);
    for (auto _ : state) {
        CopyBits(&desk.graphics.port.portBits, &qiva::TemplatePort()->portBits, &whole, &whole, srcCopy,
                 nullptr);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kWidth * kHeight);
}
BENCHMARK(BM_FullScreenCopyBits);

} // namespace
