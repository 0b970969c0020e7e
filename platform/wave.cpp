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

std::vector<std::uint8_t> BeepWave() {
    constexpr int rate = 22050, frames = rate / 8; // 125 ms at 880 Hz, faded out
    std::vector<std::uint8_t> wave(44 + frames);
    auto put32 = [&](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            wave[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
    };
    std::memcpy(wave.data(), "RIFF", 4);
    put32(4, 36 + frames);
    std::memcpy(wave.data() + 8, "WAVEfmt ", 8);
    put32(16, 16);
    put32(20, 1 | (1u << 16)); // PCM, mono
    put32(24, rate);
    put32(28, rate);
    put32(32, 1 | (8u << 16)); // block 1, 8 bits
    std::memcpy(wave.data() + 36, "data", 4);
    put32(40, frames);
    for (int i = 0; i < frames; ++i) {
        const double envelope = 1.0 - static_cast<double>(i) / frames;
        const double s = std::sin(2 * 3.14159265358979 * 880.0 * i / rate) * envelope * 60.0;
        wave[44 + i] = static_cast<std::uint8_t>(128 + static_cast<int>(s));
    }
    return wave;
}

} // namespace platform
