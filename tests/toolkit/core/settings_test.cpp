#include "tests/toolkit/core/shell_fixture.h"

#include <cstring>

#include "platform/paths.h"
#include "platform/profile.h"
#include "tests/support/scoped.h"
#include "tests/toolkit/core/resource_files.h"
#include "toolkit/core/error_box.h"
#include "toolkit/core/memory.h"
#include "toolkit/core/resources.h"

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

TEST_F(Settings, CountersAtTheirLimitStayThere) {
    ASSERT_TRUE(platform::WriteFileAtomically(dir / "wqiva.ini", "[Tolka]\nNbExec=99999999999999999999\n"
                                                                 "NbCrash=2147483647\nCrash=1\n"
                                                                 "Duree=2147483640 (long)\n"));
    ASSERT_TRUE(qiva::CreateMainWindow(nullptr));
    headless->AdvanceClock(60 * 1000000);
    qiva::CloseMainWindow();
    const std::string ini = qiva::IniPath();
    EXPECT_EQ(Value(ini, "NbExec"), "2147483647 (executions de l'application)");
    EXPECT_EQ(Value(ini, "NbCrash"), "2147483647 (arrets illegaux de l'application)");
    EXPECT_EQ(Value(ini, "Duree").substr(0, 11), "2147483647 ");
}

TEST_F(Settings, ScriptedRunsLeaveTheStatisticsAlone) {
    const std::string before = "[Tolka]\nNbExec=7 (executions)\nDuree=100 (time)\nAire=10 10 700 500 0\n";
    ASSERT_TRUE(platform::WriteFileAtomically(dir / "wqiva.ini", before));
    qiva::SetUsageRecorded(false);
    const qiva_test::ScopeExit restore([] { qiva::SetUsageRecorded(true); });
    ASSERT_TRUE(qiva::CreateMainWindow(nullptr));
    EXPECT_EQ(headless->CurrentArea().left, 10) << "the saved area is still used";
    headless->AdvanceClock(3600 * 1000000ull);
    qiva::CloseMainWindow();
    std::string after;
    ASSERT_TRUE(platform::ReadFile(dir / "wqiva.ini", after));
    EXPECT_EQ(after, before);
}

TEST_F(Settings, ScriptedErrorBoxesMakeNoSound) {
    qiva::PlatformErrorBox("Modal Dialog : pas de fenetre");
    EXPECT_EQ(headless->MessageBoxes().size(), 1u);
    EXPECT_TRUE(headless->Sounds().empty()) << "a script counting its sounds would see the box's beep";
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
    const qiva_test::ScopedCurrentDirectory inside(cwd.Path());
    ASSERT_TRUE(platform::WriteFileAtomically(cwd / "WQIVA.INI", "[Audio]\nVolume=0\n"));
    qiva::PrepareIniFile();
    EXPECT_EQ(qiva::IniVolume(), 0);
    ASSERT_TRUE(platform::WriteFileAtomically(cwd / "WQIVA.INI", "[Audio]\nVolume=3\n"));
    qiva::PrepareIniFile();
    EXPECT_EQ(qiva::IniVolume(), 0) << "an existing file is kept";
}

TEST_F(Settings, StartupRunsOnceInItsOrder) {
    // The system files: WLANG.RSR, and WINIT.RSR with the arrow and the keyboard layout.
    qiva_test::ScratchDirectory system;
    std::string arrow(68, '\0');
    for (std::size_t i = 0; i < arrow.size(); ++i)
        arrow[i] = static_cast<char>(i * 7 + 1);
    system.Write("WLANG.RSR",
                 qiva_test::FileImage({qiva_test::MakeResource("STR#", 1, std::string(2, '\0'))}));
    system.Write("WINIT.RSR", qiva_test::FileImage({qiva_test::MakeResource("CURS", 0, arrow),
                                                    qiva_test::MakeResource("KCHR", 1, "layout")}));
    ASSERT_TRUE(platform::WriteFileAtomically(dir / "wqiva.ini", "[Audio]\nVolume=0\n[Bureau]\nPICT=130\n"));
    ASSERT_TRUE(platform::WriteFileAtomically(dir / "win.ini", "[Windows]\nBorderWidth=7\n"));

    static std::string order;
    static std::int16_t filesAtGraphics;
    order.clear();
    filesAtGraphics = -1;
    EXPECT_FALSE(qiva::ToolkitStarted());
    qiva::ToolkitStartup([] {
        order += "graphics";
        filesAtGraphics = qiva::NewestResFile();
    });
    qiva::ToolkitStartup([] { order += " again"; });
    EXPECT_EQ(order, "graphics");
    EXPECT_TRUE(qiva::ToolkitStarted());
    EXPECT_EQ(filesAtGraphics, 0) << "the graphics come before the system files";

    // Then the system files, the arrow cursor from them and the detached keyboard layout.
    EXPECT_EQ(qiva::NewestResFile(), 2) << "WLANG.RSR, then WINIT.RSR";
    EXPECT_EQ(std::memcmp(&qiva::ArrowCursor(), arrow.data(), 68), 0);
    const Handle layout = qiva::KeyboardLayout();
    ASSERT_NE(layout, nullptr);
    EXPECT_EQ(std::string(*layout, static_cast<std::size_t>(GetHandleSize(layout))), "layout");
    EXPECT_EQ(HomeResFile(layout), -1) << "detached";
    // Last the sound volume and the settings read as at an activation.
    std::int16_t volume = 1;
    GetSoundVol(&volume);
    EXPECT_EQ(volume, 0);
    EXPECT_EQ(qiva::BorderWidth(), 7);
    EXPECT_EQ(qiva::DesktopPicture(), 130);
    while (qiva::NewestResFile() != 0)
        CloseResFile(qiva::NewestResFile());
}

} // namespace
