#include "toolkit/dialogs/dialog_templates.h"

#include "toolkit/core/big_endian.h"

namespace qiva {

namespace {

Rect ReadRect(BigEndianReader& r) {
    Rect rect;
    rect.top = r.S16();
    rect.left = r.S16();
    rect.bottom = r.S16();
    rect.right = r.S16();
    return rect;
}

} // namespace

std::optional<DialogTemplate> ParseDialogTemplate(std::span<const std::uint8_t> bytes) {
    BigEndianReader r(bytes);
    DialogTemplate t;
    t.bounds = ReadRect(r);
    t.procID = r.S16();
    t.visible = r.U8() != 0;
    r.Skip(1);
    t.goAway = r.U8() != 0;
    r.Skip(1);
    t.refCon = r.S32();
    t.itemsID = r.S16();
    t.title = r.Pascal();
    if (r.Failed()) return std::nullopt;
    // Toolkit files keep one byte after the title whatever its length (tools/qiva-rsrc writes them so).
    r.Skip(1);
    if (r.Ok() && r.Left() >= 2) t.position = r.U16();
    return t;
}

std::optional<AlertTemplate> ParseAlertTemplate(std::span<const std::uint8_t> bytes) {
    BigEndianReader r(bytes);
    AlertTemplate t;
    t.bounds = ReadRect(r);
    t.itemsID = r.S16();
    t.stages = r.U16();
    if (r.Failed()) return std::nullopt;
    if (r.Left() >= 2) t.position = r.U16();
    return t;
}

bool PositionOverFrontWindow(std::uint16_t position) {
    return (position >> 8) / 64 == 2;
}

Rect PlaceByPosition(const Rect& bounds, std::uint16_t position, const Rect& reference) {
    const int key = position >> 8;
    const int width = bounds.right - bounds.left, height = bounds.bottom - bounds.top;
    const int refWidth = reference.right - reference.left, refHeight = reference.bottom - reference.top;
    int left = reference.left + (refWidth - width) / 2;
    int top = reference.top + (refHeight - height) / 2;
    switch ((key / 8) % 4) {
    case 2:
        top = reference.top + refHeight / 3 - height / 2;
        break;
    case 3:
        left = reference.left;
        top = reference.top;
        break;
    default:
        break;
    }
    return Rect{static_cast<std::int16_t>(top), static_cast<std::int16_t>(left),
                static_cast<std::int16_t>(top + height), static_cast<std::int16_t>(left + width)};
}

} // namespace qiva
