#pragma once
// Typed characters into the Macintosh character set the toolkit keeps its text in: Unicode to the
// Windows code page 1252 (the keyboard's code page), then the code page to the Macintosh set through
// the toolkit's 256-entry table.

#include <cstdint>

namespace qiva {

// The code page 1252 byte of a code point, or -1 when the code page has none.
int UnicodeToCp1252(char32_t cp);

// The code point of a code page 1252 byte; 0 for the five bytes the code page leaves undefined.
char32_t Cp1252ToUnicode(std::uint8_t ch);

// The toolkit's translation table of typed characters: 0-126 unchanged, the rest to the Macintosh
// character of the same character (63 "?" when there is none), with its historical exceptions.
std::uint8_t Cp1252ToMac(std::uint8_t ch);

// Text leaving the toolkit is converted by the platform (platform/mac_roman.h).

} // namespace qiva
