#include "toolkit/managers/te_styles.h"

#include <gtest/gtest.h>

#include "te_fixture.h"
#include "toolkit/core/error_box.h"

namespace {

using TEStyled = TextEditTest;

std::vector<std::pair<int, int>> Runs(TEHandle te) {
    TEStyleHandle st = TEGetStyleHandle(te);
    std::vector<std::pair<int, int>> runs;
    for (int i = 0; i <= (*st)->nRuns; ++i)
        runs.emplace_back((*st)->runs[i].startChar, i < (*st)->nRuns ? (*st)->runs[i].styleIndex : -1);
    return runs;
}

TEST_F(TEStyled, StylesApplyToRangesAndFollowEdits) {
    const Rect r{10, 10, 110, 230};
    TEHandle te = TEStyleNew(&r, &r);
    ASSERT_NE(te, nullptr);
    EXPECT_EQ((*te)->txSize, -1);
    TEStyleHandle st = TEGetStyleHandle(te);
    ASSERT_NE(st, nullptr);
    EXPECT_EQ((*st)->nRuns, 1);
    EXPECT_EQ((*st)->nStyles, 1);
    const int small = (*te)->lineHeight;

    TESetText("small BIG small", 15, te);
    TESetSelect(6, 9, te);
    TextStyle big{};
    big.tsSize = 24;
    TESetStyle(doSize, &big, true, te);
    EXPECT_EQ(Runs(te), (std::vector<std::pair<int, int>>{{0, 0}, {6, 1}, {9, 0}, {15, -1}}));
    EXPECT_EQ((*st)->nStyles, 2);
    EXPECT_EQ((*(*st)->styleTab)[0].stCount, 2);
    EXPECT_EQ((*(*st)->styleTab)[1].stCount, 1);

    TextStyle got{};
    std::int16_t height = 0, ascent = 0;
    TEGetStyle(7, &got, &height, &ascent, te);
    EXPECT_EQ(got.tsSize, 24);
    EXPECT_GT(height, small) << "the line is as high as its tallest run";
    TEGetStyle(2, &got, nullptr, nullptr, te);
    EXPECT_EQ(got.tsSize, 12);
    // The big run is measured in its size: the line is wider than in one size.
    EXPECT_GT(TextWidth("BIG", 0, 3), 0);

    // Typing inside the run takes its style; removing the run frees its style entry.
    TESetSelect(7, 7, te);
    TEKey('x', te);
    EXPECT_EQ(Runs(te), (std::vector<std::pair<int, int>>{{0, 0}, {6, 1}, {10, 0}, {16, -1}}));
    TESetSelect(6, 10, te);
    TEKey(8, te);
    EXPECT_EQ(Runs(te), (std::vector<std::pair<int, int>>{{0, 0}, {12, -1}}));
    EXPECT_EQ((*st)->nStyles, 1);
    EXPECT_EQ((*(*st)->styleTab)[0].stCount, 1);
    TEGetStyle(3, &got, &height, nullptr, te);
    EXPECT_EQ(height, small);
}

TEST_F(TEStyled, ReplaceStyleChangesOnlyMatchingRuns) {
    const Rect r{10, 10, 110, 230};
    TEHandle te = TEStyleNew(&r, &r);
    TESetText("aaa bbb ccc", 11, te);
    TextStyle boldFace{};
    boldFace.tsFace = bold;
    TESetSelect(4, 7, te);
    TESetStyle(doFace, &boldFace, false, te);
    TextStyle italicFace{};
    italicFace.tsFace = italic;
    TESetSelect(0, 11, te);
    TEReplaceStyle(doFace, &boldFace, &italicFace, true, te);
    TextStyle got{};
    TEGetStyle(5, &got, nullptr, nullptr, te);
    EXPECT_EQ(got.tsFace, italic);
    TEGetStyle(1, &got, nullptr, nullptr, te);
    EXPECT_EQ(got.tsFace, 0);
    TEDispose(te);
    EXPECT_EQ(qiva::TERecordCount(), 0);
}

} // namespace
