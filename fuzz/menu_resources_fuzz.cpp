// Menu resources from arbitrary bytes: the same data read as a 'MENU' and as an 'MBAR', and as the
// item description AppendMenu takes. Each reader refuses the data or reads only what it holds.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "toolkit/menus/menu_items_parse.h"
#include "toolkit/menus/menu_resource.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    if (const auto menu = qiva::ParseMenuResource(bytes)) {
        // The header (14 bytes with the title's length), the title, and per item its text's length
        // byte, the text and four bytes, all within the data.
        std::size_t used = 15 + menu->title.size();
        for (const qiva::ParsedItem& item : menu->items) {
            FUZZ_CHECK(!item.text.empty());
            used += 5 + item.text.size();
        }
        FUZZ_CHECK(used <= size);
    }
    if (const auto ids = qiva::ParseMenuBarResource(bytes)) {
        FUZZ_CHECK(2 + 2 * ids->size() <= size);
    }
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (const qiva::ParsedItem& item : qiva::ParseMenuItems(text))
        FUZZ_CHECK(item.text.size() <= size);
    return 0;
}
