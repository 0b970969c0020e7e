// The game's dialogs with the real Dialog Manager and the game's resource file: the alerts and their
// bounded texts, the end-of-game summary and the score sheet (golden renders in both languages, kept
// as run-length rows of palette indices with a PNG beside them for people; TOLKA_UPDATE_GOLDEN=1
// writes both anew), the match scoring seen on the sheet, and the quit question.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "game/dialog_items.h"
#include "game/game_alerts.h"
#include "game/game_state.h"
#include "game/game_strings.h"
#include "game/match_dialogs.h"
#include "game/session_state.h"
#include "game/shell_answers.h"
#include "game/summary_dialog.h"
#include "platform/headless.h"
#include "tests/support/scoped.h"
#include "tests/support/temp_dir.h"
#include "toolkit/controls/controls.h"
#include "toolkit/core/error_box.h"
#include "toolkit/core/events.h"
#include "toolkit/core/memory.h"
#include "toolkit/core/resource_format.h"
#include "toolkit/core/resources.h"
#include "toolkit/core/settings.h"
#include "toolkit/core/shell.h"
#include "toolkit/core/state_dump.h"
#include "toolkit/dialogs/dialogs.h"
#include "toolkit/graphics/buffers.h"
#include "toolkit/graphics/present.h"
#include "toolkit/graphics/quickdraw.h"
#include "toolkit/help/help_viewer.h"
#include "toolkit/managers/textedit.h"
#include "toolkit/menus/menus.h"
#include "tools/common/buffer_output.h"

namespace tolka {
namespace {

// What the screen and the state dump held while a modal dialog waited for its answer.
struct Seen {
    std::string dump;
    std::vector<std::uint8_t> screen; // 640 × 450
    Rect frame{};                     // the front window's structure, from the dump
};

class GameDialogsTest : public ::testing::Test {
protected:
    static constexpr int kW = 640, kH = 450;
    qiva::HeadlessPresent present;
    platform::HeadlessBackend* headless = nullptr;
    TempDir dir;
    std::int16_t winit = -1, game = -1;
    std::uint8_t savedEnglish = english, savedGameOn = gameOn;
    Board savedBoard = gameBoard;

    void SetUp() override {
        auto backend = std::make_unique<platform::HeadlessBackend>();
        headless = backend.get();
        platform::Install(std::move(backend));
        ASSERT_TRUE(headless->OpenWindow("Tolka", {}));
        qiva::ResetEvents();
        qiva::ResetShell();
        qiva::SetIniDirectory(dir.Path());
        qiva::SetScreenSize(kW, kH);
        qiva::SetHighlightSetting(0, 0, 0);
        qiva::SetPresentSink(&present);
        platform::SetStateDumpProvider(&qiva::StateDump);
        InitGraf(nullptr);
        winit = OpenResFile(TOLKA_WINIT_RSR);
        ASSERT_GT(winit, 0);
        InitFonts();
        InitWindows();
        InitMenus();
        TEInit();
        InitDialogs(nullptr);
        game = OpenResFile(TOLKA_RSR);
        ASSERT_GT(game, 0);
        qiva::ClearErrorBoxHistory();
        english = 0;
        gameOn = 0;
        ClearMatch();
    }
    void TearDown() override {
        qiva::CloseHelpViewer();
        while (WindowPtr w = FrontWindow()) {
            if (qiva::IsDialog(w))
                DisposeDialog(w);
            else
                DisposeWindow(w);
        }
        qiva::UnregisterStateDump("capture");
        qiva::ResetDialogs();
        qiva::CloseMenus();
        qiva::CloseWindowManager();
        if (game > 0) CloseResFile(game);
        if (winit > 0) CloseResFile(winit);
        qiva::CloseGraphics();
        qiva::SetPresentSink(nullptr);
        platform::SetStateDumpProvider(nullptr);
        qiva::SetScreenSize(640, 400);
        qiva::SetIniDirectory("");
        qiva::ResetEvents();
        qiva::ResetShell();
        platform::Install(nullptr);
        english = savedEnglish;
        gameOn = savedGameOn;
        gameBoard = savedBoard;
        ClearMatch();
    }

    // Runs `action`, which opens a modal dialog; once it has drawn, the screen and the dump are kept
    // and `key` answers it. A dialog still open ten seconds later ends the program with status 1
    // (a failed expectation of the script), so a dialog that does not close fails the test.
    Seen Answer(const std::string& key, const std::function<void()>& action) {
        Seen seen;
        qiva::RegisterStateDump("capture", [&seen](std::string&) {
            const qiva::BufferSlot* s = qiva::LookUpBuffer(qiva::ScreenBufferId());
            seen.screen.clear();
            for (int v = 0; v < kH; ++v)
                seen.screen.insert(seen.screen.end(), s->base + v * s->rowBytes,
                                   s->base + v * s->rowBytes + kW);
        });
        const std::string dumpFile = dir / "dump.txt";
        std::vector<platform::ScriptStep> steps;
        EXPECT_EQ(platform::ParseScript("wait 3\ndump " + dumpFile + "\nkey " + key +
                                            "\nwait 600\nexpect-messagebox 999999\n",
                                        steps),
                  "");
        headless->SetScript(std::move(steps));
        action();
        qiva::UnregisterStateDump("capture");
        std::ifstream in(dumpFile);
        std::stringstream text;
        text << in.rdbuf();
        seen.dump = text.str();
        std::istringstream lines(seen.dump);
        for (std::string line; std::getline(lines, line);)
            if (line.rfind("window 0 ", 0) == 0) {
                int l = 0, t = 0, r = 0, b = 0;
                const auto at = line.find(" struct ");
                if (at != std::string::npos &&
                    std::sscanf(line.c_str() + at, " struct %d %d %d %d", &l, &t, &r, &b) == 4)
                    seen.frame = Rect{static_cast<std::int16_t>(t), static_cast<std::int16_t>(l),
                                      static_cast<std::int16_t>(b), static_cast<std::int16_t>(r)};
            }
        return seen;
    }

    // The text the dump gives an item of the dialog in front.
    static std::string ItemText(const Seen& seen, int item) {
        std::istringstream lines(seen.dump);
        const std::string head = "ditem " + std::to_string(item) + " ";
        for (std::string line; std::getline(lines, line);)
            if (line.rfind(head, 0) == 0) {
                const auto at = line.find(" text \"");
                return at == std::string::npos ? "?" : line.substr(at + 7, line.size() - at - 8);
            }
        return "(no item)";
    }

    // The frame's pixels as rows of runs "index*count", compared with (or written to) the golden files.
    static void ExpectGolden(const Seen& seen, const std::string& name) {
        const Rect f = seen.frame;
        ASSERT_GT(f.right - f.left, 0) << "no dialog in front";
        ASSERT_TRUE(f.left >= 0 && f.top >= 0 && f.right <= kW && f.bottom <= kH);
        std::ostringstream text;
        text << (f.right - f.left) << ' ' << (f.bottom - f.top) << '\n';
        for (int v = f.top; v < f.bottom; ++v) {
            const std::uint8_t* row = seen.screen.data() + v * kW;
            for (int h = f.left; h < f.right;) {
                int end = h;
                while (end < f.right && row[end] == row[h])
                    ++end;
                text << (h > f.left ? " " : "") << int{row[h]} << '*' << (end - h);
                h = end;
            }
            text << '\n';
        }
        const std::string base = std::string(TOLKA_GAME_GOLDEN_DIR) + "/" + name;
        const qiva_tools::IndexImage image{seen.screen.data() + f.top * kW + f.left, kW, f.right - f.left,
                                           f.bottom - f.top};
        if (std::getenv("TOLKA_UPDATE_GOLDEN")) {
            std::ofstream(base + ".txt") << text.str();
            EXPECT_EQ(qiva_tools::WritePalettedPng(base + ".png", image), "");
            return;
        }
        std::ifstream in(base + ".txt");
        ASSERT_TRUE(in) << base << ".txt";
        std::stringstream expected;
        expected << in.rdbuf();
        if (expected.str() == text.str()) return;
        const std::string actual = std::string(::testing::TempDir()) + name + "_actual.png";
        qiva_tools::WritePalettedPng(actual, image);
        ADD_FAILURE() << name << " is drawn differently; compare " << base << ".png with " << actual;
    }

    static void SetStores(int store0, int store1) {
        gameBoard = Board{};
        gameBoard.stores[0] = static_cast<std::uint8_t>(store0);
        gameBoard.stores[1] = static_cast<std::uint8_t>(store1);
    }
};

TEST_F(GameDialogsTest, SummaryInFrenchAfterADraw) {
    // 24 each: the player took 20 and kept 4 at the end, the computer took all 24, kept none.
    SetStores(24, 24);
    bool shown = false;
    const Seen seen = Answer("return", [&] { shown = ShowGameSummary(4, 0); });
    EXPECT_TRUE(shown);
    EXPECT_NE(seen.dump.find("dialog 2002 kind modal"), std::string::npos) << seen.dump;
    ExpectGolden(seen, "summary_fr");
    EXPECT_EQ(FrontWindow(), nullptr);
    EXPECT_TRUE(qiva::ErrorBoxHistory().empty());
}

TEST_F(GameDialogsTest, SummaryInEnglishWithAFullRowAndEmptyOnes) {
    english = 1;
    SetStores(48, 0);
    const Seen seen = Answer("return", [&] { EXPECT_TRUE(ShowGameSummary(6, 0)); });
    EXPECT_NE(seen.dump.find("dialog 12002 kind modal"), std::string::npos) << seen.dump;
    ExpectGolden(seen, "summary_en");
}

TEST_F(GameDialogsTest, SummaryWithoutItsDialogShowsNothingAndKeepsThePort) {
    CloseResFile(game);
    game = -1;
    GrafPtr before = nullptr;
    GetPort(&before);
    SetStores(30, 18);
    EXPECT_FALSE(ShowGameSummary(0, 0));
    GrafPtr after = nullptr;
    GetPort(&after);
    EXPECT_EQ(after, before);
    EXPECT_EQ(FrontWindow(), nullptr);
    EXPECT_TRUE(qiva::ErrorBoxHistory().empty()) << "a missing dialog is not reported";
}

TEST_F(GameDialogsTest, SummaryWithoutItsDialogGivesBackItsSeedIcon) {
    // A file with the seed icon and no dialog.
    Handle icon = GetResource(MakeResType("cicn"), 131);
    ASSERT_NE(icon, nullptr);
    const std::string bytes(*icon, static_cast<std::size_t>(GetHandleSize(icon)));
    CloseResFile(game);
    qiva::Resource seed;
    seed.type = MakeResType("cicn");
    seed.id = 131;
    seed.data.assign(bytes.begin(), bytes.end());
    std::vector<std::uint8_t> image;
    std::string error;
    ASSERT_TRUE(qiva::WriteResourceFile({seed}, qiva::MapLayout::Scrambled, image, error)) << error;
    std::ofstream(dir / "seed.rsr", std::ios::binary)
        .write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
    game = OpenResFile((dir / "seed.rsr").c_str());
    ASSERT_GT(game, 0);
    DisposeCIcon(GetCIcon(131)); // the resource itself stays loaded from here on
    const std::size_t before = qiva::HeapBytesInUse();
    EXPECT_FALSE(ShowGameSummary(0, 0));
    EXPECT_EQ(qiva::HeapBytesInUse(), before);
}

TEST_F(GameDialogsTest, SheetAfterOneGameShowsItsRowTheSumsAndTheFirstSetScore) {
    bool over = true;
    const Seen seen = Answer("return", [&] { over = RecordMatchGame(30, 18); });
    EXPECT_FALSE(over);
    EXPECT_EQ(MatchSet(), 0);
    EXPECT_EQ(MatchGame(), 1);
    // The player's game 1: 12 points, a bonus of 6, 18 in all; the computer's row is zeros.
    EXPECT_EQ(ItemText(seen, 3) + " " + ItemText(seen, 4) + " " + ItemText(seen, 5), "12 6 18");
    EXPECT_EQ(ItemText(seen, 44) + " " + ItemText(seen, 45) + " " + ItemText(seen, 46), "0 0 0");
    // Games 2 and 3 are still blank; the sums rows of all three sets are filled.
    EXPECT_EQ(ItemText(seen, 6), "");
    EXPECT_EQ(ItemText(seen, 12) + " " + ItemText(seen, 13) + " " + ItemText(seen, 14), "12 6 18");
    EXPECT_EQ(ItemText(seen, 25) + " " + ItemText(seen, 26) + " " + ItemText(seen, 27), "0 0 0");
    EXPECT_EQ(ItemText(seen, 38) + " " + ItemText(seen, 39) + " " + ItemText(seen, 40), "0 0 0");
    // Set scores: the first set only; then the match totals and the result.
    EXPECT_EQ(ItemText(seen, 15), "18");
    EXPECT_EQ(ItemText(seen, 56), "0");
    EXPECT_EQ(ItemText(seen, 28), "");
    EXPECT_EQ(ItemText(seen, 41), "");
    EXPECT_EQ(ItemText(seen, 42), "18");
    EXPECT_EQ(ItemText(seen, 83), "0");
    const std::string won = qiva::DumpQuotedMac(GameText(18));
    EXPECT_EQ(ItemText(seen, 84), won.substr(1, won.size() - 2));
    ExpectGolden(seen, "sheet_fr");
}

TEST_F(GameDialogsTest, DrawnGamesAndLevelSetsGiveNoSetScore) {
    english = 1;
    const int games[][2] = {{24, 24}, {24, 24}, {26, 22}, {20, 28}, {28, 20}, {24, 24}, {30, 18}};
    for (const auto& g : games)
        Answer("return", [&] { EXPECT_FALSE(RecordMatchGame(g[0], g[1])); });
    // Set 1: two draws and a win by 2, 26 against 12; set 2: 16 + 6 each, level; set 3 so far 24
    // against 6.
    const Seen seen = Answer("return", [&] { EXPECT_FALSE(RecordMatchGame(24, 24)); });
    EXPECT_EQ(ItemText(seen, 3) + " " + ItemText(seen, 4) + " " + ItemText(seen, 5), "6 0 6");
    EXPECT_EQ(ItemText(seen, 44) + " " + ItemText(seen, 45) + " " + ItemText(seen, 46), "6 0 6");
    EXPECT_EQ(ItemText(seen, 12) + " " + ItemText(seen, 14) + " / " + ItemText(seen, 53) + " " +
                  ItemText(seen, 55),
              "24 26 / 12 12");
    EXPECT_EQ(ItemText(seen, 15) + " " + ItemText(seen, 56), "14 0");
    EXPECT_EQ(ItemText(seen, 27) + " " + ItemText(seen, 68), "22 22");
    EXPECT_EQ(ItemText(seen, 28) + " " + ItemText(seen, 69), "0 0");
    EXPECT_EQ(ItemText(seen, 32) + " " + ItemText(seen, 33) + " " + ItemText(seen, 34), "6 0 6");
    EXPECT_EQ(ItemText(seen, 35), "") << "the third game of the last set is still to come";
    EXPECT_EQ(ItemText(seen, 41) + " " + ItemText(seen, 82), "18 0");
    EXPECT_EQ(ItemText(seen, 42) + " " + ItemText(seen, 83), "32 0");
    ExpectGolden(seen, "sheet_en");
    // The ninth game ends the match.
    Answer("return", [&] { EXPECT_TRUE(RecordMatchGame(18, 30)); });
    EXPECT_EQ(MatchSet(), 3);
}

TEST_F(GameDialogsTest, MessagesAreBoundedAndNeverTakenAsFormats) {
    const std::string wild(600, '%');
    const std::string words = "100%d%s%n" + std::string(591, 'x');
    Seen seen = Answer("return", [&] { ShowMessage("Erreur %s : %d %%", words, 7); });
    EXPECT_NE(seen.dump.find("dialog 1001 kind alert"), std::string::npos) << seen.dump;
    std::string shown = ItemText(seen, 2);
    EXPECT_EQ(shown.rfind("Erreur 100%d%s%nxxx", 0), 0u) << shown;
    EXPECT_LE(shown.size(), 255u);
    // A text of 600 percent signs given as the format itself.
    seen = Answer("return", [&] { ShowMessage(wild); });
    shown = ItemText(seen, 2);
    EXPECT_FALSE(shown.empty());
    EXPECT_EQ(shown.find_first_not_of('%'), std::string::npos) << shown;
    EXPECT_TRUE(qiva::ErrorBoxHistory().empty());

    // The question: yes is item 1.
    bool answer = false;
    Answer("return", [&] { answer = AskQuestion("Encore %d ?", 1); });
    EXPECT_TRUE(answer);
    Answer("escape", [&] { answer = AskQuestion("Encore %d ?", 2); });
    EXPECT_FALSE(answer);
    english = 1;
    seen = Answer("return", [&] { ShowAbout(); });
    EXPECT_NE(seen.dump.find("dialog 11000 kind alert"), std::string::npos) << seen.dump;
}

TEST_F(GameDialogsTest, ItemHelpersFollowTheItemsKind) {
    // The score sheet's numbers are disabled static texts, its item 1 a button; the summary's rows
    // are user items.
    DialogPtr sheet = GetNewDialog(2000, nullptr, reinterpret_cast<WindowPtr>(-1));
    ASSERT_NE(sheet, nullptr);
    char text[256] = "junk";
    SetItemNumber(sheet, 3, -42);
    EXPECT_TRUE(GetItemText(sheet, 3, text));
    EXPECT_STREQ(text, "-42");
    SetItemText(sheet, 1, "Fermer");
    EXPECT_FALSE(GetItemText(sheet, 1, text)) << "a button has a title, not a text";
    EXPECT_STREQ(text, "");
    std::int16_t type = 0;
    Handle handle = nullptr;
    Rect box{};
    GetDItem(sheet, 1, &type, &handle, &box);
    char title[256] = "";
    GetCTitle(reinterpret_cast<ControlHandle>(handle), title);
    EXPECT_STREQ(title, "Fermer");
    SetUserItemProc(sheet, 3, [](DialogPtr, std::int16_t) {});
    EXPECT_TRUE(GetItemText(sheet, 3, text)) << "a text item keeps its text";
    Rect rect{1, 2, 3, 4};
    GetItemRect(sheet, 3, &rect);
    EXPECT_EQ(rect.left, 128);
    EXPECT_EQ(rect.top, 82);
    EXPECT_FALSE(GetItemText(sheet, 500, text));
    DisposeDialog(sheet);

    DialogPtr summary = GetNewDialog(2002, nullptr, reinterpret_cast<WindowPtr>(-1));
    ASSERT_NE(summary, nullptr);
    static int drawn = 0;
    drawn = 0;
    SetUserItemProc(summary, 2, [](DialogPtr, std::int16_t item) { drawn += item; });
    SetUserItemProc(summary, 500, [](DialogPtr, std::int16_t) { drawn = -1; });
    DrawDialog(summary);
    EXPECT_EQ(drawn, 2);
    DisposeDialog(summary);
}

TEST_F(GameDialogsTest, QuittingAsksOnlyDuringAGameAndClosesTheHelp) {
    std::ofstream(dir / "tolka.hlp") << "@topic Tolka\n@keywords Tolka\n\nWords.\n";
    qiva_test::ScopedCurrentDirectory cwd(dir.Path());
    auto openHelp = [] {
        return WinHelp(nullptr, "tolka.hlp", HELP_KEY, reinterpret_cast<std::uintptr_t>("Tolka"));
    };
    ASSERT_TRUE(openHelp());
    EXPECT_TRUE(MayQuit());
    EXPECT_EQ(qiva::HelpWindow(), nullptr);

    gameOn = 1;
    ASSERT_TRUE(openHelp());
    bool may = true;
    const Seen seen = Answer("escape", [&] { may = MayQuit(); });
    EXPECT_FALSE(may);
    EXPECT_NE(seen.dump.find("dialog 128 kind alert"), std::string::npos) << seen.dump;
    EXPECT_NE(qiva::HelpWindow(), nullptr) << "the help stays while the game goes on";
    Answer("return", [&] { may = MayQuit(); });
    EXPECT_TRUE(may);
    EXPECT_EQ(qiva::HelpWindow(), nullptr);
    EXPECT_TRUE(MayImportClipboard());
    EXPECT_TRUE(MayExportClipboard());
}

} // namespace
} // namespace tolka
