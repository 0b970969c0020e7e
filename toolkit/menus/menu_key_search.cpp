#include "toolkit/menus/menu_key_search.h"

#include <algorithm>

namespace qiva {

std::uint8_t FoldMenuKey(std::uint8_t ch) {
    return ch >= 'a' && ch <= 'z' ? static_cast<std::uint8_t>(ch & ~0x20) : ch;
}

std::int32_t MenuResult(std::int16_t menuId, std::int16_t item) {
    if (menuId < 0) return 0;
    return static_cast<std::int32_t>((static_cast<std::uint32_t>(menuId) << 16) |
                                     static_cast<std::uint16_t>(item));
}

namespace {

struct Search {
    std::uint8_t folded;
    const KeyMenuLoader& load;
    std::vector<std::int16_t> path; // hierarchical menus being searched

    std::optional<KeyHit> In(const KeyMenu& menu) {
        if (!menu.enabled) return std::nullopt;
        for (std::size_t i = 0; i < menu.items.size(); ++i) {
            const KeyItem& item = menu.items[i];
            if (item.key == kHierarchicalKey) {
                const auto id = static_cast<std::int16_t>(item.mark);
                if (std::find(path.begin(), path.end(), id) != path.end() || !load) continue;
                const std::optional<KeyMenu> sub = load(id);
                if (!sub) continue;
                path.push_back(id);
                const std::optional<KeyHit> hit = In(*sub);
                path.pop_back();
                if (hit) return hit;
                continue;
            }
            if (item.key != 0 && item.enabled && FoldMenuKey(item.key) == folded)
                return KeyHit{menu.id, static_cast<std::int16_t>(i + 1), 0};
        }
        return std::nullopt;
    }
};

} // namespace

std::optional<KeyHit> FindMenuKey(std::uint8_t ch, std::span<const KeyMenu> listed,
                                  const KeyMenuLoader& load) {
    if (ch == 0 || ch == kHierarchicalKey) return std::nullopt;
    Search search{FoldMenuKey(ch), load, {}};
    for (const KeyMenu& menu : listed) {
        search.path.assign(1, menu.id);
        if (std::optional<KeyHit> hit = search.In(menu)) {
            hit->titleId = menu.id;
            return hit;
        }
    }
    return std::nullopt;
}

} // namespace qiva
