#pragma once
// The item description of AppendMenu: items separated by ';' or Return, each text carrying the
// metacharacters ^ (icon), ! (mark), < (style), / (command key) and ( (disabled). State-free.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qiva {

struct ParsedItem {
    std::string text; // Macintosh character set, metacharacters removed
    std::uint8_t icon = 0;
    std::uint8_t key = 0;
    std::uint8_t mark = 0;
    std::uint8_t style = 0;
    bool enabled = true;
};

// The items DATA describes, in order. An empty description gives no item; an empty piece between
// two separators gives an item with an empty text. A metacharacter that expects a character and
// ends the piece is dropped.
std::vector<ParsedItem> ParseMenuItems(std::string_view data);

// The style bit of a '<' letter (B I U O S), 0 for any other.
std::uint8_t StyleOfLetter(char letter);

} // namespace qiva
