// Dialog item lists ('DITL') from arbitrary bytes: converted by the item list reader, whose result
// must agree with itself, then built into a whole dialog by the Dialog Manager on the headless
// backend (controls, texts, icons and pictures looked up in the system resources) and drawn, given the
// keyboard focus in turn, and disposed.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "fuzz/headless_toolbox.h"
#include "toolkit/core/memory.h"
#include "toolkit/dialogs/dialogs.h"
#include "toolkit/dialogs/item_list.h"

namespace {

// The items the reader keeps.
int CheckList(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> list(data, data + size);
    const qiva::BuiltList built = qiva::BuildItemList(list);
    const std::vector<qiva::ItemEntry> items = qiva::AllItems(list);
    // The converted list holds exactly the items it kept, each inside the block.
    FUZZ_CHECK(qiva::ItemCount(list) == built.count);
    FUZZ_CHECK(static_cast<int>(items.size()) == built.count);
    FUZZ_CHECK(static_cast<int>(built.lengths.size()) == built.count);
    for (std::size_t i = 0; i < items.size(); ++i) {
        // Odd lengths are raised to take their pad byte, but for 255, which cannot be.
        const std::size_t stored = items[i].length + (items[i].length & 1);
        FUZZ_CHECK(items[i].length % 2 == 0 || items[i].length == 255);
        FUZZ_CHECK(items[i].dataOffset + stored <= list.size());
        const auto again = qiva::ItemAt(list, static_cast<int>(i + 1));
        FUZZ_CHECK(again && again->offset == items[i].offset);
        const std::string text(reinterpret_cast<const char*>(list.data() + items[i].dataOffset),
                               built.lengths[i]);
        FUZZ_CHECK(qiva::ExpandParamText(text, {"x", "^0", "", "y"}).size() <= qiva::kExpandedTextLimit);
    }
    FUZZ_CHECK(!qiva::ItemAt(list, built.count + 1));
    int field = -1;
    for (std::size_t i = 0; i <= items.size(); ++i) {
        field = qiva::NextEditField(items, field);
        FUZZ_CHECK(field >= -1 && field < static_cast<int>(items.size()));
    }
    return built.count;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static fuzz::HeadlessToolbox toolbox("ditl");
    static const bool params = (ParamText("first", "^1", "", "a longer parameter than the others"), true);
    (void)params;
    const int count = CheckList(data, size);

    Handle list = NewHandle(static_cast<Size>(size));
    if (!list) return 0;
    if (size) std::memcpy(*list, data, size);
    const Rect bounds{30, 10, 110, 150};
    WindowPtr const front = reinterpret_cast<WindowPtr>(-1);
    DialogPtr d = NewDialog(nullptr, &bounds, "fuzz", true, dBoxProc, front, false, 0, list);
    if (!d) {
        DisposeHandle(list); // refused: the list stays the caller's
        fuzz::HeadlessToolbox::EndInput();
        return 0;
    }
    // Every text item in turn, and every item's record read back.
    for (int i = 1; i <= count; ++i) {
        std::int16_t type = 0;
        Handle h = nullptr;
        Rect r{};
        GetDItem(d, static_cast<std::int16_t>(i), &type, &h, &r);
        if ((type & 0x7F) == editText) SelIText(d, static_cast<std::int16_t>(i), 0, 32767);
    }
    DisposeDialog(d);
    fuzz::HeadlessToolbox::EndInput();
    return 0;
}
