#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>

#include "platform/file_io.h"
#include "platform/paths.h"
#include "platform/profile.h"
#include "tests/support/temp_dir.h"

namespace {

using platform::ProfileValueIn;
using platform::ProfileWithValue;

const char* const kSample = "; settings\r\n"
                            "[Audio]\r\n"
                            "Volume = 0\r\n"
                            "\r\n"
                            "[Tolka]\r\n"
                            "NbExec=3 (executions de l'application)\r\n"
                            "Titre=\"  quoted  \"\r\n"
                            "[tolka]\r\n"
                            "NbExec=99\r\n";

TEST(Profile, SectionsAndKeysIgnoreCaseAndValuesAreTrimmed) {
    EXPECT_EQ(ProfileValueIn(kSample, "audio", "VOLUME"), "0");
    EXPECT_EQ(ProfileValueIn(kSample, "TOLKA", "nbexec"), "3 (executions de l'application)");
    EXPECT_EQ(ProfileValueIn(kSample, "Tolka", "Titre"), "  quoted  ");
    EXPECT_EQ(ProfileValueIn(kSample, "Tolka", "Missing"), std::nullopt);
    EXPECT_EQ(ProfileValueIn(kSample, "Nowhere", "Volume"), std::nullopt);
    EXPECT_EQ(ProfileValueIn("", "a", "b"), std::nullopt);
}

TEST(Profile, LeadingIntegerIsRead) {
    struct Case {
        const char* text;
        int value;
    };
    const Case cases[] = {{"3 (executions de l'application)", 3},
                          {"  -9996", -9996},
                          {"+12x", 12},
                          {"abc", 0},
                          {"", 0},
                          {"4294967297", 1}};
    for (const Case& c : cases)
        EXPECT_EQ(platform::LeadingInt(c.text), c.value) << c.text;
}

TEST(Profile, WriteReplacesTheFirstMatchAndKeepsEveryOtherLine) {
    const std::string out = ProfileWithValue(kSample, "TOLKA", "nbexec", "4 (executions de l'application)");
    EXPECT_EQ(
        out,
        "; settings\r\n[Audio]\r\nVolume = 0\r\n\r\n[Tolka]\r\nnbexec=4 (executions de l'application)\r\n"
        "Titre=\"  quoted  \"\r\n[tolka]\r\nNbExec=99\r\n");
}

TEST(Profile, WriteAddsKeysAtTheEndOfTheirSectionAndNewSectionsAtTheEnd) {
    std::string out = ProfileWithValue(kSample, "audio", "Mute", "1");
    EXPECT_EQ(ProfileValueIn(out, "Audio", "Mute"), "1");
    EXPECT_NE(out.find("Volume = 0\r\nMute=1\r\n\r\n[Tolka]"), std::string::npos) << out;
    out = ProfileWithValue(out, "Bureau", "PICT", "-9996");
    EXPECT_EQ(ProfileValueIn(out, "Bureau", "PICT"), "-9996");
    EXPECT_EQ(out.substr(out.size() - 35), "NbExec=99\r\n\r\n[Bureau]\r\nPICT=-9996\r\n");
    EXPECT_EQ(ProfileWithValue("", "A", "k", "v"), "[A]\nk=v\n");
}

TEST(Profile, NullValueRemovesTheKey) {
    const std::string out = ProfileWithValue(kSample, "Tolka", "Titre", std::nullopt);
    EXPECT_EQ(ProfileValueIn(out, "Tolka", "Titre"), std::nullopt);
    EXPECT_EQ(ProfileValueIn(out, "Tolka", "NbExec"), "3 (executions de l'application)");
}

TEST(Profile, BrokenTextNeverCrashes) {
    const std::string broken =
        std::string("[unclosed\nkey without equals\n=value without key\n[]\n\0\xff=\x01\n", 48) +
        std::string(100000, '[');
    EXPECT_EQ(ProfileValueIn(broken, "unclosed", "key"), std::nullopt);
    const std::string out = ProfileWithValue(broken, "unclosed", "k", "v");
    EXPECT_EQ(ProfileValueIn(out, "unclosed", "k"), "v");
}

TEST(Profile, FilesAreFoundWithoutRegardToCaseAndWrittenWhole) {
    TempDir dir;
    ASSERT_TRUE(platform::WriteFileAtomically(dir / "wqiva.ini", "[Audio]\nVolume=2\n"));
    const std::string path = dir / "WQIVA.INI";
    EXPECT_EQ(platform::ReadProfileInt(path, "Audio", "Volume", 1), 2);
    EXPECT_EQ(platform::ReadProfileInt(path, "Audio", "Missing", 7), 7);
    EXPECT_EQ(platform::ReadProfileString(dir / "absent.ini", "A", "b", "dflt"), "dflt");
    ASSERT_TRUE(platform::WriteProfileString(path, "Audio", "Volume", "0"));
    std::string text;
    ASSERT_TRUE(platform::ReadFile(dir / "wqiva.ini", text));
    EXPECT_EQ(text, "[Audio]\nVolume=0\n");
    EXPECT_FALSE(platform::FileExists(path)) << "the existing file keeps its name";
    // An unwritable place loses the setting but reports it.
    EXPECT_FALSE(platform::WriteProfileString(dir / "no/such/dir/x.ini", "A", "b", "c"));
}

TEST(Profile, CountersAreHeldAtTheirLimitsInsteadOfCut) {
    struct Case {
        const char* text;
        int value;
    };
    const Case cases[] = {{"99999999999999999999", INT_MAX},
                          {"2147483647 (executions)", INT_MAX},
                          {"2147483646", 2147483646},
                          {"-99999999999999999999", INT_MIN},
                          {"  +12x", 12},
                          {"abc", 0}};
    for (const Case& c : cases)
        EXPECT_EQ(platform::LeadingIntHeld(c.text), c.value) << c.text;
    TempDir dir;
    ASSERT_TRUE(platform::WriteFileAtomically(dir / "w.ini", "[Tolka]\nNbExec=99999999999999999999\n"));
    EXPECT_EQ(platform::ReadProfileCount(dir / "w.ini", "Tolka", "NbExec"), INT_MAX);
    EXPECT_EQ(platform::ReadProfileCount(dir / "w.ini", "Tolka", "NbCrash"), 0);
}

// Values are read from a kept copy of the file, which must follow every change made to the file,
// by this program or another, even one that keeps the file's length.
TEST(Profile, TheKeptTextFollowsChangesToTheFile) {
    TempDir dir;
    const std::string path = dir / "wqiva.ini";
    ASSERT_TRUE(platform::WriteFileAtomically(path, "[Audio]\nVolume=2\n"));
    EXPECT_EQ(platform::ReadProfileInt(path, "Audio", "Volume", 1), 2);
    ASSERT_TRUE(platform::WriteFileAtomically(path, "[Audio]\nVolume=3\n")); // same length, another file
    EXPECT_EQ(platform::ReadProfileInt(path, "Audio", "Volume", 1), 3);
    {
        std::FILE* f = std::fopen(path.c_str(), "r+"); // the same file changed in place
        ASSERT_NE(f, nullptr);
        std::fputs("[Audio]\nVolume=4\n", f);
        std::fclose(f);
    }
    struct timespec times[2] = {{0, UTIME_OMIT}, {1, 0}}; // and its time set back
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    EXPECT_EQ(platform::ReadProfileInt(path, "Audio", "Volume", 1), 4);
    ASSERT_TRUE(platform::WriteProfileString(path, "Audio", "Volume", "5"));
    EXPECT_EQ(platform::ReadProfileInt(path, "Audio", "Volume", 1), 5);
    ASSERT_EQ(::unlink(path.c_str()), 0);
    EXPECT_EQ(platform::ReadProfileInt(path, "Audio", "Volume", 1), 1);
}

TEST(Profile, SeveralKeysAreSetByOneWriteAndNoChangeWritesNothing) {
    TempDir dir;
    const std::string path = dir / "wqiva.ini";
    ASSERT_TRUE(platform::WriteFileAtomically(path, "[Tolka]\nNbExec=1\n"));
    const platform::ProfileSetting settings[] = {
        {"NbExec", "2 (executions)"}, {"Crash", "1"}, {"NbExec", "3 (executions)"}, {"Gone", std::nullopt}};
    ASSERT_TRUE(platform::WriteProfileStrings(path, "Tolka", settings));
    std::string text;
    ASSERT_TRUE(platform::ReadFile(path, text));
    EXPECT_EQ(text, "[Tolka]\nNbExec=3 (executions)\nCrash=1\n");
    const auto before = platform::StampOf(path);
    ASSERT_TRUE(platform::WriteProfileStrings(path, "Tolka", {settings + 1, 1}));
    EXPECT_EQ(platform::StampOf(path), before) << "an unchanged file is not written again";
}

} // namespace
