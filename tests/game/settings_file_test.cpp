// Tolka.cfg: what each kind of file text gives, and the file itself beside WQIVA.INI, replaced whole.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "game/game_state.h"
#include "game/settings_file.h"
#include "tests/support/scoped.h"
#include "tests/support/temp_dir.h"
#include "toolkit/core/settings_file.h"

namespace tolka {
namespace {

GameSettings Make(std::uint8_t counts, std::uint8_t dest, std::uint8_t sound, std::uint8_t hand,
                  std::uint8_t messages, std::int16_t lvl, std::int16_t rls) {
    return {counts, dest, sound, hand, messages, lvl, rls};
}

TEST(SettingsText, EachKindOfFileGivesItsOptions) {
    const GameSettings defaults;
    const struct {
        const char* name;
        std::string text;
        GameSettings expected;
    } cases[] = {
        {"written by the game", "TOLKA_1_0\n 0 1 0 1 0 3 1\n", Make(0, 1, 0, 1, 0, 3, 1)},
        {"any layout of the numbers", "  TOLKA_1_0 0\t1\r\n0\n\n1 0 2 1", Make(0, 1, 0, 1, 0, 2, 1)},
        {"empty", "", defaults},
        {"another version", "TOLKA_2_0\n 0 0 0 0 0 3 1\n", defaults},
        {"signature glued to a number", "TOLKA_1_00 0 0 0 0 3 1\n", defaults},
        {"ends after the signature", "TOLKA_1_0\n", defaults},
        {"ends after three numbers", "TOLKA_1_0\n 0 0 0", Make(0, 0, 0, 1, 1, 0, 0)},
        {"an option stored as 2 or -1 is on", "TOLKA_1_0 2 -1 1 1 1 1 0", Make(1, 1, 1, 1, 1, 1, 0)},
        {"stops at the first word that is no number", "TOLKA_1_0 0 x 0 0 0 3 1", Make(0, 1, 1, 1, 1, 0, 0)},
        {"a number followed by letters ends the reading", "TOLKA_1_0 0 0abc 0 0 0 3 1",
         Make(0, 0, 1, 1, 1, 0, 0)},
        {"a number past 16 bits is unreadable", "TOLKA_1_0 0 0 0 0 0 70000 1", Make(0, 0, 0, 0, 0, 0, 0)},
        {"a level outside 0-3 keeps the default", "TOLKA_1_0 1 1 1 1 1 9 1", Make(1, 1, 1, 1, 1, 0, 1)},
        {"rules other than 0 and 1 keep the default", "TOLKA_1_0 1 1 1 1 1 2 -3", Make(1, 1, 1, 1, 1, 2, 0)},
        {"a lone sign is no number", "TOLKA_1_0 - 0 0 0 0 0 0", defaults},
        {"binary bytes", std::string("TOLKA_1_0\0\xff\x80 1", 14), defaults},
        {"a huge first word", std::string(100000, 'T'), defaults},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseSettings(c.text), c.expected) << c.name;
}

TEST(SettingsText, WrittenTextIsTheSignatureThenSevenNumbersAndReadsBack) {
    EXPECT_EQ(FormatSettings(GameSettings{}), "TOLKA_1_0\n 1 1 1 1 1 0 0\n");
    const GameSettings odd = Make(0, 1, 0, 0, 1, 3, 1);
    EXPECT_EQ(FormatSettings(odd), "TOLKA_1_0\n 0 1 0 0 1 3 1\n");
    EXPECT_EQ(ParseSettings(FormatSettings(odd)), odd);
    // An on/off option held as another non-zero byte is written back as 1.
    EXPECT_EQ(FormatSettings(Make(2, 255, 1, 1, 1, 0, 0)), "TOLKA_1_0\n 1 1 1 1 1 0 0\n");
}

class SettingsFile : public ::testing::Test {
protected:
    void SetUp() override { qiva::SetIniDirectory(dir.Path()); }
    void TearDown() override {
        qiva::SetIniDirectory("");
        ApplySettings(saved);
    }
    TempDir dir{"cfg"};
    GameSettings saved = CurrentSettings();
};

TEST_F(SettingsFile, LivesBesideTheToolkitSettingsWhateverTheCaseOnDisk) {
    EXPECT_EQ(SettingsPath(), dir / "Tolka.cfg");
    dir.Write("tolka.CFG", "TOLKA_1_0 0 0 0 0 0 1 1");
    EXPECT_EQ(SettingsPath(), dir / "tolka.CFG");
    EXPECT_EQ(ReadSettingsFile(SettingsPath()), Make(0, 0, 0, 0, 0, 1, 1));
}

TEST_F(SettingsFile, MissingOrUnreadableFilesGiveTheDefaults) {
    EXPECT_EQ(ReadSettingsFile(dir / "Tolka.cfg"), GameSettings{});
    EXPECT_EQ(ReadSettingsFile(""), GameSettings{});
    std::filesystem::create_directory(dir / "Tolka.cfg");
    EXPECT_EQ(ReadSettingsFile(dir / "Tolka.cfg"), GameSettings{});
}

TEST_F(SettingsFile, WritingReplacesTheFileWholeAndLeavesNothingBeside) {
    dir.Write("Tolka.cfg", "TOLKA_0_9 garbage that was there before and is longer than the new text\n");
    ApplySettings(Make(1, 0, 1, 0, 1, 2, 1));
    WriteSettings();
    std::ifstream in(dir / "Tolka.cfg");
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(), "TOLKA_1_0\n 1 0 1 0 1 2 1\n");
    int files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.Path()))
        ++files;
    EXPECT_EQ(files, 1);

    ApplySettings(GameSettings{});
    ReadSettings();
    EXPECT_EQ(CurrentSettings(), Make(1, 0, 1, 0, 1, 2, 1));
}

TEST_F(SettingsFile, AFileThatCannotBeWrittenIsLeftAloneWithoutComplaint) {
    std::filesystem::create_directory(dir / "Tolka.cfg");
    EXPECT_FALSE(WriteSettingsFile(dir / "Tolka.cfg", GameSettings{}));
    EXPECT_TRUE(std::filesystem::is_directory(dir / "Tolka.cfg"));
    EXPECT_FALSE(WriteSettingsFile(dir / "no-such-folder/Tolka.cfg", GameSettings{}));
    EXPECT_FALSE(WriteSettingsFile("", GameSettings{}));
}

} // namespace
} // namespace tolka
