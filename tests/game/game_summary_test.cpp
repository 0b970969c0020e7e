#include <gtest/gtest.h>

#include <map>

#include "game/game_summary.h"

namespace {

TEST(GameSummary, CountsAndResultFromTheFinalPosition) {
    struct Case {
        int store0, store1, rest0, rest1;
        std::array<std::int16_t, 6> counts;
        int result;
    };
    const Case cases[] = {
        {30, 18, 4, 0, {26, 4, 30, 18, 0, 18}, 18},
        {18, 30, 0, 7, {18, 0, 18, 23, 7, 30}, 17},
        {24, 24, 0, 0, {24, 0, 24, 24, 0, 24}, 19},
        {48, 0, 48, 0, {0, 48, 48, 0, 0, 0}, 18},
    };
    for (const Case& c : cases) {
        tolka::Board board;
        board.stores = {static_cast<std::uint8_t>(c.store0), static_cast<std::uint8_t>(c.store1)};
        EXPECT_EQ(tolka::SummaryCounts(board, c.rest0, c.rest1), c.counts);
        EXPECT_EQ(tolka::SummaryResultString(board), c.result);
    }
}

TEST(GameSummary, SeedRowsWrapAtTheItemsRightEdge) {
    const Rect item{100, 20, 150, 100}; // 80 pixels wide
    EXPECT_TRUE(tolka::SeedRowSquares(item, 0).empty());
    EXPECT_TRUE(tolka::SeedRowSquares(item, -3).empty());

    // 48 seeds: four rows of ten and one of eight, 9 pixels apart, squares touching.
    const std::vector<Rect> squares = tolka::SeedRowSquares(item, 48);
    ASSERT_EQ(squares.size(), 48u);
    std::map<int, int> perRow;
    for (std::size_t i = 0; i < squares.size(); ++i) {
        const Rect& r = squares[i];
        EXPECT_EQ(r.right - r.left, 8);
        EXPECT_EQ(r.bottom - r.top, 8);
        EXPECT_GE(r.left, item.left);
        EXPECT_LE(r.right, item.right);
        EXPECT_EQ(r.left, item.left + static_cast<int>(i % 10) * 8);
        ++perRow[r.top];
    }
    EXPECT_EQ(perRow, (std::map<int, int>{{100, 10}, {109, 10}, {118, 10}, {127, 10}, {136, 8}}));

    // An item narrower than a seed still shows every seed, one a row.
    const std::vector<Rect> narrow = tolka::SeedRowSquares(Rect{0, 0, 20, 5}, 3);
    ASSERT_EQ(narrow.size(), 3u);
    EXPECT_EQ(narrow[2].top, 18);
    EXPECT_EQ(narrow[2].left, 0);
}

} // namespace
