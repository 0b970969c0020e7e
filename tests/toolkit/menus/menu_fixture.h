#pragma once
// A Menu Manager on a 320 × 200 headless screen: the graphics layer, the system font of the built
// WINIT.RSR, a headless backend whose injected events the tracking loops take, and a scratch
// resource file per test.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/headless.h"
#include "tests/toolkit/core/resource_files.h"
#include "toolkit/core/events.h"
#include "toolkit/core/resources.h"
#include "toolkit/core/shell.h"
#include "toolkit/core/state_dump.h"
#include "toolkit/graphics/buffers.h"
#include "toolkit/graphics/present.h"
#include "toolkit/graphics/quickdraw.h"
#include "toolkit/menus/menus.h"

// Remembers each present's screen and the state dump made at that moment.
class RecordingPresent : public qiva::HeadlessPresent {
public:
    struct Shot {
        std::vector<std::uint8_t> screen;
        std::string dump;
    };
    void Present(const qiva::ScreenImage& screen, const Rect& area, Point source) override {
        HeadlessPresent::Present(screen, area, source);
        if (!record) return;
        Shot shot;
        for (int v = 0; v < screen.height; ++v)
            shot.screen.insert(shot.screen.end(),
                               screen.pixels + static_cast<std::size_t>(v) * screen.rowBytes,
                               screen.pixels + static_cast<std::size_t>(v) * screen.rowBytes + screen.width);
        shot.dump = qiva::StateDump();
        shots.push_back(std::move(shot));
    }
    bool record = false;
    std::vector<Shot> shots;
};

class MenuTest : public ::testing::Test {
protected:
    static constexpr int kW = 320, kH = 200;
    RecordingPresent window;
    platform::HeadlessBackend* headless = nullptr;
    qiva_test::ScratchDirectory dir;
    std::int16_t winit = -1, file = -1;
    int screenHeight = kH;

    void SetUp() override {
        auto backend = std::make_unique<platform::HeadlessBackend>();
        headless = backend.get();
        platform::Install(std::move(backend));
        qiva::ResetEvents();
        qiva::ResetShell();
        qiva::SetScreenSize(kW, screenHeight);
        qiva::SetHighlightSetting(0, 0, 0);
        qiva::SetPresentSink(&window);
        InitGraf(nullptr);
        winit = OpenResFile(TOLKA_WINIT_RSR);
        ASSERT_GT(winit, 0);
        InitFonts();
        InitMenus();
    }
    void TearDown() override {
        qiva::CloseMenus();
        if (file > 0) CloseResFile(file);
        if (winit > 0) CloseResFile(winit);
        qiva::CloseGraphics();
        qiva::SetPresentSink(nullptr);
        qiva::SetScreenSize(640, 400);
        qiva::ResetEvents();
        qiva::ResetShell();
        platform::Install(nullptr);
    }

    void OpenResources(const std::vector<qiva::Resource>& resources) {
        file = OpenResFile(dir.Write("menus.rsr", qiva_test::FileImage(resources)).c_str());
        ASSERT_GT(file, 0);
    }

    // Mouse events the tracking loops take one per pump step.
    void Inject(platform::EventKind kind, int x, int y) {
        platform::Event e;
        e.kind = kind;
        e.x = x;
        e.y = y;
        e.button = platform::LeftButton;
        e.buttons = kind == platform::EventKind::MouseUp ? 0 : 1;
        headless->Inject(e);
    }
    void Press(int x, int y) {
        Inject(platform::EventKind::MouseDown, x, y);
        qiva::PumpStep();
        EventRecord e;
        GetNextEvent(everyEvent, &e);
    }
    void MoveTo(int x, int y) { Inject(platform::EventKind::MouseMove, x, y); }
    void Release(int x, int y) { Inject(platform::EventKind::MouseUp, x, y); }

    static std::vector<std::uint8_t> Screen() {
        const qiva::BufferSlot* s = qiva::LookUpBuffer(qiva::ScreenBufferId());
        std::vector<std::uint8_t> out;
        for (int v = 0; v < s->height; ++v)
            out.insert(out.end(), s->base + static_cast<std::size_t>(v) * s->rowBytes,
                       s->base + static_cast<std::size_t>(v) * s->rowBytes + s->width);
        return out;
    }
    static std::uint8_t ScreenPixel(int h, int v) {
        const qiva::BufferSlot* s = qiva::LookUpBuffer(qiva::ScreenBufferId());
        return s->base[static_cast<std::size_t>(v) * s->rowBytes + h];
    }
};
