#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <map>

#include "game/match_record.h"

namespace {

using tolka::MatchRecord;

// The three numbers of a row as a tuple, for readable comparisons.
std::array<int, 3> Row(const MatchRecord& r, int side, int set, int row) {
    const std::int16_t* n = r.sides[side].sets[set].rows[row];
    return {n[0], n[1], n[2]};
}

std::map<int, int> SheetItems(const MatchRecord& r) {
    std::map<int, int> items;
    for (const tolka::SheetNumber& n : tolka::ScoreSheetNumbers(r)) {
        EXPECT_FALSE(items.contains(n.item)) << "item " << n.item << " filled twice";
        items[n.item] = n.value;
    }
    return items;
}

TEST(MatchScoring, OneGameGivesPointsBonusAndTotal) {
    struct Case {
        int store0, store1;
        std::array<int, 3> side0, side1;
    };
    const Case cases[] = {
        {30, 18, {12, 6, 18}, {0, 0, 0}},
        {18, 30, {0, 0, 0}, {12, 6, 18}},
        {24, 24, {6, 0, 6}, {6, 0, 6}},
        {48, 0, {12, 24, 36}, {0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.store0) + "-" + std::to_string(c.store1));
        MatchRecord r{};
        EXPECT_FALSE(tolka::ScoreMatchGame(r, c.store0, c.store1));
        EXPECT_EQ(Row(r, 0, 0, 0), c.side0);
        EXPECT_EQ(Row(r, 1, 0, 0), c.side1);
        // One game is its set's sums; the set score is the lead, which a draw gives nobody.
        EXPECT_EQ(Row(r, 0, 0, tolka::kSumsRow), c.side0);
        EXPECT_EQ(r.sides[0].sets[0].score, std::max(c.side0[2] - c.side1[2], 0));
        EXPECT_EQ(r.sides[1].sets[0].score, std::max(c.side1[2] - c.side0[2], 0));
        EXPECT_EQ(r.sides[0].total, r.sides[0].sets[0].score);
        EXPECT_EQ(r.set, 0);
        EXPECT_EQ(r.game, 1);
    }
}

TEST(MatchScoring, SetScoresFollowTheSumsOfTheWholeSet) {
    // Side 0 leads after game 1 (30-18: 18 to 0), side 1 wins games 2 and 3 (26 and 27: 14 + 15):
    // side 1 leads the set 29 to 18 and alone has a score for it.
    MatchRecord r{};
    tolka::ScoreMatchGame(r, 30, 18);
    EXPECT_EQ(r.sides[0].sets[0].score, 18);
    tolka::ScoreMatchGame(r, 22, 26);
    tolka::ScoreMatchGame(r, 21, 27);
    EXPECT_EQ(Row(r, 0, 0, tolka::kSumsRow), (std::array<int, 3>{12, 6, 18}));
    EXPECT_EQ(Row(r, 1, 0, tolka::kSumsRow), (std::array<int, 3>{24, 5, 29}));
    EXPECT_EQ(r.sides[0].sets[0].score, 0);
    EXPECT_EQ(r.sides[1].sets[0].score, 11);
    EXPECT_EQ(r.set, 1);
    EXPECT_EQ(r.game, 0);

    // Equal sums: 30-18 for each side in turn and a draw leave the set at 24 each, no score.
    MatchRecord even{};
    tolka::ScoreMatchGame(even, 30, 18);
    tolka::ScoreMatchGame(even, 18, 30);
    tolka::ScoreMatchGame(even, 24, 24);
    EXPECT_EQ(Row(even, 0, 0, tolka::kSumsRow), Row(even, 1, 0, tolka::kSumsRow));
    EXPECT_EQ(even.sides[0].sets[0].score, 0);
    EXPECT_EQ(even.sides[1].sets[0].score, 0);
    EXPECT_EQ(even.sides[0].total, 0);
    EXPECT_EQ(even.sides[1].total, 0);
}

TEST(MatchScoring, NineGamesEndTheMatchAndALaterGameChangesNothing) {
    MatchRecord r{};
    const int results[9][2] = {{30, 18}, {20, 28}, {25, 23}, {24, 24}, {40, 8},
                               {10, 38}, {26, 22}, {26, 22}, {26, 22}};
    for (int g = 0; g < 9; ++g)
        EXPECT_EQ(tolka::ScoreMatchGame(r, results[g][0], results[g][1]), g == 8) << "game " << g;
    EXPECT_EQ(r.set, 3);
    EXPECT_EQ(r.game, 0);
    // Set 1: 18 + 0 + 13 = 31 against 16: side 0 by 15. Set 2: 6 + 28 + 0 = 34 against 6 + 0 + 26
    // = 32: side 0 by 2. Set 3: 14 × 3 = 42 against 0.
    EXPECT_EQ(r.sides[0].total, 15 + 2 + 42);
    EXPECT_EQ(r.sides[1].total, 0);
    const MatchRecord before = r;
    EXPECT_TRUE(tolka::ScoreMatchGame(r, 48, 0));
    EXPECT_EQ(std::memcmp(&before, &r, sizeof r), 0);
}

TEST(MatchScoring, DamagedCountersAreNotWrittenThrough) {
    for (const std::array<std::int16_t, 2> counters :
         {std::array<std::int16_t, 2>{-1, 0}, {0, 3}, {0, -2}, {7, 0}, {-32768, 32767}}) {
        MatchRecord r{};
        r.set = counters[0];
        r.game = counters[1];
        const MatchRecord before = r;
        tolka::ScoreMatchGame(r, 30, 18);
        EXPECT_EQ(std::memcmp(&before, &r, sizeof r), 0) << counters[0] << " " << counters[1];
    }
}

TEST(ScoreSheet, AfterOneGameOfTheFirstSet) {
    MatchRecord r{};
    tolka::ScoreMatchGame(r, 30, 18);
    const std::map<int, int> items = SheetItems(r);
    // Per side: game 1's row, the sums row of every set, set 1's score and the match total.
    std::map<int, int> want;
    for (int side = 0; side < 2; ++side) {
        const int base = 3 + side * 41;
        const std::array<int, 3> game =
            side == 0 ? std::array<int, 3>{12, 6, 18} : std::array<int, 3>{0, 0, 0};
        for (int c = 0; c < 3; ++c) {
            want[base + c] = game[c];     // set 1, game 1
            want[base + 9 + c] = game[c]; // set 1, sums
            want[base + 13 + 9 + c] = 0;  // set 2, sums
            want[base + 26 + 9 + c] = 0;  // set 3, sums
        }
        want[base + 12] = side == 0 ? 18 : 0; // set 1 score
        want[base + 39] = side == 0 ? 18 : 0; // match total
    }
    EXPECT_EQ(items, want);
    EXPECT_EQ(tolka::ScoreSheetResultString(r), 18);
}

TEST(ScoreSheet, AFinishedMatchFillsEveryNumberItem) {
    MatchRecord r{};
    for (int g = 0; g < 9; ++g)
        tolka::ScoreMatchGame(r, 20, 28);
    const std::map<int, int> items = SheetItems(r);
    ASSERT_EQ(items.size(), 80u);
    EXPECT_EQ(items.begin()->first, 3);
    EXPECT_EQ(items.rbegin()->first, 83);
    EXPECT_FALSE(items.contains(43)) << "the label between the sides";
    EXPECT_EQ(items.at(42), 0);
    EXPECT_EQ(items.at(83), 3 * 3 * 16);
    EXPECT_EQ(tolka::ScoreSheetResultString(r), 17);
}

TEST(ScoreSheet, ResultStringFollowsTheTotals) {
    MatchRecord r{};
    EXPECT_EQ(tolka::ScoreSheetResultString(r), 0);
    r.sides[0].total = 5;
    r.sides[1].total = 5;
    EXPECT_EQ(tolka::ScoreSheetResultString(r), 19);
    r.sides[1].total = 6;
    EXPECT_EQ(tolka::ScoreSheetResultString(r), 17);
}

} // namespace
