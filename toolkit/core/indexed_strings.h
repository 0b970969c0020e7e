#pragma once
// Indexed strings: the strings of a 'STR#' resource (a 16-bit big-endian count, then each string as a
// length byte and its characters), read by their number counted from 1.

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

// String `index` of 'STR#' `strListID`, zero-terminated in `theString` (room for 256 bytes). Empty when
// the resource is missing, the index is not between 1 and the count, or the string lies past the end
// of the resource. The resource is loaded with GetResource and not released.
void GetIndString(char* theString, std::int16_t strListID, std::int16_t index);

namespace qiva {

// The characters of string `index` in a 'STR#' image; nothing when the index is out of range or the
// image ends before the string does.
std::optional<std::string_view> IndexedString(std::span<const std::uint8_t> list, int index);

} // namespace qiva
