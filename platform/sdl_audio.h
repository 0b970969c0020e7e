#pragma once
// The SDL backend's audio service: one output device, or none, in which case sounds pass in silence
// for their duration so that the program keeps its rhythm.

#include <SDL.h>

#include <cstddef>
#include <cstdint>

#include "platform/sdl_clock.h"

namespace platform {

class SdlAudio {
public:
    explicit SdlAudio(const SteadyClock& clock) : clock_(clock) {}
    ~SdlAudio();
    SdlAudio(const SdlAudio&) = delete;
    SdlAudio& operator=(const SdlAudio&) = delete;

    // Opens the device if there is one; its absence is not an error.
    void Open();
    // Plays a WAVE image synchronously; false only for an image it cannot read.
    bool PlayWave(const std::uint8_t* data, std::size_t size);
    void Beep();

private:
    const SteadyClock& clock_;
    SDL_AudioDeviceID device_ = 0;
    SDL_AudioSpec spec_{};
};

} // namespace platform
