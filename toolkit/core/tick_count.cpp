#include "toolkit/core/tick_count.h"

#include <chrono>

#include "platform/platform.h"

namespace qiva {
namespace {

const auto programStart = std::chrono::steady_clock::now();
TickSource currentSource = &MonotonicTicks;

} // namespace

std::uint32_t MonotonicTicks() {
    // The platform's clock once a backend runs (virtual in the headless one); a program without one
    // (a command-line tool) counts real time from its start.
    std::uint64_t ms;
    if (platform::HasBackend()) {
        ms = platform::Current().Microseconds() / 1000;
    } else {
        ms = static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                            std::chrono::steady_clock::now() - programStart)
                                            .count());
    }
    // Counted in 64 bits and cut to 32: the count wraps after 2.3 years, and waits compare by difference.
    return static_cast<std::uint32_t>(ms * 6 / 100);
}

void SetTickSource(TickSource source) {
    currentSource = source ? source : &MonotonicTicks;
}

} // namespace qiva

std::uint32_t TickCount() {
    return qiva::currentSource();
}
