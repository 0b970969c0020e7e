// The animated path: the view moves the seed records and raises the counts; the position it leaves
// is the one the silent path leaves, and every place holds as many records as its count.

#include <gtest/gtest.h>

#include <random>

#include "game/game_state.h"
#include "game/rules.h"
#include "game/seed_table.h"
#include "tests/game/board_fixture.h"
#include "tests/support/scoped.h"
#include "toolkit/core/random.h"

namespace tolka {
namespace {

using test::B;
using test::Text;

// Lays out records for a position: pits first, then the stores.
void LayOut(SeedTable& seeds, const Board& b) {
    seeds.Reset();
    std::int16_t next = 0;
    for (std::int16_t pit = 0; pit < kPitCount; ++pit)
        for (int i = 0; i < b.pits[pit]; ++i)
            seeds.SetSeedPlace(pit, next++);
    for (int i = 0; i < b.stores[0]; ++i)
        seeds.SetSeedPlace(kStoreOfSide0, next++);
    for (int i = 0; i < b.stores[1]; ++i)
        seeds.SetSeedPlace(kStoreOfSide1, next++);
}

void ExpectRecordsMatch(const SeedTable& seeds, Board b) {
    for (std::int16_t pit = 0; pit < kPitCount; ++pit)
        EXPECT_EQ(seeds.CountIn(pit), b.pits[pit]) << "pit " << pit;
    EXPECT_EQ(seeds.CountIn(kStoreOfSide0), b.stores[0]);
    EXPECT_EQ(seeds.CountIn(kStoreOfSide1), b.stores[1]);
}

// Counts the view calls, to check the order the rules drive them in.
class CountingView : public SeedTableView {
public:
    int pickUps = 0, drops = 0, moves = 0, captures = 0, ends = 0, announced = 0;
    void PickUpPit(std::uint8_t, Board& b, std::int16_t pit) override {
        ++pickUps;
        EXPECT_GT(b.pits[pit], 0) << "the pit is emptied after the hand takes its seeds";
    }
    void DropSeed(Board& b, std::int16_t pit, std::int16_t seed) override {
        ++drops;
        SeedTableView::DropSeed(b, pit, seed);
    }
    std::int16_t MoveSeedTo(Board& b, std::int16_t place, std::int16_t seed) override {
        ++moves;
        return SeedTableView::MoveSeedTo(b, place, seed);
    }
    void CaptureToStore(std::uint8_t, Board&, std::int16_t, std::int16_t count) override {
        captures += count;
    }
    void ShowCapture(std::uint8_t, int count) override { announced += count; }
    void EndSprite() override { ++ends; }
};

TEST(AnimatedPath, CallsTheViewInOrder) {
    CountingView view;
    Board board = B("0 0 0 0 0 3 1 2 1 4 4 4 0 0");
    LayOut(view.Seeds(), board);
    ASSERT_TRUE(SowMove(0, board, 5, kStandardRules, &view));
    EXPECT_EQ(Text(board), "0 0 0 0 0 0 0 0 0 4 4 4 7 0");
    EXPECT_EQ(view.pickUps, 1);
    EXPECT_EQ(view.drops, 3);
    EXPECT_EQ(view.moves, 7);
    EXPECT_EQ(view.captures, 7);
    EXPECT_EQ(view.announced, 7);
    EXPECT_EQ(view.ends, 1);
    ExpectRecordsMatch(view.Seeds(), board);
    EXPECT_TRUE(view.LastAlert().empty());
}

TEST(AnimatedPath, LeavesTheSilentPosition) {
    std::mt19937 rng(99);
    for (int trial = 0; trial < 3000; ++trial) {
        Board start;
        const int seeds = 10 + static_cast<int>(rng() % 39);
        for (int s = 0; s < seeds; ++s)
            ++start.pits[rng() % kPitCount];
        const std::int16_t ruleSet = static_cast<std::int16_t>(rng() % 2);
        const auto side = static_cast<std::uint8_t>(rng() % 2);
        const int place = static_cast<int>(rng() % kRowLength);

        Board silent = start;
        const bool legal = SowMove(side, silent, place, ruleSet, nullptr);
        SeedTableView view;
        LayOut(view.Seeds(), start);
        Board animated = start;
        ASSERT_EQ(SowMove(side, animated, place, ruleSet, &view), legal);
        ASSERT_EQ(Text(animated), Text(silent)) << Text(start) << " side " << int(side) << " place " << place;
        ExpectRecordsMatch(view.Seeds(), animated);
        ASSERT_TRUE(view.LastAlert().empty());
    }
    // The endless relays end in the same position on both paths.
    for (const auto& [side, place, text] :
         {std::tuple{0, 5, "4 5 4 3 2 5 1 2 1 7 4 3 0 0"}, std::tuple{1, 4, "4 3 2 1 5 6 3 4 3 2 3 3 0 0"}}) {
        SeedTableView view;
        Board board = B(text);
        LayOut(view.Seeds(), board);
        ASSERT_TRUE(SowMove(static_cast<std::uint8_t>(side), board, place, kRelayRules, &view));
        EXPECT_EQ(Text(board), text);
        ExpectRecordsMatch(view.Seeds(), board);
    }
}

TEST(SeedTable, MissingSeedIsReportedAndTheCountStaysRight) {
    SeedTableView view;
    Board board = B("0 0 0 0 0 2 0 0 0 0 0 0 0 0");
    view.Seeds().Reset(); // no record names pit 5
    ASSERT_TRUE(SowMove(0, board, 5, kStandardRules, &view));
    EXPECT_EQ(view.LastAlert(), "Impossible de trouver une pierre de la case 5");
    EXPECT_EQ(Text(board), "0 0 0 0 0 0 1 1 0 0 0 0 0 0");
}

TEST(SeedTable, MoveGoesToTheEndAndNamesThePlace) {
    SeedTable seeds;
    Board board;
    randSeed = 1;
    seeds.Reset();
    const SeedRecord first = seeds.Records()[0];
    EXPECT_EQ(first.place, kNowhere);
    EXPECT_EQ(first.icon, 2); // 16807 * 8 / 65536
    EXPECT_EQ(seeds.MoveTo(board, kStoreOfSide1, 0), SeedTable::kSize - 1);
    EXPECT_EQ(seeds.Records().back().icon, first.icon);
    EXPECT_EQ(seeds.Records().back().place, kStoreOfSide1);
    EXPECT_EQ(board.stores[1], 1);
    EXPECT_EQ(seeds.MoveTo(board, kNowhere, 3), -1) << "nowhere has no count to raise";
}

TEST(ClearBoard, ResetsTheRecordsThenEmptiesTheBoard) {
    SeedTableView view;
    SetBoardView(&view);
    const qiva_test::ScopeExit uninstall([] { SetBoardView(nullptr); });
    view.Seeds().SetSeedPlace(4, 0);
    Board board = StartBoard();
    randSeed = 1;
    ClearBoard(board);
    EXPECT_EQ(board, Board{});
    EXPECT_EQ(view.Seeds().CountIn(kNowhere), SeedTable::kSize);
    EXPECT_EQ(
        randSeed, 0u + [] {
            std::uint32_t s = 1;
            for (int i = 0; i < SeedTable::kSize; ++i)
                s = qiva::NextRandomSeed(s);
            return s;
        }());
}

} // namespace
} // namespace tolka
