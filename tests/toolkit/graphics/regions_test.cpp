// The region calls over handles: block sizes follow the records, a destination may be a source, null
// and damaged handles are harmless, and a failed resize leaves the destination as it was.

#include <gtest/gtest.h>

#include <vector>

#include "tests/toolkit/graphics/region_check.h"
#include "toolkit/core/memory.h"
#include "toolkit/graphics/regions.h"

namespace {

using Record = std::vector<std::int16_t>;

Record Words(RgnHandle rgn) {
    const auto words = qiva::RegionWords(rgn);
    return {words.begin(), words.end()};
}

Record Box(RgnHandle rgn) {
    const Record words = Words(rgn);
    return {words.begin() + 1, words.begin() + 5};
}

// A handle holds exactly its record: rgnSize bytes, or 10 for a rectangle.
void ExpectTight(RgnHandle rgn) {
    const Record words = Words(rgn);
    ASSERT_GE(words.size(), 5u);
    EXPECT_EQ(qiva::test::NormalFormFault(words), "");
    EXPECT_EQ(GetHandleSize(reinterpret_cast<Handle>(rgn)), words[0] == 10 ? 10 : Size(words.size() * 2));
}

RgnHandle Rgn(int left, int top, int right, int bottom) {
    RgnHandle rgn = NewRgn();
    SetRectRgn(rgn, left, top, right, bottom);
    return rgn;
}

class RegionCalls : public ::testing::Test {
protected:
    void TearDown() override {
        for (RgnHandle rgn : made_)
            DisposeRgn(rgn);
    }
    RgnHandle Keep(RgnHandle rgn) {
        made_.push_back(rgn);
        return rgn;
    }
    // A square frame 30 wide with a 10-pixel hole.
    RgnHandle Frame() {
        RgnHandle frame = Keep(Rgn(0, 0, 30, 30)), hole = Keep(Rgn(10, 10, 20, 20));
        DiffRgn(frame, hole, frame);
        return frame;
    }
    std::vector<RgnHandle> made_;
};

TEST_F(RegionCalls, NewRgnIsEmptyAndRectangular) {
    RgnHandle rgn = Keep(NewRgn());
    EXPECT_EQ(Words(rgn), (Record{10, 0, 0, 0, 0}));
    EXPECT_TRUE(EmptyRgn(rgn));
    SetRectRgn(rgn, 5, 5, 5, 20);
    EXPECT_EQ(Words(rgn), (Record{10, 0, 0, 0, 0})) << "an empty rectangle gives the empty region";
    const Rect r{1, 2, 3, 4};
    RectRgn(rgn, &r);
    EXPECT_EQ(Words(rgn), (Record{10, 1, 2, 3, 4}));
    EXPECT_FALSE(EmptyRgn(rgn));
}

TEST_F(RegionCalls, DestinationMayBeEitherSource) {
    RgnHandle frame = Frame();
    ExpectTight(frame);
    EXPECT_EQ(Words(frame)[0], 44);

    RgnHandle copy = Keep(NewRgn());
    CopyRgn(frame, copy);
    EXPECT_TRUE(EqualRgn(copy, frame));
    XorRgn(copy, copy, copy);
    EXPECT_EQ(Words(copy), (Record{10, 0, 0, 0, 0}));

    RgnHandle hole = Keep(Rgn(10, 10, 20, 20));
    UnionRgn(hole, frame, hole);
    EXPECT_EQ(Words(hole), (Record{10, 0, 0, 30, 30}));
    ExpectTight(hole);

    RgnHandle side = Keep(Rgn(30, 0, 40, 30));
    UnionRgn(frame, side, side);
    ExpectTight(side);
    SectRgn(side, frame, side);
    EXPECT_TRUE(EqualRgn(side, frame));
}

TEST_F(RegionCalls, OffsetRgnMovesInPlaceAndThroughTheEngineAtTheEdge) {
    RgnHandle frame = Frame();
    OffsetRgn(frame, 100, -50);
    EXPECT_TRUE(PtInRgn(Point{-50, 100}, frame));
    EXPECT_FALSE(PtInRgn(Point{-40, 110}, frame));
    EXPECT_EQ(Box(frame), (Record{-50, 100, -20, 130}));

    // Pushed past the last usable column: what lies beyond is squeezed away, the rest stays exact.
    OffsetRgn(frame, 32650, 0);
    ExpectTight(frame);
    EXPECT_EQ(Box(frame), (Record{-50, 32750, -20, 32766}));
    EXPECT_TRUE(PtInRgn(Point{-35, 32755}, frame));
    EXPECT_FALSE(PtInRgn(Point{-35, 32762}, frame));
    EXPECT_TRUE(PtInRgn(Point{-45, 32765}, frame));
    OffsetRgn(frame, 100, 0);
    EXPECT_EQ(Words(frame), (Record{10, 0, 0, 0, 0}));
}

TEST_F(RegionCalls, PointAndRectangleTests) {
    RgnHandle frame = Frame();
    EXPECT_TRUE(PtInRgn(Point{0, 0}, frame));
    EXPECT_FALSE(PtInRgn(Point{0, 30}, frame)) << "right edge";
    EXPECT_FALSE(PtInRgn(Point{30, 0}, frame)) << "bottom edge";
    EXPECT_FALSE(PtInRgn(Point{15, 15}, frame)) << "the hole";
    const Rect hole{10, 10, 20, 20}, wider{10, 10, 20, 21};
    EXPECT_FALSE(RectInRgn(&hole, frame));
    EXPECT_TRUE(RectInRgn(&wider, frame));
}

TEST_F(RegionCalls, NullAndEmptyHandlesReadAsTheEmptyRegion) {
    RgnHandle frame = Frame();
    RgnHandle out = Keep(NewRgn());
    UnionRgn(nullptr, frame, out);
    EXPECT_TRUE(EqualRgn(out, frame));
    SectRgn(frame, nullptr, out);
    EXPECT_TRUE(EmptyRgn(out));
    EXPECT_TRUE(EmptyRgn(nullptr));
    EXPECT_FALSE(PtInRgn(Point{0, 0}, nullptr));
    UnionRgn(frame, frame, nullptr);
    OffsetRgn(nullptr, 1, 1);
    CopyRgn(frame, nullptr);

    RgnHandle emptied = Keep(NewRgn());
    EmptyHandle(reinterpret_cast<Handle>(emptied));
    EXPECT_TRUE(EmptyRgn(emptied));
    UnionRgn(emptied, frame, out);
    EXPECT_TRUE(EqualRgn(out, frame));
    CopyRgn(frame, emptied);
    EXPECT_TRUE(EqualRgn(emptied, frame)) << "an emptied handle is given data again";
}

TEST_F(RegionCalls, FailedResizeLeavesTheDestinationAsItWas) {
    RgnHandle frame = Frame();
    RgnHandle small = Keep(Rgn(0, 0, 5, 5));
    const std::size_t limit = qiva::HeapLimit();
    qiva::SetHeapLimit(qiva::HeapBytesInUse());
    UnionRgn(frame, small, small);
    const OSErr err = MemError();
    qiva::SetHeapLimit(limit);
    EXPECT_EQ(err, memFullErr);
    EXPECT_EQ(Words(small), (Record{10, 0, 0, 5, 5}));
}

TEST_F(RegionCalls, RegionsLargerThanTheSizeFieldCopyWhole) {
    // A grid of dots: every other row a record of 160 points, over 32766 bytes in all.
    RgnHandle columns = Keep(NewRgn()), rows = Keep(NewRgn()), piece = Keep(NewRgn());
    for (int i = 0; i < 80; ++i) {
        SetRectRgn(piece, 2 * i, 0, 2 * i + 1, 160);
        UnionRgn(columns, piece, columns);
        SetRectRgn(piece, 0, 2 * i, 160, 2 * i + 1);
        UnionRgn(rows, piece, rows);
    }
    SectRgn(columns, rows, piece);
    ASSERT_EQ(Words(piece)[0], qiva::region::kLargeSize);
    ExpectTight(piece);
    RgnHandle copy = Keep(NewRgn());
    CopyRgn(piece, copy);
    EXPECT_EQ(Words(copy), Words(piece));
    EXPECT_TRUE(PtInRgn(Point{158, 158}, copy));
    EXPECT_EQ(qiva::RegionBytes(copy), std::size_t(GetHandleSize(reinterpret_cast<Handle>(copy))));
}

} // namespace
