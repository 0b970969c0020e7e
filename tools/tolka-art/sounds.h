#pragma once
// The game's sounds, synthesised: wooden knocks and seed clicks from damped resonances and short
// noise bursts, and two marimba phrases. Each is normalised to a peak of -3 dBFS and faded in and
// out so that it starts and ends on silence.

#include <cstdint>
#include <string>
#include <vector>

namespace tolka_art {

inline constexpr int kSampleRate = 22050;

struct SoundWork {
    int number;       // the 'snd ' resource it becomes
    std::string file; // WAV file name
    std::vector<float> samples;
};

std::vector<SoundWork> GameSounds();

// 8-bit unsigned mono PCM WAV, with a triangular dither before rounding.
std::string WriteWav8(const std::string& path, const std::vector<float>& samples, std::uint32_t ditherSeed);

// Peak in dBFS of the samples.
float PeakDb(const std::vector<float>& samples);

} // namespace tolka_art
