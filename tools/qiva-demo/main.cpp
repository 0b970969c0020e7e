// qiva-demo: the smallest program on the toolkit. It opens the main window, draws with QuickDraw,
// answers every click and key by drawing what it received, plays a 'snd ' on S, and quits on Q or
// when the window is closed. Runs in a window (SDL) or headless (--headless, --script FILE).

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "toolkit/core/cursor.h"
#include "toolkit/core/events.h"
#include "toolkit/core/memory.h"
#include "toolkit/core/shell.h"
#include "toolkit/core/sound.h"
#include "toolkit/graphics/quickdraw.h"
#include "toolkit/graphics/text.h"
#include "toolkit/windows/speed_test.h"
#include "toolkit/windows/windows.h"
#include "tools/common/standard_output.h"
#include "tools/qiva-demo/demo_dialogs.h"
#include "tools/qiva-demo/demo_menus.h"
#include "tools/qiva-demo/demo_options.h"
#include "tools/qiva-demo/demo_text.h"
#include "tools/qiva-demo/demo_windows.h"

namespace {

constexpr RGBColor kWhite{0xFFFF, 0xFFFF, 0xFFFF};
constexpr RGBColor kBlack{0, 0, 0};
constexpr RGBColor kNavy{0x0000, 0x0000, 0x8000};
constexpr RGBColor kRed{0xFFFF, 0, 0};
constexpr RGBColor kGreen{0, 0x8000, 0};
constexpr RGBColor kGrey{0xC000, 0xC000, 0xC000};

int screenWidth = 640, screenHeight = 450;
bool speedTestOnly = false;
int typedColumn = 0;
Handle sound = nullptr;

Rect MakeRect(int left, int top, int right, int bottom) {
    return Rect{static_cast<std::int16_t>(top), static_cast<std::int16_t>(left),
                static_cast<std::int16_t>(bottom), static_cast<std::int16_t>(right)};
}

void Text(int h, int v, const std::string& s) {
    MoveTo(h, v);
    DrawText(s.data(), 0, static_cast<int>(s.size()));
}

// The strip at the bottom says what the last event was.
void Report(const std::string& what) {
    const Rect strip = MakeRect(0, screenHeight - 24, screenWidth, screenHeight);
    RGBForeColor(&kGrey);
    PaintRect(&strip);
    RGBForeColor(&kBlack);
    TextSize(12);
    Text(8, screenHeight - 8, what);
}

void DrawBackground() {
    const Rect all = MakeRect(0, 0, screenWidth, screenHeight);
    RGBForeColor(&kWhite);
    PaintRect(&all);
    const int top = 20; // under the menu bar
    const Rect title = MakeRect(0, top, screenWidth, top + 24);
    RGBForeColor(&kNavy);
    PaintRect(&title);
    RGBForeColor(&kWhite);
    TextSize(12);
    Text(8, top + 17, "QIVA demo - click anywhere, type keys; S plays a sound, Q quits");
    RGBForeColor(&kBlack);
    const Rect typed = MakeRect(0, screenHeight - 64, screenWidth, screenHeight - 24);
    FrameRect(&typed);
    Report("Ready.");
}

// A short two-note chime as a format-1 'snd ' resource, made the way qiva-rsrc makes one from a WAV.
Handle MakeChime() {
    constexpr int rate = 11025;
    const int frames = rate * 3 / 10;
    std::vector<std::uint8_t> wave(44 + static_cast<std::size_t>(frames));
    auto put = [&](std::size_t at, std::uint32_t v, int n) {
        for (int i = 0; i < n; ++i)
            wave[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
    };
    const char* tags = "RIFF----WAVEfmt ";
    std::copy(tags, tags + 16, wave.begin());
    put(4, static_cast<std::uint32_t>(36 + frames), 4);
    put(16, 16, 4);
    put(20, 1, 2);
    put(22, 1, 2);
    put(24, rate, 4);
    put(28, rate, 4);
    put(32, 1, 2);
    put(34, 8, 2);
    std::copy_n("data", 4, wave.begin() + 36);
    put(40, static_cast<std::uint32_t>(frames), 4);
    for (int i = 0; i < frames; ++i) {
        const double t = static_cast<double>(i) / rate;
        const double f = i < frames / 2 ? 660.0 : 880.0;
        const double s = std::sin(2 * 3.14159265358979 * f * t) * (1.0 - static_cast<double>(i) / frames);
        wave[44 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(128 + static_cast<int>(s * 90));
    }
    std::vector<std::uint8_t> snd;
    if (!qiva::WaveToSnd(wave.data(), wave.size(), snd).empty()) return nullptr;
    Handle h = NewHandle(static_cast<Size>(snd.size()));
    if (h) std::copy(snd.begin(), snd.end(), *h);
    return h;
}

void MouseEvent(const EventRecord& e) {
    char text[96];
    if (e.what == mouseDown) {
        const Rect spot = MakeRect(e.where.h - 6, e.where.v - 6, e.where.h + 7, e.where.v + 7);
        RGBForeColor(&kRed);
        PaintOval(&spot);
        std::snprintf(text, sizeof text, "mouseDown at %d,%d  modifiers 0x%04X", e.where.h, e.where.v,
                      e.modifiers);
    } else {
        const Rect ring = MakeRect(e.where.h - 9, e.where.v - 9, e.where.h + 10, e.where.v + 10);
        RGBForeColor(&kGreen);
        FrameOval(&ring);
        std::snprintf(text, sizeof text, "mouseUp at %d,%d", e.where.h, e.where.v);
    }
    Report(text);
}

void KeyEvent(const EventRecord& e) {
    const int ch = static_cast<int>(e.message & charCodeMask);
    char text[96];
    std::snprintf(text, sizeof text, "keyDown %d  modifiers 0x%04X", ch, e.modifiers);
    // Each key leaves a mark in the typed strip: its character, over a bar as long as its code.
    const int left = 8 + (typedColumn % 40) * 15, top = screenHeight - 62;
    if (typedColumn % 40 == 0) {
        const Rect strip = MakeRect(1, top, screenWidth - 1, screenHeight - 25);
        RGBForeColor(&kWhite);
        PaintRect(&strip);
    }
    ++typedColumn;
    const Rect bar = MakeRect(left, top + 30, left + 12, top + 30 + std::max(2, ch / 32 + 2));
    RGBForeColor(&kNavy);
    PaintRect(&bar);
    RGBForeColor(&kBlack);
    TextSize(18);
    MoveTo(left, top + 24);
    DrawChar(ch >= 32 ? ch : '?');
    Report(text);
    if (ch == 's' || ch == 'S') {
        Report(std::string(text) + "  - playing a sound");
        SndPlay(nullptr, sound, false);
    }
    if (ch == 'q' || ch == 'Q') ExitToShell();
}

// --speed-test: the toolkit's speed test in its window, each result on standard output, then the end.
void SpeedTestMain() {
    InitGraf(&qd);
    InitWindows();
    InitCursor();
    double total = 0;
    qiva::ShowSpeedTest([&](const qiva::SpeedResult& r) {
        std::printf("%s %s ticks\n", r.label, qiva::FormatTicks(r.ticks).c_str());
        total += r.ticks;
    });
    std::printf("Total %s ticks\n", qiva::FormatTicks(total).c_str());
    std::fflush(stdout);
    ExitToShell();
}

void DemoMain() {
    if (speedTestOnly) SpeedTestMain();
    InitGraf(&qd);
    InitCursor();
    GrafPtr screen = qiva::TemplatePort();
    SetPort(screen);
    screenWidth = screen->portRect.right - screen->portRect.left;
    screenHeight = screen->portRect.bottom - screen->portRect.top;
    TextFont(0);
    sound = MakeChime();
    DemoWindowsStart();
    demo::InstallMenus([](const std::string& text) { Report(text); });
    DemoTextStart();
    // The dialogs first: the toolkit's start-up panel comes and goes before the demo draws.
    DemoDialogsStart();
    DrawBackground();
    demo::DrawMenuParts();
    DemoTextMenus();
    DemoDialogsMenus();
    DemoWindowsOpen();
    DemoTextOpen();
    FlushEvents(everyEvent, 0);
    for (;;) {
        EventRecord e;
        if (!GetNextEvent(everyEvent, &e)) {
            DemoTextIdle();
            continue;
        }
        if (demo::MenuEvent(e)) continue;
        if (DemoTextEvent(e)) continue;
        if (DemoWindowsEvent(e)) continue;
        switch (e.what) {
        case mouseDown:
        case mouseUp:
            MouseEvent(e);
            break;
        case keyDown:
        case autoKey:
            KeyEvent(e);
            break;
        default:
            break;
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    if (const std::string problem = qiva_demo::CommandLineProblem(argc, argv, std::getenv("QIVA_BACKEND"));
        !problem.empty()) {
        std::fprintf(stderr, "qiva-demo: %s\n", problem.c_str());
        return 2;
    }
    qiva_tools::CheckStandardOutputAtExit("qiva-demo");
    speedTestOnly = qiva_demo::SpeedTestAsked(argc, argv);
    return qiva::ShellMain(
        argc, argv, "QivaDemo", &DemoMain,
        "Opens the main window and answers each click and key by drawing what it received;\n"
        "S plays a sound, Q or the close box quits.\n"
        "  --speed-test      runs the toolkit's graphics speed test, prints each loop's time and the\n"
        "                    total in ticks (sixtieths of a second), and ends\n");
}
