#include "toolkit/core/cursor_resources.h"

#include <cstddef>

#include "toolkit/core/memory.h"
#include "toolkit/core/resources.h"

CursHandle GetCursor(std::int16_t cursorID) {
    Handle h = GetResource(MakeResType("CURS"), cursorID);
    if (!h || !*h || GetHandleSize(h) < static_cast<Size>(sizeof(Cursor))) return nullptr;
    if (cursorID == 0 || cursorID == iBeamCursor || cursorID == crossCursor || cursorID == watchCursor) {
        // The record keeps the resource's big-endian order: v, then h.
        auto* hot = reinterpret_cast<std::uint8_t*>(*h) + offsetof(Cursor, hotSpot);
        hot[0] = 0;
        hot[1] = static_cast<std::uint8_t>(cursorID);
        hot[2] = 0x7F;
        hot[3] = 0xFF;
    }
    return reinterpret_cast<CursHandle>(h);
}
