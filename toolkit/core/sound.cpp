#include "toolkit/core/sound.h"

#include <cstring>

#include "platform/platform.h"
#include "platform/wave.h"
#include "toolkit/core/big_endian.h"
#include "toolkit/core/memory.h"
#include "toolkit/core/time_manager.h"

namespace qiva {
namespace {

std::int16_t volume = 1;
void (*flashMenuBar)() = nullptr;

} // namespace

int SndToWave(const std::uint8_t* snd, std::size_t size, std::vector<std::uint8_t>& wave) {
    wave.clear();
    if (!snd || size < 2) return -1;
    BigEndianReader r({snd, size});
    const std::uint16_t format = r.U16();
    if (format == 1) {
        r.Skip(std::size_t{6} * r.U16()); // modifiers
    } else if (format == 2) {
        r.Skip(2); // reference count
    } else {
        return -1;
    }
    r.Skip(std::size_t{8} * r.U16()); // commands
    // The sound header; a resource that ends before it is a sound without samples.
    const std::span<const std::uint8_t> header = r.Rest();
    BigEndianReader h(header);
    h.Skip(4); // sample pointer
    const std::uint32_t lengthOrChannels = h.U32();
    const std::uint32_t rate = h.U32() >> 16;
    h.Skip(8); // loop start and end
    const std::uint8_t encoding = h.U8();
    h.Skip(1); // base frequency
    if (r.Failed() || h.Failed() || header.empty()) return 0;
    std::uint32_t channels = 1, bits = 8, frames = 0;
    if (encoding == 0) {
        frames = lengthOrChannels;
    } else if (encoding == 0xFF) {
        channels = lengthOrChannels;
        frames = h.U32();
        h.Skip(22); // rate as an extended number, marker and instrument chunks, AES recording
        bits = h.U16();
        h.Skip(14);
        if (h.Failed()) return 0;
    } else {
        return -1;
    }
    if ((channels != 1 && channels != 2) || (bits != 8 && bits != 16) || rate < 1000) return -1;
    const std::size_t frameBytes = channels * bits / 8;
    std::size_t dataBytes = std::size_t{frames} * frameBytes;
    const std::size_t available = h.Left() / frameBytes * frameBytes;
    if (dataBytes > available) dataBytes = available;

    wave = platform::WaveHeader(static_cast<int>(channels), static_cast<int>(rate), static_cast<int>(bits),
                                static_cast<std::uint32_t>(dataBytes));
    wave.reserve(44 + dataBytes);
    const std::uint8_t* samples = h.Rest().data();
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
    BigEndianWriter put(snd);
    const bool extended = info.channels != 1 || info.bitsPerSample != 8;
    put.U16(1); // format 1
    put.U16(1); // one modifier: the sampled-sound synthesizer
    put.U16(5);
    put.U32(0);
    put.U16(1); // one command: play the buffer that follows
    put.U16(0x8051);
    put.U16(0);
    put.U32(20); // the header's offset
    put.U32(0);  // sample pointer: the samples follow the header
    put.U32(extended ? static_cast<std::uint32_t>(info.channels) : static_cast<std::uint32_t>(frames));
    put.U32(static_cast<std::uint32_t>(info.sampleRate) << 16);
    put.U32(0); // loop start and end
    put.U32(0);
    put.U8(extended ? 0xFF : 0x00);
    put.U8(60); // base frequency: middle C
    if (extended) {
        put.U32(static_cast<std::uint32_t>(frames));
        // The rate as an 80-bit extended number: sign and exponent, then the 64-bit mantissa.
        std::uint64_t mantissa = static_cast<std::uint64_t>(info.sampleRate);
        int exponent = 16383 + 63;
        while (!(mantissa & (std::uint64_t{1} << 63))) {
            mantissa <<= 1;
            --exponent;
        }
        put.U16(static_cast<std::uint16_t>(exponent));
        put.U32(static_cast<std::uint32_t>(mantissa >> 32));
        put.U32(static_cast<std::uint32_t>(mantissa));
        put.U32(0); // marker chunk
        put.U32(0); // instrument chunks
        put.U32(0); // AES recording
        put.U16(static_cast<std::uint16_t>(info.bitsPerSample));
        put.Zeros(14); // reserved
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
