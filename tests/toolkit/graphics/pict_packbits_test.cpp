#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "toolkit/graphics/pict_packbits.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using qiva::pict::PackRow;
using qiva::pict::UnpackRow;

struct UnpackCase {
    const char* name;
    Bytes packed;
    std::size_t rowSize;
    bool ok;
    Bytes row; // expected when ok
};

TEST(PackBits, UnpacksRunsAndRefusesRowsThatOverrun) {
    const Bytes r129(129, 0xAB);
    const UnpackCase cases[] = {
        {"literal", {2, 1, 2, 3}, 3, true, {1, 2, 3}},
        {"repeat", {0xFE, 7}, 3, true, {7, 7, 7}},
        {"mixed", {0, 9, 0xFF, 4}, 3, true, {9, 4, 4}},
        {"-128 repeats 129 times", {0x80, 0xAB}, 129, true, r129},
        {"short row is zero-filled", {0, 5}, 3, true, {5, 0, 0}},
        {"literal past the row", {2, 1, 2, 3}, 2, false, {}},
        {"repeat past the row", {0xFD, 1}, 3, false, {}},
        {"-128 past a row of 128", {0x80, 0xAB}, 128, false, {}},
        {"input ends inside a literal", {3, 1, 2}, 4, false, {}},
        {"input ends after a repeat flag", {0xFE}, 3, false, {}},
    };
    for (const UnpackCase& c : cases) {
        Bytes row(c.rowSize, 0xEE);
        EXPECT_EQ(UnpackRow(c.packed, row), c.ok) << c.name;
        if (c.ok) {
            EXPECT_EQ(row, c.row) << c.name;
        }
    }
}

TEST(PackBits, PackedRowsUnpackToThemselvesWithinTheWorstCaseSize) {
    std::mt19937 rng(7);
    for (int trial = 0; trial < 400; ++trial) {
        const std::size_t n = rng() % 700;
        Bytes row(n);
        // Runs of random lengths, so both kinds of run and their 128-byte limits are met.
        for (std::size_t i = 0; i < n;) {
            const std::size_t len = std::min<std::size_t>(n - i, 1 + rng() % (trial % 3 == 0 ? 3 : 300));
            const auto value = static_cast<std::uint8_t>(rng() % (trial % 2 ? 2 : 256));
            for (std::size_t k = 0; k < len; ++k)
                row[i + k] = (trial % 5 == 0) ? static_cast<std::uint8_t>(rng()) : value;
            i += len;
        }
        Bytes packed;
        PackRow(row, packed);
        EXPECT_LE(packed.size(), n + (n + 127) / 128) << "trial " << trial;
        for (std::size_t i = 0; i < packed.size(); ++i) {
            EXPECT_NE(packed[i], 0x80) << "no -128 flag";
            const int flag = static_cast<std::int8_t>(packed[i]);
            i += flag >= 0 ? std::size_t(flag) + 1 : 1;
        }
        Bytes back(n, 0xEE);
        ASSERT_TRUE(UnpackRow(packed, back)) << "trial " << trial;
        EXPECT_EQ(back, row) << "trial " << trial;
    }
}

} // namespace
