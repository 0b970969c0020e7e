// Windows from 'WIND' templates, with the icon numbers of 'wicn' and 'wcic'.

#include <string>

#include "tests/toolkit/core/resource_files.h"
#include "tests/toolkit/windows/windows_fixture.h"
#include "toolkit/core/resources.h"

namespace {

WindowPtr const kFront = reinterpret_cast<WindowPtr>(-1);

std::string Be16(int v) {
    return std::string{static_cast<char>((v >> 8) & 0xFF), static_cast<char>(v & 0xFF)};
}

// A 'WIND': bounds, procID, visible, go-away, refCon, title.
std::string Wind(int top, int left, int bottom, int right, int proc, bool visible, bool goAway, int refCon,
                 const std::string& title) {
    return Be16(top) + Be16(left) + Be16(bottom) + Be16(right) + Be16(proc) + Be16(visible ? 0x100 : 0) +
           Be16(goAway ? 0x100 : 0) + Be16(refCon >> 16) + Be16(refCon) + static_cast<char>(title.size()) +
           title;
}

class WindowResourcesTest : public WindowsTest {
protected:
    qiva_test::ScratchDirectory scratch;
    std::int16_t file = -1;
    void Open(const std::vector<qiva::Resource>& resources) {
        file = OpenResFile(scratch.Write("W.RSR", qiva_test::FileImage(resources)).c_str());
        ASSERT_GT(file, 0);
    }
    void TearDown() override {
        qiva::CloseWindowManager();
        if (file > 0) CloseResFile(file);
        WindowsTest::TearDown();
    }
};

TEST_F(WindowResourcesTest, TemplateAndIcons) {
    Open({qiva_test::MakeResource("WIND", 128, Wind(40, 20, 120, 180, 4, true, true, -7, "Aide")),
          qiva_test::MakeResource("WIND", 129, Wind(50, 30, 90, 90, 2, false, false, 99, "")),
          qiva_test::MakeResource("wicn", 128, Be16(300)), qiva_test::MakeResource("wcic", 128, Be16(-4000)),
          qiva_test::MakeResource("wicn", 129, "\x01")}); // too short for a word
    WindowPtr w = GetNewWindow(128, nullptr, kFront);
    ASSERT_NE(w, nullptr);
    const WindowPeek p = qiva::Peek(w);
    EXPECT_STREQ(p->titleText, "Aide");
    EXPECT_EQ(p->procID, 4);
    EXPECT_TRUE(p->visible);
    EXPECT_TRUE(p->goAwayFlag);
    EXPECT_EQ(p->refCon, -7);
    const Rect c = qiva::GlobalContentRect(p);
    EXPECT_EQ(c.left, 20);
    EXPECT_EQ(c.top, 40);
    EXPECT_EQ(c.right, 180);
    EXPECT_EQ(c.bottom, 120);
    EXPECT_EQ(p->iconID, 300);
    EXPECT_EQ(p->colorIconID, -4000);
    WindowPtr plain = GetNewWindow(129, nullptr, kFront);
    ASSERT_NE(plain, nullptr);
    EXPECT_FALSE(qiva::Peek(plain)->visible);
    EXPECT_EQ(qiva::Peek(plain)->iconID, qiva::kNoWindowIcon);
    EXPECT_EQ(qiva::Peek(plain)->colorIconID, qiva::kNoColorIcon);
    EXPECT_EQ(GetNewWindow(130, nullptr, kFront), nullptr);
}

TEST_F(WindowResourcesTest, DamagedTemplatesMakeNoWindow) {
    const std::string good = Wind(40, 20, 120, 180, 0, true, true, 0, "Long title");
    Open({qiva_test::MakeResource("WIND", 1, good.substr(0, 10)),
          qiva_test::MakeResource("WIND", 2, good.substr(0, good.size() - 3)),
          qiva_test::MakeResource("WIND", 3, Wind(40, 20, 120, 180, 5, true, true, 0, ""))});
    EXPECT_EQ(GetNewWindow(1, nullptr, kFront), nullptr);
    EXPECT_EQ(GetNewWindow(2, nullptr, kFront), nullptr);
    EXPECT_EQ(GetNewWindow(3, nullptr, kFront), nullptr);
    EXPECT_EQ(qiva::ErrorBoxHistory().size(), 1u); // the unsupported type, said once
    EXPECT_EQ(GetWindowList(), nullptr);
}

TEST_F(WindowResourcesTest, ColourIconIsPlottedInActiveWindowsWithCloseBox) {
    static std::vector<std::pair<std::int16_t, Rect>> plotted;
    plotted.clear();
    qiva::WindowManagerHooks().plotColorIcon = [](std::int16_t id, const Rect& where) {
        plotted.emplace_back(id, where);
    };
    const Rect r = R(40, 60, 140, 130);
    WindowPtr w = NewWindow(nullptr, &r, "", true, documentProc, kFront, true, 0);
    EXPECT_TRUE(plotted.empty());
    qiva::SetWindowColorIcon(w, 128);
    ASSERT_EQ(plotted.size(), 1u);
    EXPECT_EQ(plotted[0].first, 128);
    EXPECT_EQ(plotted[0].second.left, 42);
    EXPECT_EQ(plotted[0].second.top, 43);
    EXPECT_EQ(plotted[0].second.right, 74);
    EXPECT_EQ(plotted[0].second.bottom, 75);
    const Rect other = R(150, 60, 230, 130);
    NewWindow(nullptr, &other, "", true, documentProc, kFront, true, 0);
    plotted.clear();
    qiva::SetWindowColorIcon(w, 129); // inactive now: no icon
    EXPECT_TRUE(plotted.empty());
}

} // namespace
