#pragma once
// The layout of the scrap's entries, free of any state: one entry after another, each a type, an
// entry length (the data length + 4), the data length and the data, unpadded, the three numbers
// 32-bit little-endian. The block in memory and the scrap file hold exactly these bytes.

#include <cstddef>
#include <cstdint>
#include <span>

#include "toolkit/core/mac_types.h"

namespace qiva {

// Bytes an entry takes before its data.
inline constexpr std::size_t kScrapEntryHeader = 12;

// Writes the header of an entry of `length` data bytes at `dest` (kScrapEntryHeader bytes).
void WriteScrapEntryHeader(std::uint8_t* dest, ResType type, std::int32_t length);

struct ScrapEntry {
    std::int32_t offset; // of the data, from the start of the block
    std::int32_t length; // of the data
};

// The first entry of `type`. The walk stops, as if the type were absent, at an entry whose lengths
// are negative or run past the block, so a damaged scrap file is never read out of bounds.
bool FindScrapEntry(std::span<const std::uint8_t> block, ResType type, ScrapEntry* found);

} // namespace qiva
