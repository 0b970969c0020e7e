#pragma once
// The toolkit's graphics speed test (Control + right click on the desktop): eleven drawing loops
// timed in ticks, and a window that runs them and shows what each took. qiva-demo --speed-test runs
// the same loops and prints the results, so the figures serve as a benchmark.

#include <functional>
#include <string>
#include <vector>

#include "toolkit/windows/windows.h"

namespace qiva {

inline constexpr const char* kSpeedTestTitle = "Test de vitesse d'QIVA V 1.0 Novembre 1991";

struct SpeedResult {
    const char* label; // the loop's label, "1000 lignes simples:" …
    double ticks;      // sixtieths of a second, measured on a clock finer than a tick
};

// The labels of the eleven loops, in the order they run.
const std::vector<const char*>& SpeedTestLabels();

// Runs the loops in `area` of the current port, reading the time from `clock` (in ticks) and
// calling `done` after each loop.
std::vector<SpeedResult> RunSpeedLoops(const Rect& area, const std::function<double()>& clock,
                                       const std::function<void(const SpeedResult&)>& done);

// A tick count as the results show it: "12.34".
std::string FormatTicks(double ticks);

// The wall clock in ticks with sub-tick precision.
double PreciseTicks();

// Opens the speed-test window in front, runs the loops in it with the results listed beside them,
// and leaves the window open (a desk accessory its close box closes). `done` hears each result.
WindowPtr ShowSpeedTest(const std::function<void(const SpeedResult&)>& done = {});

// The screen animation of Control + Shift + right click: coloured frames spread out from the point
// and draw back in, about 0.8 s; the screen is left as it was.
void ScreenAnimation(Point from);

} // namespace qiva
