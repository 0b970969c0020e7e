#include <string>
#include <vector>

#include "graphics_fixture.h"

namespace {

class ShapesTest : public GraphicsTest {
protected:
    GrafPort port;
    void SetUp() override {
        GraphicsTest::SetUp();
        ASSERT_TRUE(NewBufferPort(&port, 12, 12));
        Rect all = R(0, 0, 12, 12);
        EraseRect(&all);
    }
    void TearDown() override {
        DisposeBufferPort(&port);
        GraphicsTest::TearDown();
    }
    std::vector<std::string> Black() { return Rows(12, 12, qiva::kIndexBlack); }
};

TEST_F(ShapesTest, FrameRectWithAThickPenStaysInside) {
    PenSize(3, 3);
    MoveTo(5, 6);
    Rect r = R(1, 1, 11, 11);
    FrameRect(&r);
    const std::vector<std::string> want = {"............", ".##########.", ".##########.", ".##########.",
                                           ".###....###.", ".###....###.", ".###....###.", ".###....###.",
                                           ".##########.", ".##########.", ".##########.", "............"};
    EXPECT_EQ(Black(), want);
    Point pen;
    GetPen(&pen);
    EXPECT_EQ(pen.h, 5); // framing does not move the pen
    EXPECT_EQ(pen.v, 6);
}

TEST_F(ShapesTest, PaintRectIgnoresThePenAndDrawsNothingWhenEmpty) {
    PenSize(4, 4);
    Rect empty = R(3, 3, 3, 9), inverted = R(5, 5, 2, 2);
    PaintRect(&empty);
    PaintRect(&inverted);
    EXPECT_EQ(Black(), Rows(12, 12, 255)); // nothing black (no pixel is 255 either)
    Rect r = R(2, 3, 4, 5);
    PaintRect(&r);
    EXPECT_EQ(Black()[3], "..##........");
    EXPECT_EQ(Black()[5], "............");
    EXPECT_EQ(port.pnSize.h, 4); // the verb's one-pixel pen did not survive
}

TEST_F(ShapesTest, LinesCoverTheSamePixelsBothWays) {
    MoveTo(7, 2);
    LineTo(2, 2); // horizontal: both ends inclusive
    EXPECT_EQ(Black()[2], "..######....");
    Rect all = R(0, 0, 12, 12);
    EraseRect(&all);
    MoveTo(0, 1);
    LineTo(9, 4); // slope 1/3, downward
    const auto down = Black();
    EraseRect(&all);
    MoveTo(9, 4);
    LineTo(0, 1);
    EXPECT_EQ(Black(), down);
    EXPECT_EQ(down[1][0], '#');
    EXPECT_EQ(down[4][9], '#');
    for (const std::string& row : down)
        EXPECT_LE(std::count(row.begin(), row.end(), '#'), 4);
    Point pen;
    GetPen(&pen);
    EXPECT_EQ(pen.h, 0);
    EXPECT_EQ(pen.v, 1);
    // A hidden pen only moves.
    EraseRect(&all);
    HidePen();
    LineTo(11, 11);
    ShowPen();
    EXPECT_EQ(Black(), Rows(12, 12, 255));
    GetPen(&pen);
    EXPECT_EQ(pen.h, 11);
}

TEST_F(ShapesTest, InvertTwiceRestoresAndColrBitHilites) {
    ForeColor(redColor);
    Rect a = R(0, 0, 6, 12), b = R(3, 0, 9, 12);
    PaintRect(&a);
    InvertRect(&b);
    EXPECT_EQ(Pixel(4, 0), 11 + 6 * 5 + 5); // red's complement in the cube: cyan
    EXPECT_EQ(Pixel(7, 0), qiva::kIndexBlack);
    InvertRect(&b);
    EXPECT_EQ(Pixel(4, 0), 191);
    EXPECT_EQ(Pixel(7, 0), qiva::kIndexWhite);
    EXPECT_EQ(port.fgColor, redColor); // the invert verb's black pen colour did not survive
    EXPECT_EQ(port.fgIndex, 191);

    port.colrBit = 1;
    ForeColor(blackColor);
    PaintRect(&a);
    InvertRect(&b); // hilite: black (11) and white (226) swap, nothing else changes
    EXPECT_EQ(Pixel(4, 0), qiva::kIndexWhite);
    EXPECT_EQ(Pixel(7, 0), qiva::kIndexBlack);
    EXPECT_EQ(Pixel(10, 0), qiva::kIndexWhite);
    InvertRect(&b);
    EXPECT_EQ(Pixel(4, 0), qiva::kIndexBlack);
    EXPECT_EQ(Pixel(7, 0), qiva::kIndexWhite);
}

} // namespace
