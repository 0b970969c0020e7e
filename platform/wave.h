#pragma once
// Reading a WAVE image in memory: the PCM formats the toolkit builds and the converter reads.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

struct WaveInfo {
    int channels = 0;
    int sampleRate = 0;
    int bitsPerSample = 0; // 8 (unsigned) or 16 (signed, little-endian)
    const std::uint8_t* samples = nullptr;
    std::size_t dataBytes = 0; // whole frames only

    std::size_t Frames() const {
        return dataBytes / (static_cast<std::size_t>(channels) * bitsPerSample / 8);
    }
    // Playing time in microseconds.
    std::uint64_t DurationMicroseconds() const {
        return sampleRate > 0 ? static_cast<std::uint64_t>(Frames()) * 1000000u / sampleRate : 0;
    }
};

// Parses the RIFF chunks; returns an error text (empty on success). A data chunk longer than the
// image is cut to what is there.
std::string ParseWave(const std::uint8_t* data, std::size_t size, WaveInfo& info);

// The 44-byte header of a PCM WAVE image whose data chunk holds `dataBytes` of samples.
std::vector<std::uint8_t> WaveHeader(int channels, int sampleRate, int bitsPerSample,
                                     std::uint32_t dataBytes);

// The system beep: a short 8-bit mono tone, as a WAVE image.
std::vector<std::uint8_t> BeepWave();

} // namespace platform
