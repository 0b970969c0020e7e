#pragma once
// A toolkit on a fresh headless backend, with its queue, shell, cursor, time and settings state
// reset, and WQIVA.INI in a private directory.

#include <gtest/gtest.h>

#include "platform/headless.h"
#include "platform/paths.h"
#include "tests/support/temp_dir.h"
#include "toolkit/core/cursor.h"
#include "toolkit/core/events.h"
#include "toolkit/core/keyboard_layout.h"
#include "toolkit/core/main_window.h"
#include "toolkit/core/settings.h"
#include "toolkit/core/shell.h"
#include "toolkit/core/sound.h"
#include "toolkit/core/startup.h"
#include "toolkit/core/statistics.h"
#include "toolkit/core/time_manager.h"

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto backend = std::make_unique<platform::HeadlessBackend>();
        headless = backend.get();
        platform::Install(std::move(backend));
        qiva::ResetEvents();
        qiva::ResetShell();
        qiva::ResetCursor();
        qiva::ResetTimeManager();
        qiva::ResetStartup();
        qiva::ResetSettings();
        qiva::SetIniDirectory(dir.Path());
        SetSoundVol(1);
    }
    void TearDown() override {
        qiva::SetIniDirectory("");
        qiva::ResetEvents();
        qiva::ResetShell();
        qiva::ResetKeyboardLayout();
        platform::Install(nullptr);
    }

    // Feeds platform events through the window procedure, as pump steps would.
    void Feed(const std::vector<platform::Event>& events) {
        for (const platform::Event& e : events) {
            headless->Inject(e);
            qiva::PumpStep();
        }
    }
    void Key(const std::string& name) {
        std::vector<platform::Event> events;
        ASSERT_TRUE(platform::KeyEvents(name, events)) << name;
        Feed(events);
    }
    static platform::Event Mouse(platform::EventKind kind, int x, int y, std::uint8_t button = 0,
                                 std::uint8_t buttons = 0) {
        platform::Event e;
        e.kind = kind;
        e.x = x;
        e.y = y;
        e.button = button;
        e.buttons = buttons;
        return e;
    }
    // Every queued event, taken with the mask.
    std::vector<EventRecord> Take(std::uint16_t mask = everyEvent) {
        std::vector<EventRecord> events;
        for (EventRecord e; EventAvail(mask, &e);) {
            GetNextEvent(mask, &e);
            events.push_back(e);
        }
        return events;
    }

    TempDir dir;
    platform::HeadlessBackend* headless = nullptr;
};
