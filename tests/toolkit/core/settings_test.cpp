#include "tests/toolkit/core/shell_fixture.h"

#include "platform/paths.h"
#include "platform/profile.h"
#include "toolkit/core/error_box.h"

namespace {

using Settings = ShellTest;

std::string Value(const std::string& ini, const char* key) {
    return platform::ReadProfileString(ini, "Tolka", key, "<none>");
}

TEST_F(Settings, FirstRunOpensTheDefaultWindowAndCountsTheRun) {
    Rect client{};
    ASSERT_TRUE(qiva::CreateMainWindow(&client));
    const platform::WindowArea area = headless->CurrentArea();
    EXPECT_EQ(area.left, 32);
    EXPECT_EQ(area.top, 32);
    EXPECT_EQ(area.width, 640);
    EXPECT_EQ(area.height, 450);
    EXPECT_EQ(client.right, 640);
    EXPECT_EQ(client.bottom, 450);
    EXPECT_EQ(headless->Title(), "Tolka");
    const std::string ini = qiva::IniPath();
    EXPECT_EQ(Value(ini, "NbExec"), "1 (executions de l'application)");
    EXPECT_EQ(Value(ini, "Crash"), "1 (Derniere execution incomplete)");
    EXPECT_EQ(Value(ini, "NbCrash"), "<none>");
    headless->AdvanceClock(3 * 1000000);
    qiva::CloseMainWindow();
    EXPECT_FALSE(headless->WindowOpen());
    EXPECT_EQ(Value(ini, "Crash"), "0 (Derniere execution complete)");
    EXPECT_EQ(Value(ini, "Aire"), "32 32 672 482 0");
    EXPECT_EQ(Value(ini, "Duree"), "3 (0h 0mn 3sec d'utilisation)");
}

TEST_F(Settings, AnIncompleteRunIsCountedAtTheNextStart) {
    ASSERT_TRUE(qiva::CreateMainWindow(nullptr)); // killed: never closed
    qiva::ResetShell();
    ASSERT_TRUE(qiva::CreateMainWindow(nullptr));
    const std::string ini = qiva::IniPath();
    EXPECT_EQ(Value(ini, "NbCrash"), "1 (arrets illegaux de l'application)");
    EXPECT_EQ(Value(ini, "NbExec"), "2 (executions de l'application)");
    qiva::CloseMainWindow();
    qiva::ResetShell();
    ASSERT_TRUE(qiva::CreateMainWindow(nullptr));
    EXPECT_EQ(Value(ini, "NbCrash"), "1 (arrets illegaux de l'application)")
        << "a completed run is not counted";
    EXPECT_EQ(Value(ini, "NbExec"), "3 (executions de l'application)");
}

TEST_F(Settings, UsageTimeAccumulatesInTheDurationFormat) {
    EXPECT_EQ(qiva::FormatDuration(3725), "3725 (1h 2mn 5sec d'utilisation)");
    EXPECT_EQ(qiva::FormatDuration(0), "0 (0h 0mn 0sec d'utilisation)");
    ASSERT_TRUE(platform::WriteFileAtomically(dir / "wqiva.ini",
                                              "[Tolka]\nDuree=3725 (1h 2mn 5sec d'utilisation)\n"));
    ASSERT_TRUE(qiva::CreateMainWindow(nullptr));
    headless->AdvanceClock(61500000); // 61.5 s: whole seconds count
    qiva::CloseMainWindow();
    EXPECT_EQ(Value(qiva::IniPath(), "Duree"), "3786 (1h 3mn 6sec d'utilisation)");
}

TEST_F(Settings, SavedAreaIsClampedIntoTheDesktop) {
    struct Case {
        const char* saved;
        platform::WindowArea expected;
    };
    const Case cases[] = {
        {"-100 -50 700 500 1", {0, 0, 700, 500, true}},
        {"1500 900 2200 1400 0",
         {1500, 900, 640, 400, false}}, // shrunk to 420 x 180, at least 640 x 400 shown
        {"100 120 800 600", {100, 120, 700, 480, false}},
        {"garbage", {32, 32, 640, 450, false}},
        {"500 500 400 400 0", {32, 32, 640, 450, false}},
        {"5000 5000 6000 6000 0", {32, 32, 640, 450, false}},
    };
    headless->SetDesktop({0, 0, 1920, 1080});
    for (const Case& c : cases) {
        ASSERT_TRUE(
            platform::WriteFileAtomically(dir / "wqiva.ini", std::string("[Tolka]\nAire=") + c.saved + "\n"));
        qiva::ResetShell();
        ASSERT_TRUE(qiva::CreateMainWindow(nullptr));
        const platform::WindowArea area = headless->CurrentArea();
        EXPECT_EQ(area.left, c.expected.left) << c.saved;
        EXPECT_EQ(area.top, c.expected.top) << c.saved;
        EXPECT_EQ(area.width, c.expected.width) << c.saved;
        EXPECT_EQ(area.height, c.expected.height) << c.saved;
        EXPECT_EQ(area.maximized, c.expected.maximized) << c.saved;
    }
}

TEST_F(Settings, AccessorsReadDefaultsAndWriteThrough) {
    std::int16_t rgb[3] = {9, 9, 9};
    qiva::GetInverseColour(rgb);
    EXPECT_EQ(rgb[0] + rgb[1] + rgb[2], 0);
    EXPECT_EQ(qiva::IniVolume(), 1);
    EXPECT_EQ(qiva::PrintFontMode(), 0);
    EXPECT_EQ(qiva::DesktopPicture(), -9996);
    static int redraws;
    redraws = 0;
    qiva::SettingsApply().desktopPictureChanged = [] { ++redraws; };
    qiva::SetDesktopPicture(-9996);
    EXPECT_EQ(redraws, 0) << "written only when the value changes";
    qiva::SetDesktopPicture(128);
    EXPECT_EQ(redraws, 1);
    const std::int16_t colour[3] = {65535 / 2, -1, 7};
    qiva::SetInverseColour(colour);
    qiva::GetInverseColour(rgb);
    EXPECT_EQ(rgb[0], 32767);
    EXPECT_EQ(rgb[1], -1);
    EXPECT_EQ(rgb[2], 7);
    qiva::SetIniVolume(0);
    std::int16_t volume = 1;
    GetSoundVol(&volume);
    EXPECT_EQ(volume, 0);
    qiva::SetPrintFontMode(2);
    const std::string ini = qiva::IniPath();
    EXPECT_EQ(platform::ReadProfileString(ini, "Bureau", "PICT", ""), "128");
    EXPECT_EQ(platform::ReadProfileString(ini, "Couleurs", "CouleurInvert", ""), "32767 -1 7");
    EXPECT_EQ(platform::ReadProfileString(ini, "Audio", "Volume", ""), "0");
    EXPECT_EQ(platform::ReadProfileString(ini, "Impression", "ModeFonteSysteme", ""), "2");
    ASSERT_TRUE(
        platform::WriteFileAtomically(ini, "[Couleurs]\nCouleurInvert=1 2\n[Chemin]\nWQIVA=/opt/qiva\n"));
    qiva::GetInverseColour(rgb);
    EXPECT_EQ(rgb[0] + rgb[1] + rgb[2], 0) << "a broken value reads as the default";
    EXPECT_EQ(qiva::SystemDirectorySetting(), "/opt/qiva");
}

TEST_F(Settings, PreparationCopiesTheFileFromTheCurrentDirectoryOnlyWhenMissing) {
    TempDir cwd;
    const std::string saved = platform::CurrentDirectory();
    ASSERT_TRUE(platform::SetCurrentDirectory(cwd.Path()));
    ASSERT_TRUE(platform::WriteFileAtomically(cwd / "WQIVA.INI", "[Audio]\nVolume=0\n"));
    qiva::PrepareIniFile();
    EXPECT_EQ(qiva::IniVolume(), 0);
    ASSERT_TRUE(platform::WriteFileAtomically(cwd / "WQIVA.INI", "[Audio]\nVolume=3\n"));
    qiva::PrepareIniFile();
    EXPECT_EQ(qiva::IniVolume(), 0) << "an existing file is kept";
    ASSERT_TRUE(platform::SetCurrentDirectory(saved));
}

TEST_F(Settings, StartupRunsOnceInItsOrder) {
    static std::string order;
    order.clear();
    qiva::Startup().setUpGraphics = [] { order += "graphics "; };
    qiva::Startup().openSystemFiles = [] { order += "files "; };
    qiva::Startup().loadCursorAndLayout = [] { order += "cursor "; };
    qiva::Startup().createWindowRegions = [] { order += "regions "; };
    qiva::Startup().finishGraphics = [] { order += "finish"; };
    ASSERT_TRUE(platform::WriteFileAtomically(dir / "wqiva.ini", "[Audio]\nVolume=0\n"));
    qiva::ToolkitStartup();
    qiva::ToolkitStartup();
    EXPECT_EQ(order, "graphics files cursor regions finish");
    std::int16_t volume = 1;
    GetSoundVol(&volume);
    EXPECT_EQ(volume, 0);
}

} // namespace
