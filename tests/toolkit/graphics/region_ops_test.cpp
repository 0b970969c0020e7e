// The region engine on literal records: the layouts it writes, normalisation, the edge rules, and
// damaged input.

#include <gtest/gtest.h>

#include <vector>

#include "tests/toolkit/graphics/region_check.h"
#include "toolkit/graphics/region_ops.h"

namespace {

using namespace qiva::region;
using Record = std::vector<std::int16_t>;
constexpr std::int16_t E = kEnd;

Record Rect(std::int16_t top, std::int16_t left, std::int16_t bottom, std::int16_t right) {
    Record r;
    MakeRect(r, top, left, bottom, right);
    return r;
}

// A complex record from its scanline data; size and box are filled in from the data.
Record Complex(std::vector<std::int16_t> data) {
    Record r{0, 0, 0, 0, 0};
    r.insert(r.end(), data.begin(), data.end());
    r[0] = SizeField(r.size());
    std::int16_t top = E, bottom = 0, left = E, right = -E;
    for (std::size_t pos = kHeaderWords; r[pos] != E; ++pos) {
        top = std::min(top, r[pos]);
        bottom = r[pos];
        left = std::min(left, r[pos + 1]);
        while (r[pos + 1] != E)
            ++pos;
        right = std::max(right, r[pos]);
        ++pos;
    }
    r[1] = top, r[2] = left, r[3] = bottom, r[4] = right;
    return r;
}

Record Apply(Op op, const Record& a, const Record& b) {
    Engine engine;
    Record out;
    engine.Combine(op, a, b, out);
    EXPECT_EQ(qiva::test::NormalFormFault(out), "");
    return out;
}

const Record kEmpty{kRectSize, 0, 0, 0, 0};

struct SetCase {
    const char* name;
    Op op;
    Record a, b, expected;
};

TEST(RegionOps, SetOperationsWriteTheClassicLayout) {
    const Record square = Rect(0, 0, 10, 10);
    const Record shifted = Rect(5, 5, 15, 15);
    const Record big = Rect(0, 0, 30, 30);
    const Record hole = Rect(10, 10, 20, 20);
    const Record frame = Complex({0, 0, 30, E, 10, 10, 20, E, 20, 10, 20, E, 30, 0, 30, E, E});
    const SetCase cases[] = {
        {"overlapping union", Op::Union, square, shifted,
         Complex({0, 0, 10, E, 5, 10, 15, E, 10, 0, 5, E, 15, 5, 15, E, E})},
        {"overlapping intersection", Op::Sect, square, shifted, Rect(5, 5, 10, 10)},
        {"overlapping difference", Op::Diff, square, shifted,
         Complex({0, 0, 10, E, 5, 5, 10, E, 10, 0, 5, E, E})},
        {"overlapping exclusive or", Op::Xor, square, shifted,
         Complex({0, 0, 10, E, 5, 5, 15, E, 10, 0, 10, E, 15, 5, 15, E, E})},
        {"side by side, sharing an edge", Op::Union, square, Rect(0, 10, 10, 20), Rect(0, 0, 10, 20)},
        {"stacked, sharing an edge", Op::Union, square, Rect(10, 0, 20, 10), Rect(0, 0, 20, 10)},
        {"touching at a corner", Op::Union, square, Rect(10, 10, 20, 20),
         Complex({0, 0, 10, E, 10, 0, 20, E, 20, 10, 20, E, E})},
        {"disjoint intersection", Op::Sect, square, Rect(20, 20, 30, 30), kEmpty},
        {"touching intersection", Op::Sect, square, Rect(0, 10, 10, 20), kEmpty},
        {"a hole", Op::Diff, big, hole, frame},
        {"the hole filled again", Op::Union, frame, hole, big},
        {"the frame's inside", Op::Sect, frame, Rect(5, 5, 25, 25),
         Complex({5, 5, 25, E, 10, 10, 20, E, 20, 10, 20, E, 25, 5, 25, E, E})},
        {"a rectangle out of a complex region", Op::Sect, frame, Rect(0, 0, 10, 30), Rect(0, 0, 10, 30)},
        {"exclusive or with itself", Op::Xor, frame, frame, kEmpty},
        {"difference with itself", Op::Diff, frame, frame, kEmpty},
        {"empty operand of a union", Op::Union, kEmpty, frame, frame},
        {"empty operand of an intersection", Op::Sect, frame, kEmpty, kEmpty},
        {"inverted rectangle is empty", Op::Union, Rect(10, 10, 0, 0), kEmpty, kEmpty},
    };
    for (const SetCase& c : cases)
        EXPECT_EQ(Apply(c.op, c.a, c.b), c.expected) << c.name;
}

TEST(RegionOps, EdgesAtTheEndOfTheCoordinateRangeStayClearOfTheEndMarker) {
    // 32767 and -32768 in a box are read as 32766 and -32767 so that no row or point equals the marker.
    const Record wide{kRectSize, -32768, -32768, 32767, 32767};
    EXPECT_EQ(Apply(Op::Union, wide, Rect(0, 0, 10, 10)), Rect(-32767, -32767, 32766, 32766));
    EXPECT_EQ(Apply(Op::Sect, wide, Rect(0, 0, 10, 10)), Rect(0, 0, 10, 10));
    EXPECT_EQ(Apply(Op::Diff, wide, Rect(-32768, -32768, 32767, 32767)), kEmpty);
    EXPECT_EQ(Apply(Op::Diff, wide, Rect(0, 0, 10, 10)),
              Complex({-32767, -32767, 32766, E, 0, 0, 10, E, 10, 0, 10, E, 32766, -32767, 32766, E, E}));
}

TEST(RegionOps, BandsOfManyNarrowStripesStayExact) {
    // 300 one-pixel stripes, far beyond 49 intervals per band, cut by a rectangle across their middle.
    Engine engine;
    Record stripes = kEmpty, next;
    for (std::int16_t i = 0; i < 300; ++i) {
        engine.Combine(Op::Union, stripes, Rect(0, std::int16_t(2 * i), 100, std::int16_t(2 * i + 1)), next);
        stripes.swap(next);
    }
    ASSERT_EQ(qiva::test::NormalFormFault(stripes), "");
    EXPECT_EQ(stripes.size(), kHeaderWords + 2 * (1 + 600 + 1) + 1);
    EXPECT_EQ((Record{stripes.begin() + 1, stripes.begin() + 5}), (Record{0, 0, 100, 599}));

    engine.Combine(Op::Diff, stripes, Rect(40, 0, 60, 600), next);
    ASSERT_EQ(qiva::test::NormalFormFault(next), "");
    EXPECT_EQ(next.size(), kHeaderWords + 4 * (1 + 600 + 1) + 1);
    for (std::int16_t h = 590; h < 600; ++h) {
        EXPECT_EQ(engine.PtIn(next, 39, h), h % 2 == 0) << h;
        EXPECT_FALSE(engine.PtIn(next, 40, h)) << h;
        EXPECT_EQ(engine.PtIn(next, 60, h), h % 2 == 0) << h;
    }
    Record cut;
    engine.Combine(Op::Sect, next, Rect(0, 595, 100, 598), cut);
    EXPECT_EQ(cut, Complex({0, 596, 597, E, 40, 596, 597, E, 60, 596, 597, E, 100, 596, 597, E, E}));
    Record back;
    engine.Combine(Op::Xor, next, stripes, back);
    engine.Combine(Op::Xor, back, stripes, cut);
    EXPECT_EQ(cut, next);
}

TEST(RegionOps, RecordsLargerThanSixteenBitsCanCountAreMarked) {
    // Columns meeting rows: a grid of dots whose every row is a record of 140 points.
    Engine engine;
    Record columns = kEmpty, rows = kEmpty, next;
    for (std::int16_t i = 0; i < 70; ++i) {
        engine.Combine(Op::Union, columns, Rect(0, std::int16_t(2 * i), 140, std::int16_t(2 * i + 1)), next);
        columns.swap(next);
        engine.Combine(Op::Union, rows, Rect(std::int16_t(2 * i), 0, std::int16_t(2 * i + 1), 140), next);
        rows.swap(next);
    }
    Record board;
    engine.Combine(Op::Sect, columns, rows, board);
    ASSERT_GT(board.size() * 2, 32766u);
    EXPECT_EQ(board[0], kLargeSize);
    EXPECT_EQ(qiva::test::NormalFormFault(board), "");
    EXPECT_EQ(WordCount(board), board.size());
    EXPECT_TRUE(engine.PtIn(board, 0, 0));
    EXPECT_FALSE(engine.PtIn(board, 0, 1));
    EXPECT_FALSE(engine.PtIn(board, 1, 0));
    EXPECT_TRUE(engine.PtIn(board, 138, 138));
    Record rest;
    engine.Combine(Op::Diff, columns, board, rest);
    engine.Combine(Op::Union, rest, board, next);
    EXPECT_EQ(next, columns);
}

TEST(RegionOps, PointsOnTheRightAndBottomEdgesAreOutside) {
    Engine engine;
    const Record square = Rect(0, 0, 10, 10);
    const Record frame = Complex({0, 0, 30, E, 10, 10, 20, E, 20, 10, 20, E, 30, 0, 30, E, E});
    struct {
        const Record& rgn;
        std::int16_t v, h;
        bool in;
    } cases[] = {
        {square, 0, 0, true},   {square, 9, 9, true},   {square, 0, 10, false}, {square, 10, 0, false},
        {square, -1, 5, false}, {frame, 0, 29, true},   {frame, 29, 0, true},   {frame, 0, 30, false},
        {frame, 30, 0, false},  {frame, 10, 10, false}, {frame, 19, 19, false}, {frame, 10, 9, true},
        {frame, 10, 20, true},  {frame, 20, 10, true},  {frame, 9, 10, true},   {kEmpty, 0, 0, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(engine.PtIn(c.rgn, c.v, c.h), c.in) << c.v << "," << c.h;
}

TEST(RegionOps, RectInRgnSeesOnlyPixelsActuallyCovered) {
    Engine engine;
    const Record frame = Complex({0, 0, 30, E, 10, 10, 20, E, 20, 10, 20, E, 30, 0, 30, E, E});
    struct {
        std::int16_t top, left, bottom, right;
        bool in;
    } cases[] = {
        {10, 10, 20, 20, false}, // the hole
        {12, 12, 15, 15, false}, //
        {9, 10, 20, 20, true},   // one row of the frame above the hole
        {10, 10, 20, 21, true},  // one column to its right
        {30, 0, 40, 30, false},  // below, touching the bottom edge
        {-5, -5, 0, 40, false},  // above, touching the top
        {5, 5, 5, 25, false},    // empty
        {-100, -100, 100, 100, true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(engine.RectIn(frame, c.top, c.left, c.bottom, c.right), c.in)
            << c.top << "," << c.left << "," << c.bottom << "," << c.right;
    EXPECT_TRUE(engine.RectIn(Rect(0, 0, 10, 10), 9, 9, 20, 20));
    EXPECT_FALSE(engine.RectIn(Rect(0, 0, 10, 10), 10, 0, 20, 10));
}

TEST(RegionOps, OffsetMovesRecordsAndKeepsFarEdgesOfRectangles) {
    Engine engine;
    Record out;
    const Record frame = Complex({0, 0, 30, E, 10, 10, 20, E, 20, 10, 20, E, 30, 0, 30, E, E});
    engine.Offset(frame, 5, -7, out);
    EXPECT_EQ(out, Complex({-7, 5, 35, E, 3, 15, 25, E, 13, 15, 25, E, 23, 5, 35, E, E}));
    Record inPlace = frame;
    ASSERT_TRUE(OffsetInPlace(inPlace, 5, -7));
    EXPECT_EQ(inPlace, out);

    // The wide-open rectangle never moves; an edge at or beyond ±32000 stays, the others move.
    const Record wide{kRectSize, -32767, -32767, 32767, 32767};
    engine.Offset(wide, 100, -100, out);
    EXPECT_EQ(out, wide);
    engine.Offset(Rect(-32000, 0, 100, 32000), 10, 10, out);
    EXPECT_EQ(out, Rect(-32000, 10, 110, 32000));
    engine.Offset(Rect(0, 0, 10, 31990), 1000, 32000, out);
    EXPECT_EQ(out, Rect(32000, 1000, 32010, 32767)) << "saturates instead of wrapping";
    engine.Offset(kEmpty, 100, 100, out);
    EXPECT_EQ(out, kEmpty) << "the empty region stays the empty region";
    engine.Offset(Rect(32700, 0, 32750, 10), 0, 100, out);
    EXPECT_EQ(out, kEmpty) << "a box pushed past its far edge is empty";

    // A complex region pushed against the edge of the range is squeezed there, not wrapped round.
    Record edge = Complex({0, 0, 10, 20, 30, E, 10, 0, 10, 20, 30, E, E});
    EXPECT_FALSE(OffsetInPlace(edge, 32750, 0));
    EXPECT_EQ(edge, Complex({0, 0, 10, 20, 30, E, 10, 0, 10, 20, 30, E, E})) << "left as it was";
    engine.Offset(edge, 32740, 0, out);
    EXPECT_EQ(out, Complex({0, 32740, 32750, 32760, 32766, E, 10, 32740, 32750, 32760, 32766, E, E}));
    engine.Offset(edge, 32750, 0, out);
    EXPECT_EQ(out, Rect(0, 32750, 10, 32760));
    engine.Offset(edge, 32766, 0, out);
    EXPECT_EQ(out, kEmpty);
}

TEST(RegionOps, BandsComeOutTopToBottomWithTheirIntervals) {
    Engine engine;
    const Record frame = Complex({0, 0, 30, E, 10, 10, 20, E, 20, 10, 20, E, 30, 0, 30, E, E});
    std::vector<Record> bands;
    engine.ForEachBand(frame,
                       [&](std::int16_t top, std::int16_t bottom, std::span<const std::int16_t> points) {
                           Record band{top, bottom};
                           band.insert(band.end(), points.begin(), points.end());
                           bands.push_back(band);
                       });
    EXPECT_EQ(bands, (std::vector<Record>{{0, 10, 0, 30}, {10, 20, 0, 10, 20, 30}, {20, 30, 0, 30}}));
    bands.clear();
    const Record gap = Apply(Op::Union, Rect(0, 0, 10, 10), Rect(20, 0, 30, 10));
    engine.ForEachBand(gap, [&](std::int16_t top, std::int16_t bottom, std::span<const std::int16_t>) {
        bands.push_back({top, bottom});
    });
    EXPECT_EQ(bands, (std::vector<Record>{{0, 10}, {20, 30}})) << "no band for the empty rows between";
}

TEST(RegionOps, DamagedRecordsGiveBoundedWellFormedResults) {
    // Records as a corrupt file might hold them: unsorted or duplicated points, rows going back up, a
    // band left open, the end markers missing. None may be read past; each result is in normal form.
    const std::vector<Record> damaged = {
        {100, 0, 0, 10, 10, 0, 10, 0, E, 10, 0, 10, E, E},               // points out of order
        {100, 0, 0, 10, 10, 0, 0, 10, 10, 0, 10, E, 10, 0, 10, E, E},    // a pair given twice
        {100, 0, 0, 10, 10, 10, 0, 10, E, 0, 0, 10, E, E},               // rows going back up
        {100, 0, 0, 10, 10, 0, 0, 10, E, E},                             // never closed
        {100, 0, 0, 10, 10, 0, 0, 10, E, 5, 3},                          // cut short
        {100, 0, 0, 10, 10, 0, 0, 10},                                   // no terminators at all
        {100, 0, 0, 10, 10, 0, 0, 7, 10, E, 10, 0, 10, E, E},            // an odd record
        {100, 0, 0, 10, 10, -32768, -32768, 32767, E, 20, -32768, E, E}, // the marker as a coordinate
        {100, 0, 0, 10, 10},                                             // header only
        {-4, 0, 0, 10, 10, 0, 0, 10, E, 10, 0, 10, E, E},                // a negative size
    };
    Engine engine;
    for (std::size_t i = 0; i < damaged.size(); ++i) {
        const Record& rgn = damaged[i];
        Record out;
        for (Op op : {Op::Sect, Op::Union, Op::Diff, Op::Xor}) {
            engine.Combine(op, rgn, Rect(2, 2, 8, 8), out);
            EXPECT_EQ(qiva::test::NormalFormFault(out), "") << "case " << i;
        }
        engine.Normalise(rgn, out);
        EXPECT_EQ(qiva::test::NormalFormFault(out), "") << "case " << i;
        engine.Offset(rgn, 3, 3, out);
        EXPECT_EQ(qiva::test::NormalFormFault(out), "") << "case " << i;
        engine.PtIn(rgn, 5, 5);
        engine.RectIn(rgn, 0, 0, 20, 20);
        engine.ForEachBand(rgn, [](std::int16_t, std::int16_t, std::span<const std::int16_t>) {});
        EXPECT_LE(WordCount(rgn), rgn.size());
    }
    Record out;
    engine.Normalise(damaged[0], out);
    EXPECT_EQ(out, Rect(0, 0, 10, 10));
    engine.Normalise(damaged[3], out);
    EXPECT_EQ(out, Rect(0, 0, 32766, 10)) << "an open band runs to the last usable row";
}

} // namespace
