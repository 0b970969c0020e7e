#pragma once
// A Dialog Manager on a 400 × 300 headless screen: windows, menus, TextEdit and dialogs started, the
// system resources of the built WINIT.RSR, and the test's own resources compiled from source text
// into a scratch file. Input is injected into the headless backend; ModalDialog takes it from there.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/headless.h"
#include "tests/toolkit/core/resource_files.h"
#include "toolkit/core/error_box.h"
#include "toolkit/core/events.h"
#include "toolkit/core/resources.h"
#include "toolkit/core/settings_file.h"
#include "toolkit/core/shell.h"
#include "toolkit/core/state_dump.h"
#include "toolkit/dialogs/dialogs.h"
#include "toolkit/graphics/buffers.h"
#include "toolkit/graphics/present.h"
#include "toolkit/graphics/quickdraw.h"
#include "toolkit/menus/menus.h"
#include "tools/qiva-rsrc/sources.h"

class DialogTest : public ::testing::Test {
protected:
    static constexpr int kW = 400, kH = 300;
    qiva::HeadlessPresent present;
    platform::HeadlessBackend* headless = nullptr;
    qiva_test::ScratchDirectory dir;
    std::int16_t winit = -1, file = -1;

    void SetUp() override {
        auto backend = std::make_unique<platform::HeadlessBackend>();
        headless = backend.get();
        platform::Install(std::move(backend));
        qiva::ResetEvents();
        qiva::ResetShell();
        qiva::SetIniDirectory(dir.Root().string());
        qiva::SetScreenSize(kW, kH);
        qiva::SetHighlightSetting(0, 0, 0);
        qiva::SetPresentSink(&present);
        InitGraf(nullptr);
        winit = OpenResFile(TOLKA_WINIT_RSR);
        ASSERT_GT(winit, 0);
        InitFonts();
        InitWindows();
        InitMenus();
        TEInit();
        InitDialogs(nullptr);
        ErrorSound(&CountBeep);
        beeps = 0;
        qiva::ClearErrorBoxHistory();
    }
    void TearDown() override {
        while (WindowPtr w = FrontWindow()) {
            if (qiva::IsDialog(w))
                DisposeDialog(w);
            else
                DisposeWindow(w);
        }
        qiva::ResetDialogs();
        qiva::CloseMenus();
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
    }

    // The test's resources, from source text.
    void Resources(const std::string& source) {
        std::vector<qiva::Resource> resources;
        for (const auto& r : qiva_rsrc::CompileSource(source, "test.qrs", dir.Root().string()))
            resources.push_back(r.resource);
        file = OpenResFile(dir.Write("dialogs.rsr", qiva_test::FileImage(resources)).c_str());
        ASSERT_GT(file, 0);
    }

    static inline int beeps = 0;
    static void CountBeep(std::int16_t) { ++beeps; }

    void Inject(platform::Event e) { headless->Inject(e); }
    void Key(platform::Key key, char32_t text = 0, bool control = false) {
        platform::Event e;
        e.kind = platform::EventKind::KeyDown;
        if (control) {
            e.key = platform::Key::Control;
            Inject(e);
        }
        e.key = key;
        e.modifiers.control = control;
        Inject(e);
        if (text) {
            platform::Event t;
            t.kind = platform::EventKind::Text;
            t.codepoint = text;
            Inject(t);
        }
        e.kind = platform::EventKind::KeyUp;
        Inject(e);
        if (control) {
            e.key = platform::Key::Control;
            Inject(e);
        }
    }
    void Type(const std::string& text) {
        for (char c : text) {
            platform::Event t;
            t.kind = platform::EventKind::Text;
            t.codepoint = static_cast<unsigned char>(c);
            Inject(t);
        }
    }
    void Click(int x, int y) {
        platform::Event e;
        e.kind = platform::EventKind::MouseMove;
        e.x = x;
        e.y = y;
        Inject(e);
        e.kind = platform::EventKind::MouseDown;
        e.button = platform::LeftButton;
        Inject(e);
        e.kind = platform::EventKind::MouseUp;
        Inject(e);
    }
    // A point of item `item` in global pixels: its rectangle's centre.
    static Point Centre(DialogPtr d, int item) {
        std::int16_t type = 0;
        Handle h = nullptr;
        Rect r{};
        GetDItem(d, static_cast<std::int16_t>(item), &type, &h, &r);
        const Rect content = qiva::GlobalContentRect(qiva::Peek(d));
        return Point{static_cast<std::int16_t>(content.top + (r.top + r.bottom) / 2),
                     static_cast<std::int16_t>(content.left + (r.left + r.right) / 2)};
    }
    void ClickItem(DialogPtr d, int item) {
        const Point p = Centre(d, item);
        Click(p.h, p.v);
    }

    // Runs every pending input through GetNextEvent and DialogSelect, as an application's loop would;
    // the items hit, in order.
    std::vector<int> Drain() {
        std::vector<int> hits;
        for (int i = 0; i < 200; ++i) {
            EventRecord e;
            if (!GetNextEvent(everyEvent, &e) || !IsDialogEvent(&e)) continue;
            DialogPtr d = nullptr;
            std::int16_t item = 0;
            if (DialogSelect(&e, &d, &item)) hits.push_back(item);
        }
        return hits;
    }

    static std::string ItemText(DialogPtr d, int item) {
        std::int16_t type = 0;
        Handle h = nullptr;
        Rect r{};
        GetDItem(d, static_cast<std::int16_t>(item), &type, &h, &r);
        char text[256];
        GetIText(h, text);
        return text;
    }

    // The dump's lines that start with `prefix`.
    static std::vector<std::string> DumpLines(const std::string& prefix) {
        std::vector<std::string> out;
        const std::string dump = qiva::StateDump();
        std::size_t at = 0;
        while (at < dump.size()) {
            const std::size_t end = dump.find('\n', at);
            const std::string line = dump.substr(at, end - at);
            if (line.rfind(prefix, 0) == 0) out.push_back(line);
            if (end == std::string::npos) break;
            at = end + 1;
        }
        return out;
    }

    static std::uint8_t ScreenPixel(int h, int v) {
        const qiva::BufferSlot* s = qiva::LookUpBuffer(qiva::ScreenBufferId());
        return s->base[v * s->rowBytes + h];
    }
};
