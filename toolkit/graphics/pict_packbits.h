#pragma once

// PackBits, the byte-run compression of picture rows. A flag byte n, read as signed, copies the next
// n + 1 bytes when n >= 0 and repeats the next byte 1 - n times when n < 0 (so -128 repeats it 129
// times). Rows are packed one by one, so a run never crosses from one row into the next.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace qiva::pict {

// Unpacks one packed row into row. Refused (false) when a run would write past the row's end or the
// packed bytes end inside a run; a row that comes out short is accepted and its rest set to 0.
bool UnpackRow(std::span<const std::uint8_t> packed, std::span<std::uint8_t> row);

// The same with runs of 16-bit words (the packing of 16-bit direct pixels): a flag n >= 0 copies the
// next n + 1 words, n < 0 repeats the next word 1 - n times. row holds whole words.
bool UnpackWordRow(std::span<const std::uint8_t> packed, std::span<std::uint8_t> row);

// Appends row packed: repeats of three bytes or more become runs (at most 128 each, never the -128
// flag, which some readers take as a no-op), everything else literal runs of at most 128.
void PackRow(std::span<const std::uint8_t> row, std::vector<std::uint8_t>& out);

} // namespace qiva::pict
