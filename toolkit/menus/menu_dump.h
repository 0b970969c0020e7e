#pragma once
// The Menu Manager's lines of the state dump: the bar, its menus left to right, and while menus are
// pulled down, each open menu and its items.

#include <cstdint>
#include <string>

namespace qiva {

// "menubar L T R B"; "menu ID title "TEXT" rect L T R B enabled 0|1" per bar menu; per open menu
// "open ID rect L T R B", then per item "item ID N text "TEXT" enabled 0|1 mark C key K rect L T R B"
// (C and K: the characters, "-" for none; an item that opens a hierarchical menu adds "submenu ID").
void WriteMenuDump(std::string& out);

// The word for a mark or key character: "-" for none or one that cannot stand as a word.
std::string MenuCharWord(std::uint8_t ch);

} // namespace qiva
