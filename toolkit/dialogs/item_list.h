#pragma once
// The item list of a dialog: a 'DITL' resource converted in place, keeping its layout (count − 1 as a
// big-endian word, then per item a 4-byte handle slot, the rectangle, a type byte, a length byte and
// the data), with rectangles in host order and odd lengths raised by one so the pad byte belongs to
// its item (all but 255, which the byte cannot raise: its pad byte still follows it). Also the two
// pure rules that work on it: which text item becomes active next, and the ParamText expansion of
// static text. No global state.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/core/geometry.h"

namespace qiva {

inline constexpr std::size_t kItemHeaderSize = 14;
inline constexpr std::uint8_t kItemDisable = 128;
inline constexpr std::int16_t kHiddenOffset = 16384;
inline constexpr std::int16_t kHiddenLeft = 8192;

struct ItemEntry {
    std::size_t offset = 0; // of the handle slot
    Rect rect{};
    std::uint8_t type = 0;
    std::uint8_t length = 0;
    std::size_t dataOffset = 0;
};

struct BuiltList {
    int count = 0;                     // items kept
    int dropped = 0;                   // items the count word announced that did not fit in the block
    std::vector<std::uint8_t> lengths; // each kept item's data length as stored, before raising
};

// Converts a 'DITL' resource's bytes into the item list, in place (the block may grow by the one pad
// byte of a last item whose length is odd). Items that run past the block are dropped and the count
// word rewritten, so the list never claims more than it holds.
BuiltList BuildItemList(std::vector<std::uint8_t>& list);

// Items of a built list; 0 for a block too short to hold the count.
int ItemCount(std::span<const std::uint8_t> list);
// Item `item` (from 1) of a built list, or nothing beyond the count.
std::optional<ItemEntry> ItemAt(std::span<const std::uint8_t> list, int item);
std::vector<ItemEntry> AllItems(std::span<const std::uint8_t> list);
void StoreItemRect(std::span<std::uint8_t> list, const ItemEntry& item, const Rect& rect);

inline bool IsHiddenRect(const Rect& r) {
    return r.left >= kHiddenLeft;
}

// The text item that becomes active after `editField` (an index from 0): the first editable text
// (type exactly 16, so enabled) that is not hidden, searching from the item after it, wrapping to the
// first item and ending with `editField` itself. −1 when there is none.
int NextEditField(std::span<const ItemEntry> items, int editField);

// A static text with "^0".."^3" replaced by the ParamText strings; "^" and any other character are
// both dropped. The result stops at 240 characters.
inline constexpr std::size_t kExpandedTextLimit = 240;
std::string ExpandParamText(std::string_view text, const std::array<std::string, 4>& params);

} // namespace qiva
