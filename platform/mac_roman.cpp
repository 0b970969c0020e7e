#include "platform/mac_roman.h"

#include "platform/utf8.h"

#include <algorithm>
#include <array>
#include <utility>

namespace platform {

namespace {

// 0x80-0xFF; 0xDB is the euro sign (its current meaning), 0xF0 the private-use logo character.
constexpr std::array<char16_t, 128> kHigh = {
    0x00C4, 0x00C5, 0x00C7, 0x00C9, 0x00D1, 0x00D6, 0x00DC, 0x00E1, 0x00E0, 0x00E2, 0x00E4, 0x00E3, 0x00E5,
    0x00E7, 0x00E9, 0x00E8, 0x00EA, 0x00EB, 0x00ED, 0x00EC, 0x00EE, 0x00EF, 0x00F1, 0x00F3, 0x00F2, 0x00F4,
    0x00F6, 0x00F5, 0x00FA, 0x00F9, 0x00FB, 0x00FC, 0x2020, 0x00B0, 0x00A2, 0x00A3, 0x00A7, 0x2022, 0x00B6,
    0x00DF, 0x00AE, 0x00A9, 0x2122, 0x00B4, 0x00A8, 0x2260, 0x00C6, 0x00D8, 0x221E, 0x00B1, 0x2264, 0x2265,
    0x00A5, 0x00B5, 0x2202, 0x2211, 0x220F, 0x03C0, 0x222B, 0x00AA, 0x00BA, 0x03A9, 0x00E6, 0x00F8, 0x00BF,
    0x00A1, 0x00AC, 0x221A, 0x0192, 0x2248, 0x2206, 0x00AB, 0x00BB, 0x2026, 0x00A0, 0x00C0, 0x00C3, 0x00D5,
    0x0152, 0x0153, 0x2013, 0x2014, 0x201C, 0x201D, 0x2018, 0x2019, 0x00F7, 0x25CA, 0x00FF, 0x0178, 0x2044,
    0x20AC, 0x2039, 0x203A, 0xFB01, 0xFB02, 0x2021, 0x00B7, 0x201A, 0x201E, 0x2030, 0x00C2, 0x00CA, 0x00C1,
    0x00CB, 0x00C8, 0x00CD, 0x00CE, 0x00CF, 0x00CC, 0x00D3, 0x00D4, 0xF8FF, 0x00D2, 0x00DA, 0x00DB, 0x00D9,
    0x0131, 0x02C6, 0x02DC, 0x00AF, 0x02D8, 0x02D9, 0x02DA, 0x00B8, 0x02DD, 0x02DB, 0x02C7};

// The high half sorted by code point, for the reverse look-up.
struct Reverse {
    std::array<std::pair<char16_t, std::uint8_t>, 128> pairs{};
    constexpr Reverse() {
        for (int i = 0; i < 128; ++i)
            pairs[i] = {kHigh[i], static_cast<std::uint8_t>(0x80 + i)};
        std::sort(pairs.begin(), pairs.end());
    }
};
constexpr Reverse kReverse;

} // namespace

char32_t MacRomanToUnicode(std::uint8_t ch) {
    return ch < 0x80 ? ch : kHigh[ch - 0x80];
}

int UnicodeToMacRoman(char32_t cp) {
    if (cp < 0x80) return static_cast<int>(cp);
    if (cp > 0xFFFF) return -1;
    const auto key = static_cast<char16_t>(cp);
    const auto* it = std::lower_bound(kReverse.pairs.begin(), kReverse.pairs.end(), key,
                                      [](const auto& pair, char16_t k) { return pair.first < k; });
    if (it == kReverse.pairs.end() || it->first != key) return -1;
    return it->second;
}

std::string MacRomanToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text)
        AppendUtf8(out, MacRomanToUnicode(static_cast<std::uint8_t>(c)));
    return out;
}

std::string Utf8ToMacRoman(std::string_view utf8, char replacement) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const std::optional<char32_t> cp = DecodeUtf8(utf8, i);
        const int ch = cp ? UnicodeToMacRoman(*cp) : -1;
        out += ch < 0 ? replacement : static_cast<char>(ch);
    }
    return out;
}

} // namespace platform
