#include "toolkit/core/indexed_strings.h"

#include <cstring>

#include "toolkit/core/memory.h"
#include "toolkit/core/resources.h"

namespace qiva {

std::optional<std::string_view> IndexedString(std::span<const std::uint8_t> list, int index) {
    if (list.size() < 2) return std::nullopt;
    const int count = (list[0] << 8) | list[1];
    if (index < 1 || index > count) return std::nullopt;
    std::size_t at = 2;
    for (int i = 1; i < index; ++i) {
        if (at >= list.size()) return std::nullopt;
        at += 1 + std::size_t{list[at]};
    }
    if (at >= list.size() || list.size() - at - 1 < list[at]) return std::nullopt;
    return std::string_view(reinterpret_cast<const char*>(list.data() + at + 1), list[at]);
}

} // namespace qiva

void GetIndString(char* theString, std::int16_t strListID, std::int16_t index) {
    if (!theString) return;
    theString[0] = '\0';
    const Handle list = GetResource(MakeResType("STR#"), strListID);
    if (!list || !*list) return;
    const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(*list),
                                              static_cast<std::size_t>(GetHandleSize(list)));
    if (const auto text = qiva::IndexedString(bytes, index)) {
        std::memcpy(theString, text->data(), text->size());
        theString[text->size()] = '\0';
    }
}
