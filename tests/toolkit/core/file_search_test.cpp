#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "tests/support/temp_dir.h"
#include "tests/toolkit/core/resource_files.h"
#include "toolkit/core/file_search.h"

namespace {

namespace fs = std::filesystem;

TEST(FileSearch, NamesAsTried) {
    struct Case {
        std::string name, tried;
    };
    const Case cases[] = {
        {"bgeneral.rsrc", "bgeneral.rsr"},
        {"TOLKA.RSR", "TOLKA.RSR"},
        {"dir.name/file", "dir.name/file"}, // a dot in a directory is no extension
        {"dir/archive.tar.gz", "dir/archive.tar.gz"},
        {"dir/long.extension", "dir/long.ext"},
        {".profile", ".profile"},
        {std::string(79, 'n'), std::string(79, 'n')},
        {std::string(80, 'n'), ""}, // 80 characters or more fail
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(qiva::SearchName(c.name), c.tried) << c.name;
}

class LocateTest : public ::testing::Test {
protected:
    void SetUp() override {
        // The folder's path is short: the depth-first search gives up on paths of more than 79 characters.
        root = scratch.Path();
        fs::create_directories(root / "bin");
        in.startDirectory = root.string();
        in.programFile = (root / "bin" / "tolka").string();
        in.defaultDirectory = (root / "nowhere").string();
        in.searchRoot = (root / "share").string();
    }
    void Touch(const fs::path& file) {
        fs::create_directories(file.parent_path());
        std::ofstream(file) << "x";
    }
    std::string System() { return qiva::LocateSystemDirectory(in).system; }

    TempDir scratch;
    fs::path root;
    qiva::SystemSearchInputs in;
};

TEST_F(LocateTest, TheVariableWinsWithoutACheck) {
    fs::create_directories(root / "sys");
    in.qivaVariable = (root / "sys").string();
    const qiva::SystemDirectories found = qiva::LocateSystemDirectory(in);
    EXPECT_EQ(found.start, root.string());
    EXPECT_EQ(found.program, (root / "bin").string());
    EXPECT_EQ(found.system, (root / "sys").string());
    in.qivaVariable = "../sys"; // relative to the program's directory
    EXPECT_EQ(System(), (root / "bin" / ".." / "sys").string());
    in.qivaVariable = ""; // empty: as if unset, and nothing else holds the file
    EXPECT_EQ(System(), "");
}

TEST_F(LocateTest, ProgramDirectoryThenSettingThenDefaultThenDepthFirst) {
    Touch(root / "share" / "a" / "b" / "winit.rsr"); // found by the depth-first search, in any case
    EXPECT_EQ(System(), (root / "share" / "a" / "b").string());

    Touch(root / "dflt" / "WINIT.RSR");
    in.defaultDirectory = (root / "dflt").string();
    EXPECT_EQ(System(), (root / "dflt").string());

    Touch(root / "configured" / "WINIT.RSR");
    std::ofstream(root / "wqiva.ini")
        << "[Autre]\nWQIVA=/elsewhere\n[ chemin ]\n  wqiva = " << (root / "configured").string() << "  \r\n";
    in.settingsFile = (root / "WQIVA.INI").string(); // matched without regard to case
    EXPECT_EQ(System(), (root / "configured").string());

    Touch(root / "bin" / "WINIT.RSR");
    EXPECT_EQ(System(), (root / "bin").string());
}

TEST_F(LocateTest, TheDepthFirstSearchStopsAtTheLengthLimit) {
    // Met first in the walk, a directory whose path would pass 79 characters ends the whole search.
    Touch(root / "share" / "a" / std::string(70, 'd') / "x");
    Touch(root / "share" / "b" / "WINIT.RSR");
    EXPECT_EQ(System(), "");
    fs::remove_all(root / "share" / "a");
    EXPECT_EQ(System(), (root / "share" / "b").string());
}

TEST_F(LocateTest, AMissingProgramDirectoryIsReportedAndTheStartDirectoryUsed) {
    in.programFile = "/no/such/dir/tolka";
    Touch(root / "WINIT.RSR");
    const qiva::SystemDirectories found = qiva::LocateSystemDirectory(in);
    EXPECT_EQ(found.program, root.string());
    EXPECT_EQ(found.system, root.string());
}

TEST(FileSearchDeathTest, NoSystemDirectoryEndsTheProgramWithStatus1) {
    const TempDir empty;
    EXPECT_EXIT(
        {
            setenv("XDG_CONFIG_HOME", empty.Path().c_str(), 1);
            unsetenv("QIVA");
            qiva::SetResourcePaths({});
            qiva::InitResourcePaths();
        },
        ::testing::ExitedWithCode(1), "");
}

} // namespace
