#pragma once
// The dialog and alert templates ('DLOG', 'ALRT') read from their big-endian bytes, and the placement
// their position word asks for. No global state: the glue chooses the reference area.

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "toolkit/core/geometry.h"

namespace qiva {

struct DialogTemplate {
    Rect bounds{};
    std::int16_t procID = 0;
    bool visible = false;
    bool goAway = false;
    std::int32_t refCon = 0;
    std::int16_t itemsID = 0;
    std::string title; // as stored (Macintosh character set)
    std::optional<std::uint16_t> position;
};

struct AlertTemplate {
    Rect bounds{};
    std::int16_t itemsID = 0;
    std::uint16_t stages = 0;
    std::optional<std::uint16_t> position;
};

// A 'DLOG': bounds, definition, visible and close-box bytes (each followed by a filler), reference,
// item list number, title, one byte skipped after the title whatever its length, then an optional
// position word. Nothing when the fixed part or the title runs past the end.
std::optional<DialogTemplate> ParseDialogTemplate(std::span<const std::uint8_t> bytes);

// An 'ALRT': bounds, item list number, stages, and a position word at offset 12 when present.
std::optional<AlertTemplate> ParseAlertTemplate(std::span<const std::uint8_t> bytes);

// The item the stages word makes the default: 2 when its top bit is set, else 1.
inline int DefaultItemOfStages(std::uint16_t stages) {
    return (stages & 0x8000) ? 2 : 1;
}

// True when the position word asks to be placed over the front window (its key / 64 is 2).
bool PositionOverFrontWindow(std::uint16_t position);

// `bounds` moved (same size) into `reference` as the position word's high byte asks: centred (0, 1),
// centred across with its middle a third of the way down (2), or at the top left (3).
Rect PlaceByPosition(const Rect& bounds, std::uint16_t position, const Rect& reference);

} // namespace qiva
