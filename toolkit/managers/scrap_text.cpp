#include "toolkit/managers/scrap_text.h"

#include <array>

#include "platform/mac_roman.h"
#include "toolkit/core/charset.h"

namespace qiva {
namespace {

// Characters of the Macintosh set that have no counterpart in code page 1252, or whose historical
// counterpart differs from it, and what the toolkit has always exported for them.
constexpr std::pair<std::uint8_t, std::uint8_t> kLookAlikes[] = {
    {161, 186}, {173, 61},  {176, 164}, {178, 60},  {179, 62},  {182, 100}, {183, 83},  {184, 182},
    {185, 182}, {186, 131}, {189, 79},  {191, 216}, {195, 86},  {197, 126}, {198, 65},  {215, 164},
    {218, 47},  {219, 164}, {222, 131}, {223, 131}, {240, 64},  {245, 185}, {247, 126}, {249, 175},
    {250, 186}, {251, 176}, {253, 34},  {254, 184}, {255, 136},
};

std::array<std::uint8_t, 256> MakeExportTable() {
    std::array<std::uint8_t, 256> table{};
    for (int c = 0; c < 256; ++c) {
        const int cp = UnicodeToCp1252(platform::MacRomanToUnicode(static_cast<std::uint8_t>(c)));
        table[c] = static_cast<std::uint8_t>(cp >= 0 ? cp : '?');
    }
    table[127] = 166;
    for (const auto& [mac, cp] : kLookAlikes)
        table[mac] = cp;
    return table;
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// One UTF-8 sequence at text[i], advancing i; -1 for a malformed one (one byte consumed).
long NextCodePoint(std::string_view text, std::size_t& i) {
    const auto b0 = static_cast<unsigned char>(text[i++]);
    if (b0 < 0x80) return b0;
    int extra = 0;
    long cp = 0;
    if ((b0 & 0xE0) == 0xC0) {
        extra = 1;
        cp = b0 & 0x1F;
    } else if ((b0 & 0xF0) == 0xE0) {
        extra = 2;
        cp = b0 & 0x0F;
    } else if ((b0 & 0xF8) == 0xF0) {
        extra = 3;
        cp = b0 & 0x07;
    } else {
        return -1;
    }
    const std::size_t start = i;
    for (int k = 0; k < extra; ++k) {
        if (i >= text.size() || (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            i = start;
            return -1;
        }
        cp = (cp << 6) | (static_cast<unsigned char>(text[i++]) & 0x3F);
    }
    static constexpr long kSmallest[] = {0, 0x80, 0x800, 0x10000};
    if (cp < kSmallest[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return -1;
    return cp;
}

} // namespace

std::uint8_t MacToCp1252(std::uint8_t ch) {
    static const std::array<std::uint8_t, 256> table = MakeExportTable();
    return table[ch];
}

std::string ClipboardToScrapText(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        if (utf8[i] == '\r' || utf8[i] == '\n') {
            out += '\r';
            i += utf8.compare(i, 2, "\r\n") == 0 ? 2 : 1;
            continue;
        }
        const long cp = NextCodePoint(utf8, i);
        const int code = cp < 0 ? -1 : UnicodeToCp1252(static_cast<char32_t>(cp));
        out += static_cast<char>(Cp1252ToMac(static_cast<std::uint8_t>(code >= 0 ? code : '?')));
    }
    return out;
}

std::string ScrapTextToClipboard(std::string_view macText) {
    std::string out;
    out.reserve(macText.size());
    for (const char c : macText) {
        if (c == '\r') {
            out += '\n';
            continue;
        }
        // The export table never lands on one of the five bytes code page 1252 leaves undefined.
        AppendUtf8(out, Cp1252ToUnicode(MacToCp1252(static_cast<std::uint8_t>(c))));
    }
    return out;
}

} // namespace qiva
