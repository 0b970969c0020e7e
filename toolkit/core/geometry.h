#pragma once
// QuickDraw's point and rectangle, in the classic field order. They live in the core because the
// core's records carry them too (an event's position, the main window's area).

#include <cstdint>

struct Point {
    std::int16_t v;
    std::int16_t h;
};

struct Rect {
    std::int16_t top;
    std::int16_t left;
    std::int16_t bottom;
    std::int16_t right;
};
