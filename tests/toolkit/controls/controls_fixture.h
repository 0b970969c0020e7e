#pragma once
// A Control Manager on a small headless screen: the Window Manager, the system font and pictures
// of the built WINIT.RSR, a document window to hold controls, and injected mouse events that the
// tracking loops take.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/headless.h"
#include "tests/toolkit/core/resource_files.h"
#include "toolkit/controls/controls.h"
#include "toolkit/core/cursor.h"
#include "toolkit/core/error_box.h"
#include "toolkit/core/events.h"
#include "toolkit/core/resources.h"
#include "toolkit/core/settings.h"
#include "toolkit/core/shell.h"
#include "toolkit/graphics/buffers.h"
#include "toolkit/graphics/present.h"
#include "toolkit/graphics/quickdraw.h"
#include "toolkit/windows/windows.h"

class ControlsTest : public ::testing::Test {
public:
    static constexpr int kWidth = 320, kHeight = 240;

protected:
    qiva::HeadlessPresent present;
    platform::HeadlessBackend* headless = nullptr;
    qiva_test::ScratchDirectory dir;
    std::int16_t winit = -1, file = -1;
    WindowPtr window = nullptr;
    // The window's content starts here on the screen.
    static constexpr int kLeft = 20, kTop = 40;

    void SetUp() override {
        auto backend = std::make_unique<platform::HeadlessBackend>();
        headless = backend.get();
        platform::Install(std::move(backend));
        qiva::ResetEvents();
        qiva::ResetShell();
        qiva::ResetCursor();
        qiva::SetIniDirectory(dir.Root().string());
        qiva::SetScreenSize(kWidth, kHeight);
        qiva::SetHighlightSetting(0, 0, 0);
        qiva::SetPresentSink(&present);
        InitGraf(nullptr);
        winit = OpenResFile(TOLKA_WINIT_RSR);
        ASSERT_GT(winit, 0);
        InitFonts();
        InitWindows();
        const Rect bounds = R(kLeft, kTop, kLeft + 280, kTop + 180);
        window = NewWindow(nullptr, &bounds, "Controls", true, documentProc, reinterpret_cast<WindowPtr>(-1),
                           false, 0);
        ASSERT_NE(window, nullptr);
        SetPort(window);
        qiva::ClearErrorBoxHistory();
    }
    void TearDown() override {
        qiva::CloseWindowManager();
        if (file > 0) CloseResFile(file);
        if (winit > 0) CloseResFile(winit);
        qiva::CloseGraphics();
        qiva::SetPresentSink(nullptr);
        qiva::SetScreenSize(640, 400);
        qiva::SetIniDirectory("");
        qiva::ResetEvents();
        qiva::ResetShell();
        platform::Install(nullptr);
        qiva::ClearErrorBoxHistory();
    }

    void OpenResources(const std::vector<qiva::Resource>& resources) {
        file = OpenResFile(dir.Write("controls.rsr", qiva_test::FileImage(resources)).c_str());
        ASSERT_GT(file, 0);
    }

    static Rect R(int left, int top, int right, int bottom) {
        Rect r;
        SetRect(&r, left, top, right, bottom);
        return r;
    }
    static Point P(int h, int v) { return Point{static_cast<std::int16_t>(v), static_cast<std::int16_t>(h)}; }

    static std::uint8_t ScreenPixel(int h, int v) {
        const qiva::BufferSlot* s = qiva::LookUpBuffer(qiva::ScreenBufferId());
        return s->base[v * s->rowBytes + h];
    }
    // A pixel of the window's content, in its local coordinates.
    static std::uint8_t LocalPixel(int h, int v) { return ScreenPixel(kLeft + h, kTop + v); }
    static std::vector<std::uint8_t> Screen() {
        const qiva::BufferSlot* s = qiva::LookUpBuffer(qiva::ScreenBufferId());
        std::vector<std::uint8_t> out;
        for (int v = 0; v < s->height; ++v)
            out.insert(out.end(), s->base + v * s->rowBytes, s->base + v * s->rowBytes + s->width);
        return out;
    }

    // Mouse events in the window's local coordinates, as the platform reports them on the screen.
    void Inject(platform::EventKind kind, int h, int v, std::uint8_t buttons) {
        platform::Event e;
        e.kind = kind;
        e.x = kLeft + h;
        e.y = kTop + v;
        e.button = platform::LeftButton;
        e.buttons = buttons;
        headless->Inject(e);
    }
    // The button goes down at (h, v) and the application has taken the click.
    void PressAt(int h, int v) {
        Inject(platform::EventKind::MouseDown, h, v, 1);
        qiva::PumpStep();
        FlushEvents(everyEvent, 0);
    }
    void MoveMouse(int h, int v) { Inject(platform::EventKind::MouseMove, h, v, 1); }
    void ReleaseAt(int h, int v) { Inject(platform::EventKind::MouseUp, h, v, 0); }

    std::vector<std::string> Errors() const { return qiva::ErrorBoxHistory(); }
};
