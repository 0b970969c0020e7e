#include <gtest/gtest.h>

#include "toolkit/graphics/rect_utils.h"

namespace {

Rect R(int left, int top, int right, int bottom) {
    Rect r;
    SetRect(&r, left, top, right, bottom);
    return r;
}

void ExpectRect(const Rect& r, int left, int top, int right, int bottom) {
    EXPECT_EQ(r.left, left);
    EXPECT_EQ(r.top, top);
    EXPECT_EQ(r.right, right);
    EXPECT_EQ(r.bottom, bottom);
}

TEST(OffsetRect, EdgesAtThirtyTwoThousandStay) {
    struct Case {
        Rect r;
        int dh, dv;
        Rect want;
    };
    const Case cases[] = {
        {R(-32767, -32767, 32767, 32767), 500, -500, R(-32767, -32767, 32767, 32767)},
        {R(-32000, -32000, 32000, 32000), 1, 1, R(-32000, -32000, 32000, 32000)},
        {R(-31999, 10, 31999, 20), -5, 5, R(-32004, 15, 31994, 25)},
        {R(10, 10, 20, 20), 3, -4, R(13, 6, 23, 16)},
        {R(0, 0, 31999, 10), 0, 0, R(0, 0, 31999, 10)},
        {R(0, 0, 31999, 10), 1000, 0, R(1000, 0, 32767, 10)}, // saturates instead of wrapping
    };
    for (const Case& c : cases) {
        Rect r = c.r;
        OffsetRect(&r, c.dh, c.dv);
        EXPECT_TRUE(EqualRect(&r, &c.want)) << c.r.left << "," << c.r.top << " by " << c.dh << "," << c.dv;
    }
}

TEST(SectRect, TouchingMeetsApartDoesNot) {
    Rect a = R(0, 0, 10, 10), dst = R(1, 2, 3, 4);
    Rect touching = R(10, 0, 20, 10);
    EXPECT_TRUE(SectRect(&a, &touching, &dst));
    EXPECT_TRUE(EmptyRect(&dst));
    ExpectRect(dst, 10, 0, 10, 10);

    Rect apart = R(11, 0, 20, 10);
    EXPECT_FALSE(SectRect(&a, &apart, &dst));
    ExpectRect(dst, 0, 0, 0, 0);

    Rect overlap = R(5, -5, 15, 5);
    EXPECT_TRUE(SectRect(&a, &overlap, &a)); // the destination may be a source
    ExpectRect(a, 5, 0, 10, 5);
}

TEST(UnionRect, EmptyOperandGivesTheOther) {
    Rect a = R(5, 5, 5, 20), b = R(1, 2, 3, 4), c = R(10, 10, 20, 30), dst;
    UnionRect(&a, &b, &dst);
    ExpectRect(dst, 1, 2, 3, 4);
    UnionRect(&b, &a, &dst);
    ExpectRect(dst, 1, 2, 3, 4);
    UnionRect(&b, &c, &dst);
    ExpectRect(dst, 1, 2, 20, 30);
}

TEST(Pt2Rect, BothPointsInside) {
    Rect r;
    Pt2Rect(Point{5, 5}, Point{1, 1}, &r);
    ExpectRect(r, 1, 1, 6, 6);
    EXPECT_TRUE(PtInRect(Point{5, 5}, &r));
    EXPECT_TRUE(PtInRect(Point{1, 1}, &r));
    EXPECT_FALSE(PtInRect(Point{6, 5}, &r)); // right and bottom are outside
}

TEST(InsetRect, InvertedResultIsKept) {
    Rect r = R(0, 0, 10, 10);
    InsetRect(&r, 6, 2);
    ExpectRect(r, 6, 2, 4, 8);
    EXPECT_TRUE(EmptyRect(&r));
}

} // namespace
