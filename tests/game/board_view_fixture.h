#pragma once
// The board display on a headless 640 × 400 screen with the game's resource file open: the board
// window is a port on the screen, what is presented is kept as the window shows it, and each present
// takes one display frame of the virtual clock, as the paced platform does.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "game/board_view.h"
#include "game/seed_table.h"
#include "platform/headless.h"
#include "tests/support/temp_dir.h"
#include "toolkit/core/error_box.h"
#include "toolkit/core/events.h"
#include "toolkit/core/random.h"
#include "toolkit/core/resources.h"
#include "toolkit/core/settings.h"
#include "toolkit/core/shell.h"
#include "toolkit/graphics/buffer_table.h"
#include "toolkit/graphics/graphics_startup.h"
#include "toolkit/graphics/present.h"
#include "toolkit/graphics/quickdraw.h"

namespace tolka::test {

// Presents as a display paced at `framesPerSecond` would: each one advances the virtual clock.
class PacedPresent : public qiva::HeadlessPresent {
public:
    platform::HeadlessBackend* backend = nullptr;
    int framesPerSecond = 60;
    void Present(const qiva::ScreenImage& screen, const Rect& area, Point source) override {
        HeadlessPresent::Present(screen, area, source);
        if (backend && framesPerSecond > 0) backend->AdvanceClock(1000000u / framesPerSecond);
        if (onPresent) onPresent(*this);
    }
    void (*onPresent)(PacedPresent&) = nullptr;
};

// Counts the times the window is serviced while the game draws without taking events.
class ServicedBackend : public platform::HeadlessBackend {
public:
    int services = 0;
    void ServiceWindow() override { ++services; }
};

class BoardViewTest : public ::testing::Test {
public:
    PacedPresent present;
    ServicedBackend* headless = nullptr;
    TempDir dir;
    std::int16_t file = -1;
    GrafPort window{};
    Board board{};
    std::uint32_t savedSeed = randSeed;

    BoardDisplay& view() { return Display(); }

    void SetUp() override {
        auto backend = std::make_unique<ServicedBackend>();
        headless = backend.get();
        platform::Install(std::move(backend));
        present.backend = headless;
        qiva::ResetEvents();
        qiva::ResetShell();
        qiva::SetIniDirectory(dir.Path());
        qiva::SetScreenSize(640, 400);
        qiva::SetHighlightSetting(0, 0, 0);
        qiva::SetPresentSink(&present);
        InitGraf(nullptr);
        qiva::ClearErrorBoxHistory();
        file = OpenResFile(TOLKA_RSR);
        ASSERT_GT(file, 0) << TOLKA_RSR;
        OpenPort(&window);
        view().Reset();
        view().Attach(&window, &board);
        view().options = ViewOptions{};
        view().alert = nullptr;
        view().announceCapture = nullptr;
        view().SetCalibration(4, 60);
        randSeed = 1;
    }
    void TearDown() override {
        view().Reset();
        ClosePort(&window);
        if (file > 0) CloseResFile(file);
        qiva::CloseGraphics();
        qiva::SetPresentSink(nullptr);
        qiva::SetIniDirectory("");
        qiva::ResetEvents();
        qiva::ResetShell();
        platform::Install(nullptr);
        randSeed = savedSeed;
    }

    // A new game as the session lays it out: four seeds a pit, placed pit by pit.
    void NewGame() {
        view().ResetSeeds();
        board = Board{};
        for (std::int16_t pit = 0; pit < kPitCount; ++pit) {
            board.pits[pit] = kStartSeedsPerPit;
            for (int i = 0; i < kStartSeedsPerPit; ++i)
                view().SetSeedPlace(board, pit, static_cast<std::int16_t>(4 * pit + i));
        }
    }

    // The screen buffer's pixels, and the pixels of a whole-board picture drawn afresh offscreen.
    static std::vector<std::uint8_t> Pixels(GrafPtr port) {
        const qiva::BufferSlot* s = qiva::LookUpBuffer(qiva::BufferIdOf(port->portBits));
        std::vector<std::uint8_t> out;
        for (int v = 0; v < 400; ++v)
            out.insert(out.end(), s->base + v * s->rowBytes, s->base + v * s->rowBytes + 640);
        return out;
    }
    std::vector<std::uint8_t> FreshScene() {
        GrafPtr buffer = NewOffscreen(640, 400);
        view().DrawScene(buffer);
        std::vector<std::uint8_t> out = Pixels(buffer);
        DisposeOffscreen(buffer);
        return out;
    }
    // Where the window as shown differs from an image, for failure messages: a count and the first.
    std::string Differences(const std::vector<std::uint8_t>& image) const {
        int count = 0;
        std::string first;
        for (std::size_t i = 0; i < image.size(); ++i)
            if (present.window[i] != image[i] && count++ == 0)
                first = " first at (" + std::to_string(i % 640) + "," + std::to_string(i / 640) + ")";
        return std::to_string(count) + " pixels differ" + first;
    }
    bool ShowsScene() { return Differences(FreshScene()).starts_with("0 "); }
};

} // namespace tolka::test
