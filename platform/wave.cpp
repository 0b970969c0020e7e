#include "platform/wave.h"

#include <cmath>
#include <cstring>

namespace platform {
namespace {

std::uint32_t Le32(const std::uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
std::uint16_t Le16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

} // namespace

std::string ParseWave(const std::uint8_t* data, std::size_t size, WaveInfo& info) {
    info = WaveInfo{};
    if (!data || size < 12 || std::string_view(reinterpret_cast<const char*>(data), 4) != "RIFF" ||
        std::string_view(reinterpret_cast<const char*>(data) + 8, 4) != "WAVE")
        return "not a RIFF WAVE image";
    bool haveFormat = false;
    std::size_t pos = 12;
    while (pos + 8 <= size) {
        const std::string_view id(reinterpret_cast<const char*>(data) + pos, 4);
        const std::uint32_t length = Le32(data + pos + 4);
        const std::size_t body = pos + 8;
        const std::size_t available = size - body;
        if (id == "fmt ") {
            if (length < 16 || available < 16) return "truncated format chunk";
            if (Le16(data + body) != 1) return "not PCM";
            info.channels = Le16(data + body + 2);
            info.sampleRate = static_cast<int>(Le32(data + body + 4));
            info.bitsPerSample = Le16(data + body + 14);
            if (info.channels < 1 || info.channels > 2) return "unsupported channel count";
            if (info.bitsPerSample != 8 && info.bitsPerSample != 16) return "unsupported sample size";
            if (info.sampleRate < 1000 || info.sampleRate > 192000) return "unsupported sample rate";
            haveFormat = true;
        } else if (id == "data") {
            if (!haveFormat) return "data before format";
            const std::size_t frameBytes = static_cast<std::size_t>(info.channels) * info.bitsPerSample / 8;
            std::size_t bytes = length < available ? length : available;
            bytes -= bytes % frameBytes;
            info.samples = data + body;
            info.dataBytes = bytes;
            return {};
        }
        if (length > available) break;
        pos = body + length + (length & 1);
    }
    return haveFormat ? "no data chunk" : "no format chunk";
}

std::vector<std::uint8_t> WaveHeader(int channels, int sampleRate, int bitsPerSample,
                                     std::uint32_t dataBytes) {
    std::vector<std::uint8_t> wave(44);
    auto put = [&](std::size_t at, std::uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            wave[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
    };
    const auto blockBytes = static_cast<std::uint32_t>(channels * bitsPerSample / 8);
    std::memcpy(wave.data(), "RIFF", 4);
    put(4, 36 + dataBytes, 4);
    std::memcpy(wave.data() + 8, "WAVEfmt ", 8);
    put(16, 16, 4);
    put(20, 1, 2); // PCM
    put(22, static_cast<std::uint32_t>(channels), 2);
    put(24, static_cast<std::uint32_t>(sampleRate), 4);
    put(28, static_cast<std::uint32_t>(sampleRate) * blockBytes, 4);
    put(32, blockBytes, 2);
    put(34, static_cast<std::uint32_t>(bitsPerSample), 2);
    std::memcpy(wave.data() + 36, "data", 4);
    put(40, dataBytes, 4);
    return wave;
}

std::vector<std::uint8_t> BeepWave() {
    constexpr int rate = 22050, frames = rate / 8; // 125 ms at 880 Hz, faded out
    std::vector<std::uint8_t> wave = WaveHeader(1, rate, 8, frames);
    wave.resize(44 + frames);
    for (int i = 0; i < frames; ++i) {
        const double envelope = 1.0 - static_cast<double>(i) / frames;
        const double s = std::sin(2 * 3.14159265358979 * 880.0 * i / rate) * envelope * 60.0;
        wave[44 + i] = static_cast<std::uint8_t>(128 + static_cast<int>(s));
    }
    return wave;
}

} // namespace platform
