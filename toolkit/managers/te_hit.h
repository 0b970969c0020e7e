#pragma once
// Between points and character offsets of a laid-out TextEdit text, free of any state.

#include <cstdint>
#include <span>

#include "toolkit/managers/te_layout.h"

namespace qiva::te {

// Justification values of a record.
enum : std::int16_t { kJustLeft = 0, kJustCenter = 1, kJustRight = -1, kForceLeft = -2 };

// The line an offset is shown on: the last line starting at or before it. The end of a text that
// ends in a carriage return is shown on the empty line after it (index nLines).
int LineOfOffset(std::span<const std::uint8_t> text, std::span<const int> starts, int offset);

// The visible end of a line: before its carriage return, if it has one.
int LineVisibleEnd(std::span<const std::uint8_t> text, std::span<const int> starts, int line);

// Pixels between the left of destRect and the line's first character.
int JustifyOffset(std::int16_t just, int widthLimit, int lineWidth);

// The offset nearest to `x` pixels from the line's first character: characters are taken while the
// point lies in their right half or beyond. A line ended by a space or a carriage return keeps the
// point before that character, so a click past the end stays on the line clicked.
int OffsetInLine(std::span<const std::uint8_t> text, std::span<const int> starts, int line, int x,
                 const Measure& measure);

} // namespace qiva::te
