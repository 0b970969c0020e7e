#pragma once
// The SDL backend's clock: microseconds since the backend started, and sleeping. Shared by the
// services that pace themselves (the window's presents, the audio's draining).

#include <chrono>
#include <cstdint>
#include <thread>

namespace platform {

class SteadyClock {
public:
    std::uint64_t Microseconds() const {
        return static_cast<std::uint64_t>(
            std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start_)
                .count());
    }
    void Sleep(std::uint64_t microseconds) const {
        std::this_thread::sleep_for(std::chrono::microseconds(microseconds));
    }

private:
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

} // namespace platform
