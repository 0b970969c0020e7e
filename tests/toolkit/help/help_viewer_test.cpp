#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "platform/headless.h"
#include "tests/support/scoped.h"
#include "tests/support/temp_dir.h"
#include "toolkit/controls/controls.h"
#include "toolkit/core/error_box.h"
#include "toolkit/core/events.h"
#include "toolkit/core/file_search.h"
#include "toolkit/core/message_log.h"
#include "toolkit/core/settings.h"
#include "toolkit/core/shell.h"
#include "toolkit/core/state_dump.h"
#include "toolkit/graphics/buffers.h"
#include "toolkit/graphics/present.h"
#include "toolkit/graphics/quickdraw.h"
#include "toolkit/help/help_viewer.h"
#include "toolkit/windows/windows.h"

namespace {

// Three topics long enough to scroll, the second found by the keyword "second".
std::string HelpText() {
    std::string text;
    const char* titles[] = {"First", "Second", "Third"};
    for (int t = 0; t < 3; ++t) {
        text += std::string("@topic ") + titles[t] + "\n";
        if (t == 1) text += "@keywords second, two\n";
        text += "\n";
        for (int p = 0; p < 12; ++p)
            text += "Paragraph " + std::to_string(p) + " of *" + titles[t] +
                    "* with enough words in it to fill a line or two of the column.\n\n";
    }
    return text;
}

class HelpViewerTest : public ::testing::Test {
protected:
    qiva::HeadlessPresent present;
    TempDir dir;
    std::unique_ptr<qiva_test::ScopedCurrentDirectory> cwd;

    void SetUp() override {
        platform::Install(std::make_unique<platform::HeadlessBackend>());
        qiva::ResetEvents();
        qiva::ResetShell();
        qiva::SetIniDirectory(dir.Path());
        qiva::SetResourcePaths({dir.Path(), dir.Path(), dir.Path()});
        qiva::SetScreenSize(640, 450);
        qiva::SetPresentSink(&present);
        InitGraf(nullptr);
        InitFonts();
        InitWindows();
        qiva::ClearErrorBoxHistory();
        std::ofstream(dir / "guide.hlp") << HelpText();
        cwd = std::make_unique<qiva_test::ScopedCurrentDirectory>(dir.Path());
    }
    void TearDown() override {
        qiva::CloseHelpViewer();
        cwd.reset();
        qiva::CloseWindowManager();
        qiva::CloseGraphics();
        qiva::SetPresentSink(nullptr);
        qiva::SetScreenSize(640, 400);
        qiva::SetResourcePaths({});
        qiva::SetIniDirectory("");
        qiva::ResetEvents();
        qiva::ResetShell();
        platform::Install(nullptr);
    }

    static bool Open(const char* keyword) {
        return WinHelp(nullptr, "guide.hlp", HELP_KEY, reinterpret_cast<std::uintptr_t>(keyword));
    }
    // Lets the queue deliver what it holds (desk accessory keys and updates are taken on the way).
    static void Drain() {
        EventRecord event;
        for (int i = 0; i < 20; ++i)
            GetNextEvent(everyEvent, &event);
    }
    static void Key(int character) {
        PostEvent(keyDown, static_cast<std::uintptr_t>(character));
        Drain();
    }
    static std::string HelpLine() {
        const std::string dump = qiva::StateDump();
        const auto start = dump.find("help ");
        if (start == std::string::npos) return "";
        return dump.substr(start, dump.find('\n', start) - start);
    }
    static Point Global(int h, int v) {
        Point p{static_cast<std::int16_t>(v), static_cast<std::int16_t>(h)};
        GrafPtr saved = nullptr;
        GetPort(&saved);
        SetPort(qiva::HelpWindow());
        LocalToGlobal(&p);
        SetPort(saved);
        return p;
    }
};

TEST_F(HelpViewerTest, KeywordOpensADeskAccessoryAtItsTopic) {
    ASSERT_TRUE(Open("SECOND"));
    WindowPtr window = qiva::HelpWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_LT(GetWRefCon(window), 0);
    EXPECT_EQ(FrontWindow(), window);
    EXPECT_EQ(qiva::HelpError(), 0);
    const int top = qiva::HelpTopLine();
    EXPECT_GT(top, 0);
    EXPECT_EQ(HelpLine(), "help file \"guide.hlp\" topic \"Second\" top " + std::to_string(top) + " lines " +
                              std::to_string(qiva::HelpLineCount()));

    // An unknown keyword shows the first topic; asking again keeps one window.
    ASSERT_TRUE(Open("nothing"));
    EXPECT_EQ(qiva::HelpWindow(), window);
    EXPECT_EQ(qiva::HelpTopLine(), 0);
    EXPECT_EQ(HelpLine(),
              "help file \"guide.hlp\" topic \"First\" top 0 lines " + std::to_string(qiva::HelpLineCount()));
}

TEST_F(HelpViewerTest, KeysAndWheelScrollWithinTheText) {
    ASSERT_TRUE(Open("first"));
    const int visible = qiva::HelpVisibleLines();
    const int last = qiva::HelpLineCount() - visible;
    ASSERT_GT(last, 2 * visible);
    Key(12); // page down
    EXPECT_EQ(qiva::HelpTopLine(), visible - 1);
    Key(31); // down arrow
    EXPECT_EQ(qiva::HelpTopLine(), visible);
    Key(4); // end
    EXPECT_EQ(qiva::HelpTopLine(), last);
    Key(12);
    EXPECT_EQ(qiva::HelpTopLine(), last);
    Key(11); // page up
    EXPECT_EQ(qiva::HelpTopLine(), last - visible + 1);
    Key(1); // home
    EXPECT_EQ(qiva::HelpTopLine(), 0);
    Key('x'); // not a scrolling key: taken by the viewer, nothing moves
    EXPECT_EQ(qiva::HelpTopLine(), 0);

    // The wheel turns over the window, and only there.
    platform::Event move;
    move.kind = platform::EventKind::MouseMove;
    const Point inside = Global(250, 100);
    move.x = inside.h;
    move.y = inside.v;
    qiva::HandlePlatformEvent(move);
    platform::Event wheel;
    wheel.kind = platform::EventKind::Wheel;
    wheel.wheel = -2;
    qiva::HandlePlatformEvent(wheel);
    EXPECT_EQ(qiva::HelpTopLine(), 6);
    wheel.wheel = 1;
    qiva::HandlePlatformEvent(wheel);
    EXPECT_EQ(qiva::HelpTopLine(), 3);
    move.x = 10;
    move.y = 200;
    qiva::HandlePlatformEvent(move);
    qiva::HandlePlatformEvent(wheel);
    EXPECT_EQ(qiva::HelpTopLine(), 3);
}

TEST_F(HelpViewerTest, TopicListClickShowsTheTopic) {
    ASSERT_TRUE(Open("first"));
    Drain();
    // The third entry of the list, counted from the window's top-left corner.
    EventRecord click{};
    click.what = mouseDown;
    click.where = Global(20, 6 + 2 * 15 + 5);
    SystemClick(&click, qiva::HelpWindow());
    EXPECT_EQ(HelpLine().substr(0, 40), "help file \"guide.hlp\" topic \"Third\" top ");
}

TEST_F(HelpViewerTest, ScrollBarArrowsAndPagesFollowTheText) {
    ASSERT_TRUE(Open("first"));
    Drain();
    const Rect port = qiva::HelpWindow()->portRect;
    const int visible = qiva::HelpVisibleLines();
    auto clickBar = [&](int v) {
        EventRecord click{};
        click.what = mouseDown;
        click.where = Global(port.right - 8, v);
        SystemClick(&click, qiva::HelpWindow());
    };
    auto bar = static_cast<ControlHandle>(reinterpret_cast<WindowPeek>(qiva::HelpWindow())->controlList);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(GetCtlMax(bar), qiva::HelpLineCount() - visible);
    clickBar(port.bottom - 8); // the down arrow
    EXPECT_EQ(qiva::HelpTopLine(), 1);
    clickBar(port.bottom - 60); // the page below the thumb
    EXPECT_EQ(qiva::HelpTopLine(), visible);
    EXPECT_EQ(GetCtlValue(bar), visible);
    clickBar(port.top + 8); // the up arrow
    EXPECT_EQ(qiva::HelpTopLine(), visible - 1);
    Key(4); // keys move the thumb too
    EXPECT_EQ(GetCtlValue(bar), GetCtlMax(bar));
}

TEST_F(HelpViewerTest, DrawsTheTextBesideTheList) {
    ASSERT_TRUE(Open("first"));
    Drain();
    const qiva::BufferSlot* screen = qiva::LookUpBuffer(qiva::ScreenBufferId());
    // Text of the column and of the list: ink in each area of the window's content.
    auto inked = [&](int left, int top, int right, int bottom) {
        const Point a = Global(left, top), b = Global(right, bottom);
        int count = 0;
        for (int v = a.v; v < b.v; ++v)
            for (int h = a.h; h < b.h; ++h)
                count += screen->base[v * screen->rowBytes + h] == qiva::kIndexBlack;
        return count;
    };
    EXPECT_GT(inked(140, 10, 300, 60), 40);
    EXPECT_GT(inked(2, 4, 100, 50), 40);
}

TEST_F(HelpViewerTest, QuitClosesOnlyItsOwnFile) {
    ASSERT_TRUE(Open("first"));
    EXPECT_TRUE(WinHelp(nullptr, "other.hlp", HELP_QUIT, 0));
    EXPECT_NE(qiva::HelpWindow(), nullptr);
    EXPECT_TRUE(WinHelp(nullptr, "guide.hlp", HELP_QUIT, 0));
    EXPECT_EQ(qiva::HelpWindow(), nullptr);
    EXPECT_EQ(HelpLine(), "");
    EXPECT_EQ(FrontWindow(), nullptr);
}

// The Window Manager starting again closes the viewer's window under it: the viewer lets it go and
// the next request opens a new window with a working scroll bar.
TEST_F(HelpViewerTest, AWindowClosedUnderTheViewerIsMadeAnew) {
    ASSERT_TRUE(Open("first"));
    InitWindows();
    EXPECT_EQ(qiva::HelpWindow(), nullptr);
    EXPECT_EQ(HelpLine(), "");
    ASSERT_TRUE(Open("second"));
    WindowPtr window = qiva::HelpWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(FrontWindow(), window);
    const int top = qiva::HelpTopLine();
    EXPECT_GT(top, 0);
    EXPECT_EQ(HelpLine(), "help file \"guide.hlp\" topic \"Second\" top " + std::to_string(top) + " lines " +
                              std::to_string(qiva::HelpLineCount()));
}

TEST_F(HelpViewerTest, AShortLastTopicStillHeadsTheColumn) {
    std::ofstream(dir / "short.hlp") << HelpText() << "@topic Last\n@keywords last\n\nOne line.\n";
    ASSERT_TRUE(WinHelp(nullptr, "short.hlp", HELP_KEY, reinterpret_cast<std::uintptr_t>("last")));
    EXPECT_EQ(HelpLine().substr(0, 38), "help file \"short.hlp\" topic \"Last\" top");
    const int top = qiva::HelpTopLine();
    EXPECT_GT(top, qiva::HelpLineCount() - qiva::HelpVisibleLines());
    Key(1);
    Key(4); // End goes as far
    EXPECT_EQ(qiva::HelpTopLine(), top);
}

TEST_F(HelpViewerTest, AFaultyFileShowsTheTopicsBeforeItsFault) {
    qiva::ClearMessageLog();
    std::ofstream(dir / "faulty.hlp")
        << "@topic Kept\n@keywords kept\n\nWords.\n@nonsense\n@topic Lost\n\nMore.\n";
    ASSERT_TRUE(WinHelp(nullptr, "faulty.hlp", HELP_KEY, reinterpret_cast<std::uintptr_t>("lost")));
    EXPECT_EQ(HelpLine().substr(0, 47), "help file \"faulty.hlp\" topic \"Kept\" top 0 lines");
    EXPECT_NE(qiva::MessageLogText().find("faulty.hlp line 5"), std::string::npos) << qiva::MessageLogText();
    qiva::ClearMessageLog();
}

TEST_F(HelpViewerTest, AFileThatCannotBeReadReportsTheSystemError) {
    EXPECT_FALSE(WinHelp(nullptr, "missing.hlp", HELP_KEY, reinterpret_cast<std::uintptr_t>("x")));
    EXPECT_EQ(qiva::HelpError(), ENOENT);
    EXPECT_EQ(qiva::HelpWindow(), nullptr);
    std::filesystem::create_directory(dir / "folder.hlp");
    EXPECT_FALSE(WinHelp(nullptr, "folder.hlp", HELP_CONTENTS, 0));
    EXPECT_NE(qiva::HelpError(), 0);
    EXPECT_FALSE(WinHelp(nullptr, "guide.hlp", 999, 0));
    EXPECT_EQ(qiva::HelpError(), EINVAL);
    EXPECT_EQ(qiva::HelpWindow(), nullptr);
    EXPECT_TRUE(qiva::ErrorBoxHistory().empty());
}

} // namespace
