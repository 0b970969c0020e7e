#include "toolkit/core/sound.h"

#include <cstring>

#include "platform/platform.h"
#include "platform/wave.h"
#include "toolkit/core/memory.h"
#include "toolkit/core/time_manager.h"

namespace qiva {
namespace {

std::int16_t volume = 1;
void (*flashMenuBar)() = nullptr;

std::uint32_t Be32(const std::uint8_t* p) {
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
}
std::uint16_t Be16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>((p[0] << 8) | p[1]);
}

void PutLe(std::vector<std::uint8_t>& out, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

} // namespace

int SndToWave(const std::uint8_t* snd, std::size_t size, std::vector<std::uint8_t>& wave) {
    wave.clear();
    if (!snd || size < 2) return -1;
    std::size_t pos = 0;
    const std::uint16_t format = Be16(snd);
    pos = 2;
    if (format == 1) {
        if (pos + 2 > size) return 0;
        pos += 2 + std::size_t{6} * Be16(snd + pos);
    } else if (format == 2) {
        pos += 2;
    } else {
        return -1;
    }
    if (pos + 2 > size) return 0;
    pos += 2 + std::size_t{8} * Be16(snd + pos);
    if (pos >= size) return 0;
    const std::uint8_t* header = snd + pos;
    const std::size_t left = size - pos;
    if (left < 22) return 0;
    const std::uint32_t lengthOrChannels = Be32(header + 4);
    const std::uint32_t rate = Be32(header + 8) >> 16;
    const std::uint8_t encoding = header[20];
    std::uint32_t channels = 1, bits = 8, frames = 0;
    std::size_t samplesAt = 22;
    if (encoding == 0) {
        frames = lengthOrChannels;
    } else if (encoding == 0xFF) {
        if (left < 64) return 0;
        channels = lengthOrChannels;
        frames = Be32(header + 22);
        bits = Be16(header + 48);
        samplesAt = 64;
    } else {
        return -1;
    }
    if ((channels != 1 && channels != 2) || (bits != 8 && bits != 16) || rate < 1000) return -1;
    const std::size_t frameBytes = channels * bits / 8;
    std::size_t dataBytes = std::size_t{frames} * frameBytes;
    const std::size_t available = (left - samplesAt) / frameBytes * frameBytes;
    if (dataBytes > available) dataBytes = available;

    wave.reserve(44 + dataBytes);
    wave.insert(wave.end(), {'R', 'I', 'F', 'F'});
    PutLe(wave, static_cast<std::uint32_t>(dataBytes + 36), 4);
    wave.insert(wave.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    PutLe(wave, 16, 4);
    PutLe(wave, 1, 2);
    PutLe(wave, channels, 2);
    PutLe(wave, rate, 4);
    PutLe(wave, bits * rate * channels / 8, 4);
    PutLe(wave, static_cast<std::uint32_t>(frameBytes), 2);
    PutLe(wave, bits, 2);
    wave.insert(wave.end(), {'d', 'a', 't', 'a'});
    PutLe(wave, static_cast<std::uint32_t>(dataBytes), 4);
    const std::uint8_t* samples = header + samplesAt;
    if (bits == 8) {
        // Macintosh 8-bit samples are unsigned, like WAVE's.
        wave.insert(wave.end(), samples, samples + dataBytes);
    } else {
        for (std::size_t i = 0; i + 1 < dataBytes; i += 2) {
            wave.push_back(samples[i + 1]);
            wave.push_back(samples[i]);
        }
    }
    return 0;
}

std::string WaveToSnd(const std::uint8_t* wave, std::size_t size, std::vector<std::uint8_t>& snd) {
    snd.clear();
    platform::WaveInfo info;
    std::string error = platform::ParseWave(wave, size, info);
    if (!error.empty()) return error;
    if (info.sampleRate > 65535) return "sample rates above 65535 Hz do not fit the header";
    const std::size_t frames = info.Frames();
    if (frames > 0x7FFFFFFFu) return "too many samples";
    auto put = [&](std::uint32_t v, int bytes) {
        for (int i = bytes - 1; i >= 0; --i)
            snd.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    };
    const bool extended = info.channels != 1 || info.bitsPerSample != 8;
    put(1, 2); // format 1
    put(1, 2); // one modifier: the sampled-sound synthesizer
    put(5, 2);
    put(0, 4);
    put(1, 2); // one command: play the buffer that follows
    put(0x8051, 2);
    put(0, 2);
    put(20, 4); // the header's offset
    put(0, 4);  // sample pointer: the samples follow the header
    put(extended ? static_cast<std::uint32_t>(info.channels) : static_cast<std::uint32_t>(frames), 4);
    put(static_cast<std::uint32_t>(info.sampleRate) << 16, 4);
    put(0, 4); // loop start and end
    put(0, 4);
    snd.push_back(extended ? 0xFF : 0x00);
    snd.push_back(60); // base frequency: middle C
    if (extended) {
        put(static_cast<std::uint32_t>(frames), 4);
        // The rate as an 80-bit extended number: sign and exponent, then the 64-bit mantissa.
        std::uint64_t mantissa = static_cast<std::uint64_t>(info.sampleRate);
        int exponent = 16383 + 63;
        while (!(mantissa & (std::uint64_t{1} << 63))) {
            mantissa <<= 1;
            --exponent;
        }
        put(static_cast<std::uint32_t>(exponent), 2);
        put(static_cast<std::uint32_t>(mantissa >> 32), 4);
        put(static_cast<std::uint32_t>(mantissa), 4);
        put(0, 4); // marker chunk
        put(0, 4); // instrument chunks
        put(0, 4); // AES recording
        put(static_cast<std::uint32_t>(info.bitsPerSample), 2);
        snd.insert(snd.end(), 14, 0); // reserved
    }
    if (info.bitsPerSample == 8) {
        snd.insert(snd.end(), info.samples, info.samples + info.dataBytes);
    } else {
        for (std::size_t i = 0; i + 1 < info.dataBytes; i += 2) {
            snd.push_back(info.samples[i + 1]);
            snd.push_back(info.samples[i]);
        }
    }
    return {};
}

void SetMenuBarFlashHook(void (*invertMenuBar)()) {
    flashMenuBar = invertMenuBar;
}

} // namespace qiva

using namespace qiva;

OSErr SndPlay(SndChannelPtr, Handle sndHdl, Boolean) {
    if (!sndHdl || !*sndHdl) return -1;
    const SignedByte state = HGetState(sndHdl);
    HLock(sndHdl);
    std::vector<std::uint8_t> image;
    const int result = SndToWave(reinterpret_cast<const std::uint8_t*>(*sndHdl),
                                 static_cast<std::size_t>(GetHandleSize(sndHdl)), image);
    HSetState(sndHdl, state);
    if (result != 0) return -1;
    if (image.empty()) return 0;
    // The image goes through a handle of its own, as the memory it is played from.
    Handle wave = NewHandle(static_cast<Size>(image.size()));
    if (!wave) return 0;
    std::memcpy(*wave, image.data(), image.size());
    HLock(wave);
    platform::Current().PlayWave(reinterpret_cast<const std::uint8_t*>(*wave), image.size());
    DisposeHandle(wave);
    return 0;
}

void SysBeep(std::int16_t duration) {
    if (volume != 0) {
        platform::Current().Beep();
        return;
    }
    if (flashMenuBar) flashMenuBar();
    Delay(duration, nullptr);
    if (flashMenuBar) flashMenuBar();
}

void GetSoundVol(std::int16_t* level) {
    if (level) *level = volume;
}

void SetSoundVol(std::int16_t level) {
    volume = level;
}
