#pragma once
// The Macintosh character set, in which every text inside the toolkit is kept, and its conversion to
// Unicode at the edges of the system (FreeType, UTF-8 for files, the terminal and SDL).

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// The code point of a Macintosh character. 0-127 are ASCII (control characters included).
char32_t MacRomanToUnicode(std::uint8_t ch);

// The Macintosh character of a code point, or -1 when the set has none.
int UnicodeToMacRoman(char32_t cp);

std::string MacRomanToUtf8(std::string_view text);

// Decodes UTF-8 into Macintosh characters. A code point the set lacks, and a malformed sequence,
// become `replacement`, so that no text is lost silently in length.
std::string Utf8ToMacRoman(std::string_view utf8, char replacement = '?');

} // namespace platform
