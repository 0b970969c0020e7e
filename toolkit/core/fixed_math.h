#pragma once
// Fixed-point arithmetic of the Toolbox utilities: Fixed (16.16) and Fract (2.30) numbers. Results are
// rounded to the nearest representable value, halves upwards (4.5 gives 5, -3.5 gives -3), and a
// result too large for its type saturates at 0x7FFFFFFF or 0x80000000. Free of global state.

#include <cstdint>

#include "toolkit/core/mac_types.h"

constexpr Fixed fixed1 = 0x00010000;
constexpr Fract fract1 = 0x40000000;

// numer / denom as a Fixed; a zero denom gives 0x7FFFFFFF (numer >= 0) or 0x80000001 (numer < 0).
Fixed FixRatio(std::int16_t numer, std::int16_t denom);
// a * b, either operand Fixed: Fixed * Fixed is Fixed, Fixed * long is long, Fixed * Fract is Fract.
Fixed FixMul(Fixed a, Fixed b);
// a / b for two numbers of the same kind giving a Fixed (or long / Fixed giving long); a zero b gives
// 0x7FFFFFFF (a >= 0) or 0x80000000.
Fixed FixDiv(Fixed a, Fixed b);
// The nearest integer, as a 16-bit one (clamped) and as a long.
std::int16_t FixRound(Fixed x);
std::int32_t Fix2Long(Fixed x);
// The long as a Fixed, saturated outside -32768..32767.
Fixed Long2Fix(std::int32_t x);

// Fract counterparts: FracMul(Fract, Fract) is Fract, FracDiv(a, b) of same-kind operands is Fract
// (zero divisor as FixDiv).
Fract FracMul(Fract a, Fract b);
Fract FracDiv(Fract a, Fract b);
Fract Fix2Frac(Fixed x);
Fixed Frac2Fix(Fract x);
