// The board's geometry, where seeds lie in pits and stores, and the hand's step arithmetic: the
// state-free parts of the board view.

#include <gtest/gtest.h>

#include "game/board_geometry.h"
#include "game/rules.h"
#include "game/seed_places.h"
#include "game/sprite.h"
#include "tests/game/board_fixture.h"
#include "toolkit/core/random.h"
#include "toolkit/graphics/rect_utils.h"

namespace tolka {
namespace {

Point P(int h, int v) {
    return Point{static_cast<std::int16_t>(v), static_cast<std::int16_t>(h)};
}

bool Inside(const Rect& inner, const Rect& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

TEST(BoardGeometry, PitAtPointTakesLeftAndTopEdgesOnly) {
    const struct {
        int h, v, pit;
    } cases[] = {
        {130, 200, 1}, {129, 200, 0}, {35, 80, 11},  {34, 200, -1}, {605, 200, -1},
        {604, 200, 5}, {604, 80, 6},  {35, 175, 0},  {35, 174, 11}, {100, 270, -1},
        {100, 269, 0}, {100, 79, -1}, {320, 174, 8}, {320, 175, 3},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PitAtPoint(P(c.h, c.v)), c.pit) << c.h << "," << c.v;
}

TEST(BoardGeometry, PitsRunCounterClockwiseAndAbut) {
    for (int pit = 0; pit < kPitCount; ++pit) {
        Rect r;
        PitRect(static_cast<std::int16_t>(pit), &r);
        EXPECT_EQ(r.right - r.left, 95);
        EXPECT_EQ(r.bottom - r.top, 95);
        // Every pit answers for its own rectangle, corner to corner.
        EXPECT_EQ(PitAtPoint(P(r.left, r.top)), pit);
        EXPECT_EQ(PitAtPoint(P(r.right - 1, r.bottom - 1)), pit);
    }
    EXPECT_EQ(PitRectOf(0).left, 35);
    EXPECT_EQ(PitRectOf(5).right, 605);
    EXPECT_EQ(PitRectOf(6).left, PitRectOf(5).left); // the top row runs back right to left
    EXPECT_EQ(PitRectOf(11).left, 35);
}

TEST(BoardGeometry, StoreStripsGrowWithTheCount) {
    Board b = test::B("0 0 0 0 0 0 0 0 0 0 0 0 0 20");
    Rect r;
    StoreRect(0, b, &r);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 278);
    EXPECT_EQ(r.right, 32);
    EXPECT_EQ(r.bottom, 326);
    StoreRect(1, b, &r);
    EXPECT_EQ(r.top, 40);
    EXPECT_EQ(r.bottom, 88);
    EXPECT_EQ(r.right, 512);
    Rect same;
    StoreRect(7, b, &same); // any non-zero side is the computer's
    EXPECT_TRUE(EqualRect(&r, &same));
}

TEST(BoardGeometry, ARedrawMeetsThePitsItTouches) {
    const struct {
        Rect box;
        std::uint16_t pits;
    } cases[] = {
        {{180, 20, 260, 35}, 1u << 0},                 // along pit 0's left edge, outside it
        {{180, 130, 260, 130}, (1u << 0) | (1u << 1)}, // on the line between pits 0 and 1
        {{175, 20, 175, 35}, (1u << 0) | (1u << 11)},  // a corner shared by pits 0 and 11
        {{100, 0, 170, 34}, 0},                        // left of the rows, one pixel short
        {{270, 40, 280, 50}, 1u << 0},                 // just under pit 0
        {{0, 0, 400, 640}, 0x0FFF},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PitsMeeting(c.box), c.pits) << c.box.left << " " << c.box.top;
}

TEST(BoardGeometry, CountTipStaysBesideTheRows) {
    for (const Point mouse : {P(0, 0), P(600, 10), P(639, 399), P(300, 250), P(604, 260), P(100, 240)}) {
        const Rect tip = CountTipRect(mouse);
        EXPECT_LE(tip.right, 605);
        EXPECT_GE(tip.top, 80);
        EXPECT_LE(tip.bottom, 270); // the bottom row's bottom edge
        EXPECT_EQ(tip.right - tip.left, 32);
        EXPECT_EQ(tip.bottom - tip.top, 16);
    }
    const Rect here = CountTipRect(P(200, 240));
    EXPECT_EQ(here.left, 200);
    EXPECT_EQ(here.top, 240); // a pointer low in the rows keeps its tip where it is
}

TEST(BoardGeometry, DestinationSkipsThePlayedPitEachLap) {
    const struct {
        int pit, count;
        std::int16_t rules;
        int dest;
    } cases[] = {
        {0, 4, kStandardRules, 4},  {0, 4, kRelayRules, 3},      {10, 3, kStandardRules, 1},
        {2, 11, kStandardRules, 1}, {2, 12, kStandardRules, 3},  {2, 12, kRelayRules, 2},
        {5, 23, kStandardRules, 5}, {11, 48, kStandardRules, 3},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DestinationPit(c.pit, c.count, c.rules), c.dest) << c.pit << " " << c.count;
    const Rect mark = DestinationMarkRect(0);
    EXPECT_EQ(mark.left, 75);
    EXPECT_EQ(mark.top, 215);
    EXPECT_EQ(mark.right - mark.left, 15);
}

class SeedPlaces : public ::testing::Test {
protected:
    std::uint32_t savedSeed = randSeed;
    SeedTable seeds;
    Board board{};
    void SetUp() override {
        randSeed = 1;
        seeds.Reset();
    }
    void TearDown() override { randSeed = savedSeed; }
};

TEST_F(SeedPlaces, FirstSeedOfAnEmptyPitLiesAtItsCentreSpot) {
    for (const std::int16_t pit : {std::int16_t{0}, std::int16_t{5}, std::int16_t{6}, std::int16_t{11}}) {
        seeds.Reset();
        SetSeedPlace(seeds, board, pit, 7);
        const Rect r = PitRectOf(pit);
        EXPECT_EQ(seeds.Records()[7].x, r.left + 32);
        EXPECT_EQ(seeds.Records()[7].y, r.top + 32);
    }
}

TEST_F(SeedPlaces, AFullPitEndsEveryPlacementWithin22TriesAndInsideThePit) {
    const std::int16_t pit = 3;
    const Rect pitRect = PitRectOf(pit);
    int longest = 0;
    for (std::int16_t s = 0; s < 47; ++s) {
        seeds.SetSeedPlace(pit, s);
        const std::uint32_t before = randSeed;
        const int tries = PlaceSeedInPit(seeds, pit, s);
        // Two draws a try: the generator moved exactly that far.
        std::uint32_t expected = before;
        for (int i = 0; i < 2 * tries; ++i)
            expected = qiva::NextRandomSeed(expected);
        EXPECT_EQ(randSeed, expected);
        ASSERT_GE(tries, 1);
        ASSERT_LE(tries, kMaxPlacementAttempts);
        longest = std::max(longest, tries);
        const SeedRecord& r = seeds.Records()[s];
        EXPECT_LE(std::abs(r.x - (pitRect.left + 32)), 21);
        EXPECT_LE(std::abs(r.y - (pitRect.top + 32)), 21);
        const Rect seedRect = SeedRectOf(r);
        EXPECT_TRUE(Inside(seedRect, pitRect));
        // Placed before running out of tries: it crowds none of the seeds already there.
        if (tries < kMaxPlacementAttempts) {
            for (std::int16_t o = 0; o < s; ++o)
                EXPECT_FALSE(SeedsCrowd(r, seeds.Records()[o])) << s << " and " << o;
        }
    }
    EXPECT_EQ(longest, kMaxPlacementAttempts); // the pit did fill up
}

TEST_F(SeedPlaces, StoresLineTheirSeedsUpToTheRight) {
    const struct {
        std::int16_t place;
        int nth, x, y;
    } cases[] = {{kStoreOfSide0, 1, 24, 278}, {kStoreOfSide0, 2, 48, 278}, {kStoreOfSide0, 10, 240, 278},
                 {kStoreOfSide1, 1, 24, 40},  {kStoreOfSide1, 2, 48, 40},  {kStoreOfSide1, 10, 240, 40}};
    for (const auto& c : cases) {
        board.stores[c.place == kStoreOfSide1 ? 1 : 0] = static_cast<std::uint8_t>(c.nth);
        SetSeedPlace(seeds, board, c.place, 0);
        EXPECT_EQ(seeds.Records()[0].x, c.x);
        EXPECT_EQ(seeds.Records()[0].y, c.y);
        EXPECT_EQ(seeds.Records()[0].place, c.place);
    }
}

TEST(SpriteSteps, CalibrationGivesAStepOf4To32) {
    const struct {
        int copies, step;
    } cases[] = {{46, 4}, {45, 4}, {120, 4}, {5, 32}, {6, 30}, {23, 8}, {1, 32}, {0, 32}, {-3, 32}};
    for (const auto& c : cases)
        EXPECT_EQ(MinimumStepFromCopies(c.copies), c.step) << c.copies;
}

TEST(SpriteSteps, StepsSlowDownNearTheTargetAndKeepTheirSpeedWhenFramesComeLate) {
    constexpr std::uint64_t kFrame = 1000000 / 60;
    const struct {
        int distance, minimum;
        std::uint64_t micros;
        int step;
    } cases[] = {
        {2000, 4, kFrame, 32},       // far: the fastest step
        {480, 4, kFrame, 10},        // a 48th of the way
        {50, 4, kFrame, 4},          // never under the minimum speed
        {3, 4, kFrame, 4},           // (the caller limits it to the distance)
        {2000, 4, 5 * kFrame, 160},  // a display five times slower: five frames' way each frame
        {480, 4, 5 * kFrame, 50},    // ...at every distance, so a move takes the same time
        {2000, 4, 60 * kFrame, 240}, // a stall counts as an eighth of a second
        {480, 4, kFrame / 2, 5},     // an early frame moves less
        {50, 18, kFrame, 18},        // a slow copier's minimum step
        {1, 4, 10, 4},               // always moves
        {0, 4, kFrame, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SpriteStep(c.distance, c.minimum, c.micros), c.step) << c.distance << " " << c.micros;
}

} // namespace
} // namespace tolka
