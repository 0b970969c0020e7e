#pragma once
// Text between the toolkit's scrap and the host clipboard. The scrap keeps 'TEXT' in the Macintosh
// character set with carriage returns ending lines; the host clipboard holds UTF-8 with line feeds.
// Both directions go through code page 1252 and the toolkit's two tables, as typed characters do.

#include <cstdint>
#include <string>
#include <string_view>

namespace qiva {

// Clipboard UTF-8 to scrap text: CR LF, a lone LF and a lone CR each end one line (CR); every
// other character goes to code page 1252 ("?" when it has none) and through the typed-character
// table. A malformed UTF-8 sequence becomes "?".
std::string ClipboardToScrapText(std::string_view utf8);

// Scrap text to clipboard UTF-8: CR becomes LF, every other byte goes through the export table to
// code page 1252 and from there to UTF-8.
std::string ScrapTextToClipboard(std::string_view macText);

// The export table: a character of the Macintosh set to code page 1252 (the same character where
// the code page has it, else a look-alike).
std::uint8_t MacToCp1252(std::uint8_t ch);

} // namespace qiva
