// The Control Manager: drawing a dialog's worth of controls (two buttons, three check boxes, three
// radio buttons and a scroll bar) with their system pictures, moving a scroll bar's value (the
// thumb redrawn), and a thumb dragged by ten scripted mouse moves.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

#include "bench/screen_fixture.h"
#include "platform/headless.h"
#include "toolkit/controls/controls.h"
#include "toolkit/core/events.h"
#include "toolkit/core/resources.h"
#include "toolkit/core/shell.h"
#include "toolkit/windows/windows.h"

namespace {

struct Dialog {
    platform::HeadlessBackend* headless = nullptr;
    std::int16_t winit = -1;
    qiva_bench::Graphics graphics;
    WindowPtr window = nullptr;
    ControlHandle bar = nullptr;
    static constexpr int kLeft = 100, kTop = 80;

    Dialog() {
        auto backend = std::make_unique<platform::HeadlessBackend>();
        headless = backend.get();
        platform::Install(std::move(backend));
        winit = OpenResFile("WINIT.RSR");
        if (winit <= 0) std::fprintf(stderr, "WINIT.RSR not found: controls drawn without their pictures\n");
        InitFonts();
        InitWindows();
        Rect r;
        SetRect(&r, kLeft, kTop, kLeft + 360, kTop + 220);
        window = NewWindow(nullptr, &r, "", true, dBoxProc, reinterpret_cast<WindowPtr>(-1), false, 0);
        SetPort(window);
        auto make = [&](int l, int t, int w, int h, const char* title, int value, int max, int proc) {
            SetRect(&r, l, t, l + w, t + h);
            return NewControl(window, &r, title, true, static_cast<std::int16_t>(value), 0,
                              static_cast<std::int16_t>(max), static_cast<std::int16_t>(proc), 0);
        };
        make(260, 180, 80, 20, "OK", 0, 1, pushButProc);
        make(170, 180, 80, 20, "Annuler", 0, 1, pushButProc);
        for (int i = 0; i < 3; ++i) {
            make(20, 20 + 20 * i, 140, 16, "Option", i % 2, 1, checkBoxProc);
            make(20, 90 + 20 * i, 140, 16, "Choix", i == 0, 1, radioButProc);
        }
        bar = make(320, 10, 16, 150, "", 0, 100, scrollBarProc);
    }
    ~Dialog() {
        qiva::CloseWindowManager();
        if (winit > 0) CloseResFile(winit);
        platform::Install(nullptr);
    }

    void Inject(platform::EventKind kind, int h, int v) {
        platform::Event e;
        e.kind = kind;
        e.x = kLeft + h;
        e.y = kTop + v;
        e.button = platform::LeftButton;
        e.buttons = kind == platform::EventKind::MouseUp ? 0 : 1;
        headless->Inject(e);
    }
};

void BM_DrawControls(benchmark::State& state) {
    Dialog dialog;
    for (auto _ : state)
        DrawControls(dialog.window);
}
BENCHMARK(BM_DrawControls);

void BM_SetScrollValue(benchmark::State& state) {
    Dialog dialog;
    std::int16_t value = 0;
    for (auto _ : state) {
        value = static_cast<std::int16_t>((value + 7) % 101);
        SetCtlValue(dialog.bar, value);
    }
}
BENCHMARK(BM_SetScrollValue);

// One drag: down on the thumb, ten moves of 3 pixels, up; the value goes back to 0 each time.
void BM_TrackScrollThumb(benchmark::State& state) {
    Dialog dialog;
    for (auto _ : state) {
        SetCtlValue(dialog.bar, 0);
        dialog.Inject(platform::EventKind::MouseDown, 325, 30);
        qiva::PumpStep();
        FlushEvents(everyEvent, 0);
        for (int i = 1; i <= 10; ++i)
            dialog.Inject(platform::EventKind::MouseMove, 325, 30 + 3 * i);
        dialog.Inject(platform::EventKind::MouseUp, 325, 60);
        benchmark::DoNotOptimize(TrackControl(dialog.bar, Point{30, 325}, nullptr));
    }
    state.counters["value"] = GetCtlValue(dialog.bar);
}
BENCHMARK(BM_TrackScrollThumb);

} // namespace
