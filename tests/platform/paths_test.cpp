#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>

#include "platform/paths.h"
#include "tests/support/scoped.h"
#include "tests/support/temp_dir.h"

namespace {

TEST(Paths, CaseInsensitiveLookupWalksEveryComponent) {
    TempDir dir;
    ASSERT_TRUE(platform::MakeDirectories(dir / "Data/Sons"));
    ASSERT_TRUE(platform::WriteFileAtomically(dir / "Data/Sons/Tolka.RSR", "x"));
    EXPECT_EQ(platform::FindFileNoCase(dir / "data/sons/TOLKA.rsr"), dir / "Data/Sons/Tolka.RSR");
    EXPECT_EQ(platform::FindFileNoCase(dir / "Data/Sons/Tolka.RSR"), dir / "Data/Sons/Tolka.RSR");
    EXPECT_EQ(platform::FindFileNoCase(dir / "data/missing/tolka.rsr"), "");
    EXPECT_EQ(platform::FindFileNoCase(dir / "data/sons/other.rsr"), "");
    EXPECT_EQ(platform::FindFileNoCase(""), "");
}

TEST(Paths, AtomicWriteLeavesNoTemporaryAndKeepsPermissions) {
    TempDir dir;
    const std::string file = dir / "settings.ini";
    ASSERT_TRUE(platform::WriteFileAtomically(file, "one"));
    struct stat st {};
    ASSERT_EQ(::stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    ::chmod(file.c_str(), 0644);
    ASSERT_TRUE(platform::WriteFileAtomically(file, "two"));
    ASSERT_EQ(::stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0644u);
    std::string text;
    ASSERT_TRUE(platform::ReadFile(file, text));
    EXPECT_EQ(text, "two");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
    EXPECT_TRUE(platform::CopyFile(file, dir / "copy.ini"));
    EXPECT_FALSE(platform::CopyFile(dir / "absent", dir / "copy2.ini"));
    EXPECT_FALSE(platform::FileExists(dir / "copy2.ini"));
}

TEST(Paths, ConfigDirectoryFollowsXdgAndIsCreated) {
    TempDir dir;
    const qiva_test::ScopedEnv config("XDG_CONFIG_HOME", dir / "cfg");
    EXPECT_EQ(platform::ConfigDirectory(), dir / "cfg/qiva");
    EXPECT_TRUE(platform::IsDirectory(dir / "cfg/qiva"));
}

TEST(Paths, ProgramAndDataDirectories) {
    const std::string program = platform::ProgramPath();
    EXPECT_NE(program.find("test_platform"), std::string::npos);
    EXPECT_EQ(platform::DataDirectory().substr(platform::DataDirectory().size() - 12), "/share/tolka");
    EXPECT_EQ(platform::JoinPath("a/", "b"), "a/b");
    EXPECT_EQ(platform::JoinPath("a", "b"), "a/b");
}

} // namespace
