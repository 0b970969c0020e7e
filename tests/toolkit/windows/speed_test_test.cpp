// The speed test draws its eleven loops inside the area it is given, times each on the clock it is
// handed, and leaves the window with its results; the screen animation leaves the screen as it was.

#include <vector>

#include "tests/toolkit/windows/windows_fixture.h"
#include "toolkit/windows/desk_accessory.h"
#include "toolkit/windows/speed_test.h"

namespace {

class SpeedTest : public WindowsTest {};

TEST_F(SpeedTest, LoopsRunInOrderOnTheGivenClockAndDrawOnlyInTheirArea) {
    GrafPtr screen = qiva::TemplatePort();
    SetPort(screen);
    const Rect area = R(60, 40, 200, 150);
    const std::vector<std::uint8_t> before = Screen();
    // A clock that steps by one tick a reading: every loop then takes exactly one tick.
    double now = 100;
    std::vector<const char*> heard;
    const auto results =
        qiva::RunSpeedLoops(area, [&] { return now += 1; }, [&](const qiva::SpeedResult& r) { heard.push_back(r.label); });
    ASSERT_EQ(results.size(), qiva::SpeedTestLabels().size());
    EXPECT_EQ(heard, qiva::SpeedTestLabels());
    for (const qiva::SpeedResult& r : results)
        EXPECT_EQ(r.ticks, 1.0) << r.label;

    const std::vector<std::uint8_t> after = Screen();
    int changedInside = 0;
    for (int v = 0; v < kHeight; ++v)
        for (int h = 0; h < kWidth; ++h) {
            const std::size_t i = static_cast<std::size_t>(v) * kWidth + h;
            const bool inside = h >= area.left && h < area.right && v >= area.top && v < area.bottom;
            if (!inside)
                ASSERT_EQ(after[i], before[i]) << "drawn outside the area at " << h << "," << v;
            else if (after[i] != before[i])
                ++changedInside;
        }
    EXPECT_GT(changedInside, 0);
}

TEST_F(SpeedTest, AnAreaTooSmallForTheLoopsRunsNone) {
    SetPort(qiva::TemplatePort());
    EXPECT_TRUE(qiva::RunSpeedLoops(R(0, 0, 40, 40), [] { return 0.0; }, {}).empty());
}

TEST_F(SpeedTest, TheWindowShowsEveryResultAndItsCloseBoxClosesIt) {
    int heard = 0;
    WindowPtr w = qiva::ShowSpeedTest([&](const qiva::SpeedResult& r) {
        EXPECT_GE(r.ticks, 0.0);
        ++heard;
    });
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(heard, 11);
    EXPECT_EQ(FrontWindow(), w);
    char title[256];
    GetWTitle(w, title);
    EXPECT_STREQ(title, qiva::kSpeedTestTitle);
    qiva::DeskAccessory* handler = qiva::DeskAccessoryOf(w);
    ASSERT_NE(handler, nullptr);
    handler->Close(w);
    EXPECT_EQ(FrontWindow(), nullptr);
}

// Windows closed by the program or by the Window Manager starting again take their handlers with
// them (the leak check of the sanitizer build sees one left behind).
TEST_F(SpeedTest, WindowsClosedWithoutTheirCloseBoxReleaseTheirHandlers) {
    WindowPtr first = qiva::ShowSpeedTest();
    ASSERT_NE(first, nullptr);
    DisposeWindow(first);
    EXPECT_EQ(FrontWindow(), nullptr);
    ASSERT_NE(qiva::ShowSpeedTest(), nullptr);
    ASSERT_NE(qiva::ShowSpeedTest(), nullptr);
    InitWindows();
    EXPECT_EQ(FrontWindow(), nullptr);
}

TEST_F(SpeedTest, TheScreenAnimationLeavesTheScreenAsItWas) {
    const std::vector<std::uint8_t> before = Screen();
    qiva::ScreenAnimation(P(100, 90));
    EXPECT_EQ(Screen(), before) << Differences(Screen(), before);
}

// A right click on the desktop with Control held, made of platform events as a person makes it.
TEST_F(SpeedTest, ControlAndARightClickOnTheDesktopOpenTheSpeedTestAndWaitForTheRelease) {
    for (bool shift : {false, true}) {
        platform::Event down;
        down.kind = platform::EventKind::MouseDown;
        down.x = 120, down.y = 150;
        down.button = platform::RightButton;
        down.modifiers.control = true;
        down.modifiers.shift = shift;
        platform::Event up = down;
        up.kind = platform::EventKind::MouseUp;
        auto key = [](platform::Key k, bool pressed) {
            platform::Event e;
            e.kind = pressed ? platform::EventKind::KeyDown : platform::EventKind::KeyUp;
            e.key = k;
            return e;
        };
        headless->Inject(key(platform::Key::Control, true));
        if (shift) headless->Inject(key(platform::Key::Shift, true));
        headless->Inject(down);
        headless->Inject(up);
        headless->Inject(key(platform::Key::Control, false));
        if (shift) headless->Inject(key(platform::Key::Shift, false));
        EventRecord e{};
        while (!GetNextEvent(mDownMask, &e)) {
        }
        WindowPtr w = nullptr;
        ASSERT_EQ(FindWindow(e.where, &w), inSysWindow); // the desktop: no window
        ASSERT_EQ(w, nullptr);
        SystemClick(&e, w);
        EXPECT_FALSE(Button()) << "returned before the button came up";
        WindowPtr front = FrontWindow();
        if (shift) {
            EXPECT_EQ(front, nullptr) << "the animation opens no window";
        } else {
            ASSERT_NE(front, nullptr);
            char title[256];
            GetWTitle(front, title);
            EXPECT_STREQ(title, qiva::kSpeedTestTitle);
            qiva::DeskAccessoryOf(front)->Close(front);
        }
    }
}

TEST(SpeedTestFormat, TicksShowTwoDecimalsAndNeverANegative) {
    EXPECT_EQ(qiva::FormatTicks(0), "0.00");
    EXPECT_EQ(qiva::FormatTicks(12.345), "12.35");
    EXPECT_EQ(qiva::FormatTicks(-0.5), "0.00");
}

} // namespace
