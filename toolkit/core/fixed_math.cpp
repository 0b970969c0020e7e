#include "toolkit/core/fixed_math.h"

#include <limits>

namespace {

constexpr std::int32_t kLargest = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kSmallest = std::numeric_limits<std::int32_t>::min();

std::int32_t Saturate(std::int64_t value) {
    if (value > kLargest) return kLargest;
    if (value < kSmallest) return kSmallest;
    return static_cast<std::int32_t>(value);
}

// The largest integer not above a / b, for b > 0 (C++ division truncates towards zero).
std::int64_t FloorDivide(std::int64_t a, std::int64_t b) {
    const std::int64_t q = a / b;
    return (a % b != 0 && a < 0) ? q - 1 : q;
}

// The value scaled down by 2^shift, rounded to nearest with halves up, then saturated to 32 bits.
std::int32_t RoundShift(std::int64_t value, int shift) {
    // An arithmetic shift floors, so adding half first rounds halves upwards.
    const std::int64_t half = std::int64_t{1} << (shift - 1);
    return Saturate((value + half) >> shift);
}

// numer / denom rounded to nearest with halves up, saturated to 32 bits; denom is not 0.
std::int32_t RoundDivide(std::int64_t numer, std::int64_t denom) {
    if (denom < 0) {
        numer = -numer;
        denom = -denom;
    }
    // floor(numer / denom + 1/2) = floor((2 numer + denom) / (2 denom)); operands fit: |numer| < 2^62.
    return Saturate(FloorDivide(2 * numer + denom, 2 * denom));
}

} // namespace

Fixed FixRatio(std::int16_t numer, std::int16_t denom) {
    if (denom == 0) return numer >= 0 ? 0x7FFFFFFF : static_cast<Fixed>(0x80000001u);
    return RoundDivide(std::int64_t{numer} << 16, denom);
}

Fixed FixMul(Fixed a, Fixed b) {
    return RoundShift(std::int64_t{a} * b, 16);
}

Fixed FixDiv(Fixed a, Fixed b) {
    if (b == 0) return a >= 0 ? 0x7FFFFFFF : std::numeric_limits<Fixed>::min();
    return RoundDivide(std::int64_t{a} << 16, b);
}

std::int16_t FixRound(Fixed x) {
    const std::int32_t n = RoundShift(x, 16);
    if (n > std::numeric_limits<std::int16_t>::max()) return std::numeric_limits<std::int16_t>::max();
    return static_cast<std::int16_t>(n);
}

std::int32_t Fix2Long(Fixed x) {
    return RoundShift(x, 16);
}

Fixed Long2Fix(std::int32_t x) {
    if (x > 32767) return 0x7FFFFFFF;
    if (x < -32768) return std::numeric_limits<Fixed>::min();
    return static_cast<Fixed>(static_cast<std::uint32_t>(x) << 16);
}

Fract FracMul(Fract a, Fract b) {
    return RoundShift(std::int64_t{a} * b, 30);
}

Fract FracDiv(Fract a, Fract b) {
    if (b == 0) return a >= 0 ? 0x7FFFFFFF : std::numeric_limits<Fract>::min();
    return RoundDivide(std::int64_t{a} << 30, b);
}

Fract Fix2Frac(Fixed x) {
    const std::int64_t scaled = std::int64_t{x} << 14;
    if (scaled > 0x7FFFFFFF) return 0x7FFFFFFF;
    if (scaled < std::numeric_limits<Fract>::min()) return std::numeric_limits<Fract>::min();
    return static_cast<Fract>(scaled);
}

Fixed Frac2Fix(Fract x) {
    return RoundShift(x, 14);
}
