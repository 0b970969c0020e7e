#include <gtest/gtest.h>

#include <cstdint>

#include "toolkit/core/fixed_math.h"

namespace {

constexpr Fixed kHalf = 0x8000;
constexpr Fixed kMax = 0x7FFFFFFF;
constexpr Fixed kMin = static_cast<Fixed>(0x80000000u);

struct Binary {
    std::int32_t a, b, expected;
};

TEST(FixedMath, FixRatio) {
    const Binary cases[] = {
        {1, 2, kHalf},
        {1, 3, 0x5555},   // 21845.33 down
        {2, 3, 0xAAAB},   // 43690.67 up
        {-1, 3, -0x5555}, // nearest, not truncated towards minus infinity
        {1, -3, -0x5555},
        {5, -2, -0x28000}, // exact
        {32767, 1, 0x7FFF0000},
        {-32768, 1, kMin},
        {0, 7, 0},
        {1, 0, kMax}, // division by zero
        {0, 0, kMax},
        {-1, 0, static_cast<Fixed>(0x80000001u)},
    };
    for (const Binary& c : cases)
        EXPECT_EQ(FixRatio(static_cast<std::int16_t>(c.a), static_cast<std::int16_t>(c.b)), c.expected)
            << c.a << " / " << c.b;
}

TEST(FixedMath, FixMulRoundsHalvesUpAndSaturates) {
    const Binary cases[] = {
        {0x18000, 0x20000, 0x30000}, // 1.5 * 2
        {3, kHalf, 2},               // long * Fixed: 1.5 rounds up
        {-3, kHalf, -1},             // -1.5 rounds up too
        {-0x10000, 5, -5},
        {1, 1, 0},
        {kHalf, 1, 1},
        {fixed1, fract1, fract1}, // Fixed * Fract is a Fract
        {0x7FFF0000, 0x20000, kMax},
        {0x7FFF0000, -0x20000, kMin},
        {kMin, kMin, kMax},
    };
    for (const Binary& c : cases)
        EXPECT_EQ(FixMul(c.a, c.b), c.expected) << c.a << " * " << c.b;
}

TEST(FixedMath, FixDiv) {
    const Binary cases[] = {
        {0x30000, 0x20000, 0x18000},
        {7, 2, 0x38000}, // long / long gives Fixed
        {0x10000, 0x30000, 0x5555},
        {1, 0x20000, 1}, // half a unit rounds up
        {-1, 0x20000, 0},
        {0x10000, -0x40000, -0x4000},
        {kMax, 1, kMax}, // overflow
        {-kMax, 1, kMin},
        {1, 0, kMax}, // division by zero
        {0, 0, kMax},
        {-1, 0, kMin},
    };
    for (const Binary& c : cases)
        EXPECT_EQ(FixDiv(c.a, c.b), c.expected) << c.a << " / " << c.b;
}

TEST(FixedMath, RoundingToIntegers) {
    struct Case {
        Fixed x;
        std::int16_t round;
        std::int32_t toLong;
    };
    const Case cases[] = {
        {0x48000, 5, 5},    // 4.5
        {-0x38000, -3, -3}, // -3.5
        {0x47FFF, 4, 4},        {-0x48001, -5, -5}, {0, 0, 0},
        {kMax, 32767, 32768}, // 32767.99998: the short is clamped
        {kMin, -32768, -32768},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FixRound(c.x), c.round) << c.x;
        EXPECT_EQ(Fix2Long(c.x), c.toLong) << c.x;
    }
}

TEST(FixedMath, Long2FixSaturates) {
    const std::pair<std::int32_t, Fixed> cases[] = {
        {5, 0x50000},   {-5, -0x50000}, {32767, 0x7FFF0000}, {32768, kMax}, {-32768, kMin},
        {-32769, kMin}, {0, 0},
    };
    for (const auto& [x, expected] : cases)
        EXPECT_EQ(Long2Fix(x), expected) << x;
}

TEST(FixedMath, FractArithmetic) {
    const Binary products[] = {
        {fract1, fract1, fract1},
        {0x20000000, 0x20000000, 0x10000000}, // 0.5 * 0.5
        {-fract1, 0x20000000, -0x20000000},
        {1, 0x20000000, 1}, // half a unit rounds up
        {kMax, kMax, kMax},
    };
    for (const Binary& c : products)
        EXPECT_EQ(FracMul(c.a, c.b), c.expected) << c.a << " * " << c.b;
    const Binary quotients[] = {
        {1, 3, 0x15555555},          // long / long gives Fract
        {fract1, 0x20000000, kMax},  // 2.0 does not fit
        {-fract1, 0x20000000, kMin}, // -2.0 does
        {1, 0, kMax},
        {-1, 0, kMin},
    };
    for (const Binary& c : quotients)
        EXPECT_EQ(FracDiv(c.a, c.b), c.expected) << c.a << " / " << c.b;
}

TEST(FixedMath, ConversionsBetweenFixedAndFract) {
    const std::pair<Fixed, Fract> toFract[] = {
        {fixed1, fract1}, {kHalf, 0x20000000}, {0x10001, 0x40004000}, {0x20000, kMax}, {-0x20000, kMin},
    };
    for (const auto& [x, expected] : toFract)
        EXPECT_EQ(Fix2Frac(x), expected) << x;
    const std::pair<Fract, Fixed> toFixed[] = {
        {fract1, fixed1}, {0x2000, 1}, {0x1FFF, 0}, {-0x2000, 0}, {kMin, -0x20000},
    };
    for (const auto& [x, expected] : toFixed)
        EXPECT_EQ(Frac2Fix(x), expected) << x;
}

} // namespace
