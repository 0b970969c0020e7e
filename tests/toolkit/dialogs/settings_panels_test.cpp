// The settings panels of WLANG.RSR driven as a person drives them: each writes its setting on OK and
// leaves it on Cancel; a colour field that holds no component keeps the panel open on it. And the
// start-up panel, which a key ends and whose key the program never sees.

#include <optional>

#include "tests/toolkit/dialogs/dialog_fixture.h"
#include "toolkit/core/settings.h"
#include "toolkit/dialogs/settings_panels.h"
#include "toolkit/dialogs/splash.h"

namespace {

class SettingsPanels : public DialogTest {
protected:
    std::int16_t wlang = -1;

    void SetUp() override {
        DialogTest::SetUp();
        wlang = OpenResFile(TOLKA_WLANG_RSR);
        ASSERT_GT(wlang, 0);
        qiva::ResetSettings();
    }
    void TearDown() override {
        if (wlang > 0) CloseResFile(wlang);
        qiva::ResetSettings();
        DialogTest::TearDown();
    }

    // Where an item of a panel is on the screen: the panel opened once to look.
    Point ItemPoint(std::int16_t panel, int item) {
        DialogPtr d = GetNewDialog(panel, nullptr, reinterpret_cast<WindowPtr>(-1));
        EXPECT_NE(d, nullptr);
        if (!d) return Point{};
        const Point p = Centre(d, item);
        DisposeDialog(d);
        return p;
    }
    void ClickPanelItem(std::int16_t panel, int item) {
        const Point p = ItemPoint(panel, item);
        Click(p.h, p.v);
    }
    void Return() { Key(platform::Key::Return, 0); }
    void Escape() { Key(platform::Key::Escape, 0); }
};

TEST(ColourComponent, DigitsFrom0To255AreTakenAndAnythingElseIsRefused) {
    const struct {
        const char* text;
        std::optional<std::int16_t> value;
    } cases[] = {{"0", 0}, {"255", 255}, {" 42 ", 42}, {"007", 7},   {"256", {}},         {"-1", {}},
                 {"", {}}, {"   ", {}},  {"12a", {}},  {"0x10", {}}, {"99999999999", {}}, {"1 2", {}}};
    for (const auto& c : cases)
        EXPECT_EQ(qiva::ParseColourComponent(c.text), c.value) << '"' << c.text << '"';
}

TEST_F(SettingsPanels, SoundCheckBoxTurnsTheSoundOffOnOkAndCancelKeepsIt) {
    qiva::SetIniVolume(1);
    ClickPanelItem(qiva::kSoundPanel, 4);
    Escape();
    EXPECT_FALSE(qiva::RunSettingsPanel(qiva::kSoundPanel));
    EXPECT_EQ(qiva::IniVolume(), 1);

    ClickPanelItem(qiva::kSoundPanel, 4);
    Return();
    EXPECT_TRUE(qiva::RunSettingsPanel(qiva::kSoundPanel));
    EXPECT_EQ(qiva::IniVolume(), 0);
    EXPECT_EQ(qiva::ReadIniInt("Audio", "Volume", -1), 0);
}

TEST_F(SettingsPanels, RadioButtonsChooseOneValueEach) {
    ClickPanelItem(qiva::kPrintFontPanel, 7);
    ClickPanelItem(qiva::kPrintFontPanel, 6);
    Return();
    EXPECT_TRUE(qiva::RunSettingsPanel(qiva::kPrintFontPanel));
    EXPECT_EQ(qiva::PrintFontMode(), 1);
    EXPECT_EQ(qiva::ReadIniInt("Impression", "ModeFonteSysteme", -1), 1);

    EXPECT_EQ(qiva::DesktopPicture(), qiva::kStrawMatPicture);
    ClickPanelItem(qiva::kDesktopPanel, 5);
    Return();
    EXPECT_TRUE(qiva::RunSettingsPanel(qiva::kDesktopPanel));
    EXPECT_EQ(qiva::DesktopPicture(), qiva::kNoDesktopPicture);
    ClickPanelItem(qiva::kDesktopPanel, 4);
    Return();
    EXPECT_TRUE(qiva::RunSettingsPanel(qiva::kDesktopPanel));
    EXPECT_EQ(qiva::DesktopPicture(), qiva::kStrawMatPicture);
}

TEST_F(SettingsPanels, ABadColourFieldKeepsThePanelOpenOnItUntilItHoldsAComponent) {
    // The first field opens selected: typing replaces it.
    Type("300");
    Return();
    Type("200");
    Key(platform::Key::Tab, 0);
    Type("64");
    Return();
    beeps = 0;
    EXPECT_TRUE(qiva::RunSettingsPanel(qiva::kSelectionColourPanel));
    std::int16_t rgb[3];
    qiva::GetInverseColour(rgb);
    EXPECT_EQ(rgb[0], 200);
    EXPECT_EQ(rgb[1], 64);
    EXPECT_EQ(rgb[2], 0);
    EXPECT_EQ(qiva::ReadIniString("Couleurs", "CouleurInvert", ""), "200 64 0");
    EXPECT_EQ(FrontWindow(), nullptr);
}

// The menu pops up with its first item under the pointer: a right click that does not move chooses it.
TEST_F(SettingsPanels, TheRightClickMenuOpensThePanelChosen) {
    platform::Event e;
    e.kind = platform::EventKind::MouseMove;
    e.x = 100, e.y = 120;
    Inject(e);
    e.kind = platform::EventKind::MouseDown;
    e.button = platform::RightButton;
    Inject(e);
    e.kind = platform::EventKind::MouseUp;
    Inject(e);
    ClickPanelItem(qiva::kDesktopPanel, 5);
    Return();
    EventRecord down{};
    while (!GetNextEvent(mDownMask, &down)) {
    }
    WindowPtr w = nullptr;
    ASSERT_EQ(FindWindow(down.where, &w), inSysWindow);
    SystemClick(&down, w);
    EXPECT_EQ(qiva::DesktopPicture(), qiva::kNoDesktopPicture);
    EXPECT_EQ(FrontWindow(), nullptr);
}

TEST_F(SettingsPanels, TheStartUpPanelEndsOnAKeyAndSwallowsIt) {
    Key(static_cast<platform::Key>('x'), U'x');
    qiva::ShowSplash();
    EXPECT_EQ(FrontWindow(), nullptr);
    EventRecord e;
    bool keyLeft = false;
    for (int i = 0; i < 20; ++i)
        if (GetNextEvent(keyDownMask, &e)) keyLeft = true;
    EXPECT_FALSE(keyLeft);
}

TEST_F(SettingsPanels, WithoutItsDialogTheStartUpPanelIsSkipped) {
    CloseResFile(wlang);
    wlang = -1;
    qiva::ShowSplash();
    EXPECT_EQ(FrontWindow(), nullptr);
    EXPECT_TRUE(qiva::ErrorBoxHistory().empty());
}

} // namespace
