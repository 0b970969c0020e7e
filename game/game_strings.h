#pragma once
// The game's texts: the strings of 'STR#' 100 (10100 in English), by index, in the Macintosh
// character set. Formatted with game/message_format.h, which never reads past its arguments.

#include <cstdint>
#include <string>

namespace tolka {

constexpr std::int16_t kGameStrings = 100;

// String `index` of the game's list in the chosen language, zero-terminated in one shared buffer that
// the next call overwrites; empty when it is missing.
const char* GameString(std::int16_t index);
// The same as an owned copy.
std::string GameText(std::int16_t index);

} // namespace tolka
