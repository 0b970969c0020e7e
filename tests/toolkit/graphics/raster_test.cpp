#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "toolkit/graphics/palette.h"
#include "toolkit/graphics/raster.h"

namespace {

using qiva::RasterTarget;
using qiva::SpanPaint;

// A small buffer with rows wider than its width, so writes past the width would show.
struct Buffer {
    int width, height, rowBytes;
    std::vector<std::uint8_t> pixels;
    Buffer(int w, int h, std::uint8_t fill) : width(w), height(h), rowBytes((w + 3) & ~3) {
        pixels.assign(static_cast<std::size_t>(rowBytes) * h, fill);
    }
    RasterTarget Target() { return {pixels.data(), rowBytes, width, height}; }
    std::uint8_t At(int h, int v) const { return pixels[static_cast<std::size_t>(v) * rowBytes + h]; }
};

const std::uint8_t kBlack[8] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
const std::uint8_t kGray[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
const std::uint8_t kDiagonal[8] = {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01};
const auto kInversion = qiva::BuildInversionTable();

SpanPaint Paint(const std::uint8_t* pattern, int mode, std::uint8_t fg = 11, std::uint8_t bk = 226) {
    return {pattern, mode, fg, bk, kInversion.data(), 11};
}

TEST(SpanFill, TransferModesOnIndices) {
    // One row of 16 pixels over a background of 100, gray pattern row 0x55 (odd columns set).
    struct Case {
        int mode;
        std::uint8_t even, odd; // resulting pixels in even and odd columns
    };
    const Case cases[] = {
        {patCopy, 226, 11},
        {patOr, 100, 11},
        {patXor, 100, kInversion[100]},
        {patBic, 100, 226},
        {notPatCopy, 11, 226},
        {notPatOr, 11, 100},
        {notPatXor, kInversion[100], 100},
        {notPatBic, 226, 100},
        {srcCopy, 226, 11},
        {srcXor, 100, kInversion[100]},
    };
    for (const Case& c : cases) {
        Buffer b(16, 1, 100);
        qiva::SpanFill(b.Target(), Paint(kGray, c.mode), 0, 0, 15, 0, 0, 0);
        for (int h = 0; h < 16; ++h)
            EXPECT_EQ(b.At(h, 0), h % 2 ? c.odd : c.even) << "mode " << c.mode << " h " << h;
    }
}

TEST(SpanFill, PatternFollowsOriginsAndIgnoresClipping) {
    // The diagonal pattern puts pixel (h, v) on when (h - v) % 8 == 0 in local coordinates, with local
    // = buffer + origin; filling the halves separately or clipped at the buffer's edge changes nothing.
    const int rowOrigin = 3, colOrigin = 5;
    Buffer whole(21, 11, 0), halves(21, 11, 0), clipped(21, 11, 0);
    qiva::SpanFill(whole.Target(), Paint(kDiagonal, patCopy), 0, 0, 20, 10, rowOrigin, colOrigin);
    qiva::SpanFill(halves.Target(), Paint(kDiagonal, patCopy), 0, 0, 9, 4, rowOrigin, colOrigin);
    qiva::SpanFill(halves.Target(), Paint(kDiagonal, patCopy), 10, 0, 20, 4, rowOrigin, colOrigin + 0);
    qiva::SpanFill(halves.Target(), Paint(kDiagonal, patCopy), 0, 5, 20, 10, rowOrigin + 5, colOrigin);
    qiva::SpanFill(clipped.Target(), Paint(kDiagonal, patCopy), -7, -9, 40, 30, rowOrigin - 9, colOrigin);
    for (int v = 0; v < 11; ++v)
        for (int h = 0; h < 21; ++h) {
            const bool on = ((h + colOrigin) - (v + rowOrigin)) % 8 == 0;
            ASSERT_EQ(whole.At(h, v), on ? 11 : 226) << h << "," << v;
            ASSERT_EQ(halves.At(h, v), whole.At(h, v)) << h << "," << v;
            ASSERT_EQ(clipped.At(h, v), whole.At(h, v)) << h << "," << v;
        }
    // Nothing beyond the width, in the row padding.
    for (int v = 0; v < 11; ++v)
        for (int h = 21; h < whole.rowBytes; ++h)
            ASSERT_EQ(whole.At(h, v), 0);
}

TEST(SpanFill, XorTwiceRestoresMutualPairsAndHiliteTwiceRestoresAll) {
    Buffer b(256, 1, 0);
    std::iota(b.pixels.begin(), b.pixels.end(), 0);
    const std::vector<std::uint8_t> before = b.pixels;
    qiva::SpanFill(b.Target(), Paint(kBlack, patXor), 0, 0, 255, 0, 0, 0);
    EXPECT_EQ(b.At(3, 0), 10);
    EXPECT_EQ(b.At(250, 0), 10);
    qiva::SpanFill(b.Target(), Paint(kBlack, patXor), 0, 0, 255, 0, 0, 0);
    for (int i = 0; i < 256; ++i) {
        const bool system = i < 10 || i > 245;
        EXPECT_EQ(b.At(i, 0), system ? 0 : i) << i;
    }

    b.pixels = before;
    qiva::SpanFill(b.Target(), Paint(kBlack, patCopy | hilite), 0, 0, 255, 0, 0, 0);
    for (int i = 0; i < 256; ++i) {
        const int want = i == 11 ? 226 : i == 226 ? 11 : i;
        EXPECT_EQ(b.At(i, 0), want) << i;
    }
    qiva::SpanFill(b.Target(), Paint(kBlack, patXor | hilite), 0, 0, 255, 0, 0, 0);
    EXPECT_EQ(b.pixels, before);
}

TEST(SpanFill, EmptyOrOutsideRectanglesDrawNothing) {
    Buffer b(8, 8, 7);
    const std::vector<std::uint8_t> before = b.pixels;
    qiva::SpanFill(b.Target(), Paint(kBlack, patCopy), 5, 0, 4, 7, 0, 0);
    qiva::SpanFill(b.Target(), Paint(kBlack, patCopy), 0, 5, 7, 4, 0, 0);
    qiva::SpanFill(b.Target(), Paint(kBlack, patCopy), 8, 0, 20, 7, 0, 0);
    qiva::SpanFill(b.Target(), Paint(kBlack, patCopy), -5, -5, -1, 20, 0, 0);
    EXPECT_EQ(b.pixels, before);
}

TEST(MaskedCopy, SkipsTransparentAndInvertsInXor) {
    Buffer b(20, 2, 50);
    std::vector<std::uint8_t> src(20 * 2);
    for (int i = 0; i < 40; ++i)
        src[i] = (i % 3 == 0) ? 10 : static_cast<std::uint8_t>(100 + i);
    qiva::MaskedCopy(b.Target(), 0, 0, 19, 1, src.data(), 20, 10, false, kInversion.data());
    for (int i = 0; i < 40; ++i)
        EXPECT_EQ(b.At(i % 20, i / 20), i % 3 == 0 ? 50 : 100 + i) << i;

    Buffer x(20, 2, 50);
    qiva::MaskedCopy(x.Target(), 0, 0, 19, 1, src.data(), 20, 10, true, kInversion.data());
    for (int i = 0; i < 40; ++i)
        EXPECT_EQ(x.At(i % 20, i / 20), i % 3 == 0 ? 50 : kInversion[50]) << i;

    // Clipped at the left and top edges: the source moves with the clipping.
    Buffer c(4, 4, 0);
    std::vector<std::uint8_t> s(6 * 6);
    std::iota(s.begin(), s.end(), 20);
    qiva::MaskedCopy(c.Target(), -2, -2, 3, 3, s.data(), 6, 10, false, kInversion.data());
    EXPECT_EQ(c.At(0, 0), 20 + 2 * 6 + 2);
    EXPECT_EQ(c.At(3, 3), 20 + 5 * 6 + 5);
}

TEST(RowCopy, OverlappingInBothDirections) {
    Buffer b(10, 2, 0);
    for (int i = 0; i < 10; ++i)
        b.pixels[i] = static_cast<std::uint8_t>(i + 1);
    qiva::RowCopy(b.Target(), 0, 0, 5, 2, 0); // forward overlap
    const std::uint8_t forward[10] = {1, 2, 1, 2, 3, 4, 5, 6, 9, 10};
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(b.At(i, 0), forward[i]) << i;
    qiva::RowCopy(b.Target(), 4, 0, 9, 0, 1); // onto the next row
    qiva::RowCopy(b.Target(), 2, 0, 9, 0, 0); // backward overlap
    const std::uint8_t backward[10] = {1, 2, 3, 4, 5, 6, 9, 10, 9, 10};
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(b.At(i, 0), backward[i]) << i;
    EXPECT_EQ(b.At(0, 1), 3);
    qiva::RowCopy(b.Target(), 0, 0, 9, 5, 0); // runs past the right edge: clipped
    EXPECT_EQ(b.At(9, 0), 5);
}

TEST(SaveBlock, SaveAndRestoreRoundTrip) {
    Buffer b(12, 9, 0);
    std::iota(b.pixels.begin(), b.pixels.end(), 0);
    const std::vector<std::uint8_t> before = b.pixels;
    ASSERT_EQ(qiva::SaveBlockSize(2, 3, 7, 8), 5u * 5u + 8u);
    std::vector<std::uint8_t> block(qiva::SaveBlockSize(2, 3, 7, 8));
    qiva::SaveBlock(b.Target(), 2, 3, 7, 8, block.data());
    EXPECT_EQ(block[8], b.At(2, 3));
    qiva::SpanFill(b.Target(), Paint(kBlack, patCopy), 0, 0, 11, 8, 0, 0);
    qiva::RestoreBlock(b.Target(), block.data());
    for (int v = 3; v < 8; ++v)
        for (int h = 2; h < 7; ++h)
            EXPECT_EQ(b.At(h, v), before[static_cast<std::size_t>(v) * b.rowBytes + h]);
    EXPECT_EQ(b.At(1, 3), 11);
    EXPECT_EQ(b.At(7, 3), 11);
}

} // namespace
