#pragma once
// The graphics layer started on a 640 × 400 screen, with a buffer port of that size current: what
// every drawing benchmark measures against.

#include "toolkit/graphics/drawing_state.h"
#include "toolkit/graphics/quickdraw.h"

namespace qiva_bench {

constexpr int kWidth = 640, kHeight = 400;

struct Graphics {
    GrafPort port{};
    Graphics() {
        qiva::SetScreenSize(kWidth, kHeight);
        InitGraf(nullptr);
        NewBufferPort(&port, kWidth, kHeight);
    }
    ~Graphics() {
        DisposeBufferPort(&port);
        qiva::CloseGraphics();
    }
    Graphics(const Graphics&) = delete;
    Graphics& operator=(const Graphics&) = delete;
};

} // namespace qiva_bench
