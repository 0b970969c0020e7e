#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/layers/include_graph.h"
#include "tests/support/temp_dir.h"

namespace {

using layer_check::CheckTree;
using layer_check::LoopAllowance;

// Loops tolerated while a layer is being untangled (its units, each of which the test says when it
// can go). Empty: no loop is tolerated.
const std::vector<LoopAllowance> kKnownLoops = {};

std::string Lines(const std::vector<std::string>& findings) {
    std::string text;
    for (const std::string& f : findings)
        text += f + "\n";
    return text;
}

TEST(Layers, TheSourceTreeKeepsItsLayers) {
    const auto findings = CheckTree(TOLKA_SOURCE_DIR, kKnownLoops);
    EXPECT_TRUE(findings.empty()) << Lines(findings);
}

// A small tree of files, each given with its include lines.
class Tree {
public:
    Tree& File(const std::string& path, const std::vector<std::string>& includes = {}) {
        const std::filesystem::path full = std::filesystem::path(dir_.Path()) / path;
        std::filesystem::create_directories(full.parent_path());
        std::ofstream out(full);
        out << "#pragma once\n";
        for (const std::string& include : includes)
            out << include << "\n";
        out << "int f();\n";
        return *this;
    }
    Tree& Text(const std::string& path, const std::string& text) {
        const std::filesystem::path full = std::filesystem::path(dir_.Path()) / path;
        std::filesystem::create_directories(full.parent_path());
        std::ofstream(full) << text;
        return *this;
    }
    std::vector<std::string> Check(const std::vector<LoopAllowance>& allowed = {}) const {
        return CheckTree(dir_.Path(), allowed);
    }

private:
    TempDir dir_;
};

// One finding that contains every given fragment.
void ExpectOne(const std::vector<std::string>& findings, const std::vector<std::string>& fragments) {
    ASSERT_EQ(findings.size(), 1u) << Lines(findings);
    for (const std::string& fragment : fragments)
        EXPECT_NE(findings[0].find(fragment), std::string::npos) << findings[0];
}

TEST(LayerCheck, IncludesDownwardAndWithinALayerPass) {
    Tree tree;
    tree.File("platform/p.h", {"#include <unistd.h>"})
        .File("toolkit/core/c.h", {"#include \"platform/p.h\"", "#include <cstdint>"})
        .File("toolkit/core/c.cpp", {"#include \"toolkit/core/c.h\"", "#include \"toolkit/core/d.h\""})
        .File("toolkit/core/d.h")
        .File("toolkit/graphics/g.cpp", {"#include \"toolkit/core/c.h\""})
        .File("toolkit/windows/w.h", {"#include \"toolkit/graphics/g.h\""})
        .File("toolkit/graphics/g.h")
        .File("toolkit/menus/m.h", {"#include \"toolkit/windows/w.h\""})
        .File("toolkit/dialogs/d.h", {"#include \"toolkit/menus/m.h\"", "#include \"toolkit/controls/b.h\""})
        .File("toolkit/controls/b.h")
        .File("game/g.cpp", {"#include \"toolkit/dialogs/d.h\"", "#include \"platform/p.h\""})
        .File("tools/t/main.cpp", {"#include \"game/g.h\"", "#include \"local.h\""})
        .File("tools/t/local.h");
    EXPECT_TRUE(tree.Check().empty()) << Lines(tree.Check());
}

TEST(LayerCheck, EveryBreachOfTheOrderIsFound) {
    struct Case {
        const char* file;
        const char* include;
        std::vector<std::string> fragments;
    };
    const Case cases[] = {
        {"toolkit/core/c.cpp",
         "#include \"toolkit/graphics/g.h\"",
         {"toolkit/core/c.cpp:2", "higher graphics"}},
        {"platform/p.cpp", "#include \"toolkit/core/c.h\"", {"higher core"}},
        {"toolkit/graphics/g.cpp", "#include \"game/board.h\"", {"higher game"}},
        {"toolkit/dialogs/d.cpp", "  #  include \"game/board.h\"", {"higher game"}},
        {"toolkit/menus/m.cpp", "#include \"toolkit/controls/b.h\"", {"controls layer beside it"}},
        {"toolkit/managers/te.cpp", "#include \"toolkit/menus/m.h\"", {"menus layer beside it"}},
        {"toolkit/core/c.cpp",
         "#include \"tools/common/out.h\"",
         {"tools/common/out.h", "outside the layers"}},
        {"game/g.cpp", "#include \"tests/helper.h\"", {"outside the layers"}},
        {"toolkit/core/c.cpp", "#include \"../graphics/g.h\"", {"toolkit/graphics/g.h", "higher graphics"}},
        {"toolkit/core/c.cpp", "#include <SDL.h>", {"system header <SDL.h>"}},
        {"game/g.cpp", "#include <sys/stat.h>", {"system header"}},
    };
    for (const Case& c : cases) {
        Tree tree;
        tree.File("platform/p.h")
            .File("toolkit/core/c.h")
            .File("toolkit/graphics/g.h")
            .File("toolkit/menus/m.h")
            .File("toolkit/controls/b.h")
            .File("tools/common/out.h")
            .File("tests/helper.h")
            .File("game/board.h")
            .File(c.file, {c.include});
        SCOPED_TRACE(std::string(c.file) + " " + c.include);
        ExpectOne(tree.Check(), c.fragments);
    }
}

TEST(LayerCheck, LibrariesLinkOnlyDownward) {
    struct Case {
        const char* folder;
        const char* cmake;
        const char* fragment; // null: no finding
    };
    const Case cases[] = {
        {"toolkit/core",
         "add_library(qiva_core STATIC c.cpp)\ntarget_link_libraries(qiva_core PUBLIC tolka_platform)\n",
         nullptr},
        {"toolkit/dialogs",
         "target_link_libraries(qiva_dialogs INTERFACE\n  qiva_menus qiva_managers qiva_controls)\n",
         nullptr},
        {"toolkit/core", "target_link_libraries(qiva_core PUBLIC tolka_platform\n  qiva_graphics)\n",
         "qiva_core links to qiva_graphics of the higher graphics layer"},
        {"toolkit/menus", "target_link_libraries(qiva_menus INTERFACE qiva_windows qiva_controls)\n",
         "qiva_menus links to qiva_controls of the controls layer beside it"},
        {"platform", "target_link_libraries(tolka_platform PRIVATE PkgConfig::SDL2 tolka_game)\n",
         "higher game layer"},
        // Another target in the folder (a tool of the layer's own) is not the layer's library.
        {"toolkit/core", "target_link_libraries(core_probe PRIVATE qiva_graphics)\n", nullptr},
    };
    for (const Case& c : cases) {
        Tree tree;
        tree.Text(std::string(c.folder) + "/CMakeLists.txt", c.cmake);
        SCOPED_TRACE(c.cmake);
        if (c.fragment)
            ExpectOne(tree.Check(), {c.fragment});
        else
            EXPECT_TRUE(tree.Check().empty()) << Lines(tree.Check());
    }
}

TEST(LayerCheck, IncludesThatAreNotDirectivesAreIgnored) {
    Tree tree;
    tree.File("toolkit/graphics/g.h")
        .File("toolkit/core/c.cpp",
              {"// #include \"toolkit/graphics/g.h\"", "const char* s = \"#include <SDL.h>\";",
               "#include \"generated_table.h\""});
    EXPECT_TRUE(tree.Check().empty()) << Lines(tree.Check());
}

TEST(LayerCheck, UnitsOfALayerMustNotIncludeEachOtherInALoop) {
    // a.cpp -> b.h, b.cpp -> c.h, c.h -> a.h: one loop of three units.
    Tree tree;
    tree.File("toolkit/core/a.h")
        .File("toolkit/core/a.cpp", {"#include \"toolkit/core/a.h\"", "#include \"toolkit/core/b.h\""})
        .File("toolkit/core/b.h")
        .File("toolkit/core/b.cpp", {"#include \"toolkit/core/b.h\"", "#include \"toolkit/core/c.h\""})
        .File("toolkit/core/c.h", {"#include \"a.h\""})
        .File("toolkit/core/d.cpp", {"#include \"toolkit/core/a.h\""});
    ExpectOne(tree.Check(), {"core layer", "toolkit/core/a, toolkit/core/b, toolkit/core/c"});

    // A .cpp including its own header is no loop.
    Tree own;
    own.File("toolkit/graphics/x.h", {"#include \"toolkit/graphics/y.h\""})
        .File("toolkit/graphics/x.cpp", {"#include \"toolkit/graphics/x.h\""})
        .File("toolkit/graphics/y.h");
    EXPECT_TRUE(own.Check().empty()) << Lines(own.Check());
}

TEST(LayerCheck, AnAllowanceToleratesOnlyTheLoopItNames) {
    Tree tree;
    tree.File("toolkit/graphics/a.h", {"#include \"toolkit/graphics/b.h\""})
        .File("toolkit/graphics/b.h", {"#include \"toolkit/graphics/c.h\""})
        .File("toolkit/graphics/c.h", {"#include \"toolkit/graphics/a.h\""})
        .File("toolkit/core/x.h", {"#include \"toolkit/core/y.h\""})
        .File("toolkit/core/y.h", {"#include \"toolkit/core/x.h\""});
    const std::vector<std::string> loop = {"toolkit/graphics/a", "toolkit/graphics/b", "toolkit/graphics/c"};
    // The graphics loop is allowed; the core one is not, even with the same allowance.
    ExpectOne(tree.Check({{"graphics", loop}}), {"core layer", "toolkit/core/x, toolkit/core/y"});
    // A unit joining the loop is not covered by the allowance.
    ExpectOne(tree.Check({{"graphics", {"toolkit/graphics/a", "toolkit/graphics/b"}},
                          {"core", {"toolkit/core/x", "toolkit/core/y"}}}),
              {"graphics layer", "toolkit/graphics/a, toolkit/graphics/b, toolkit/graphics/c"});
    // A unit that has left the loop must leave the allowance too.
    ExpectOne(tree.Check(
                  {{"graphics",
                    {"toolkit/graphics/a", "toolkit/graphics/b", "toolkit/graphics/c", "toolkit/graphics/d"}},
                   {"core", {"toolkit/core/x", "toolkit/core/y"}}}),
              {"toolkit/graphics/d is in no loop any more"});
}

} // namespace
