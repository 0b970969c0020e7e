#include "toolkit/menus/menu_items_parse.h"

namespace qiva {

std::uint8_t StyleOfLetter(char letter) {
    switch (letter) {
    case 'B':
        return 1;
    case 'I':
        return 2;
    case 'U':
        return 4;
    case 'O':
        return 8;
    case 'S':
        return 16;
    default:
        return 0;
    }
}

namespace {

ParsedItem ParseOne(std::string_view piece) {
    ParsedItem item;
    for (std::size_t i = 0; i < piece.size(); ++i) {
        const char c = piece[i];
        const bool hasNext = i + 1 < piece.size();
        const auto next = hasNext ? static_cast<std::uint8_t>(piece[i + 1]) : std::uint8_t{0};
        switch (c) {
        case '^':
            // The icon number is written as a digit-like character: '1' is icon 1.
            if (hasNext) item.icon = static_cast<std::uint8_t>(next - '0');
            ++i;
            break;
        case '!':
            if (hasNext) item.mark = next;
            ++i;
            break;
        case '<':
            if (hasNext) item.style |= StyleOfLetter(static_cast<char>(next));
            ++i;
            break;
        case '/':
            if (hasNext) item.key = next;
            ++i;
            break;
        case '(':
            item.enabled = false;
            break;
        default:
            item.text += c;
        }
    }
    return item;
}

} // namespace

std::vector<ParsedItem> ParseMenuItems(std::string_view data) {
    std::vector<ParsedItem> items;
    if (data.empty()) return items;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = data.find_first_of(";\r", start);
        items.push_back(ParseOne(data.substr(start, end == std::string_view::npos ? end : end - start)));
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    return items;
}

} // namespace qiva
