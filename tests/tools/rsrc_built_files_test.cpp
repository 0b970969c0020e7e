// The Resource Manager's search order and load flag, on files the resource tool builds from sources.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tests/support/temp_dir.h"
#include "toolkit/core/file_search.h"
#include "toolkit/core/memory.h"
#include "toolkit/core/resources.h"
#include "tools/qiva-rsrc/sources.h"

namespace {

namespace fs = std::filesystem;

class BuiltFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        qiva::SetResourcePaths({dir.string(), dir.string(), dir.string()});
        Build("WINIT.RSR", R"(
            resource 'STR#' 1 { string "winit" }
            resource 'STR#' 2 { string "only in winit" }
        )");
        Build("TOLKA.RSR", R"(
            resource 'STR#' 1 { string "tolka" }
            resource 'WIND' 128 { bounds 0 0 400 640 title "Tolka" }
        )");
        winit = OpenResFile((dir / "WINIT.RSR").c_str());
        tolka = OpenResFile((dir / "TOLKA.RSR").c_str());
        ASSERT_GT(winit, 0);
        ASSERT_GT(tolka, winit);
    }
    void TearDown() override {
        CloseResFile(tolka);
        CloseResFile(winit);
        SetResLoad(true);
        qiva::SetResourcePaths({});
    }

    void Build(const char* name, const std::string& source) {
        const fs::path path = dir / (std::string(name) + ".qrs");
        std::ofstream(path) << source;
        std::vector<std::uint8_t> image;
        std::string error;
        ASSERT_TRUE(qiva::WriteResourceFile(qiva_rsrc::CompileSourceFiles({path.string()}),
                                            qiva::MapLayout::Scrambled, image, error));
        std::ofstream(dir / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
    }

    // The first string of a 'STR#'.
    static std::string FirstString(Handle h) {
        if (!h || !*h || GetHandleSize(h) < 3) return "";
        return std::string(*h + 3, static_cast<std::size_t>(static_cast<unsigned char>((*h)[2])));
    }

    TempDir scratch;
    fs::path dir{scratch.Path()};
    std::int16_t winit = 0, tolka = 0;
};

TEST_F(BuiltFilesTest, TheCurrentFileAndOlderOnesAreSearched) {
    const ResType strings = MakeResType("STR#");
    EXPECT_EQ(FirstString(GetResource(strings, 1)), "tolka");
    EXPECT_EQ(FirstString(GetResource(strings, 2)), "only in winit");
    UseResFile(winit);
    EXPECT_EQ(FirstString(GetResource(strings, 1)), "winit");
    EXPECT_EQ(GetResource(MakeResType("WIND"), 128), nullptr);
    EXPECT_EQ(ResError(), resNotFound);
}

TEST_F(BuiltFilesTest, TheLoadFlag) {
    SetResLoad(false);
    const Handle empty = GetResource(MakeResType("WIND"), 128);
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(GetHandleSize(empty), 0);
    SetResLoad(true);
    const Handle loaded = GetResource(MakeResType("WIND"), 128);
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(GetHandleSize(loaded), 24); // bounds, proc, flags, refcon, "Tolka"
    EXPECT_EQ(std::string(*loaded + 19, 5), "Tolka");
}

} // namespace
