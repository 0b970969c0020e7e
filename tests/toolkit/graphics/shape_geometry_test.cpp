// The curved shapes' pixels: symmetric about the centre in both axes, touching their rectangle's
// sides, outlines that are closed and inside the fill, the corner loop's radii, arcs by angle.

#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "toolkit/graphics/shape_geometry.h"

namespace {

using namespace qiva::shapes;

// Checks that hold for every filled shape of a width × height rectangle at (left, top).
void ExpectSymmetricAndTouching(const std::vector<Span>& spans, int left, int width, int height) {
    ASSERT_EQ(spans.size(), std::size_t(height));
    int minLeft = INT32_MAX, maxRight = INT32_MIN;
    for (int i = 0; i < height; ++i) {
        const Span s = spans[std::size_t(i)], mirror = spans[std::size_t(height - 1 - i)];
        ASSERT_FALSE(s.Empty()) << "row " << i;
        EXPECT_EQ(s.left, mirror.left) << "row " << i << " against row " << height - 1 - i;
        EXPECT_EQ(s.right, mirror.right) << "row " << i;
        EXPECT_EQ(s.left - left, left + width - 1 - s.right) << "row " << i << " not centred";
        if (i > 0 && i <= (height - 1) / 2) {
            EXPECT_LE(s.left, spans[std::size_t(i - 1)].left)
                << "row " << i << " narrower than the one above";
        }
        minLeft = std::min(minLeft, s.left);
        maxRight = std::max(maxRight, s.right);
    }
    EXPECT_EQ(minLeft, left);
    EXPECT_EQ(maxRight, left + width - 1);
}

TEST(ShapeGeometry, OvalsAreSymmetricAndFillTheirRectangle) {
    std::vector<Span> spans;
    for (int width = 1; width <= 41; ++width)
        for (int height = 1; height <= 41; ++height) {
            SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height));
            OvalSpans(-7, 3, -7 + width, 3 + height, spans);
            ExpectSymmetricAndTouching(spans, -7, width, height);
        }
    // A circle is also symmetric about its diagonal.
    OvalSpans(0, 0, 100, 100, spans);
    for (int v = 0; v < 100; ++v)
        for (int h = 0; h < 100; ++h) {
            const bool in = h >= spans[std::size_t(v)].left && h <= spans[std::size_t(v)].right;
            const bool transposed = v >= spans[std::size_t(h)].left && v <= spans[std::size_t(h)].right;
            ASSERT_EQ(in, transposed) << h << "," << v;
        }
    EXPECT_EQ(spans[0].left, 43) << "a flat top, 14 pixels wide";
    OvalSpans(0, 0, 0, 10, spans);
    EXPECT_TRUE(spans.empty());
    OvalSpans(0, 0, 10, -1, spans);
    EXPECT_TRUE(spans.empty());
}

TEST(ShapeGeometry, ExtremeRectanglesNeedNoMoreThanSixtyFourBits) {
    std::vector<Span> spans;
    OvalSpans(-32767, -32767, 32767, -32765, spans);
    ASSERT_EQ(spans.size(), 2u);
    EXPECT_EQ(spans[0].left, -32767);
    EXPECT_EQ(spans[0].right, 32766);
    OvalSpans(-32767, -32767, 32767, 32767, spans);
    ExpectSymmetricAndTouching(spans, -32767, 65534, 65534);
}

TEST(ShapeGeometry, CornerLoopGivesCircularCorners) {
    const struct {
        int radius;
        std::vector<int> indents;
    } cases[] = {
        {0, {0}},
        {2, {0, 0, 0}},
        {4, {2, 1, 1, 0, 0}},
        {8, {5, 3, 2, 2, 1, 1, 0, 0, 0}},
    };
    std::vector<int> indents;
    for (const auto& c : cases) {
        CornerIndents(c.radius, indents);
        EXPECT_EQ(indents, c.indents) << "radius " << c.radius;
    }
    for (int radius = 0; radius < 200; ++radius) {
        CornerIndents(radius, indents);
        ASSERT_EQ(indents.size(), std::size_t(radius + 1));
        EXPECT_EQ(indents.back(), 0);
        EXPECT_TRUE(std::is_sorted(indents.rbegin(), indents.rend())) << "radius " << radius;
        EXPECT_LT(indents.front(), std::max(radius, 1)) << "radius " << radius;
    }
    EXPECT_EQ(CornerRadius(100, 30, 40, 60), 15) << "limited by the rectangle's smaller side";
    EXPECT_EQ(CornerRadius(100, 100, 40, 60), 20);
    EXPECT_EQ(CornerRadius(100, 100, -4, 60), 0);
}

TEST(ShapeGeometry, RoundRectsAreSymmetricAndFillTheirRectangle) {
    std::vector<Span> spans;
    for (int width = 1; width <= 30; ++width)
        for (int height = 1; height <= 30; ++height)
            for (int oval : {0, 5, 12, 40}) {
                SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height) + " oval " +
                             std::to_string(oval));
                RoundRectSpans(5, 5, 5 + width, 5 + height, oval, oval + 3, spans);
                ExpectSymmetricAndTouching(spans, 5, width, height);
            }
    RoundRectSpans(0, 0, 20, 10, 0, 0, spans);
    for (const Span& s : spans)
        EXPECT_TRUE(s.left == 0 && s.right == 19) << "no corners: the rectangle";
}

TEST(ShapeGeometry, OutlinesAreClosedAndInsideTheFill) {
    std::vector<Span> spans;
    for (int size : {1, 2, 3, 7, 20, 33}) {
        for (int kind = 0; kind < 2; ++kind) {
            SCOPED_TRACE(std::to_string(size) + (kind ? " round rect" : " oval"));
            if (kind)
                RoundRectSpans(0, 0, size + 5, size, 16, 16, spans);
            else
                OvalSpans(0, 0, size + 5, size, spans);
            std::set<std::pair<int, int>> outline;
            ForEachOutlinePiece(spans, [&](int row, int left, int right) {
                ASSERT_LE(left, right);
                for (int h = left; h <= right; ++h)
                    outline.insert({h, row});
            });
            const auto inFill = [&](int h, int v) {
                return v >= 0 && v < size && h >= spans[std::size_t(v)].left &&
                       h <= spans[std::size_t(v)].right;
            };
            // Exactly the pixels of the fill with a neighbour outside it.
            for (int v = 0; v < size; ++v)
                for (int h = -1; h <= size + 5; ++h) {
                    const bool edge = inFill(h, v) && !(inFill(h - 1, v) && inFill(h + 1, v) &&
                                                        inFill(h, v - 1) && inFill(h, v + 1));
                    EXPECT_EQ(outline.count({h, v}) == 1, edge) << h << "," << v;
                }
        }
    }
}

TEST(ShapeGeometry, ArcsSelectTheOutlineByAngle) {
    // The four quarters of a circle cover its outline, and two opposite quarters are mirror images.
    std::vector<Span> spans;
    OvalSpans(0, 0, 40, 40, spans);
    const ArcTest quarters[] = {
        {0, 0, 40, 40, 0, 90}, {0, 0, 40, 40, 90, 90}, {0, 0, 40, 40, 180, 90}, {0, 0, 40, 40, 270, 90}};
    const ArcTest backwards(0, 0, 40, 40, 90, -90), full(0, 0, 40, 40, 45, 360), none(0, 0, 40, 40, 45, 0);
    ForEachOutlinePiece(spans, [&](int v, int left, int right) {
        for (int h = left; h <= right; ++h) {
            EXPECT_TRUE(quarters[0].Contains(h, v) || quarters[1].Contains(h, v) ||
                        quarters[2].Contains(h, v) || quarters[3].Contains(h, v));
            EXPECT_EQ(quarters[0].Contains(h, v), quarters[2].Contains(39 - h, 39 - v)) << h << "," << v;
            EXPECT_EQ(quarters[0].Contains(h, v), backwards.Contains(h, v)) << h << "," << v;
            EXPECT_TRUE(full.Contains(h, v));
            EXPECT_FALSE(none.Contains(h, v));
        }
    });
    // Twelve o'clock is the top middle, three o'clock the right middle.
    EXPECT_TRUE(ArcTest(0, 0, 40, 40, 350, 20).Contains(20, 0));
    EXPECT_FALSE(ArcTest(0, 0, 40, 40, 10, 20).Contains(20, 0));
    EXPECT_TRUE(ArcTest(0, 0, 40, 40, 80, 20).Contains(39, 20));
    EXPECT_TRUE(ArcTest(0, 0, 40, 40, -10, -340).Contains(39, 20)) << "start and span taken modulo a turn";

    int h = 0, v = 0;
    ArcPoint(0, 0, 40, 20, 0, h, v);
    EXPECT_EQ(std::make_pair(h, v), std::make_pair(20, 0));
    ArcPoint(0, 0, 40, 20, 90, h, v);
    EXPECT_EQ(std::make_pair(h, v), std::make_pair(40, 10));
    ArcPoint(0, 0, 40, 20, 180, h, v);
    EXPECT_EQ(std::make_pair(h, v), std::make_pair(20, 20));
    ArcPoint(0, 0, 40, 20, -90, h, v);
    EXPECT_EQ(std::make_pair(h, v), std::make_pair(0, 10));
}

} // namespace
