#include "toolkit/dialogs/item_list.h"

#include <algorithm>
#include <cstring>

#include "toolkit/core/big_endian.h"

namespace qiva {

namespace {

// The bytes an item's data takes in the list: its length with the pad byte of an odd one. Only a
// 255-byte item is still odd once built (a length byte cannot say 256), so readers step with this.
std::size_t StoredLength(std::uint8_t length) {
    return std::size_t{length} + (length & 1);
}

Rect LoadHostRect(const std::uint8_t* p) {
    Rect r;
    std::memcpy(&r, p, sizeof r);
    return r;
}

} // namespace

BuiltList BuildItemList(std::vector<std::uint8_t>& list) {
    BuiltList built;
    if (list.size() < 2) {
        list.assign({0xFF, 0xFF}); // an empty list: count − 1 is −1
        return built;
    }
    const int announced = std::max(0, LoadBigEndian<std::int16_t>(list.data()) + 1);
    std::size_t at = 2;
    for (int i = 0; i < announced; ++i) {
        if (list.size() - at < kItemHeaderSize || list.size() - at - kItemHeaderSize < list[at + 13]) {
            built.dropped = announced - i;
            break;
        }
        std::uint8_t* p = list.data() + at;
        const Rect rect{LoadBigEndian<std::int16_t>(p + 4), LoadBigEndian<std::int16_t>(p + 6),
                        LoadBigEndian<std::int16_t>(p + 8), LoadBigEndian<std::int16_t>(p + 10)};
        std::memcpy(p + 4, &rect, sizeof rect);
        std::memset(p, 0, 4);
        built.lengths.push_back(p[13]);
        if (p[13] % 2 && p[13] < 255) ++p[13];
        const std::size_t length = StoredLength(p[13]);
        if (at + kItemHeaderSize + length > list.size()) list.push_back(0);
        at += kItemHeaderSize + length;
        ++built.count;
    }
    if (built.dropped) list.resize(at);
    StoreBigEndian<std::int16_t>(list.data(), static_cast<std::int16_t>(built.count - 1));
    return built;
}

int ItemCount(std::span<const std::uint8_t> list) {
    if (list.size() < 2) return 0;
    return std::max(0, LoadBigEndian<std::int16_t>(list.data()) + 1);
}

std::optional<ItemEntry> ItemAt(std::span<const std::uint8_t> list, int item) {
    if (item < 1 || item > ItemCount(list)) return std::nullopt;
    std::size_t at = 2;
    for (int i = 1;; ++i) {
        if (list.size() < at + kItemHeaderSize || list.size() - at - kItemHeaderSize < list[at + 13])
            return std::nullopt;
        if (i == item) break;
        at += kItemHeaderSize + StoredLength(list[at + 13]);
    }
    ItemEntry e;
    e.offset = at;
    e.rect = LoadHostRect(list.data() + at + 4);
    e.type = list[at + 12];
    e.length = list[at + 13];
    e.dataOffset = at + kItemHeaderSize;
    return e;
}

std::vector<ItemEntry> AllItems(std::span<const std::uint8_t> list) {
    std::vector<ItemEntry> items;
    const int count = ItemCount(list);
    std::size_t at = 2;
    for (int i = 0; i < count; ++i) {
        if (list.size() < at + kItemHeaderSize || list.size() - at - kItemHeaderSize < list[at + 13]) break;
        ItemEntry e;
        e.offset = at;
        e.rect = LoadHostRect(list.data() + at + 4);
        e.type = list[at + 12];
        e.length = list[at + 13];
        e.dataOffset = at + kItemHeaderSize;
        items.push_back(e);
        at += kItemHeaderSize + StoredLength(e.length);
    }
    return items;
}

void StoreItemRect(std::span<std::uint8_t> list, const ItemEntry& item, const Rect& rect) {
    if (item.offset + kItemHeaderSize > list.size()) return;
    std::memcpy(list.data() + item.offset + 4, &rect, sizeof rect);
}

int NextEditField(std::span<const ItemEntry> items, int editField) {
    const int count = static_cast<int>(items.size());
    if (count == 0) return -1;
    const int start = ((editField < 0 ? -1 : editField) + 1) % count;
    for (int k = 0; k < count; ++k) {
        const ItemEntry& item = items[static_cast<std::size_t>((start + k) % count)];
        if (item.type == 16 && !IsHiddenRect(item.rect)) return (start + k) % count;
    }
    return -1;
}

std::string ExpandParamText(std::string_view text, const std::array<std::string, 4>& params) {
    std::string out;
    for (std::size_t i = 0; i < text.size() && out.size() < kExpandedTextLimit; ++i) {
        if (text[i] != '^') {
            out += text[i];
            continue;
        }
        if (i + 1 >= text.size()) break;
        const char c = text[++i];
        if (c >= '0' && c <= '3') out += params[static_cast<std::size_t>(c - '0')];
    }
    if (out.size() > kExpandedTextLimit) out.resize(kExpandedTextLimit);
    return out;
}

} // namespace qiva
