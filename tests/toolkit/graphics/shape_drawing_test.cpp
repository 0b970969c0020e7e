// The curved shapes, polygons and regions drawn into a buffer port: the pixels each verb touches, frames
// kept inside their rectangle with thick pens, symmetry, inversion undone by inverting again, clipping
// to complex regions.

#include <random>
#include <string>
#include <vector>

#include "graphics_fixture.h"
#include "region_check.h"
#include "toolkit/graphics/shape_geometry.h"

namespace {

constexpr std::uint8_t kBlack = qiva::kIndexBlack, kWhite = qiva::kIndexWhite;

class ShapeDrawing : public GraphicsTest {
protected:
    static constexpr int kSize = 48;
    GrafPort port;
    std::vector<RgnHandle> regions;

    void SetUp() override {
        GraphicsTest::SetUp();
        ASSERT_TRUE(NewBufferPort(&port, kSize, kSize));
        Clear();
    }
    void TearDown() override {
        for (RgnHandle rgn : regions)
            DisposeRgn(rgn);
        DisposeBufferPort(&port);
        GraphicsTest::TearDown();
    }
    void Clear() {
        const Rect all = R(0, 0, kSize, kSize);
        EraseRect(&all);
    }
    RgnHandle Rgn(int left, int top, int right, int bottom) {
        regions.push_back(NewRgn());
        SetRectRgn(regions.back(), left, top, right, bottom);
        return regions.back();
    }
    // A 20-pixel square frame at (4, 4) with a 10-pixel hole.
    RgnHandle Frame() {
        RgnHandle frame = Rgn(4, 4, 24, 24);
        DiffRgn(frame, Rgn(9, 9, 19, 19), frame);
        return frame;
    }
    // The buffer as a bitmap: 1 where the pixel has index `on`.
    static qiva::test::Bitmap Painted(std::uint8_t on = kBlack) {
        qiva::test::Bitmap bits(0, 0, kSize, kSize);
        for (int v = 0; v < kSize; ++v)
            for (int h = 0; h < kSize; ++h)
                bits.At(h, v) = Pixel(h, v) == on;
        return bits;
    }
    static qiva::test::Bitmap OfRegion(RgnHandle rgn) {
        const auto words = qiva::RegionWords(rgn);
        return qiva::test::Rasterise({words.begin(), words.end()}, 0, 0, kSize, kSize);
    }
    static qiva::test::Bitmap OfSpans(const std::vector<qiva::shapes::Span>& spans, int top) {
        qiva::test::Bitmap bits(0, 0, kSize, kSize);
        for (std::size_t i = 0; i < spans.size(); ++i)
            bits.Fill(spans[i].left, top + int(i), spans[i].right + 1, top + int(i) + 1);
        return bits;
    }
    // Whether the painted pixels are symmetric about the centre of r in both axes, and inside it.
    static void ExpectSymmetricInside(const Rect& r) {
        const qiva::test::Bitmap bits = Painted();
        for (int v = 0; v < kSize; ++v)
            for (int h = 0; h < kSize; ++h) {
                if (!bits.At(h, v)) continue;
                ASSERT_TRUE(h >= r.left && h < r.right && v >= r.top && v < r.bottom) << h << "," << v;
                EXPECT_TRUE(bits.At(r.left + r.right - 1 - h, v)) << "left-right mirror of " << h << "," << v;
                EXPECT_TRUE(bits.At(h, r.top + r.bottom - 1 - v)) << "top-bottom mirror of " << h << "," << v;
            }
    }
};

TEST_F(ShapeDrawing, FilledOvalsAndRoundRectsAreTheirSpansWhateverThePen) {
    const Rect r = R(3, 5, 40, 26);
    std::vector<qiva::shapes::Span> spans;
    PenSize(5, 5);
    PaintOval(&r);
    qiva::shapes::OvalSpans(r.left, r.top, r.right, r.bottom, spans);
    EXPECT_EQ(Painted(), OfSpans(spans, r.top));
    EXPECT_EQ(port.pnSize.h, 5) << "the verb's pen did not survive";

    Clear();
    PaintRoundRect(&r, 16, 12);
    qiva::shapes::RoundRectSpans(r.left, r.top, r.right, r.bottom, 16, 12, spans);
    EXPECT_EQ(Painted(), OfSpans(spans, r.top));
    ExpectSymmetricInside(r);

    // Fill takes the pattern aligned to local coordinates; erase the background pattern.
    Clear();
    FillOval(&r, &qd.gray);
    for (int h = 10; h < 30; ++h)
        EXPECT_EQ(Pixel(h, 15), h % 2 == 0 ? kBlack : kWhite) << h; // row 15 of gray is AA
    EraseOval(&r);
    EXPECT_EQ(Painted(), qiva::test::Bitmap(0, 0, kSize, kSize));
}

TEST_F(ShapeDrawing, FramesStayInsideTheirRectangleAndAreSymmetric) {
    const Rect r = R(2, 3, 41, 30);
    for (int pen : {1, 2, 3}) {
        SCOPED_TRACE("pen " + std::to_string(pen));
        PenSize(pen, pen);
        Clear();
        FrameOval(&r);
        ExpectSymmetricInside(r);
        EXPECT_EQ(Pixel(21, 3), kBlack) << "touches the top";
        EXPECT_EQ(Pixel(2, 16), kBlack) << "touches the left";
        EXPECT_EQ(Pixel(21, 16), kWhite) << "hollow";
        Clear();
        FrameRoundRect(&r, 20, 20);
        ExpectSymmetricInside(r);
        EXPECT_EQ(Pixel(21, 16), kWhite);
    }
    // A one-pixel frame is exactly the edge of the filled shape.
    PenSize(1, 1);
    Clear();
    FrameOval(&r);
    const qiva::test::Bitmap frame = Painted();
    Clear();
    PaintOval(&r);
    const qiva::test::Bitmap filled = Painted();
    for (int v = 1; v < kSize - 1; ++v)
        for (int h = 1; h < kSize - 1; ++h) {
            const bool edge = filled.At(h, v) && !(filled.At(h - 1, v) && filled.At(h + 1, v) &&
                                                   filled.At(h, v - 1) && filled.At(h, v + 1));
            EXPECT_EQ(frame.At(h, v) == 1, edge) << h << "," << v;
        }
    // A pen as thick as half the shape covers all of it.
    PenSize(12, 3);
    Clear();
    const Rect small = R(5, 5, 25, 15);
    FrameOval(&small);
    const qiva::test::Bitmap thick = Painted();
    Clear();
    PaintOval(&small);
    EXPECT_EQ(thick, Painted());
    Point pen;
    GetPen(&pen);
    EXPECT_EQ(pen.h, 0) << "framing does not move the pen";
}

TEST_F(ShapeDrawing, InvertingTwiceRestoresAndColrBitHilites) {
    const Rect r = R(4, 4, 30, 22);
    const Rect half = R(0, 0, 17, kSize);
    PaintRect(&half);
    InvertOval(&r);
    EXPECT_EQ(Pixel(16, 12), kWhite);
    EXPECT_EQ(Pixel(17, 12), kBlack);
    InvertOval(&r);
    InvertRoundRect(&r, 8, 8);
    InvertRoundRect(&r, 8, 8);
    RgnHandle frame = Frame();
    InvertRgn(frame);
    InvertRgn(frame);
    EXPECT_EQ(Painted(), OfSpans(std::vector<qiva::shapes::Span>(kSize, {0, 16}), 0));

    port.colrBit = 1;
    ForeColor(redColor);
    InvertRgn(frame); // hilite: black and white swap, nothing else changes
    EXPECT_EQ(Pixel(5, 5), kWhite);
    EXPECT_EQ(Pixel(20, 5), kBlack);
    EXPECT_EQ(Pixel(12, 12), kBlack) << "the hole";
    EXPECT_EQ(port.fgColor, redColor);
}

TEST_F(ShapeDrawing, ArcsTraceTheOvalsOutlineBetweenTheirAngles) {
    const Rect r = R(4, 4, 44, 44);
    FrameOval(&r);
    const qiva::test::Bitmap whole = Painted();
    Clear();
    for (int start : {0, 90, 180, 270})
        FrameArc(&r, start, 90);
    EXPECT_EQ(Painted(), whole) << "four quarters make the oval";
    Clear();
    FrameArc(&r, 0, 90);
    const qiva::test::Bitmap quarter = Painted();
    for (int v = 0; v < kSize; ++v)
        for (int h = 0; h < kSize; ++h)
            if (quarter.At(h, v)) {
                EXPECT_TRUE(whole.At(h, v));
                EXPECT_TRUE(h >= 24 && v < 24) << "the upper right quarter: " << h << "," << v;
            }
    EXPECT_EQ(Pixel(24, 4), kBlack) << "starts at twelve o'clock";
    EXPECT_EQ(Pixel(43, 24), kWhite) << "three o'clock is where the next quarter starts";
    Clear();
    FrameArc(&r, 90, -90);
    EXPECT_EQ(Painted(), quarter) << "counter-clockwise from three o'clock";
    Clear();
    FrameArc(&r, 10, 0);
    FrameArc(&r, 10, 720);
    EXPECT_EQ(Painted(), whole) << "no arc, then the whole oval";

    // The widest oval with a pen that covers it: the arc is a wedge of the whole shape, tested only
    // where it can reach the buffer (pixel by pixel over the shape this would never end).
    Clear();
    PenSize(32767, 32767);
    const Rect huge = R(-32767, -32767, 32767, 32767);
    FrameArc(&huge, 270, 90);
    EXPECT_EQ(Painted(), qiva::test::Bitmap(0, 0, kSize, kSize)) << "the upper left wedge misses the buffer";
    FrameArc(&huge, 90, 90);
    EXPECT_EQ(Painted(), OfSpans(std::vector<qiva::shapes::Span>(kSize, {0, kSize - 1}), 0));
}

TEST_F(ShapeDrawing, PolygonsCollectLinesWithoutDrawingThenFrame) {
    MoveTo(30, 30);
    PolyHandle poly = OpenPoly();
    ASSERT_NE(poly, nullptr);
    MoveTo(5, 10);
    LineTo(40, 10);
    LineTo(20, 40);
    Line(-15, -30);
    ClosePoly();
    EXPECT_EQ(Painted(), qiva::test::Bitmap(0, 0, kSize, kSize)) << "nothing drawn while open";
    ASSERT_EQ(qiva::PolygonPointCount(poly), 4);
    EXPECT_EQ((*poly)->polySize, 10 + 4 * 4);
    const Point expected[] = {{10, 5}, {10, 40}, {40, 20}, {10, 5}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ((*poly)->polyPoints[i].h, expected[i].h) << i;
        EXPECT_EQ((*poly)->polyPoints[i].v, expected[i].v) << i;
    }
    EXPECT_EQ((*poly)->polyBBox.top, 10);
    EXPECT_EQ((*poly)->polyBBox.left, 5);
    EXPECT_EQ((*poly)->polyBBox.bottom, 40);
    EXPECT_EQ((*poly)->polyBBox.right, 40);
    EXPECT_EQ(port.pnVis, 0) << "the pen shows again";

    FramePoly(poly);
    const qiva::test::Bitmap framed = Painted();
    Clear();
    MoveTo(5, 10);
    LineTo(40, 10);
    LineTo(20, 40);
    LineTo(5, 10);
    EXPECT_EQ(Painted(), framed);
    KillPoly(poly);

    // A polygon left open when its port closes stops collecting; the next one still works.
    GrafPort other;
    ASSERT_TRUE(NewBufferPort(&other, 8, 8));
    PolyHandle lost = OpenPoly();
    DisposeBufferPort(&other);
    SetPort(&port);
    MoveTo(0, 0);
    LineTo(3, 0);
    EXPECT_EQ(qiva::PolygonPointCount(lost), 0);
    EXPECT_EQ(Pixel(3, 0), kBlack);
    KillPoly(lost);
}

TEST_F(ShapeDrawing, RegionsFillBandByBandAndFrameInside) {
    RgnHandle frame = Frame();
    PenSize(4, 4);
    PaintRgn(frame);
    EXPECT_EQ(Painted(), OfRegion(frame));
    EraseRgn(frame);
    EXPECT_EQ(Painted(), qiva::test::Bitmap(0, 0, kSize, kSize));
    FillRgn(frame, &qd.ltGray);
    EXPECT_EQ(Pixel(4, 4), kBlack) << "ltGray row 4 is 88: columns 0 and 4";
    EXPECT_EQ(Pixel(5, 4), kWhite);

    // FrameRgn: a one-pixel black outline inside the region, whatever the pen.
    Clear();
    PenPat(&qd.gray);
    FrameRgn(frame);
    const qiva::test::Bitmap outline = Painted(), region = OfRegion(frame);
    for (int v = 1; v < kSize - 1; ++v)
        for (int h = 1; h < kSize - 1; ++h) {
            const bool edge = region.At(h, v) && !(region.At(h - 1, v) && region.At(h + 1, v) &&
                                                   region.At(h, v - 1) && region.At(h, v + 1));
            EXPECT_EQ(outline.At(h, v) == 1, edge) << h << "," << v;
        }
    Clear();
    FrameRgn(Rgn(2, 2, 12, 8));
    const Rect box = R(2, 2, 12, 8);
    const qiva::test::Bitmap viaRgn = Painted();
    Clear();
    PenNormal();
    FrameRect(&box);
    EXPECT_EQ(Painted(), viaRgn);
}

TEST_F(ShapeDrawing, RandomRegionsPaintExactlyTheirPixels) {
    std::mt19937 random(7);
    const auto pick = [&](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    RgnHandle rgn = Rgn(0, 0, 0, 0), piece = Rgn(0, 0, 0, 0);
    for (int n = 0; n < 150; ++n) {
        SetEmptyRgn(rgn);
        for (int i = pick(1, 6); i > 0; --i) {
            const int left = pick(-4, kSize), top = pick(-4, kSize);
            SetRectRgn(piece, left, top, left + pick(1, 20), top + pick(1, 20));
            (pick(0, 3) ? UnionRgn : XorRgn)(rgn, piece, rgn);
        }
        Clear();
        PaintRgn(rgn);
        ASSERT_EQ(Painted(), OfRegion(rgn)) << "case " << n;
    }
}

TEST_F(ShapeDrawing, ComplexClipRegionsCutEveryShape) {
    RgnHandle frame = Frame();
    SetClip(frame);
    RgnHandle got = Rgn(0, 0, 0, 0);
    GetClip(got);
    EXPECT_TRUE(EqualRgn(got, frame));
    const Rect all = R(0, 0, kSize, kSize);
    PaintRect(&all);
    EXPECT_EQ(Painted(), OfRegion(frame));
    Clear();
    const Rect around = R(-20, -20, 68, 68);
    PaintOval(&around);
    EXPECT_EQ(Painted(), OfRegion(frame)) << "the oval covers the whole frame";

    // The clip meets the visible region: only their common part is drawn.
    ClipRect(&all);
    Clear();
    SetClip(frame);
    SetRectRgn(port.visRgn, 0, 0, 14, kSize);
    qiva::RecomputeClip();
    PaintRect(&all);
    RgnHandle both = Rgn(0, 0, 14, kSize);
    SectRgn(both, frame, both);
    EXPECT_EQ(Painted(), OfRegion(both));
    RectRgn(port.visRgn, &all);
    ClipRect(&all);
    PaintRect(&all);
    EXPECT_EQ(Painted(), OfRegion(Rgn(0, 0, kSize, kSize)));
}

TEST_F(ShapeDrawing, ClipOfManyNarrowStripesTooLargeForItsSizeField) {
    // Dots on every other row and column, more than 32766 bytes of scanline data; the clipped fill
    // must read it all.
    GrafPort big;
    ASSERT_TRUE(NewBufferPort(&big, 200, 200));
    RgnHandle columns = Rgn(0, 0, 0, 0), rows = Rgn(0, 0, 0, 0), piece = Rgn(0, 0, 0, 0);
    for (int i = 0; i < 100; ++i) {
        SetRectRgn(piece, 2 * i, 0, 2 * i + 1, 200);
        UnionRgn(columns, piece, columns);
        SetRectRgn(piece, 0, 2 * i, 200, 2 * i + 1);
        UnionRgn(rows, piece, rows);
    }
    SectRgn(columns, rows, piece);
    ASSERT_EQ((*piece)->rgnSize, qiva::region::kLargeSize);
    SetClip(piece);
    const Rect all = R(0, 0, 200, 200);
    PaintRect(&all);
    int painted = 0;
    for (int v = 0; v < 200; ++v)
        for (int h = 0; h < 200; ++h)
            if (Pixel(h, v) == kBlack) {
                ++painted;
                ASSERT_TRUE(h % 2 == 0 && v % 2 == 0) << h << "," << v;
            }
    EXPECT_EQ(painted, 100 * 100);
    DisposeBufferPort(&big);
}

} // namespace
