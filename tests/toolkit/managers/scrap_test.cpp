#include "toolkit/managers/scrap.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/headless.h"
#include "platform/paths.h"
#include "tests/support/temp_dir.h"
#include "toolkit/core/error_box.h"
#include "toolkit/core/file_search.h"
#include "toolkit/core/memory.h"
#include "toolkit/core/settings.h"
#include "toolkit/core/shell.h"

namespace {

constexpr ResType kText = MakeResType("TEXT");
constexpr ResType kPict = MakeResType("PICT");

// A fresh scrap whose system directory is the test's own.
class Scrap : public ::testing::Test {
protected:
    void SetUp() override {
        qiva::ResetScrap();
        qiva::SetResourcePaths({dir.Path(), dir.Path(), dir.Path()});
        qiva::ClearErrorBoxHistory();
    }
    void TearDown() override {
        qiva::ResetScrap();
        qiva::SetResourcePaths({});
    }
    std::string FileBytes() {
        std::string bytes;
        EXPECT_TRUE(platform::ReadFile(dir / "ClpBoard.srp", bytes));
        return bytes;
    }
    static std::string Get(ResType type, std::int32_t* result = nullptr) {
        Handle h = NewHandle(0);
        std::int32_t offset = 0;
        const std::int32_t n = GetScrap(h, type, &offset);
        if (result != nullptr) *result = n;
        std::string s = n > 0 ? std::string(*h, static_cast<std::size_t>(n)) : std::string();
        DisposeHandle(h);
        return s;
    }
    TempDir dir;
};

TEST_F(Scrap, EntriesAreAppendedAndTheFirstOfATypeIsFound) {
    EXPECT_EQ(InfoScrap()->scrapState, -1);
    ASSERT_EQ(PutScrap(5, kText, "hello"), 0);
    EXPECT_EQ(InfoScrap()->scrapState, 1) << "PutScrap initialises the scrap";
    EXPECT_EQ(InfoScrap()->scrapSize, 17);
    std::int32_t offset = -7;
    EXPECT_EQ(GetScrap(nullptr, kText, &offset), 5);
    EXPECT_EQ(offset, 12);
    ASSERT_EQ(PutScrap(3, kText, "bye"), 0);
    EXPECT_EQ(Get(kText), "hello") << "two entries of one type: the first";
    EXPECT_EQ(GetScrap(nullptr, kPict, &offset), noTypeErr);
    EXPECT_EQ(offset, -1);
    EXPECT_EQ(InfoScrap()->scrapCount, 1) << "PutScrap never counts";
}

TEST_F(Scrap, ZeroScrapEmptiesAndCountsInEveryState) {
    EXPECT_EQ(ZeroScrap(), 0);
    ASSERT_EQ(PutScrap(2, kText, "hi"), 0);
    EXPECT_EQ(ZeroScrap(), 0);
    EXPECT_EQ(InfoScrap()->scrapSize, 0);
    std::int32_t offset = 0;
    EXPECT_EQ(GetScrap(nullptr, kText, &offset), noTypeErr);
    ASSERT_EQ(PutScrap(2, kText, "hi"), 0);
    ASSERT_EQ(UnloadScrap(), 0);
    EXPECT_EQ(ZeroScrap(), 0);
    EXPECT_EQ(InfoScrap()->scrapCount, 3);
    EXPECT_EQ(InfoScrap()->scrapState, 0);
    EXPECT_EQ(FileBytes(), "") << "a moved-out scrap is emptied in its file";
}

TEST_F(Scrap, UnloadWritesTheBlockAndLoadBringsItBack) {
    ASSERT_EQ(PutScrap(2, kText, "ab"), 0);
    ASSERT_EQ(PutScrap(1, kPict, "z"), 0);
    ASSERT_EQ(UnloadScrap(), 0);
    EXPECT_EQ(InfoScrap()->scrapState, 0);
    EXPECT_EQ(InfoScrap()->scrapHandle, nullptr);
    EXPECT_EQ(FileBytes(), std::string("TXET\x06\0\0\0\x02\0\0\0abTCIP\x05\0\0\0\x01\0\0\0z", 27));
    EXPECT_EQ(UnloadScrap(), 0) << "already out: nothing happens";
    // Calls on a moved-out scrap bring it in for the call and leave it out.
    EXPECT_EQ(Get(kPict), "z");
    EXPECT_EQ(InfoScrap()->scrapState, 0);
    ASSERT_EQ(PutScrap(3, kText, "new"), 0);
    EXPECT_EQ(InfoScrap()->scrapState, 0);
    EXPECT_EQ(FileBytes().size(), 27u + 15u);
    ASSERT_EQ(LoadScrap(), 0);
    EXPECT_EQ(InfoScrap()->scrapState, 1);
    EXPECT_EQ(InfoScrap()->scrapSize, 42);
    EXPECT_EQ(Get(kText), "ab");
    EXPECT_EQ(LoadScrap(), 0) << "already in: nothing happens";
}

TEST_F(Scrap, FailuresKeepWhatTheScrapHeld) {
    EXPECT_EQ(LoadScrap(), -1) << "no scrap file";
    ASSERT_EQ(PutScrap(2, kText, "ab"), 0);
    // A directory where the file should be: the new file cannot replace it.
    std::filesystem::create_directory(dir / "ClpBoard.srp");
    EXPECT_EQ(UnloadScrap(), dskFulErr);
    EXPECT_EQ(InfoScrap()->scrapState, 1);
    EXPECT_EQ(Get(kText), "ab");
    std::filesystem::remove(dir / "ClpBoard.srp");
    qiva::SetResourcePaths({});
    EXPECT_EQ(UnloadScrap(), -1) << "no system directory";
    EXPECT_EQ(Get(kText), "ab");
    // A moved-out scrap whose file went away: the calls report it in the error box.
    qiva::SetResourcePaths({dir.Path(), dir.Path(), dir.Path()});
    ASSERT_EQ(UnloadScrap(), 0);
    std::filesystem::remove(dir / "ClpBoard.srp");
    EXPECT_EQ(PutScrap(1, kText, "x"), -1);
    std::int32_t offset = 0;
    EXPECT_EQ(GetScrap(nullptr, kText, &offset), -1);
    ASSERT_EQ(qiva::ErrorBoxHistory().size(), 2u);
    EXPECT_EQ(qiva::ErrorBoxHistory()[0], "ScrapManager: Putscrap: Loadscrap Error");
    EXPECT_EQ(qiva::ErrorBoxHistory()[1], "ScapMangger: Putscrap: Loadscrap Error");
}

TEST_F(Scrap, AppendingBeyondTheHeapFailsWithItsMessage) {
    ASSERT_EQ(PutScrap(2, kText, "ab"), 0);
    const std::size_t limit = qiva::HeapLimit();
    qiva::SetHeapLimit(qiva::HeapBytesInUse() + 1024);
    static char big[4096];
    EXPECT_EQ(PutScrap(sizeof big, kPict, big), -1);
    qiva::SetHeapLimit(limit);
    EXPECT_EQ(qiva::ErrorBoxHistory().back(), "ScrapManager: Putscrap: SetHandle Size Error");
    EXPECT_EQ(InfoScrap()->scrapSize, 14);
    EXPECT_EQ(Get(kText), "ab");
}

TEST_F(Scrap, ADamagedScrapFileReadsAsHoldingNothingOfTheType) {
    ASSERT_TRUE(
        platform::WriteFileAtomically(dir / "clpboard.srp", std::string("TXET\xFF\xFF\xFF\x7F\x05", 9)));
    ASSERT_EQ(LoadScrap(), 0) << "found without regard to case";
    std::int32_t result = 0;
    EXPECT_EQ(Get(kText, &result), "");
    EXPECT_EQ(result, noTypeErr);
}

class ScrapExchange : public Scrap {
protected:
    void SetUp() override {
        Scrap::SetUp();
        auto backend = std::make_unique<platform::HeadlessBackend>();
        headless = backend.get();
        platform::Install(std::move(backend));
        qiva::ResetShell();
        qiva::SetIniDirectory(dir.Path());
        qiva::InstallScrapExchange();
    }
    void TearDown() override {
        qiva::ResetShell();
        qiva::SetIniDirectory("");
        platform::Install(nullptr);
        Scrap::TearDown();
    }
    void Send(platform::EventKind kind) {
        platform::Event e;
        e.kind = kind;
        qiva::HandlePlatformEvent(e);
    }
    platform::HeadlessBackend* headless = nullptr;
};

TEST_F(ScrapExchange, ActivationImportsAndDeactivationExportsText) {
    headless->SetClipboardText("a\r\nb \xC3\xA9t\xC3\xA9");
    Send(platform::EventKind::Activate);
    EXPECT_EQ(Get(kText), "a\rb \x8Et\x8E");
    EXPECT_EQ(InfoScrap()->scrapCount, 1);
    headless->SetClipboardText("");
    Send(platform::EventKind::Deactivate);
    EXPECT_EQ(headless->ClipboardText(), "a\nb \xC3\xA9t\xC3\xA9");
    Send(platform::EventKind::Activate);
    EXPECT_EQ(Get(kText), "a\rb \x8Et\x8E") << "the round trip keeps the text";
}

TEST_F(ScrapExchange, NothingIsExchangedWithoutTextOrWhenTheApplicationRefuses) {
    ASSERT_EQ(PutScrap(1, kPict, "p"), 0);
    headless->SetClipboardText("");
    Send(platform::EventKind::Activate);
    EXPECT_EQ(Get(kPict), "p") << "an empty clipboard leaves the scrap";
    headless->SetClipboardText("kept");
    Send(platform::EventKind::Deactivate);
    EXPECT_EQ(headless->ClipboardText(), "kept") << "no text in the scrap";
    qiva::SetActivateHook([] { return false; });
    headless->SetClipboardText("refused");
    Send(platform::EventKind::Activate);
    EXPECT_EQ(Get(kPict), "p");
    qiva::SetActivateHook(nullptr);
}

} // namespace
