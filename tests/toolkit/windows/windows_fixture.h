#pragma once
// A started Window Manager on a small headless screen, with the event queue and the shell reset
// and the settings in a private directory.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/headless.h"
#include "tests/support/temp_dir.h"
#include "toolkit/core/cursor.h"
#include "toolkit/core/error_box.h"
#include "toolkit/core/events.h"
#include "toolkit/core/settings.h"
#include "toolkit/core/shell.h"
#include "toolkit/graphics/buffers.h"
#include "toolkit/graphics/drawing_state.h"
#include "toolkit/graphics/present.h"
#include "toolkit/graphics/quickdraw.h"
#include "toolkit/windows/windows.h"

class WindowsTest : public ::testing::Test {
public:
    static constexpr int kWidth = 240, kHeight = 180;

protected:
    qiva::HeadlessPresent present;
    platform::HeadlessBackend* headless = nullptr;
    TempDir dir;

    void SetUp() override {
        auto backend = std::make_unique<platform::HeadlessBackend>();
        headless = backend.get();
        platform::Install(std::move(backend));
        qiva::ResetEvents();
        qiva::ResetShell();
        qiva::ResetCursor();
        qiva::SetIniDirectory(dir.Path());
        qiva::SetScreenSize(kWidth, kHeight);
        qiva::SetHighlightSetting(0, 0, 0);
        qiva::SetPresentSink(&present);
        InitGraf(nullptr);
        InitWindows();
        qiva::ClearErrorBoxHistory();
    }
    void TearDown() override {
        qiva::CloseWindowManager();
        qiva::CloseGraphics();
        qiva::SetPresentSink(nullptr);
        qiva::SetScreenSize(640, 400);
        qiva::SetIniDirectory("");
        qiva::ResetEvents();
        qiva::ResetShell();
        platform::Install(nullptr);
    }

    static Rect R(int left, int top, int right, int bottom) {
        Rect r;
        SetRect(&r, left, top, right, bottom);
        return r;
    }
    static Point P(int h, int v) { return Point{static_cast<std::int16_t>(v), static_cast<std::int16_t>(h)}; }

    // A copy of the screen buffer's pixels, row after row.
    static std::vector<std::uint8_t> Screen() {
        const qiva::BufferSlot* s = qiva::LookUpBuffer(qiva::ScreenBufferId());
        std::vector<std::uint8_t> out;
        for (int v = 0; v < s->height; ++v)
            out.insert(out.end(), s->base + v * s->rowBytes, s->base + v * s->rowBytes + s->width);
        return out;
    }
    // Where two screens differ, for the failure message: the first few positions.
    static std::string Differences(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b) {
        std::string out;
        int shown = 0;
        for (std::size_t i = 0; i < a.size() && i < b.size() && shown < 8; ++i)
            if (a[i] != b[i]) {
                out += "(" + std::to_string(i % kWidth) + "," + std::to_string(i / kWidth) + ": " +
                       std::to_string(a[i]) + " vs " + std::to_string(b[i]) + ") ";
                ++shown;
            }
        return out;
    }
    static std::uint8_t ScreenPixel(int h, int v) {
        const qiva::BufferSlot* s = qiva::LookUpBuffer(qiva::ScreenBufferId());
        return s->base[v * s->rowBytes + h];
    }

    // Mouse input as the platform would report it; the tracking loops take it through Button().
    void MouseDown(int x, int y) { Inject(platform::EventKind::MouseDown, x, y, 0); }
    void MouseMove(int x, int y, std::uint8_t buttons = 1) {
        Inject(platform::EventKind::MouseMove, x, y, buttons);
    }
    void MouseUp(int x, int y) { Inject(platform::EventKind::MouseUp, x, y, 0); }
    void Inject(platform::EventKind kind, int x, int y, std::uint8_t buttonsOrButton) {
        platform::Event e;
        e.kind = kind;
        e.x = x;
        e.y = y;
        if (kind == platform::EventKind::MouseMove)
            e.buttons = buttonsOrButton;
        else
            e.button = buttonsOrButton;
        headless->Inject(e);
    }
    // Presses the button at (x, y) now, as a click the application has just taken.
    void PressAt(int x, int y) {
        MouseDown(x, y);
        qiva::PumpStep();
        FlushEvents(everyEvent, 0);
    }
};
