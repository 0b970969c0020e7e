// The graphics speed test: the eleven loops, the window that shows them, and the screen animation.

#include "toolkit/windows/speed_test.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

#include "toolkit/core/events.h"
#include "toolkit/core/memory.h"
#include "toolkit/core/time_manager.h"
#include "toolkit/graphics/drawing_state.h"
#include "toolkit/graphics/quickdraw.h"
#include "toolkit/windows/desk_accessory.h"

namespace qiva {

namespace {

Rect R(int left, int top, int right, int bottom) {
    Rect r;
    SetRect(&r, left, top, right, bottom);
    return r;
}

// Spreads loop i of n over the area: a coordinate that sweeps its width or height.
int Sweep(int i, int n, int from, int to) {
    return from + static_cast<int>(static_cast<long long>(i % n) * (to - from) / n);
}

const std::int32_t kColours[] = {blackColor, redColor, greenColor, blueColor, cyanColor, magentaColor, yellowColor};

std::int32_t Colour(int i) {
    return kColours[static_cast<std::size_t>(i) % std::size(kColours)];
}

// The picture drawn by the last loop: a few shapes and a word, recorded once before the timing.
PicHandle RecordSample() {
    const Rect frame = R(0, 0, 48, 32);
    PicHandle pic = OpenPicture(&frame);
    ForeColor(yellowColor);
    PaintRect(&frame);
    ForeColor(blueColor);
    const Rect oval = R(4, 4, 28, 28);
    PaintOval(&oval);
    ForeColor(blackColor);
    FrameRect(&frame);
    MoveTo(30, 20);
    DrawText("Q", 0, 1);
    ClosePicture();
    return pic;
}

} // namespace

const std::vector<const char*>& SpeedTestLabels() {
    static const std::vector<const char*> labels{
        "10000 boucles a vide:", "1000 lignes simples:", "100 lignes epaisses :", "1000 rectangles :",
        "1000 rectangles pleins :", "200 chaines :", "1000 ovales :", "1000 ovales pleins :",
        "100 polygones pleins :", "1000 scrollings :", "1000 Picts :"};
    return labels;
}

double PreciseTicks() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count() * 60.0;
}

std::string FormatTicks(double ticks) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", ticks < 0 ? 0.0 : ticks);
    return text;
}

std::vector<SpeedResult> RunSpeedLoops(const Rect& area, const std::function<double()>& clock,
                                       const std::function<void(const SpeedResult&)>& done) {
    const int left = area.left, top = area.top, right = area.right, bottom = area.bottom;
    const int w = right - left, h = bottom - top;
    if (w < 64 || h < 64) return {};
    std::vector<SpeedResult> results;
    PenState savedPen;
    GetPenState(&savedPen);
    PicHandle sample = RecordSample();
    PolyHandle star = OpenPoly();
    MoveTo(left + w / 2, top + 4);
    LineTo(left + w / 2 + w / 8, top + h / 2);
    LineTo(left + w - 4, top + h / 2 + h / 8);
    LineTo(left + w / 2, top + h - 4);
    LineTo(left + 4, top + h / 2 + h / 8);
    LineTo(left + w / 2 - w / 8, top + h / 2);
    LineTo(left + w / 2, top + 4);
    ClosePoly();

    // The shapes' loops: a third of the area, swept over its top-left quarter, in turning colours.
    const auto Shape = [&](int i) {
        ForeColor(Colour(i));
        const int x = Sweep(i, 53, left, left + w / 2), y = Sweep(i, 47, top, top + h / 2);
        return R(x, y, x + w / 3, y + h / 3);
    };
    const std::function<void(int)> loops[] = {
        [](int i) {
            static volatile int sink;
            sink = sink + i; // read and written, so the empty loop stays a loop
        },
        [&](int i) {
            ForeColor(Colour(i));
            MoveTo(Sweep(i, 97, left, right), top);
            LineTo(Sweep(i * 7, 89, left, right), bottom - 1);
        },
        [&](int i) {
            PenSize(6, 6);
            ForeColor(Colour(i));
            MoveTo(left, Sweep(i, 37, top, bottom - 6));
            LineTo(right - 6, Sweep(i * 5, 41, top, bottom - 6));
            PenSize(1, 1);
        },
        [&](int i) {
            const Rect r = Shape(i);
            FrameRect(&r);
        },
        [&](int i) {
            const Rect r = Shape(i);
            PaintRect(&r);
        },
        [&](int i) {
            static const char text[] = "QIVA dessine vite";
            ForeColor(Colour(i));
            MoveTo(Sweep(i, 13, left, left + w / 2), Sweep(i, 19, top + 12, bottom));
            DrawText(text, 0, static_cast<int>(sizeof text - 1));
        },
        [&](int i) {
            const Rect r = Shape(i);
            FrameOval(&r);
        },
        [&](int i) {
            const Rect r = Shape(i);
            PaintOval(&r);
        },
        [&](int i) {
            ForeColor(Colour(i));
            if (star) PaintPoly(star);
        },
        [&](int) {
            // What a scroll does: the area moved one pixel up within itself.
            GrafPtr port = nullptr;
            GetPort(&port);
            const Rect from = R(left, top + 1, right, bottom);
            const Rect to = R(left, top, right, bottom - 1);
            CopyBits(&port->portBits, &port->portBits, &from, &to, srcCopy, nullptr);
        },
        [&](int i) {
            const int x = Sweep(i, 29, left, right - 48), y = Sweep(i, 23, top, bottom - 32);
            const Rect r = R(x, y, x + 48, y + 32);
            if (sample) DrawPicture(sample, &r);
        },
    };
    constexpr int counts[] = {10000, 1000, 100, 1000, 1000, 200, 1000, 1000, 100, 1000, 1000};

    const auto& labels = SpeedTestLabels();
    for (std::size_t n = 0; n < labels.size(); ++n) {
        ForeColor(whiteColor);
        PaintRect(&area);
        const double start = clock();
        for (int i = 0; i < counts[n]; ++i)
            loops[n](i);
        const SpeedResult result{labels[n], clock() - start};
        results.push_back(result);
        if (done) done(result);
    }
    ForeColor(blackColor);
    SetPenState(&savedPen);
    if (star) KillPoly(star);
    if (sample) KillPicture(sample);
    return results;
}

namespace {

// The window keeps its results and draws them again on updates.
class SpeedTestWindow final : public DeskAccessory {
public:
    std::vector<SpeedResult> results;
    bool running = false;
    int column = 180; // the width of the results column on the right

    void DrawResults(WindowPtr window) {
        const Rect strip = ResultsColumn(window);
        ForeColor(whiteColor);
        PaintRect(&strip);
        ForeColor(blackColor);
        MoveTo(strip.left, strip.top);
        LineTo(strip.left, strip.bottom);
        ClipRect(&strip);
        TextFont(0);
        TextSize(12);
        int v = strip.top + 16;
        double total = 0;
        for (const SpeedResult& r : results) {
            Line(strip.left + 8, v, r.label);
            Line(strip.left + 20, v + 14, FormatTicks(r.ticks) + " ticks.");
            v += 32;
            total += r.ticks;
        }
        if (results.size() == SpeedTestLabels().size()) {
            Line(strip.left + 8, v, "Total = -----------");
            Line(strip.left + 20, v + 14, FormatTicks(total) + " ticks.");
        }
        ClipRect(&window->portRect);
    }

    Rect ResultsColumn(WindowPtr window) const {
        Rect r = window->portRect;
        r.left = static_cast<std::int16_t>(r.right - column);
        return r;
    }

    // Where the loops draw: the window left of the results.
    Rect LoopArea(WindowPtr window) const {
        Rect r = window->portRect;
        r.right = static_cast<std::int16_t>(r.right - column);
        return r;
    }

    void Event(WindowPtr window, const EventRecord& event) override {
        if (event.what != updateEvt) return;
        GrafPtr saved = nullptr;
        GetPort(&saved);
        SetPort(window);
        // The drawing area keeps what the loops left, unless it was covered: then it is cleared.
        const Rect area = LoopArea(window);
        if (!running) {
            ForeColor(whiteColor);
            PaintRect(&area);
        }
        DrawResults(window);
        SetPort(saved);
    }

    void Close(WindowPtr window) override {
        SetDeskAccessory(window, nullptr);
        DisposeWindow(window);
        Release(this);
    }

    // Closed another way, the window takes its handler with it.
    void Closed(WindowPtr) override { Release(this); }

    // Each open window's handler, held here until its window goes. The list is never destroyed, so
    // a window closed late in the program's exit still finds its handler.
    static std::vector<std::unique_ptr<SpeedTestWindow>>& Open() {
        static auto* open = new std::vector<std::unique_ptr<SpeedTestWindow>>;
        return *open;
    }

    static void Release(SpeedTestWindow* handler) {
        std::erase_if(Open(), [&](const auto& held) { return held.get() == handler; });
    }

private:
    static void Line(int h, int v, const std::string& text) {
        MoveTo(h, v);
        DrawText(text.data(), 0, static_cast<int>(text.size()));
    }
};

} // namespace

WindowPtr ShowSpeedTest(const std::function<void(const SpeedResult&)>& done) {
    GrafPtr saved = nullptr;
    GetPort(&saved);
    const Rect screen = qd.screenBits.bounds;
    const int width = std::min(620, screen.right - screen.left - 16);
    const int height = std::min(420, screen.bottom - screen.top - GetMBarHeight() - 40);
    const int left = screen.left + (screen.right - screen.left - width) / 2;
    const int top = GetMBarHeight() + 30;
    const Rect bounds = R(left, top, left + width, top + height);
    WindowPtr window = NewWindow(nullptr, &bounds, kSpeedTestTitle, true, noGrowDocProc,
                                 reinterpret_cast<WindowPtr>(-1), true, -1);
    if (!window) return nullptr;
    auto* handler = SpeedTestWindow::Open().emplace_back(std::make_unique<SpeedTestWindow>()).get();
    SetDeskAccessory(window, handler);
    SetPort(window);
    handler->column = std::min(180, width / 3);
    handler->running = true;
    handler->DrawResults(window);
    RunSpeedLoops(handler->LoopArea(window), &PreciseTicks, [&](const SpeedResult& r) {
        handler->results.push_back(r);
        handler->DrawResults(window);
        if (done) done(r);
    });
    handler->running = false;
    // What the loops drew is shown as it stands; only later covers need an update.
    ValidRect(&window->portRect);
    SetPort(saved);
    return window;
}

void ScreenAnimation(Point from) {
    GrafPtr saved = nullptr;
    GetPort(&saved);
    GrafPtr screen = TemplatePort();
    const Rect all = screen->portRect;
    // The screen is kept aside and put back under every frame, and at the end as it was.
    GrafPort copy{};
    if (!NewBufferPort(&copy, all.right - all.left, all.bottom - all.top)) {
        SetPort(saved);
        return;
    }
    CopyBits(&screen->portBits, &copy.portBits, &all, &copy.portRect, srcCopy, nullptr);
    SetPort(screen);
    const int reach = std::max({from.h - all.left, all.right - from.h, from.v - all.top, all.bottom - from.v});
    constexpr int kSteps = 24;
    PenSize(3, 3);
    for (int frame = 1; frame < 2 * kSteps; ++frame) {
        const int rings = frame <= kSteps ? frame : 2 * kSteps - frame;
        // One drawing a frame: the screen shows it once, rings and all.
        BeginDrawing();
        CopyBits(&copy.portBits, &screen->portBits, &copy.portRect, &all, srcCopy, nullptr);
        for (int ring = 1; ring <= rings; ++ring) {
            const int d = reach * ring / kSteps;
            const Rect r = R(from.h - d, from.v - d, from.h + d, from.v + d);
            ForeColor(Colour(ring));
            FrameRect(&r);
        }
        EndDrawing();
        // Delay sleeps without a pump step: the screen is the animation's until it ends.
        ShortDelay(1);
    }
    CopyBits(&copy.portBits, &screen->portBits, &copy.portRect, &all, srcCopy, nullptr);
    PenNormal();
    ForeColor(blackColor);
    DisposeBufferPort(&copy);
    SetPort(saved);
}

} // namespace qiva
