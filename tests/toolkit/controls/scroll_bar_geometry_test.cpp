// The scroll bar's arithmetic: thumb places and values, part rectangles, the hit order, the drag
// limits and the value a drag gives.

#include <gtest/gtest.h>

#include "toolkit/controls/scroll_bar_geometry.h"

namespace {

using namespace qiva::scroll;

Rect R(int left, int top, int right, int bottom) {
    return Rect{static_cast<std::int16_t>(top), static_cast<std::int16_t>(left),
                static_cast<std::int16_t>(bottom), static_cast<std::int16_t>(right)};
}
Point P(int h, int v) {
    return Point{static_cast<std::int16_t>(v), static_cast<std::int16_t>(h)};
}
void ExpectRect(const Rect& got, const Rect& want, const char* what) {
    EXPECT_TRUE(got.left == want.left && got.top == want.top && got.right == want.right &&
                got.bottom == want.bottom)
        << what << ": (" << got.left << ", " << got.top << ", " << got.right << ", " << got.bottom
        << ") instead of (" << want.left << ", " << want.top << ", " << want.right << ", " << want.bottom
        << ")";
}

TEST(ScrollBarArithmetic, PosFromValue) {
    struct Case {
        int value, n, min, max, pos;
    } cases[] = {
        {0, 54, 0, 9, 0},
        {5, 54, 0, 9, 30},
        {9, 54, 0, 9, 53}, // the last place is n − 1
        {-5, 54, 0, 9, 0},
        {20, 54, 0, 9, 53},
        {7, 54, 7, 7, 0}, // outside the range, empty range
        {15, 100, 10, 20, 50},
        {-32768, 1000, -32768, 32767, 0},
        {32767, 1000, -32768, 32767, 999},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PosFromValue(c.value, c.n, c.min, c.max), c.pos) << c.value << " on " << c.n;
}

TEST(ScrollBarArithmetic, ValueFromPosRoundsToTheNearestValue) {
    struct Case {
        int pos, n, min, max, value;
    } cases[] = {
        {10, 52, 0, 9, 2},
        {26, 52, 0, 9, 5},
        {0, 52, 10, 20, 10},
        {51, 52, 10, 20, 20},
        {52, 52, 0, 9, 9},
        {-40, 52, 0, 9, 0},
        {3, 0, 5, 9, 5}, // no track: the minimum
        {999, 1000, -32768, 32767, 32702},
        {0, 1000, -32768, 32767, -32768},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ValueFromPos(c.pos, c.n, c.min, c.max), c.value) << c.pos << " on " << c.n;
}

TEST(ScrollBarGeometry, PartsOfVerticalAndHorizontalBars) {
    // A 16 × 100 vertical bar: a track of 54 places for drawing.
    Parts v = BarParts(R(10, 20, 26, 120), 0, 0, 9);
    ExpectRect(v.upArrow, R(10, 20, 26, 36), "up");
    ExpectRect(v.downArrow, R(10, 104, 26, 120), "down");
    ExpectRect(v.thumb, R(11, 36, 25, 52), "thumb at 0");
    ExpectRect(v.pageUp, R(11, 37, 25, 35), "page up at 0");
    ExpectRect(v.pageDown, R(11, 53, 25, 103), "page down at 0");
    v = BarParts(R(10, 20, 26, 120), 9, 0, 9);
    ExpectRect(v.thumb, R(11, 89, 25, 105), "thumb at max");
    ExpectRect(v.pageUp, R(11, 37, 25, 88), "page up at max");
    v = BarParts(R(10, 20, 26, 120), 4, 4, 4);
    ExpectRect(v.thumb, R(11, 36, 25, 52), "thumb of an empty range");

    const Parts h = BarParts(R(0, 0, 100, 16), 5, 0, 10);
    ExpectRect(h.upArrow, R(0, 0, 16, 16), "left");
    ExpectRect(h.downArrow, R(84, 0, 100, 16), "right");
    ExpectRect(h.thumb, R(43, 1, 59, 15), "thumb");
    ExpectRect(h.pageUp, R(16, 1, 42, 15), "page left");
    ExpectRect(h.pageDown, R(60, 1, 84, 15), "page right");
    EXPECT_TRUE(IsVertical(R(0, 0, 16, 16)));
    EXPECT_FALSE(IsVertical(R(0, 0, 17, 16)));
}

TEST(ScrollBarGeometry, HitOrderAndInactiveBars) {
    const Rect bar = R(10, 20, 26, 120); // value 5 of 0..9: thumb from 66 to 82
    struct Case {
        int h, v, hilite, min, max, part;
    } cases[] = {
        {12, 25, 0, 0, 9, inUpButton},
        {10, 20, 0, 0, 9, inUpButton}, // the arrows take the frame
        {12, 110, 0, 0, 9, inDownButton},
        {25, 119, 0, 0, 9, inDownButton},
        {12, 70, 0, 0, 9, inThumb},
        {12, 66, 0, 0, 9, inThumb},
        {12, 81, 0, 0, 9, inThumb},
        {12, 50, 0, 0, 9, inPageUp},
        {12, 37, 0, 0, 9, inPageUp},
        {12, 90, 0, 0, 9, inPageDown},
        {12, 36, 0, 0, 9, 0},
        {12, 65, 0, 0, 9, 0},
        {12, 82, 0, 0, 9, 0}, // gaps
        {10, 50, 0, 0, 9, 0},
        {26, 50, 0, 0, 9, 0},
        {12, 120, 0, 0, 9, 0}, // outside
        {12, 70, 20, 0, 9, inThumb},
        {12, 70, 253, 0, 9, inThumb}, // shown pressed: still active
        {12, 25, 254, 0, 9, 0},
        {12, 70, 255, 0, 9, 0}, // inactive
        {12, 25, 0, 5, 5, 0},
        {12, 40, 0, 5, 5, 0},
        {12, 110, 0, 5, 5, 0}, // min = max
    };
    for (const Case& c : cases)
        EXPECT_EQ(HitPart(bar, 5, c.min, c.max, c.hilite, P(c.h, c.v)), c.part)
            << "(" << c.h << ", " << c.v << ") hilite " << c.hilite;
}

TEST(ScrollBarGeometry, ThumbDragLimitsKeepTheThumbBetweenTheArrows) {
    // Vertical: grabbed 4 pixels right of and below the thumb's corner; the thumb's top may go
    // from 36 (under the up arrow) to 88 (its bottom on the down arrow).
    ThumbDragRecord d = ThumbLimits(R(10, 20, 26, 120), 0, 0, 9, P(15, 40));
    ExpectRect(d.limitRect, R(15, 40, 16, 93), "vertical limit");
    ExpectRect(d.slopRect, R(-22, -100, 58, 240), "vertical slop");
    EXPECT_EQ(d.axis, vAxisOnly);
    d = ThumbLimits(R(10, 20, 26, 120), 9, 0, 9, P(12, 100)); // from the thumb at max (top 89)
    ExpectRect(d.limitRect, R(12, 47, 13, 100), "vertical limit from max");

    d = ThumbLimits(R(0, 0, 100, 16), 5, 0, 10, P(50, 8)); // thumb at 43: grabbed 7 in
    ExpectRect(d.limitRect, R(23, 8, 76, 9), "horizontal limit");
    ExpectRect(d.slopRect, R(-120, -32, 220, 48), "horizontal slop");
    EXPECT_EQ(d.axis, hAxisOnly);
}

TEST(ScrollBarGeometry, DraggedValue) {
    struct Case {
        Rect bar;
        int value, min, max, dh, dv, result;
    } cases[] = {
        {R(0, 0, 16, 100), 0, 0, 9, 0, 10, 2},        // 52 drag places: (52 + 200) / 104
        {R(0, 0, 16, 100), 0, 0, 9, 50, 0, 0},        // a vertical bar ignores horizontal moves
        {R(0, 0, 16, 100), 4, 0, 9, 0, 0, 4},         // no move, no change
        {R(0, 0, 16, 100), 15, 10, 20, 0, -1000, 10}, // to the top
        {R(0, 0, 16, 100), 15, 10, 20, 0, 1000, 20},  // to the bottom
        {R(0, 0, 100, 16), 0, 0, 9, 1000, 0, 9},      // horizontal: up to n, still the maximum
        {R(0, 0, 100, 16), 9, 0, 9, -1000, 0, 0},     {R(0, 0, 100, 16), 3, 0, 9, 0, 30, 3},
        {R(0, 0, 16, 100), 6, 6, 6, 0, 30, 6}, // an empty range stays put
        {R(0, 0, 16, 30), 1, 0, 9, 0, 5, 0},   // a bar too short for a track
    };
    for (const Case& c : cases)
        EXPECT_EQ(DraggedValue(c.bar, c.value, c.min, c.max, c.dh, c.dv), c.result)
            << c.value << " moved by " << c.dh << ", " << c.dv;
}

} // namespace
