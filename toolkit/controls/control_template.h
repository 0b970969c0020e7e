#pragma once
// The 'CNTL' resource read into host order: rectangle, value, visibility, maximum, minimum,
// definition number, reference value and title. Every field is checked against the data.

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "toolkit/core/geometry.h"
#include "toolkit/core/mac_types.h"

namespace qiva {

struct ControlTemplate {
    Rect bounds{};
    std::int16_t value = 0;
    bool visible = false;
    std::int16_t max = 0;
    std::int16_t min = 0;
    std::int16_t procID = 0;
    std::int32_t refCon = 0;
    std::string title; // as stored, Macintosh character set
};

// Nothing when the data is shorter than the fixed fields or than the title's length byte says.
std::optional<ControlTemplate> ParseControlTemplate(std::span<const std::uint8_t> data);

} // namespace qiva
