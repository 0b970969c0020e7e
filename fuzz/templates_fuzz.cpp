// Dialog, alert and control templates ('DLOG', 'ALRT', 'CNTL') from arbitrary bytes: each reader
// either refuses the data or reads only what it holds, and a placement by the position word keeps
// the template's size.

#include <cstddef>
#include <cstdint>
#include <span>

#include "fuzz/fuzz_check.h"
#include "toolkit/controls/control_template.h"
#include "toolkit/dialogs/dialog_templates.h"

namespace {

void CheckPlacement(const Rect& bounds, std::uint16_t position) {
    static const Rect screens[] = {{0, 0, 400, 640}, {20, 0, 300, 400}, {-100, -50, 30000, 32000}};
    for (const Rect& screen : screens) {
        const Rect placed = qiva::PlaceByPosition(bounds, position, screen);
        // Sizes that fit 16 bits are kept; a template wider than the coordinate space wraps, as it did.
        const int width = bounds.right - bounds.left, height = bounds.bottom - bounds.top;
        if (width >= 0 && width <= 4000 && height >= 0 && height <= 4000)
            FUZZ_CHECK(placed.right - placed.left == width && placed.bottom - placed.top == height);
    }
    (void)qiva::PositionOverFrontWindow(position);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    if (const auto dialog = qiva::ParseDialogTemplate(bytes)) {
        // The fixed part (20 bytes) and the title are inside the data.
        FUZZ_CHECK(size >= 21 + dialog->title.size());
        CheckPlacement(dialog->bounds, dialog->position.value_or(0));
    }
    if (const auto alert = qiva::ParseAlertTemplate(bytes)) {
        FUZZ_CHECK(size >= 12 && alert->position.has_value() == (size >= 14));
        const int item = qiva::DefaultItemOfStages(alert->stages);
        FUZZ_CHECK(item == 1 || item == 2);
        CheckPlacement(alert->bounds, alert->position.value_or(0));
    }
    if (const auto control = qiva::ParseControlTemplate(bytes)) {
        FUZZ_CHECK(size >= 23 + control->title.size());
    }
    return 0;
}
