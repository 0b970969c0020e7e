#pragma once
// The search behind MenuKey: which item a command key chooses, over plain descriptions of the menus.
// State-free: the caller describes the listed menus and loads the hierarchical ones on demand.

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

namespace qiva {

// The key byte of an item that opens a hierarchical menu (whose ID is in the mark byte).
inline constexpr std::uint8_t kHierarchicalKey = 27;

struct KeyItem {
    std::uint8_t key = 0;
    std::uint8_t mark = 0;
    bool enabled = true;
};

struct KeyMenu {
    std::int16_t id = 0;
    bool enabled = true; // bit 0 of the enable flags
    std::vector<KeyItem> items;
};

struct KeyHit {
    std::int16_t menuId = 0;  // the menu holding the item
    std::int16_t item = 0;    // from 1
    std::int16_t titleId = 0; // the listed menu the search was in when it found the item
};

// Letters a to z fold to upper case; every other character is kept (so '{' still matches '{').
std::uint8_t FoldMenuKey(std::uint8_t ch);

// Listed menus in list order (bar menus, then hierarchical ones). In each enabled menu the items are
// walked from 1: an enabled item whose folded key equals the folded character is the answer; an item
// that opens a hierarchical menu is searched first, through `load` (which may give nothing). A
// hierarchical menu already being searched is not entered again, so menus that open each other end.
// Key 0 and the hierarchical key never match.
using KeyMenuLoader = std::function<std::optional<KeyMenu>(std::int16_t id)>;
std::optional<KeyHit> FindMenuKey(std::uint8_t ch, std::span<const KeyMenu> listed,
                                  const KeyMenuLoader& load);

// The 32-bit result of MenuKey and MenuSelect: menu ID in the high word, item in the low word; 0 for a
// negative menu ID.
std::int32_t MenuResult(std::int16_t menuId, std::int16_t item);

} // namespace qiva
