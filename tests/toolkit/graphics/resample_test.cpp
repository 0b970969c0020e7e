#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <string>
#include <vector>

#include "toolkit/graphics/resample.h"

namespace {

using qiva::kTransparentIndex;
using qiva::TransferSource;

TransferSource EightBit(const std::vector<std::uint8_t>& pixels, int width, int height) {
    TransferSource s;
    s.base = pixels.data();
    s.rowBytes = width;
    s.pixelSize = 8;
    s.width = width;
    s.height = height;
    std::iota(s.map.begin(), s.map.end(), 0);
    return s;
}

// One-bit image from rows of '#' and '.'.
struct Bits {
    std::vector<std::uint8_t> bytes;
    TransferSource source;
    Bits(const std::vector<std::string>& rows) {
        const int w = static_cast<int>(rows[0].size()), h = static_cast<int>(rows.size());
        const int rowBytes = (w + 15) / 16 * 2;
        bytes.assign(static_cast<std::size_t>(rowBytes) * h, 0);
        for (int v = 0; v < h; ++v)
            for (int x = 0; x < w; ++x)
                if (rows[v][x] == '#')
                    bytes[v * rowBytes + x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        source.base = bytes.data();
        source.rowBytes = rowBytes;
        source.pixelSize = 1;
        source.width = w;
        source.height = h;
        source.map.fill(0);
        source.map[0] = 226; // background
        source.map[1] = 11;  // foreground
    }
};

std::vector<std::string> Picture(const std::vector<std::uint8_t>& block, int width, int height) {
    std::vector<std::string> rows;
    for (int v = 0; v < height; ++v) {
        std::string row;
        for (int h = 0; h < width; ++h)
            row += block[v * width + h] == kTransparentIndex ? '.' : '#';
        rows.push_back(row);
    }
    return rows;
}

TEST(Resample, SameSizeThroughTheMapWithSourceOrigin) {
    Bits bits({"#..#", ".##."});
    bits.source.originH = 100;
    bits.source.originV = 50;
    std::vector<std::uint8_t> block(4 * 2);
    ASSERT_TRUE(qiva::Resample(bits.source, Rect{50, 100, 52, 104}, 4, 2, qiva::FetchMapped, block.data()));
    const std::vector<std::uint8_t> want = {11, 226, 226, 11, 226, 11, 11, 226};
    EXPECT_EQ(block, want);
    // A rectangle reaching outside the image reads transparent there instead of past the image.
    std::vector<std::uint8_t> wider(6 * 2);
    ASSERT_TRUE(qiva::Resample(bits.source, Rect{50, 99, 52, 105}, 6, 2, qiva::FetchMapped, wider.data()));
    EXPECT_EQ(wider[0], kTransparentIndex);
    EXPECT_EQ(wider[1], 11);
    EXPECT_EQ(wider[5], kTransparentIndex);
}

TEST(Resample, EnlargingEightBitRepeatsPixels) {
    const std::vector<std::uint8_t> pixels = {1, 2, 3, 4};
    std::vector<std::uint8_t> block(4 * 4);
    ASSERT_TRUE(
        qiva::Resample(EightBit(pixels, 2, 2), Rect{0, 0, 2, 2}, 4, 4, qiva::FetchMapped, block.data()));
    const std::vector<std::uint8_t> want = {1, 1, 2, 2, 1, 1, 2, 2, 3, 3, 4, 4, 3, 3, 4, 4};
    EXPECT_EQ(block, want);
}

TEST(Resample, ShrinkingEightBitLastPixelWins) {
    std::vector<std::uint8_t> pixels(4 * 4);
    std::iota(pixels.begin(), pixels.end(), 20);
    std::vector<std::uint8_t> block(2 * 2);
    ASSERT_TRUE(
        qiva::Resample(EightBit(pixels, 4, 4), Rect{0, 0, 4, 4}, 2, 2, qiva::FetchMapped, block.data()));
    const std::vector<std::uint8_t> want = {20 + 5, 20 + 7, 20 + 13, 20 + 15};
    EXPECT_EQ(block, want);
}

TEST(Resample, ShrinkingOneBitLetsSetPixelsWin) {
    Bits bits({"#...", "....", "...#", "...."});
    std::vector<std::uint8_t> block(2 * 2);
    ASSERT_TRUE(qiva::Resample(bits.source, Rect{0, 0, 4, 4}, 2, 2, qiva::FetchBit, block.data()));
    EXPECT_EQ(Picture(block, 2, 2), (std::vector<std::string>{"#.", ".#"}));
}

TEST(Resample, EnlargingOneBitSmoothsEdges) {
    // Block pixels sample the source at 0, 1/4, 1/2, 3/4 of each source pixel. A lone pixel loses
    // the corners near its edges; a diagonal pair is joined where its concave corners meet.
    Bits lone({"#"});
    std::vector<std::uint8_t> block(4 * 4);
    ASSERT_TRUE(qiva::Resample(lone.source, Rect{0, 0, 1, 1}, 4, 4, qiva::FetchBit, block.data()));
    EXPECT_EQ(Picture(block, 4, 4), (std::vector<std::string>{"....", ".##.", ".###", "..#."}));

    Bits diagonal({"#.", ".#"});
    std::vector<std::uint8_t> big(8 * 8);
    ASSERT_TRUE(qiva::Resample(diagonal.source, Rect{0, 0, 2, 2}, 8, 8, qiva::FetchBit, big.data()));
    EXPECT_EQ(Picture(big, 8, 8), (std::vector<std::string>{"........", ".##.....", ".####...", "..####..",
                                                            "..####..", "...####.", ".....###", "......#."}));
}

// The same pixels through a fetch of the test's own: Resample cannot take its direct paths then.
std::uint8_t SlowFetch(const TransferSource& s, int h, int v) {
    return qiva::FetchMapped(s, h, v);
}

TEST(Resample, DirectPathsAgreeWithPixelByPixelFetching) {
    std::vector<std::uint8_t> pixels(13 * 9);
    for (std::size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = static_cast<std::uint8_t>(i * 7 % 256);
    TransferSource s = EightBit(pixels, 13, 9);
    s.originH = -3;
    s.originV = 2;
    std::reverse(s.map.begin(), s.map.end());
    const Rect source{3, -2, 10, 9}; // rows 1-7, columns 1-11 of the image
    for (int w : {1, 5, 11, 12, 29})
        for (int h : {1, 4, 7, 8, 20}) {
            std::vector<std::uint8_t> fast(static_cast<std::size_t>(w) * h), slow(fast.size());
            ASSERT_TRUE(qiva::Resample(s, source, w, h, qiva::FetchMapped, fast.data()));
            ASSERT_TRUE(qiva::Resample(s, source, w, h, SlowFetch, slow.data()));
            EXPECT_EQ(fast, slow) << w << " x " << h;
        }
}

TEST(Resample, EmptySizesProduceNothing) {
    const std::vector<std::uint8_t> pixels = {1};
    std::vector<std::uint8_t> block(4, 99);
    const auto s = EightBit(pixels, 1, 1);
    EXPECT_FALSE(qiva::Resample(s, Rect{0, 0, 1, 1}, 0, 2, qiva::FetchMapped, block.data()));
    EXPECT_FALSE(qiva::Resample(s, Rect{0, 0, 1, 0}, 2, 2, qiva::FetchMapped, block.data()));
    EXPECT_FALSE(qiva::Resample(s, Rect{0, 5, 1, 1}, 2, 2, qiva::FetchMapped, block.data()));
    EXPECT_EQ(block, std::vector<std::uint8_t>(4, 99));
}

} // namespace
