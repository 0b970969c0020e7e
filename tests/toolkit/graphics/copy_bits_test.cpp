#include <cstring>
#include <string>
#include <vector>

#include "graphics_fixture.h"
#include "toolkit/core/error_box.h"
#include "toolkit/core/memory.h"

namespace {

class CopyBitsTest : public GraphicsTest {
protected:
    GrafPort src, dst;
    void SetUp() override {
        GraphicsTest::SetUp();
        ASSERT_TRUE(NewBufferPort(&src, 8, 8));
        // Source: pixel (h, v) = 20 + 8v + h, with a transparent column at h = 2.
        for (int v = 0; v < 8; ++v)
            for (int h = 0; h < 8; ++h)
                qiva::Drawing().target.base[v * 8 + h] =
                    h == 2 ? qiva::kTransparentIndex : static_cast<std::uint8_t>(20 + 8 * v + h);
        ASSERT_TRUE(NewBufferPort(&dst, 16, 16));
        Rect all = R(0, 0, 16, 16);
        EraseRect(&all);
    }
    void TearDown() override {
        DisposeBufferPort(&src);
        DisposeBufferPort(&dst);
        GraphicsTest::TearDown();
    }
};

TEST_F(CopyBitsTest, EqualSizeCopySkipsTheTransparentIndex) {
    Rect s = R(1, 1, 5, 4), d = R(10, 2, 14, 5);
    CopyBits(&src.portBits, &dst.portBits, &s, &d, srcCopy, nullptr);
    EXPECT_EQ(Pixel(10, 2), 20 + 8 + 1);
    EXPECT_EQ(Pixel(11, 2), qiva::kIndexWhite); // source column 2 is transparent
    EXPECT_EQ(Pixel(13, 4), 20 + 24 + 4);
    EXPECT_EQ(Pixel(14, 4), qiva::kIndexWhite);
    EXPECT_EQ(Pixel(10, 5), qiva::kIndexWhite);
    EXPECT_EQ(dst.pnMode, patCopy); // pen state restored
}

TEST_F(CopyBitsTest, SourceOutsideTheBufferShrinksTheDestination) {
    Rect s = R(-2, 6, 4, 10), d = R(0, 0, 6, 4); // two columns left and two rows below are cut
    CopyBits(&src.portBits, &dst.portBits, &s, &d, srcCopy, nullptr);
    EXPECT_EQ(Pixel(0, 0), qiva::kIndexWhite);
    EXPECT_EQ(Pixel(2, 0), 20 + 48);
    EXPECT_EQ(Pixel(5, 1), 20 + 56 + 3);
    EXPECT_EQ(Pixel(2, 2), qiva::kIndexWhite);
}

TEST_F(CopyBitsTest, EmptyRectanglesAndTransparentSourcesDrawNothing) {
    SetPort(&src);
    Rect all = R(0, 0, 8, 8);
    SetPort(&dst);
    Rect empty = R(3, 3, 3, 8), d = R(0, 0, 8, 8);
    CopyBits(&src.portBits, &dst.portBits, &empty, &d, srcCopy, nullptr);
    CopyBits(&src.portBits, &dst.portBits, &all, &empty, srcCopy, nullptr);
    EXPECT_EQ(Rows(16, 16, qiva::kIndexWhite), std::vector<std::string>(16, std::string(16, '#')));
    SetPort(&src);
    src.fgIndex = qiva::kTransparentIndex;
    PaintRect(&all);
    SetPort(&dst);
    CopyBits(&src.portBits, &dst.portBits, &all, &d, srcCopy, nullptr);
    Rect big = R(0, 0, 16, 16);
    CopyBits(&src.portBits, &dst.portBits, &all, &big, srcCopy, nullptr);
    EXPECT_EQ(Rows(16, 16, qiva::kIndexWhite), std::vector<std::string>(16, std::string(16, '#')));
}

TEST_F(CopyBitsTest, OneBitBitMapPaintsForegroundAndBackground) {
    std::uint8_t bits[2 * 3] = {0xA0, 0x00, 0x40, 0x00, 0xFF, 0xFF};
    BitMap map{reinterpret_cast<Ptr>(bits), 2, {0, 0, 3, 12}};
    ForeColor(redColor);
    BackColor(blueColor);
    Rect s = R(0, 0, 4, 3), d = R(1, 1, 5, 4);
    CopyBits(&map, &dst.portBits, &s, &d, srcCopy, nullptr);
    const int red = 191, blue = 16;
    EXPECT_EQ(Pixel(1, 1), red);
    EXPECT_EQ(Pixel(2, 1), blue);
    EXPECT_EQ(Pixel(3, 1), red);
    EXPECT_EQ(Pixel(2, 2), red);
    EXPECT_EQ(Pixel(4, 3), red);
    EXPECT_EQ(Pixel(5, 1), qiva::kIndexWhite);
    // Enlarged twice: each bit becomes a 2 × 2 square.
    Rect big = R(8, 8, 16, 14);
    CopyBits(&map, &dst.portBits, &s, &big, srcCopy, nullptr);
    EXPECT_EQ(Pixel(8, 8), red);
    EXPECT_EQ(Pixel(9, 9), red);
    EXPECT_EQ(Pixel(10, 9), blue);
    // A source rectangle past the map's bounds reads nothing outside it.
    Rect past = R(8, 0, 40, 3), d2 = R(0, 10, 32, 13);
    CopyBits(&map, &dst.portBits, &past, &d2, srcCopy, nullptr);
    EXPECT_EQ(Pixel(0, 12), red);
    EXPECT_EQ(Pixel(4, 12), qiva::kIndexWhite);
}

TEST_F(CopyBitsTest, PixMapColoursGoThroughItsTable) {
    std::uint8_t pixels[4] = {0x01, 0x23, 0x00, 0x00}; // 4 bits per pixel: 0, 1, 2, 3
    Handle table = NewHandleClear(static_cast<Size>(sizeof(ColorTable) + 3 * sizeof(ColorSpec)));
    auto ct = reinterpret_cast<CTabHandle>(table);
    (*ct)->ctSize = 3;
    const RGBColor colours[4] = {{0xFFFF, 0xFFFF, 0xFFFF}, {0, 0, 0}, {0xFFFF, 0, 0}, {0, 0, 0xFFFF}};
    for (int i = 0; i < 4; ++i)
        (*ct)->ctTable[i] = ColorSpec{static_cast<std::int16_t>(i), colours[i]};
    PixMap pm{};
    pm.baseAddr = reinterpret_cast<Ptr>(pixels);
    pm.rowBytes = static_cast<std::int16_t>(0x8000 | 2);
    pm.bounds = R(0, 0, 4, 1);
    pm.pixelSize = 4;
    pm.pmTable = ct;
    Rect s = R(0, 0, 4, 1), d = R(0, 0, 4, 1);
    CopyBits(reinterpret_cast<const BitMap*>(&pm), &dst.portBits, &s, &d, srcCopy, nullptr);
    EXPECT_EQ(Pixel(0, 0), 226);
    EXPECT_EQ(Pixel(1, 0), 11);
    EXPECT_EQ(Pixel(2, 0), 191);
    EXPECT_EQ(Pixel(3, 0), 16);
    pm.pixelSize = 16; // direct pixels are refused, not misread
    Rect d2 = R(0, 1, 4, 2);
    CopyBits(reinterpret_cast<const BitMap*>(&pm), &dst.portBits, &s, &d2, srcCopy, nullptr);
    EXPECT_EQ(Pixel(0, 1), qiva::kIndexWhite);
    DisposeHandle(table);
}

TEST_F(CopyBitsTest, OverlappingCopyWithinOneBufferReadsTheOriginal) {
    SetPort(&src);
    Rect s = R(0, 0, 6, 6), d = R(1, 1, 7, 7);
    CopyBits(&src.portBits, &src.portBits, &s, &d, srcCopy, nullptr);
    EXPECT_EQ(Pixel(1, 1), 20);
    EXPECT_EQ(Pixel(6, 6), 20 + 40 + 5);
    EXPECT_EQ(Pixel(4, 4), 20 + 24 + 3);
}

TEST_F(CopyBitsTest, CopyMaskExcludesWhiteMaskPixels) {
    GrafPort mask;
    ASSERT_TRUE(NewBufferPort(&mask, 8, 8));
    Rect all = R(0, 0, 8, 8), left = R(0, 0, 4, 8);
    EraseRect(&all);
    PaintRect(&left); // mask: left half black (copied), right half white (excluded)
    SetPort(&dst);
    Rect d = R(0, 0, 8, 8);
    CopyMask(&src.portBits, &mask.portBits, &dst.portBits, &all, &all, &d);
    EXPECT_EQ(Pixel(0, 0), 20);
    EXPECT_EQ(Pixel(3, 7), 20 + 56 + 3);
    EXPECT_EQ(Pixel(4, 0), qiva::kIndexWhite);
    DisposeBufferPort(&mask);
}

TEST_F(CopyBitsTest, OneBitMaskOnlyAtTheOriginWithTheDestinationsSize) {
    std::uint8_t bits[2 * 2] = {0xF0, 0x00, 0x0F, 0x00}; // row 0: left half, row 1: right half
    BitMap mask{reinterpret_cast<Ptr>(bits), 2, {0, 0, 2, 8}};
    Rect s = R(0, 0, 8, 2), m = R(0, 0, 8, 2), d = R(0, 0, 8, 2);
    CopyMask(&src.portBits, &mask, &dst.portBits, &s, &m, &d);
    EXPECT_EQ(Pixel(0, 0), 20);
    EXPECT_EQ(Pixel(5, 0), qiva::kIndexWhite);
    EXPECT_EQ(Pixel(0, 1), qiva::kIndexWhite);
    EXPECT_EQ(Pixel(5, 1), 20 + 8 + 5);
    // Any other mask rectangle masks nothing.
    Rect shifted = R(0, 1, 8, 3), d2 = R(0, 4, 8, 6);
    CopyMask(&src.portBits, &mask, &dst.portBits, &s, &shifted, &d2);
    EXPECT_EQ(Pixel(5, 4), 20 + 5);
    EXPECT_EQ(Pixel(0, 5), 20 + 8);
}

TEST_F(CopyBitsTest, FabriqueMobAllocatesAndReportsFailure) {
    ASSERT_TRUE(qiva::DescribeSource(&src.portBits));
    Rect s = R(0, 0, 2, 2);
    std::uint8_t* block = FABRIQUE_MOB(&s, 4, 4, qiva::FetchMapped, nullptr);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(block[0], 20);
    EXPECT_EQ(block[3], 21);
    EXPECT_EQ(block[15], 29);
    DisposePtr(reinterpret_cast<Ptr>(block));

    const std::size_t limit = qiva::HeapLimit();
    qiva::SetHeapLimit(qiva::HeapBytesInUse() + 1000);
    qiva::ClearErrorBoxHistory();
    EXPECT_EQ(FABRIQUE_MOB(&s, 300, 200, qiva::FetchMapped, nullptr), nullptr);
    qiva::SetHeapLimit(limit);
    const auto& boxes = qiva::ErrorBoxHistory();
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(boxes.back(), "Pas de place pour FABRIQUE_MOB Taille : 60000 (300x200)");
    qiva::ClearErrorBoxHistory();
}

} // namespace
