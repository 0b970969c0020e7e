#pragma once
// Ticks: unsigned 32-bit counts of 1/60 second since the program started.

#include <cstdint>

std::uint32_t TickCount();

namespace qiva {

// Where TickCount reads the time. The default counts from program start on a monotonic clock;
// tests and the headless backend install their own.
using TickSource = std::uint32_t (*)();
void SetTickSource(TickSource source); // nullptr restores the default
std::uint32_t MonotonicTicks();

} // namespace qiva
