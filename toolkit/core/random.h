#pragma once
// The toolkit's one source of randomness: a Lehmer generator (multiplier 16807) in 32-bit
// arithmetic without the final modular correction, so its sequence is fixed for every run.

#include <cstdint>

// The generator's state. InitGraf sets it to 1; nothing else in the program reseeds it.
extern std::uint32_t randSeed;

namespace qiva {

// One step of the generator, free of global state.
constexpr std::uint32_t NextRandomSeed(std::uint32_t seed) {
    const auto lo = static_cast<std::int32_t>(seed & 0xFFFFu);
    const std::int32_t hi = static_cast<std::int32_t>(seed) >> 16; // arithmetic: the seed is signed
    const std::uint32_t p = static_cast<std::uint32_t>(lo) * 16807u;
    // t = hi * 16807 + (p >> 16), wrapping in 32 bits
    const std::uint32_t t = static_cast<std::uint32_t>(hi) * 16807u + (p >> 16);
    return (p & 0xFFFFu) + ((t & 0x7FFFu) << 16) + (t >> 15);
}

} // namespace qiva

// Advances randSeed one step and returns the low 16 bits of the new seed as a signed number.
// Inline: every leaf of the computer's search draws one value.
inline std::int16_t Random() {
    randSeed = qiva::NextRandomSeed(randSeed);
    return static_cast<std::int16_t>(randSeed & 0xFFFFu);
}
