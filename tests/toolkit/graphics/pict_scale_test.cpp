#include <gtest/gtest.h>

#include <vector>

#include "tests/toolkit/graphics/region_check.h"
#include "toolkit/graphics/pict_scale.h"

namespace {

using namespace qiva::pict;
using Words = std::vector<std::int16_t>;

TEST(PictScale, MapsLengthsAndPointsTruncatingTowardZero) {
    const Scaler twice({10, 20, 60, 120}, {0, 0, 100, 200}); // frame 100 x 50 onto 200 x 100
    EXPECT_EQ(twice.Width(7), 14);
    EXPECT_EQ(twice.Height(-3), -6);
    EXPECT_EQ(twice.MapPoint({10, 20}), (Point16{0, 0}));
    EXPECT_EQ(twice.MapRect({15, 25, 60, 120}), (Rect16{10, 10, 100, 200}));

    const Scaler third({0, 0, 30, 30}, {5, 5, 15, 15});
    EXPECT_EQ(third.Width(4), 1);   // 4/3 truncated
    EXPECT_EQ(third.Width(-4), -1); // toward zero, not down
    EXPECT_EQ(third.MapPoint({-4, 29}), (Point16{4, 14}));
    EXPECT_FALSE(third.Identity());
    EXPECT_TRUE(Scaler({0, 0, 9, 9}, {3, 3, 12, 12}).Identity());

    // Far outside the 16-bit range the result stops at its edge instead of wrapping.
    const Scaler huge({0, 0, 1, 1}, {0, 0, 30000, 30000});
    EXPECT_EQ(huge.MapH(30000), 32767);
    EXPECT_EQ(huge.Height(-30000), -32768);
}

TEST(PictScale, PenAndTextSizes) {
    const Scaler twice({0, 0, 50, 50}, {0, 0, 100, 100});
    const Scaler half({0, 0, 50, 50}, {0, 0, 25, 25});
    const Scaler wide({0, 0, 50, 50}, {0, 0, 25, 150}); // half height, three times the width
    EXPECT_EQ(twice.PenSize({2, 3}), (Point16{4, 6}));
    EXPECT_EQ(half.PenSize({1, 1}), (Point16{1, 1})); // scaled to 0, raised to 1
    EXPECT_EQ(half.PenSize({1, 4}), (Point16{1, 2}));
    EXPECT_EQ(half.PenSize({0, 4}), (Point16{0, 4})); // a zero component: unscaled
    EXPECT_EQ(twice.TextSize(0), 24);                 // 0 is 12
    EXPECT_EQ(twice.TextSize(9), 18);
    EXPECT_EQ(wide.TextSize(12), 6); // the smaller of the two scalings
    EXPECT_EQ(half.TextSize(1), 1);
    EXPECT_EQ(twice.SpaceExtra(0x00018000), 0x00030000);
}

TEST(PictScale, OpenEndedRegionsStayOpenEnded) {
    const Scaler twice({0, 0, 50, 50}, {10, 10, 110, 110});
    qiva::region::Engine engine;
    Words out;
    twice.MapRegion(Words{10, -32767, -32767, 32767, 32767}, out, engine);
    EXPECT_EQ(out, (Words{10, -32767, -32767, 32767, 32767}));
    twice.MapRegion(Words{10, -30000, 5, 20, 30000}, out, engine);
    EXPECT_EQ(out, (Words{10, -30000, 20, 50, 30000}));
}

TEST(PictScale, MapsComplexRegionsScanlineByScanline) {
    // An L: rows 0-4 cover h 0-10, rows 4-8 h 0-4; drawn at twice its size from (100, 100).
    const Words l = {28, 0, 0, 8, 10, 0, 0, 10, 32767, 4, 4, 10, 32767, 8, 0, 4, 32767, 32767};
    const Scaler twice({0, 0, 50, 50}, {100, 100, 200, 200});
    qiva::region::Engine engine;
    Words out;
    twice.MapRegion(l, out, engine);
    qiva::test::Bitmap expected(100, 100, 24, 20);
    expected.Fill(100, 100, 120, 108);
    expected.Fill(100, 108, 108, 116);
    EXPECT_EQ(qiva::test::Rasterise(out, 100, 100, 24, 20), expected);
    EXPECT_EQ(out[1], 100);
    EXPECT_EQ(out[4], 120);

    // Shrunk to nothing, every edge cancels and the result is the empty region.
    const Scaler tiny({0, 0, 50, 50}, {0, 0, 5, 5});
    tiny.MapRegion(l, out, engine);
    EXPECT_EQ(out, (Words{10, 0, 0, 0, 0}));
}

TEST(PictScale, MapsEveryPointOfAPolygon) {
    const Scaler twice({0, 0, 50, 50}, {10, 20, 110, 120});
    Words out;
    twice.MapPolygon(Words{18, 1, 2, 5, 6, 1, 2, 5, 6}, out);
    EXPECT_EQ(out, (Words{18, 12, 24, 20, 32, 12, 24, 20, 32}));
}

} // namespace
