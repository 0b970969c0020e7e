#include <gtest/gtest.h>

#include <sstream>

#include "platform/headless.h"
#include "platform/paths.h"
#include "platform/wave.h"
#include "tests/support/temp_dir.h"

namespace {

using platform::Event;
using platform::EventKind;
using platform::HeadlessBackend;
using platform::Key;

std::vector<Event> Drain(HeadlessBackend& backend, int maxSteps = 1000) {
    std::vector<Event> events;
    for (int i = 0; i < maxSteps; ++i) {
        Event e;
        if (!backend.Pump(e)) continue;
        events.push_back(e);
        if (e.kind == EventKind::Quit) break;
    }
    return events;
}

TEST(HeadlessScript, ParseErrorsNameTheLine) {
    std::vector<platform::ScriptStep> steps;
    struct Case {
        const char* script;
        const char* error;
    };
    const Case cases[] = {
        {"click 1 2\nfly 3\n", "line 2: unknown command \"fly\""},
        {"# comment\n\nclick 1\n", "line 3: expected: click X Y [left|right]"},
        {"key ctrl+\xc3\xa9\n", "line 1: unknown key"},
        {"key hyper+a\n", "line 1: unknown key"},
        {"wait -1\n", "line 1: expected: wait TICKS (0 to 216000)"},
        {"wait 10x\n", "line 1: expected: wait TICKS (0 to 216000)"},
        {"move 1 2 3\n", "line 1: expected: move X Y"},
        {"expect-pixel 1 2 256\n", "line 1: expected: expect-pixel X Y INDEX"},
        {"click 1 99999999999999999999\n", "line 1: expected: click X Y [left|right]"},
        {"wheel 101\n", "line 1: expected: wheel NOTCHES (-100 to 100, positive away from the user)"},
        {"wheel\n", "line 1: expected: wheel NOTCHES (-100 to 100, positive away from the user)"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(platform::ParseScript(c.script, steps), c.error) << c.script;
    EXPECT_EQ(platform::ParseScript("click 10 20 right\r\nkey f1\ntext é!\nwait 3\nshot a.png\n", steps), "");
    EXPECT_EQ(steps.size(), 5u);
}

TEST(HeadlessScript, InputsBecomeEventsInOrderAndTheScriptEndQuits) {
    HeadlessBackend backend;
    ASSERT_TRUE(backend.OpenWindow("Tolka", {}));
    std::vector<platform::ScriptStep> steps;
    ASSERT_EQ(platform::ParseScript("click 700 -0 right\nkey ctrl+c\ntext é\nwheel -3\n", steps), "");
    backend.SetScript(std::move(steps));
    const std::vector<Event> events = Drain(backend);
    const EventKind kinds[] = {EventKind::MouseMove, EventKind::MouseDown, EventKind::MouseUp,
                               EventKind::KeyDown,   EventKind::KeyDown,   EventKind::KeyUp,
                               EventKind::KeyUp,     EventKind::Text,      EventKind::Wheel,
                               EventKind::Quit};
    ASSERT_EQ(events.size(), std::size(kinds));
    for (std::size_t i = 0; i < events.size(); ++i)
        EXPECT_EQ(events[i].kind, kinds[i]) << i;
    EXPECT_EQ(events[1].x, 639) << "clamped into the virtual screen";
    EXPECT_EQ(events[1].y, 0);
    EXPECT_EQ(events[1].button, platform::RightButton);
    EXPECT_EQ(events[3].key, Key::Control);
    EXPECT_EQ(events[4].key, Key('c'));
    EXPECT_TRUE(events[4].modifiers.control);
    EXPECT_FALSE(events[7].modifiers.control);
    EXPECT_EQ(events[7].codepoint, U'é');
    EXPECT_EQ(events[8].wheel, -3);
    EXPECT_EQ(events[8].x, 639) << "the wheel turns where the mouse is";
    EXPECT_EQ(events[9].status, 0);
}

TEST(HeadlessScript, WaitLetsTheProgramClockRunAndFailedExpectationsQuitWithAnError) {
    HeadlessBackend backend;
    ASSERT_TRUE(backend.OpenWindow("Tolka", {}));
    std::vector<platform::ScriptStep> steps;
    ASSERT_EQ(platform::ParseScript("wait 120\nexpect-sound 1\nclick 1 1\n", steps), "");
    backend.SetScript(std::move(steps));
    const std::uint64_t start = backend.Clock();
    const std::vector<Event> events = Drain(backend);
    EXPECT_GE(backend.Clock() - start, 2000000u);
    ASSERT_EQ(events.size(), 1u) << "the click after the failed line is never made";
    EXPECT_EQ(events[0].kind, EventKind::Quit);
    EXPECT_EQ(events[0].status, 1);
}

TEST(HeadlessScript, ShotWritesTheScreenAsPresented) {
    TempDir dir;
    HeadlessBackend backend;
    ASSERT_TRUE(backend.OpenWindow("Tolka", {}));
    std::vector<std::uint8_t> pixels(640 * 450, 7);
    std::uint32_t palette[256] = {};
    backend.Present({pixels.data(), 640, 640, 450, palette}, {10, 20, 30, 40});
    EXPECT_EQ(backend.PixelAt(10, 20), 7);
    EXPECT_EQ(backend.PixelAt(30, 40), 0) << "outside the dirty rectangle nothing changes";
    EXPECT_EQ(backend.PixelAt(640, 0), -1);
    std::vector<platform::ScriptStep> steps;
    ASSERT_EQ(platform::ParseScript("expect-pixel 29 39 7\nshot " + (dir / "s.png") + "\n", steps), "");
    backend.SetScript(std::move(steps));
    const auto events = Drain(backend);
    ASSERT_EQ(events.back().kind, EventKind::Quit);
    EXPECT_EQ(events.back().status, 0);
    EXPECT_TRUE(platform::FileExists(dir / "s.png"));
}

TEST(HeadlessClock, ReadsStepPresentsSoundsAndSleepsAdvance) {
    HeadlessBackend backend;
    ASSERT_TRUE(backend.OpenWindow("Tolka", {}));
    const std::uint64_t a = backend.Microseconds();
    EXPECT_GT(backend.Microseconds(), a) << "every read moves the clock";
    std::uint64_t t = backend.Microseconds();
    backend.Sleep(500000);
    EXPECT_GE(backend.Microseconds(), t + 500000);
    t = backend.Microseconds();
    std::vector<std::uint8_t> pixels(640 * 450);
    std::uint32_t palette[256] = {};
    backend.Present({pixels.data(), 640, 640, 450, palette}, {0, 0, 640, 450});
    EXPECT_GE(backend.Microseconds(), t + 16666);
    const auto beep = platform::BeepWave();
    t = backend.Microseconds();
    EXPECT_TRUE(backend.PlayWave(beep.data(), beep.size()));
    EXPECT_GE(backend.Microseconds(), t + 120000);
    EXPECT_FALSE(backend.PlayWave(beep.data(), 20));
    ASSERT_EQ(backend.Sounds().size(), 1u);
    EXPECT_EQ(backend.Sounds()[0].sampleRate, 22050);
}

TEST(HeadlessWindow, SizeIsAtLeast640By400) {
    HeadlessBackend backend;
    ASSERT_TRUE(backend.OpenWindow("Tolka", {5, 6, 100, 100, true}));
    const platform::WindowArea area = backend.CurrentArea();
    EXPECT_EQ(area.left, 5);
    EXPECT_EQ(area.width, 640);
    EXPECT_EQ(area.height, 400);
    EXPECT_TRUE(area.maximized);
}

std::string DumpForTest() {
    return "screen 640 450\nend\n";
}

// Restores the dump provider whatever happens in the test body.
struct ProviderGuard {
    ~ProviderGuard() { platform::SetStateDumpProvider(nullptr); }
};

TEST(HeadlessScript, ALiveScriptIsReadALineAtATimeAsEventsAreAskedFor) {
    TempDir dir;
    ProviderGuard guard;
    platform::SetStateDumpProvider(&DumpForTest);
    HeadlessBackend backend;
    ASSERT_TRUE(backend.OpenWindow("Tolka", {}));
    const std::string first = "click 5 6\n";
    std::istringstream in(first + "\n# a comment\ndump " + (dir / "state.txt") + "\nkey a\n");
    backend.SetLiveScript(in);
    Event e;
    ASSERT_TRUE(backend.Pump(e));
    EXPECT_EQ(e.kind, EventKind::MouseMove);
    EXPECT_EQ(in.tellg(), static_cast<std::streamoff>(first.size())) << "only the first line is read";
    ASSERT_TRUE(backend.Pump(e));
    ASSERT_TRUE(backend.Pump(e));
    EXPECT_EQ(e.kind, EventKind::MouseUp);
    std::string state;
    EXPECT_FALSE(platform::ReadFile(dir / "state.txt", state)) << "the dump waits for its turn";
    ASSERT_TRUE(backend.Pump(e));
    EXPECT_EQ(e.kind, EventKind::KeyDown);
    ASSERT_TRUE(platform::ReadFile(dir / "state.txt", state));
    EXPECT_EQ(state, DumpForTest());
    const std::vector<Event> rest = Drain(backend);
    ASSERT_FALSE(rest.empty());
    EXPECT_EQ(rest.back().kind, EventKind::Quit) << "the end of the input ends the script";
    EXPECT_EQ(rest.back().status, 0);
}

TEST(HeadlessScript, ABadLiveLineOrAFailedDumpEndsTheRunWithAnError) {
    TempDir dir;
    const struct {
        std::string script;
        std::size_t eventsBeforeQuit;
    } cases[] = {
        {"key a\nfly 3\nkey b\n", 3}, // a key's down, text, up; then the bad line
        {"dump " + (dir / "no/such/dir") + "\nkey b\n", 0}, // a dump that cannot be written
    };
    for (const auto& c : cases) {
        HeadlessBackend backend;
        ASSERT_TRUE(backend.OpenWindow("Tolka", {}));
        std::istringstream in(c.script);
        backend.SetLiveScript(in);
        const std::vector<Event> events = Drain(backend);
        ASSERT_EQ(events.size(), c.eventsBeforeQuit + 1) << c.script;
        EXPECT_EQ(events.back().kind, EventKind::Quit);
        EXPECT_EQ(events.back().status, 1);
    }
}

TEST(HeadlessScript, WithoutAProviderADumpIsTheEndLineAlone) {
    TempDir dir;
    HeadlessBackend backend;
    ASSERT_TRUE(backend.OpenWindow("Tolka", {}));
    std::vector<platform::ScriptStep> steps;
    ASSERT_EQ(platform::ParseScript("dump " + (dir / "d.txt") + "\n", steps), "");
    backend.SetScript(std::move(steps));
    Drain(backend);
    std::string state;
    ASSERT_TRUE(platform::ReadFile(dir / "d.txt", state));
    EXPECT_EQ(state, "end\n");
}

} // namespace
