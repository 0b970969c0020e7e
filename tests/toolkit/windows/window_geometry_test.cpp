#include <gtest/gtest.h>

#include "toolkit/windows/window_geometry.h"

namespace {

using qiva::MakeRect;

bool Same(const Rect& a, const Rect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST(DocumentGeometry, PartsSurroundTheContent) {
    const Rect c = MakeRect(50, 60, 250, 160);
    const qiva::DocumentParts p = qiva::DocumentGeometry(c, 4);
    EXPECT_TRUE(Same(p.structure, MakeRect(46, 37, 254, 164)));
    EXPECT_TRUE(Same(p.titleBar, MakeRect(50, 41, 250, 60)));
    EXPECT_TRUE(Same(p.closeBox, MakeRect(52, 43, 68, 57)));
    EXPECT_TRUE(Same(p.zoomBox, MakeRect(214, 43, 230, 57)));
    EXPECT_TRUE(Same(p.growBox, MakeRect(235, 145, 250, 160)));
}

TEST(FrameZone, BandCornersAndGrowBox) {
    // Structure 100..300 × 50..250 with a border 4 wide: zones reach 24 pixels from each edge.
    const Rect s = MakeRect(100, 50, 300, 250);
    const Rect grow = MakeRect(281, 231, 296, 246);
    struct Case {
        int h, v, zone;
    } cases[] = {
        {150, 150, 0},  // inside the inset rectangle
        {99, 150, 0},   // outside the structure
        {300, 150, 0},  // right edge is outside
        {100, 150, 1},  // left band
        {200, 50, 2},   // top band
        {299, 150, 4},  // right band
        {200, 249, 8},  // bottom band
        {101, 52, 3},   // top-left corner
        {123, 51, 3},   // still within 24 of the left edge
        {124, 51, 2},   // just beyond it
        {298, 52, 6},   // top-right
        {101, 248, 9},  // bottom-left
        {299, 249, 12}, // bottom-right
        {285, 235, 12}, // grow box, inside the band's inset
        {276, 150, 0},  // near the right edge but inside the inset
    };
    for (const Case& c : cases)
        EXPECT_EQ(qiva::FrameZone(Point{static_cast<std::int16_t>(c.v), static_cast<std::int16_t>(c.h)}, s,
                                  grow, 4),
                  c.zone)
            << c.h << "," << c.v;
}

TEST(BoxStructures, GrowTheContent) {
    const Rect c = MakeRect(10, 20, 110, 70);
    EXPECT_TRUE(Same(qiva::DialogStructure(c), MakeRect(2, 12, 118, 78)));
    EXPECT_TRUE(Same(qiva::PlainBoxStructure(c), MakeRect(9, 19, 111, 71)));
    EXPECT_TRUE(Same(qiva::ShadowBoxStructure(c), MakeRect(9, 19, 113, 73)));
}

} // namespace
