#include "toolkit/core/tick_count.h"

#include <chrono>

namespace qiva {
namespace {

const auto programStart = std::chrono::steady_clock::now();
TickSource currentSource = &MonotonicTicks;

} // namespace

std::uint32_t MonotonicTicks() {
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                          programStart);
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(ms.count()) * 6 / 100);
}

void SetTickSource(TickSource source) {
    currentSource = source ? source : &MonotonicTicks;
}

} // namespace qiva

std::uint32_t TickCount() {
    return qiva::currentSource();
}
