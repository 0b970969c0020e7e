#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "tests/toolkit/core/resource_files.h"
#include "toolkit/core/error_box.h"
#include "toolkit/core/memory.h"
#include "toolkit/core/resources.h"

namespace {

using qiva_test::FileImage;
using qiva_test::MakeResource;

const ResType kSTR = MakeResType("STR#");
const ResType kTEXT = MakeResType("TEXT");

std::string DataOf(Handle h) {
    return h && *h ? std::string(*h, static_cast<std::size_t>(GetHandleSize(h))) : std::string();
}

class ResourcesTest : public ::testing::Test {
protected:
    void SetUp() override {
        qiva::ClearErrorBoxHistory();
        SetResLoad(true);
    }
    void TearDown() override {
        while (qiva::NewestResFile() != 0)
            CloseResFile(qiva::NewestResFile());
        SetResLoad(true);
        qiva::SetHeapLimit(qiva::kDefaultHeapLimit);
        qiva::ClearErrorBoxHistory();
    }

    std::int16_t Open(const std::string& name, const std::vector<qiva::Resource>& resources) {
        return OpenResFile(dir.Write(name, FileImage(resources)).c_str());
    }

    qiva_test::ScratchDirectory dir;
};

TEST_F(ResourcesTest, OpeningNumbersFilesAndMakesTheNewestCurrent) {
    const std::int16_t a = Open("A.RSR", {MakeResource("TEXT", 1, "a")});
    const std::int16_t b = Open("B.RSR", {MakeResource("TEXT", 1, "b")});
    EXPECT_EQ(a, 1);
    EXPECT_EQ(b, 2);
    EXPECT_EQ(CurResFile(), b);

    // The same name again, in any letter case: the same number, and the current file stays.
    UseResFile(a);
    EXPECT_EQ(OpenResFile(dir.Path("a.rsr").c_str()), a);
    EXPECT_EQ(OpenResFile(dir.Path("B.RSR").c_str()), b);
    EXPECT_EQ(CurResFile(), a);

    UseResFile(99);
    EXPECT_EQ(ResError(), resFNotFound);
    EXPECT_EQ(CurResFile(), a);

    CloseResFile(a); // the current file: the newest remaining becomes current
    EXPECT_EQ(ResError(), noErr);
    EXPECT_EQ(CurResFile(), b);
    EXPECT_EQ(Open("C.RSR", {}), b + 1);
    CloseResFile(1234); // unknown: nothing happens
}

TEST_F(ResourcesTest, NamesAreMatchedWithoutRegardToCaseAndExtensionsCutToThreeLetters) {
    dir.Write("TOLKA.RSR", FileImage({MakeResource("TEXT", 1, "tolka")}));
    const std::int16_t ref = OpenResFile(dir.Path("tolka.rsrc").c_str());
    ASSERT_GT(ref, 0);
    EXPECT_EQ(DataOf(GetResource(kTEXT, 1)), "tolka");
    EXPECT_EQ(OpenResFile(dir.Path("missing.rsr").c_str()), -1);
    EXPECT_EQ(ResError(), resFNotFound);
    EXPECT_EQ(OpenResFile((dir.Path("") + std::string(80, 'x')).c_str()), -1);
}

TEST_F(ResourcesTest, SearchGoesFromTheCurrentFileToOlderOnesOnly) {
    const std::int16_t winit =
        Open("WINIT.RSR", {MakeResource("STR#", 1, "winit"), MakeResource("STR#", 2, "only winit")});
    const std::int16_t tolka =
        Open("TOLKA.RSR", {MakeResource("STR#", 1, "tolka"), MakeResource("TEXT", 5, "only tolka")});

    EXPECT_EQ(DataOf(GetResource(kSTR, 1)), "tolka");
    EXPECT_EQ(DataOf(GetResource(kSTR, 2)), "only winit");
    EXPECT_EQ(Get1Resource(kSTR, 2), nullptr);
    EXPECT_EQ(ResError(), resNotFound);
    EXPECT_EQ(CountResources(kSTR), 3);
    EXPECT_EQ(Count1Resources(kSTR), 1);

    UseResFile(winit);
    EXPECT_EQ(DataOf(GetResource(kSTR, 1)), "winit");
    EXPECT_EQ(GetResource(kTEXT, 5), nullptr); // newer than the current file: not searched
    EXPECT_EQ(ResError(), resNotFound);
    EXPECT_EQ(Count1Resources(kTEXT), 0);
    EXPECT_EQ(qiva::NewestResFile(), tolka);
}

TEST_F(ResourcesTest, WithTheLoadFlagClearAnEmptyHandleStandsInUntilLoaded) {
    Open("F.RSR", {MakeResource("TEXT", 7, "loaded later")});
    SetResLoad(false);
    const Handle empty = GetResource(kTEXT, 7);
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(*empty, nullptr);
    EXPECT_EQ(GetResource(kTEXT, 7), empty);
    SetResLoad(true);
    const Handle loaded = GetResource(kTEXT, 7); // the placeholder is disposed, its record reused
    EXPECT_EQ(DataOf(loaded), "loaded later");
    EXPECT_EQ(GetResource(kTEXT, 7), loaded); // loaded once
    SetResLoad(false);
    EXPECT_EQ(GetResource(kTEXT, 7), loaded); // already loaded: given as it is
}

// A resource of zero bytes is loaded once like any other: reloading it would dispose the handle
// its first user holds.
TEST_F(ResourcesTest, AnEmptyResourceIsLoadedOnce) {
    Open("E.RSR", {MakeResource("TEXT", 1, "")});
    const Handle h = GetResource(kTEXT, 1);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(GetHandleSize(h), 0);
    EXPECT_EQ(GetResource(kTEXT, 1), h);
    EXPECT_EQ(GetHandleSize(h), 0);
    EXPECT_EQ(MemError(), noErr);
}

TEST_F(ResourcesTest, DetachReleaseAndInfo) {
    const std::int16_t ref = Open(
        "D.RSR", {MakeResource("TEXT", 3, "three", std::string("Trois")), MakeResource("TEXT", 4, "four")});
    const Handle three = GetResource(kTEXT, 3);
    EXPECT_EQ(HomeResFile(three), ref);

    std::int16_t id = 0;
    ResType type = 0;
    char name[256] = "?";
    GetResInfo(three, &id, &type, name);
    EXPECT_EQ(id, 3);
    EXPECT_EQ(type, kTEXT);
    EXPECT_STREQ(name, "Trois");
    GetResInfo(GetResource(kTEXT, 4), &id, &type, name);
    EXPECT_STREQ(name, "");

    Handle mine = NewHandle(4);
    DetachResource(mine);
    EXPECT_EQ(ResError(), resNotFound);
    EXPECT_EQ(GetHandleSize(mine), 4);
    EXPECT_EQ(HomeResFile(mine), -1);
    EXPECT_EQ(ResError(), resNotFound);
    ReleaseResource(mine); // not a resource: not disposed either
    EXPECT_EQ(GetHandleSize(mine), 4);
    DisposeHandle(mine);

    DetachResource(three);
    EXPECT_EQ(ResError(), noErr);
    EXPECT_EQ(HomeResFile(three), -1);
    const Handle again = GetResource(kTEXT, 3);
    EXPECT_NE(again, three);
    EXPECT_EQ(DataOf(three), "three"); // the detached copy is the caller's
    DisposeHandle(three);

    ReleaseResource(again);
    EXPECT_EQ(ResError(), noErr);
    EXPECT_EQ(GetHandleSize(again), 0);
    EXPECT_EQ(MemError(), memWZErr);
}

TEST_F(ResourcesTest, NamedDuplicateAndIndexedLookups) {
    const std::int16_t older = Open("O.RSR", {MakeResource("DRVR", 1, "desk", std::string(".Clock")),
                                              MakeResource("TEXT", 9, "first in map", std::string("Nine")),
                                              MakeResource("TEXT", 9, "second in map", std::string("nine"))});
    Open("N.RSR", {MakeResource("TEXT", 1, "n1"), MakeResource("TEXT", 2, "n2")});

    EXPECT_EQ(DataOf(GetNamedResource(MakeResType("DRVR"), "Clock")), "desk");
    EXPECT_EQ(GetNamedResource(MakeResType("DRVR"), ".Clock"), nullptr);
    EXPECT_EQ(DataOf(GetNamedResource(kTEXT, "nine")), "second in map"); // exact case
    EXPECT_EQ(DataOf(GetNamedResource(kTEXT, "Nine")), "first in map");
    EXPECT_EQ(GetNamedResource(kTEXT, "NINE"), nullptr);

    UseResFile(older);
    EXPECT_EQ(DataOf(GetResource(kTEXT, 9)), "second in map"); // the later one in the map is met first

    // Newest file first, each file's entries in reverse map order.
    const char* expected[] = {"n2", "n1", "second in map", "first in map"};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(DataOf(GetIndResource(kTEXT, static_cast<std::int16_t>(i + 1))), expected[i]);
    EXPECT_EQ(GetIndResource(kTEXT, 5), nullptr);
    EXPECT_EQ(GetIndResource(kTEXT, 0), nullptr);
    EXPECT_EQ(ResError(), resNotFound);
}

TEST_F(ResourcesTest, ClosingAFileDisposesItsLoadedResources) {
    const std::size_t before = qiva::HeapBytesInUse();
    const std::int16_t ref = Open("C.RSR", {MakeResource("TEXT", 1, std::string(5000, 'x'))});
    const Handle h = GetResource(kTEXT, 1);
    EXPECT_EQ(GetHandleSize(h), 5000);
    CloseResFile(ref);
    EXPECT_EQ(GetHandleSize(h), 0);
    EXPECT_EQ(MemError(), memWZErr);
    CompactMem(0);
    EXPECT_LE(qiva::HeapBytesInUse(), before);
}

TEST_F(ResourcesTest, RecoveryReleasesLoadedFonts) {
    Open("FONTS.RSR", {MakeResource("FONT", 12, std::string(40000, 'f')), MakeResource("TEXT", 1, "kept")});
    const Handle font = GetResource(MakeResType("FONT"), 12);
    const Handle text = GetResource(kTEXT, 1);
    ASSERT_NE(font, nullptr);
    qiva::SetHeapLimit(qiva::HeapBytesInUse() + 20000);
    Ptr p = NewPtr(30000); // fits only once the font is released
    EXPECT_NE(p, nullptr);
    EXPECT_EQ(HomeResFile(font), -1);
    EXPECT_EQ(DataOf(text), "kept");
    DisposePtr(p);
    qiva::SetHeapLimit(qiva::kDefaultHeapLimit);
    EXPECT_EQ(GetHandleSize(GetResource(MakeResType("FONT"), 12)), 40000); // read again on demand
}

// Damaged files: the open fails with the code and message the case calls for, or the damaged
// resource fails to load; nothing stays open and nothing is read outside the file.
TEST_F(ResourcesTest, DamagedFiles) {
    const auto good =
        FileImage({MakeResource("TEXT", 1, "good"), MakeResource("STR#", 2, "x", std::string("nm"))});
    const qiva::ResourceHeader header = qiva::ReadResourceHeader(good.data());
    const auto set32 = [](std::vector<std::uint8_t>& f, std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            f[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (24 - 8 * i));
    };
    struct Case {
        const char* what;
        std::function<void(std::vector<std::uint8_t>&)> damage;
        std::int16_t openResult; // 1: opens, and TEXT 1 fails to load
        const char* message;
    };
    const std::uint32_t firstBlock = header.dataOffset;
    const Case cases[] = {
        {"empty file", [](auto& f) { f.clear(); }, -2, "Erreur #1: Lecture du fichier Header "},
        {"truncated header", [](auto& f) { f.resize(10); }, -2, "Erreur #1: Lecture du fichier Header "},
        {"map offset past the end", [&](auto& f) { set32(f, 4, static_cast<std::uint32_t>(f.size() + 10)); },
         -4, "Erreur de lecture de la map de la ressource"},
        {"map length past the end", [&](auto& f) { set32(f, 12, 0xFFFFFFF0u); }, -4,
         "Erreur de lecture de la map de la ressource"},
        {"file cut inside the map", [](auto& f) { f.resize(f.size() - 3); }, -4,
         "Erreur de lecture de la map de la ressource"},
        {"map shorter than its header", [&](auto& f) { set32(f, 12, 20); }, -4, "shorter than its header"},
        {"data length larger than the file", [&](auto& f) { set32(f, firstBlock, 0x7FFFFFF0u); }, 1,
         "Erreur lecture datas ressource"},
        {"data area offset past the end", [&](auto& f) { set32(f, 0, 0x7FFFFFF0u); }, 1,
         "Erreur lecture datas ressource #2"},
    };
    for (const Case& c : cases) {
        auto damaged = good;
        c.damage(damaged);
        qiva::ClearErrorBoxHistory();
        const std::string path = dir.Write("DAMAGED.RSR", damaged);
        const std::int16_t result = OpenResFile(path.c_str());
        if (c.openResult == 1) {
            ASSERT_GT(result, 0) << c.what;
            EXPECT_EQ(GetResource(kTEXT, 1), nullptr) << c.what;
            EXPECT_EQ(ResError(), resNotFound) << c.what;
            CloseResFile(result);
        } else {
            EXPECT_EQ(result, c.openResult) << c.what;
        }
        EXPECT_EQ(qiva::NewestResFile(), 0) << c.what;
        ASSERT_FALSE(qiva::ErrorBoxHistory().empty()) << c.what;
        EXPECT_NE(qiva::ErrorBoxHistory().back().find(c.message), std::string::npos)
            << c.what << ": " << qiva::ErrorBoxHistory().back();
    }
}

// A resource damaged in one file does not hide the same resource in an older one.
TEST_F(ResourcesTest, ADamagedResourceLetsTheSearchGoOn) {
    Open("OLD.RSR", {MakeResource("TEXT", 1, "from the older file")});
    auto damaged = FileImage({MakeResource("TEXT", 1, "unreadable")});
    damaged[qiva::ReadResourceHeader(damaged.data()).dataOffset] = 0x40; // a length of over 1 GB
    OpenResFile(dir.Write("NEW.RSR", damaged).c_str());
    EXPECT_EQ(DataOf(GetResource(kTEXT, 1)), "from the older file");
    EXPECT_EQ(Get1Resource(kTEXT, 1), nullptr);
}

TEST_F(ResourcesTest, MissingSystemFilesEndTheProgram) {
    EXPECT_EXIT(qiva::OpenSystemResourceFiles(), ::testing::ExitedWithCode(0),
                "Le fichier 'Wlang.rsr' est introuvable.");
    dir.Write("WLANG.RSR", FileImage({}));
    EXPECT_EXIT(qiva::OpenSystemResourceFiles(), ::testing::ExitedWithCode(0),
                "Le fichier 'Winit.rsr' est introuvable.");
    dir.Write("WINIT.RSR", FileImage({MakeResource("TEXT", 1, "winit")}));
    qiva::OpenSystemResourceFiles();
    EXPECT_EQ(qiva::NewestResFile(), 2);
    EXPECT_EQ(DataOf(GetResource(kTEXT, 1)), "winit");
}

} // namespace
