#include "toolkit/managers/scrap_entries.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr ResType kText = MakeResType("TEXT");
constexpr ResType kPict = MakeResType("PICT");

// A block of entries, each made by the writer under test.
std::vector<std::uint8_t> Block(const std::vector<std::pair<ResType, std::string>>& entries) {
    std::vector<std::uint8_t> block;
    for (const auto& [type, data] : entries) {
        const std::size_t at = block.size();
        block.resize(at + qiva::kScrapEntryHeader + data.size());
        qiva::WriteScrapEntryHeader(&block[at], type, static_cast<std::int32_t>(data.size()));
        std::copy(data.begin(), data.end(), block.begin() + static_cast<long>(at + qiva::kScrapEntryHeader));
    }
    return block;
}

TEST(ScrapEntries, HeaderIsTypeEntryLengthAndDataLengthLittleEndian) {
    const auto block = Block({{kText, "hello"}});
    const std::vector<std::uint8_t> expected = {'T', 'X', 'E', 'T', 9,   0,   0,   0,  5,
                                                0,   0,   0,   'h', 'e', 'l', 'l', 'o'};
    EXPECT_EQ(block, expected) << "17 bytes for 5 of data, no padding";
}

TEST(ScrapEntries, FindsTheFirstEntryOfItsType) {
    const auto block = Block({{kPict, "abc"}, {kText, "one"}, {kText, "second"}});
    struct Case {
        ResType type;
        bool found;
        std::int32_t offset, length;
    };
    for (const Case& c : {Case{kPict, true, 12, 3}, Case{kText, true, 12 + 3 + 12, 3},
                          Case{MakeResType("styl"), false, 0, 0}}) {
        qiva::ScrapEntry e{-7, -7};
        EXPECT_EQ(qiva::FindScrapEntry(block, c.type, &e), c.found);
        if (c.found) {
            EXPECT_EQ(e.offset, c.offset);
            EXPECT_EQ(e.length, c.length);
        }
    }
}

TEST(ScrapEntries, DamagedBlocksAreNeverReadPastTheirEnd) {
    const auto good = Block({{kPict, "abcd"}, {kText, "xyz"}});
    auto negative = good;
    negative[4] = 0xF0, negative[7] = 0xFF; // PICT's entry length negative
    auto pastEnd = good;
    pastEnd[4] = 200; // PICT's entry length beyond the block
    auto dataTooLong = good;
    dataTooLong[16 + 8] = 50; // TEXT's data length beyond its entry
    auto entryTooShort = good;
    entryTooShort[16 + 4] = 2; // TEXT's entry length cannot hold its data length
    for (const auto* block : {&negative, &pastEnd, &dataTooLong, &entryTooShort}) {
        qiva::ScrapEntry e{};
        EXPECT_FALSE(qiva::FindScrapEntry(*block, kText, &e));
    }
    // Cut anywhere, the block still answers without reading past its end.
    for (std::size_t n = 0; n < good.size(); ++n) {
        const std::vector<std::uint8_t> cut(good.begin(), good.begin() + static_cast<long>(n));
        qiva::ScrapEntry e{};
        EXPECT_FALSE(qiva::FindScrapEntry(cut, kText, &e)) << n;
    }
}

} // namespace
