#include "toolkit/managers/scrap_text.h"

#include <array>
#include <optional>

#include "platform/mac_roman.h"
#include "platform/utf8.h"
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
        const std::optional<char32_t> cp = platform::DecodeUtf8(utf8, i);
        const int code = cp ? UnicodeToCp1252(*cp) : -1;
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
        platform::AppendUtf8(out, Cp1252ToUnicode(MacToCp1252(static_cast<std::uint8_t>(c))));
    }
    return out;
}

} // namespace qiva
