#pragma once
// The 'MENU' and 'MBAR' resource layouts, read into plain values. State-free; every read is checked
// against the end of the data, so a damaged resource is refused instead of read past its end.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "toolkit/menus/menu_items_parse.h"

namespace qiva {

struct ParsedMenu {
    std::int16_t id = 0;
    std::int16_t width = 0;
    std::int16_t height = 0;
    std::int16_t procId = 0;
    std::uint32_t enableFlags = 0xFFFFFFFF;
    std::string title;
    std::vector<ParsedItem> items; // `enabled` from the enable flags for items 1 to 31
};

// 'MENU': ID, width, height, definition procedure ID, filler, enable flags, the title (length byte
// first), then items (text with its length byte, icon, key, mark and style bytes) up to an empty
// text. Refused (nullopt) when a field runs past the end; a list whose end mark is missing ends at
// the end of the data.
std::optional<ParsedMenu> ParseMenuResource(std::span<const std::uint8_t> data);

// 'MBAR': a count, then that many menu IDs. Refused when the IDs run past the end or the count is
// negative.
std::optional<std::vector<std::int16_t>> ParseMenuBarResource(std::span<const std::uint8_t> data);

} // namespace qiva
