#include "platform/sdl_audio.h"

#include <vector>

#include "platform/wave.h"

namespace platform {
namespace {

constexpr int kDeviceFrames = 512;

} // namespace

SdlAudio::~SdlAudio() {
    if (device_) SDL_CloseAudioDevice(device_);
}

void SdlAudio::Open() {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return;
    SDL_AudioSpec want{}, have{};
    want.freq = 22050;
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = kDeviceFrames;
    device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE);
    if (device_) {
        spec_ = have;
        SDL_PauseAudioDevice(device_, 0);
    }
}

bool SdlAudio::PlayWave(const std::uint8_t* data, std::size_t size) {
    WaveInfo info;
    if (!ParseWave(data, size, info).empty()) return false;
    if (!device_) {
        clock_.Sleep(info.DurationMicroseconds());
        return true;
    }
    SDL_AudioStream* stream = SDL_NewAudioStream(info.bitsPerSample == 8 ? AUDIO_U8 : AUDIO_S16LSB,
                                                 static_cast<Uint8>(info.channels), info.sampleRate,
                                                 spec_.format, spec_.channels, spec_.freq);
    if (!stream) {
        clock_.Sleep(info.DurationMicroseconds());
        return true;
    }
    SDL_AudioStreamPut(stream, info.samples, static_cast<int>(info.dataBytes));
    SDL_AudioStreamFlush(stream);
    std::vector<std::uint8_t> converted(static_cast<std::size_t>(SDL_AudioStreamAvailable(stream)));
    const int got = SDL_AudioStreamGet(stream, converted.data(), static_cast<int>(converted.size()));
    SDL_FreeAudioStream(stream);
    SDL_ClearQueuedAudio(device_);
    if (got > 0) SDL_QueueAudio(device_, converted.data(), static_cast<Uint32>(got));
    // Synchronous: return once the queue has drained and the device has played its last buffer.
    // A device that stops consuming must not hang the program: give up a second after the
    // sound should have ended.
    const std::uint64_t deadline = clock_.Microseconds() + info.DurationMicroseconds() + 1000000;
    while (SDL_GetQueuedAudioSize(device_) > 0 && clock_.Microseconds() < deadline)
        SDL_Delay(2);
    clock_.Sleep(static_cast<std::uint64_t>(spec_.samples) * 1000000u /
                 static_cast<std::uint64_t>(spec_.freq));
    return true;
}

void SdlAudio::Beep() {
    const std::vector<std::uint8_t> wave = BeepWave();
    PlayWave(wave.data(), wave.size());
}

} // namespace platform
