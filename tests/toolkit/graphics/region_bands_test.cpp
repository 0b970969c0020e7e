#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "toolkit/graphics/region_bands.h"

namespace {

// A region record built by hand: header then scanline words.
std::vector<std::int16_t> RegionWords(Rect box, std::vector<std::int16_t> data) {
    std::vector<std::int16_t> words(5 + data.size());
    words[0] = static_cast<std::int16_t>(10 + 2 * data.size());
    std::memcpy(&words[1], &box, sizeof box);
    std::copy(data.begin(), data.end(), words.begin() + 5);
    return words;
}

struct Seen {
    int top, bottom;
    std::vector<std::int16_t> xs;
    bool operator==(const Seen&) const = default;
};

std::vector<Seen> Walk(const std::vector<std::int16_t>& words, std::size_t bytes) {
    qiva::BandWalker walker;
    walker.Start(reinterpret_cast<const Region*>(words.data()), bytes);
    std::vector<Seen> out;
    qiva::Band band;
    while (walker.Next(band) && out.size() < 100)
        out.push_back({band.top, band.bottom, {band.xs, band.xs + band.count}});
    return out;
}

TEST(BandWalker, RectangularRegionIsOneBand) {
    const auto words = RegionWords(Rect{2, 3, 8, 9}, {});
    const std::vector<Seen> want = {{-32768, 2, {}}, {2, 8, {3, 9}}, {8, 32767, {}}};
    EXPECT_EQ(Walk(words, 10), want);
}

TEST(BandWalker, InversionPointsAccumulateAndCancel) {
    // An L: rows 0-3 cover [0, 10), rows 4-7 cover [0, 4) and [6, 10) (a notch), then nothing.
    const auto words =
        RegionWords(Rect{0, 0, 8, 10}, {0, 0, 10, 32767, 4, 4, 6, 32767, 8, 0, 4, 6, 10, 32767, 32767});
    const std::vector<Seen> want = {{-32768, 0, {}}, {0, 4, {0, 10}}, {4, 8, {0, 4, 6, 10}}, {8, 32767, {}}};
    EXPECT_EQ(Walk(words, words.size() * 2), want);
}

TEST(BandWalker, DamagedRecordsEndTheWalkInsideTheBlock) {
    // No end marks at all, and a size field claiming far more than the block holds.
    auto words = RegionWords(Rect{0, 0, 8, 10}, {0, 0, 10, 4, 2});
    words[0] = 30000;
    const auto bands = Walk(words, words.size() * 2);
    ASSERT_FALSE(bands.empty());
    EXPECT_LE(bands.size(), 3u);
    // Rows out of order still move down.
    const auto backwards = RegionWords(Rect{0, 0, 8, 10}, {5, 0, 10, 32767, 2, 0, 10, 32767, 32767});
    for (const Seen& s : Walk(backwards, backwards.size() * 2))
        EXPECT_LT(s.top, s.bottom);
}

TEST(BandWalker, ReadableBytesStopAtTheBlock) {
    Region r{200, {0, 0, 1, 1}};
    EXPECT_EQ(qiva::RegionReadableBytes(&r, 50), 50u);
    EXPECT_EQ(qiva::RegionReadableBytes(&r, 400), 200u);
    EXPECT_EQ(qiva::RegionReadableBytes(&r, 4), 0u);
    EXPECT_EQ(qiva::RegionReadableBytes(nullptr, 400), 0u);
    Region large{32767, {0, 0, 1, 1}}; // too large for its size field: read the whole block
    EXPECT_EQ(qiva::RegionReadableBytes(&large, 40000), 40000u);
}

} // namespace
