// The board display: the whole-board redraw, the hover marks, the hand's travel and its calibration,
// the sounds' rhythm, and whole animated moves, which must leave the seed records, the counts and the
// picture in step, and the same seed table as the same moves played without the hand.

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "game/board_geometry.h"
#include "game/icon_images.h"
#include "game/offscreen.h"
#include "game/rules.h"
#include "platform/png.h"
#include "tests/game/board_fixture.h"
#include "tests/game/board_view_fixture.h"
#include "tests/toolkit/core/resource_files.h"
#include "toolkit/core/tick_count.h"
#include "toolkit/dialogs/cicn_format.h"

namespace tolka {
namespace {

using test::BoardViewTest;

Point P(int h, int v) {
    return Point{static_cast<std::int16_t>(v), static_cast<std::int16_t>(h)};
}

bool Inside(const Rect& inner, const Rect& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

// Every place holds as many records as its count, and every record lies inside its pit or store.
void ExpectInStep(const BoardDisplay& view, const Board& b, const std::string& when) {
    SeedTable& seeds = const_cast<BoardDisplay&>(view).Seeds();
    for (std::int16_t pit = 0; pit < kPitCount; ++pit)
        ASSERT_EQ(seeds.CountIn(pit), b.pits[pit]) << "pit " << pit << " " << when;
    ASSERT_EQ(seeds.CountIn(kStoreOfSide0), b.stores[0]) << when;
    ASSERT_EQ(seeds.CountIn(kStoreOfSide1), b.stores[1]) << when;
    for (const SeedRecord& r : seeds.Records()) {
        const Rect seed = SeedRectOf(r);
        if (r.place >= 0)
            ASSERT_TRUE(Inside(seed, PitRectOf(r.place))) << "a seed of pit " << r.place << " " << when;
        else if (r.place == kStoreOfSide0 || r.place == kStoreOfSide1) {
            const std::uint8_t side = r.place == kStoreOfSide1 ? 1 : 0;
            ASSERT_TRUE(Inside(seed, StoreRectOf(side, b.stores[side]))) << "a store seed " << when;
        }
    }
}

// Plays random legal moves on the view's board, alternating sides, until the game ends or `moves`
// were played; returns the row places played.
std::vector<int> PlayRandomMoves(BoardDisplay& view, Board& b, std::int16_t ruleSet, unsigned seed, int moves,
                                 bool check) {
    std::srand(seed);
    std::vector<int> played;
    std::uint8_t side = 0;
    for (int m = 0; m < moves; ++m) {
        std::uint8_t result;
        std::uint16_t rest0, rest1;
        Board probe = b;
        if (CheckGameOver(probe, result, rest0, rest1)) break;
        std::vector<int> legal;
        for (int place = 0; place < kRowLength; ++place) {
            Board trial = b;
            if (SowMove(side, trial, place, ruleSet, nullptr)) legal.push_back(place);
        }
        if (legal.empty()) break;
        const int place = legal[static_cast<std::size_t>(std::rand()) % legal.size()];
        Board silent = b;
        SowMove(side, silent, place, ruleSet, nullptr);
        EXPECT_TRUE(SowMove(side, b, place, ruleSet, &view));
        EXPECT_EQ(test::Text(b), test::Text(silent)) << "move " << m;
        if (check) ExpectInStep(view, b, "after move " + std::to_string(m));
        played.push_back(place);
        side = static_cast<std::uint8_t>(1 - side);
    }
    return played;
}

TEST_F(BoardViewTest, RedrawIsOnePresentOfTheWholeBoard) {
    NewGame();
    const std::size_t before = present.frames.size();
    view().RedrawBoard();
    ASSERT_EQ(present.frames.size(), before + 1);
    const Rect shown = present.frames.back().area;
    EXPECT_EQ(shown.left, 0);
    EXPECT_EQ(shown.top, 0);
    EXPECT_EQ(shown.right, 640);
    EXPECT_EQ(shown.bottom, 400);
    EXPECT_TRUE(ShowsScene()) << Differences(FreshScene());

    // The seeds are on the pits: a seed's place differs from the empty board there.
    GrafPtr empty = NewOffscreen(640, 400);
    const Board none{};
    RgnHandle all = NewRgn();
    SetRectRgn(all, 0, 0, 640, 400);
    Board saved = board;
    board = none;
    view().DrawBoard(empty, all);
    board = saved;
    const std::vector<std::uint8_t> emptyPixels = Pixels(empty);
    const SeedRecord& first = view().Seeds().Records()[0];
    int differing = 0;
    for (int v = first.y; v < first.y + 32; ++v)
        for (int h = first.x; h < first.x + 32; ++h)
            differing += present.window[static_cast<std::size_t>(v) * 640 + h] != emptyPixels[v * 640 + h];
    EXPECT_GT(differing, 400) << "a 32 × 32 seed covers most of its square";
    DisposeRgn(all);
    DisposeOffscreen(empty);
}

TEST_F(BoardViewTest, APitShowsOnlyAsManySeedsAsItsCount) {
    NewGame();
    GrafPtr a = NewOffscreen(640, 400), b = NewOffscreen(640, 400);
    // Count 0 with four records still naming the pit: the bare pit, as an empty board has it.
    Board zero = board;
    zero.pits[2] = 0;
    Board none{};
    view().DrawPit(a, zero, 2);
    view().DrawPit(b, none, 2);
    EXPECT_EQ(Pixels(a), Pixels(b));
    // More seeds counted than records: the four found are drawn, and nothing else goes wrong.
    Board more = board;
    more.pits[2] = 9;
    view().DrawPit(a, more, 2);
    view().DrawPit(b, board, 2);
    EXPECT_EQ(Pixels(a), Pixels(b));
    DisposeOffscreen(a);
    DisposeOffscreen(b);
}

TEST_F(BoardViewTest, HoverShowsTheCountAndTheLastSeedsPitAndErasesThemExactly) {
    NewGame();
    board.pits[1] = 7;
    view().RedrawBoard();
    const std::vector<std::uint8_t> clean = present.window;
    auto moveMouse = [](int h, int v) {
        platform::Event e;
        e.kind = platform::EventKind::MouseMove;
        e.x = h;
        e.y = v;
        qiva::HandlePlatformEvent(e);
    };
    moveMouse(150, 200); // pit 1, 7 seeds
    view().UpdateHover();
    const Rect tip = view().CountTip();
    EXPECT_EQ(tip.left, 150);
    EXPECT_EQ(tip.top, 200);
    const Rect mark = view().DestinationMark();
    EXPECT_TRUE(EqualRect(&mark, &(const Rect&)DestinationMarkRect(8)));
    EXPECT_NE(present.window, clean);

    const std::size_t before = present.frames.size();
    view().EraseHover();
    EXPECT_EQ(present.frames.size(), before + 1) << "one present for the whole erase";
    EXPECT_EQ(present.window, clean);

    // Over the table, or over an empty pit: nothing shown.
    board.pits[3] = 0;
    view().RedrawBoard();
    for (const Point p : {P(5, 150), P(340, 200)}) {
        moveMouse(p.h, p.v);
        view().UpdateHover();
        EXPECT_TRUE(EmptyRect(&(const Rect&)view().CountTip()));
        EXPECT_TRUE(EmptyRect(&(const Rect&)view().DestinationMark()));
    }
    // The tip in the bottom store stays above the pit rows' bottom edge.
    board.stores[0] = 5;
    moveMouse(60, 300);
    view().UpdateHover();
    EXPECT_EQ(view().CountTip().bottom, 270);
    EXPECT_TRUE(EmptyRect(&(const Rect&)view().DestinationMark())) << "no marker for a store";
}

TEST_F(BoardViewTest, TheHandLandsExactlyAndNeverStepsMoreThan32) {
    NewGame();
    view().RedrawBoard();
    view().StartSprite(0);
    ASSERT_TRUE(view().SpriteActive());
    const Rect start = view().SpriteRect();
    EXPECT_EQ((start.left + start.right) / 2, 320);
    const int width = start.right - start.left, height = start.bottom - start.top;
    for (const int pit : {0, 11, 5, 6, 3}) {
        const std::size_t first = present.frames.size();
        const Point target = PitCentre(pit);
        view().MoveSpriteTo(target.h, target.v);
        const Rect r = view().SpriteRect();
        EXPECT_EQ((r.left + r.right) / 2, target.h) << pit;
        EXPECT_EQ((r.top + r.bottom) / 2, target.v + 102) << pit;
        EXPECT_EQ(r.right - r.left, width);
        ASSERT_GT(present.frames.size(), first);
        for (std::size_t f = first; f < present.frames.size(); ++f) {
            // Each frame shows the old and new places together: their union is one step wider.
            const Rect a = present.frames[f].area;
            EXPECT_LE(a.right - a.left - width, 32);
            EXPECT_LE(a.bottom - a.top - std::min(height, 318 - a.top), 32);
            EXPECT_GE(a.top, 32);
            EXPECT_LE(a.bottom, 318) << "the hand never leaves the play area";
        }
    }
    view().EndSprite();
    EXPECT_FALSE(view().SpriteActive());
    EXPECT_TRUE(ShowsScene()) << Differences(FreshScene());
}

TEST_F(BoardViewTest, CalibrationMeasuresTheDisplayRate) {
    NewGame();
    view().RedrawBoard();
    const struct { int fps, step; } cases[] = {{60, 4}, {5, 18}, {2, 32}};
    for (const auto& c : cases) {
        present.framesPerSecond = c.fps;
        view().SetCalibration(0, 60);
        view().StartSprite(1);
        EXPECT_EQ(view().MinimumStep(), c.step) << c.fps;
        EXPECT_NEAR(view().FramesPerSecond(), c.fps, 1) << c.fps;
        view().EndSprite();
    }
    // Calibrated once: the next hand does not measure again.
    present.framesPerSecond = 60;
    const std::size_t before = present.frames.size();
    view().StartSprite(0);
    EXPECT_LT(present.frames.size() - before, 3u);
    view().EndSprite();
}

TEST_F(BoardViewTest, AHandAlreadyWaitingIsKeptOrWithdrawn) {
    NewGame();
    view().RedrawBoard();
    view().StartSprite(0);
    const Rect first = view().SpriteRect();
    view().StartSprite(0); // the same side: it stays where it is
    EXPECT_TRUE(EqualRect(&first, &(const Rect&)view().SpriteRect()));
    view().StartSprite(1); // the other side: the player's hand leaves, the computer's comes
    ASSERT_TRUE(view().SpriteActive());
    EXPECT_LT(view().SpriteRect().top, 0);
    view().EndSprite();
    EXPECT_TRUE(ShowsScene()) << Differences(FreshScene());
    view().options.handAnimation = false;
    view().StartSprite(0);
    EXPECT_FALSE(view().SpriteActive());
}

TEST_F(BoardViewTest, WithTheSoundOffEverySoundIsATenTickPause) {
    view().options.soundOn = false;
    std::uint32_t t = TickCount();
    view().PlayGameSound(2);
    EXPECT_EQ(TickCount() - t, 10u);
    view().options.soundOn = true;
    t = TickCount();
    view().PlayGameSound(63); // no such sound: silent and free
    EXPECT_EQ(TickCount() - t, 0u);
    EXPECT_TRUE(headless->Sounds().empty());

    // A whole move without the hand: one pause for the pick-up, one a seed.
    NewGame();
    view().options.soundOn = false;
    view().options.handAnimation = false;
    present.framesPerSecond = 0; // the window's redraws take no time here
    t = TickCount();
    ASSERT_TRUE(SowMove(0, board, 2, kStandardRules, &view()));
    EXPECT_EQ(TickCount() - t, 50u);
    EXPECT_TRUE(headless->Sounds().empty());
}

TEST_F(BoardViewTest, AnimatedMovesKeepRecordsCountsAndPictureInStep) {
    view().options.soundOn = false; // the pauses cost only virtual time
    for (const std::int16_t ruleSet : {kStandardRules, kRelayRules}) {
        for (unsigned game = 1; game <= 2; ++game) {
            NewGame();
            view().RedrawBoard();
            const std::vector<int> played =
                PlayRandomMoves(view(), board, ruleSet, game * 7 + ruleSet, 40, /*check=*/true);
            EXPECT_GT(played.size(), 5u);
            EXPECT_FALSE(view().SpriteActive());
            EXPECT_TRUE(ShowsScene())
                << "rules " << ruleSet << " game " << game << ": " << Differences(FreshScene());
            if (HasFailure()) return;
        }
    }
}

TEST_F(BoardViewTest, WithoutTheHandAMoveLeavesTheSameSeedTable) {
    view().options.soundOn = false;
    for (const std::int16_t ruleSet : {kStandardRules, kRelayRules}) {
        struct Outcome {
            Board board;
            std::array<SeedRecord, SeedTable::kSize> seeds;
            std::uint32_t random;
        } outcome[2];
        for (int animate = 0; animate < 2; ++animate) {
            view().options.handAnimation = animate == 1;
            randSeed = 1;
            NewGame();
            view().RedrawBoard();
            PlayRandomMoves(view(), board, ruleSet, 3, 30, /*check=*/false);
            outcome[animate] = {board, view().Seeds().Records(), randSeed};
            EXPECT_TRUE(ShowsScene()) << "hand " << animate << ": " << Differences(FreshScene());
        }
        EXPECT_EQ(outcome[0].board, outcome[1].board);
        EXPECT_EQ(outcome[0].random, outcome[1].random);
        for (int i = 0; i < SeedTable::kSize; ++i) {
            const SeedRecord& a = outcome[0].seeds[i];
            const SeedRecord& b = outcome[1].seeds[i];
            EXPECT_TRUE(a.place == b.place && a.icon == b.icon && a.x == b.x && a.y == b.y)
                << "record " << i << " rules " << ruleSet;
        }
    }
}

// A seed's picture is its icon's palette indices under the mask and transparent elsewhere, black
// included (it shares its colour with the transparent index); a damaged or cut icon gives none.
TEST_F(BoardViewTest, SeedPicturesAreTheIconsUnderTheirMasks) {
    Handle h = GetResource(MakeResType("cicn"), 3);
    ASSERT_NE(h, nullptr);
    const auto* data = reinterpret_cast<const std::uint8_t*>(*h);
    const std::string good(reinterpret_cast<const char*>(data), static_cast<std::size_t>(GetHandleSize(h)));
    std::string error;
    const auto icon = qiva::ParseColorIcon(
        std::span<const std::uint8_t>(data, static_cast<std::size_t>(GetHandleSize(h))), error);
    ASSERT_TRUE(icon) << error;
    ASSERT_EQ(icon->pixelSize, 8);
    GrafPtr image = LoadIconImage(3);
    ASSERT_NE(image, nullptr);
    const qiva::BufferSlot* slot = qiva::LookUpBuffer(qiva::BufferIdOf(image->portBits));
    int opaque = 0;
    for (int y = 0; y < icon->height; ++y)
        for (int x = 0; x < icon->width; ++x) {
            const bool under =
                icon->mask[static_cast<std::size_t>(y * icon->maskRowBytes + x / 8)] & (0x80 >> (x % 8));
            const std::uint8_t value = icon->pixels[static_cast<std::size_t>(y * icon->pixelRowBytes + x)];
            const std::uint8_t shown = slot->base[y * slot->rowBytes + x];
            EXPECT_EQ(shown, under ? value : qiva::kTransparentIndex) << x << "," << y;
            opaque += under;
        }
    EXPECT_GT(opaque, 200); // a seed fills much of its square
    DisposeOffscreen(image);

    // The same icon cut short, or with an impossible depth, in a file of its own.
    std::string badDepth = good;
    badDepth[33] = 3;
    std::vector<qiva::Resource> damaged{qiva_test::MakeResource("cicn", 1, badDepth)};
    for (std::size_t length :
         {std::size_t{0}, std::size_t{40}, std::size_t{81}, good.size() / 2, good.size() - 1})
        damaged.push_back(qiva_test::MakeResource("cicn", static_cast<std::int16_t>(damaged.size() + 1),
                                                  good.substr(0, length)));
    qiva_test::ScratchDirectory scratch;
    const std::int16_t broken =
        OpenResFile(scratch.Write("BROKEN.RSR", qiva_test::FileImage(damaged)).c_str());
    ASSERT_GT(broken, 0);
    for (std::int16_t id = 1; id <= static_cast<std::int16_t>(damaged.size()); ++id)
        EXPECT_EQ(LoadIconImage(id), nullptr) << id;
    CloseResFile(broken);
    EXPECT_EQ(LoadIconImage(77), nullptr); // no such icon: nothing drawn, nothing allocated
}

// Without the game's pictures and sounds the board is drawn with what there is, the hand stays away
// and moves are played and drawn in place.
TEST_F(BoardViewTest, MissingPicturesLeaveTheHandOutAndTheMovesRight) {
    NewGame();
    CloseResFile(file);
    file = -1;
    view().RedrawBoard();
    view().StartSprite(0);
    EXPECT_FALSE(view().SpriteActive());
    Board silent = board;
    ASSERT_TRUE(SowMove(0, silent, 3, kStandardRules, nullptr));
    ASSERT_TRUE(SowMove(0, board, 3, kStandardRules, &view()));
    EXPECT_EQ(board, silent);
    EXPECT_TRUE(ShowsScene()) << Differences(FreshScene());
}

// A move takes seconds: the window is kept alive at every frame and every pause, and a click made
// meanwhile waits, untouched, for the game's next event.
TEST_F(BoardViewTest, TheWindowIsServicedWhileAMoveIsAnimated) {
    NewGame();
    view().RedrawBoard();
    platform::Event click;
    click.kind = platform::EventKind::MouseDown;
    click.x = 100;
    click.y = 200;
    headless->Inject(click);
    for (const bool soundOn : {true, false}) {
        view().options.soundOn = soundOn;
        headless->services = 0;
        const std::size_t frames = present.frames.size();
        ASSERT_TRUE(SowMove(0, board, soundOn ? 2 : 3, kStandardRules, &view()));
        EXPECT_GE(headless->services, static_cast<int>(present.frames.size() - frames));
        if (!soundOn) {
            EXPECT_GE(headless->services, 5 * 10) << "each pause is serviced tick by tick";
        }
    }
    platform::Event waiting;
    ASSERT_TRUE(headless->Pump(waiting));
    EXPECT_EQ(waiting.kind, platform::EventKind::MouseDown);
    EXPECT_EQ(waiting.x, 100);
}

TEST_F(BoardViewTest, ASeedThatCannotBeFoundIsReportedAndTheCountsStayRight) {
    std::vector<std::string> alerts;
    view().alert = [&alerts](const std::string& text) { alerts.push_back(text); };
    NewGame();
    // Pit 2's records were lost (they lie nowhere now): the move must still count right.
    for (std::int16_t i = 8; i < 12; ++i)
        view().Seeds().SetSeedPlace(kNowhere, i);
    view().RedrawBoard();
    Board silent = board;
    ASSERT_TRUE(SowMove(0, silent, 2, kStandardRules, nullptr));
    ASSERT_TRUE(SowMove(0, board, 2, kStandardRules, &view()));
    EXPECT_EQ(board, silent);
    ASSERT_EQ(alerts.size(), 4u);
    EXPECT_EQ(alerts[0], "Impossible de trouver une pierre de la case 2");
    // The seeds from nowhere filled in, so the picture still shows every counted seed.
    for (std::int16_t pit = 3; pit <= 6; ++pit)
        EXPECT_EQ(view().Seeds().CountIn(pit), board.pits[pit]);
    EXPECT_TRUE(ShowsScene()) << Differences(FreshScene());
}

// A whole animated move, shot frame by frame: the hand comes in, sows and leaves, and the window
// ends as the board drawn afresh. The frames go to the test's folder (or to $TOLKA_BOARD_FRAMES).
TEST_F(BoardViewTest, HeadlessRunOfAnAnimatedMoveWithScreenshots) {
    NewGame();
    board.pits[9] = 2; // a capture for the player: 4 seeds from pit 5 make pit 9 hold 3
    for (std::int16_t i = 38; i < 40; ++i)
        view().Seeds().SetSeedPlace(kNowhere, i);
    view().RedrawBoard();
    const std::vector<std::uint8_t> before = present.window;

    static std::vector<std::vector<std::uint8_t>>* shots;
    std::vector<std::vector<std::uint8_t>> frames;
    shots = &frames;
    present.onPresent = [](test::PacedPresent& p) { shots->push_back(p.window); };
    ASSERT_TRUE(SowMove(0, board, 5, kStandardRules, &view()));
    present.onPresent = nullptr;
    EXPECT_EQ(test::Text(board), "4 4 4 4 4 0 5 5 5 0 4 4 3 0");

    ASSERT_GT(frames.size(), 40u);
    // Most frames show the hand somewhere: they differ both from the board before and after.
    const std::vector<std::uint8_t> after = FreshScene();
    int withHand = 0;
    for (const auto& f : frames)
        withHand += f != before && f != after;
    EXPECT_GT(withHand, static_cast<int>(frames.size()) * 3 / 4);
    EXPECT_EQ(frames.back(), after);
    EXPECT_EQ(present.window, after);

    const char* wanted = std::getenv("TOLKA_BOARD_FRAMES");
    const std::filesystem::path folder =
        wanted ? std::filesystem::path(wanted) : std::filesystem::path(dir.Path());
    std::uint32_t palette[256];
    for (int i = 0; i < 256; ++i) {
        const qiva::PaletteEntry& e = qiva::ThePalette().palette.entries[i];
        palette[i] = 0xFF000000u | (e.red << 16) | (e.green << 8) | e.blue;
    }
    for (std::size_t i = 0; i < frames.size(); i += frames.size() / 8) {
        const platform::Frame frame{frames[i].data(), 640, 640, 400, palette};
        const std::filesystem::path shot = folder / ("move-" + std::to_string(1000 + i).substr(1) + ".png");
        EXPECT_EQ(platform::WritePng(shot.string(), frame), "");
        EXPECT_GT(std::filesystem::file_size(shot), 1000u);
    }
}

} // namespace
} // namespace tolka
