#pragma once
// UTF-8, the encoding of every text that crosses the edge of the system: script and source files,
// the terminal, SDL's text input. One decoder, strict about what it accepts.

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Decodes the sequence at text[i] and steps i past it. A malformed sequence (a byte that cannot lead,
// a missing continuation, an overlong form, a surrogate, a code point above U+10FFFF) gives nothing and
// steps over its first byte only, so that decoding goes on at the next one. i must be below text.size().
std::optional<char32_t> DecodeUtf8(std::string_view text, std::size_t& i);

// Every code point of the text, each malformed sequence's first byte replaced by `replacement`.
std::u32string DecodeUtf8Text(std::string_view text, char32_t replacement = 0xFFFD);

// Appends the encoding of a code point (which must be a valid one).
void AppendUtf8(std::string& out, char32_t cp);

} // namespace platform
