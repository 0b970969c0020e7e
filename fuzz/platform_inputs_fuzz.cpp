// Inputs the shell reads from outside: 'snd ' resources (played and converted back), WAVE images,
// profile files (read, and rewritten with a key set), and headless scripts. The first byte chooses.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/headless.h"
#include "platform/profile.h"
#include "platform/wave.h"
#include "toolkit/core/sound.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::uint8_t which = data[0] % 4;
    ++data;
    --size;
    const std::string text(reinterpret_cast<const char*>(data), size);
    switch (which) {
    case 0: {
        std::vector<std::uint8_t> wave, snd, again;
        if (qiva::SndToWave(data, size, wave) == 0 && !wave.empty()) {
            platform::WaveInfo info;
            if (!platform::ParseWave(wave.data(), wave.size(), info).empty()) __builtin_trap();
            if (qiva::WaveToSnd(wave.data(), wave.size(), snd).empty() &&
                qiva::SndToWave(snd.data(), snd.size(), again) != 0)
                __builtin_trap();
        }
        break;
    }
    case 1: {
        std::vector<std::uint8_t> snd;
        qiva::WaveToSnd(data, size, snd);
        break;
    }
    case 2: {
        const std::size_t split = text.find('\n');
        const std::string key = split == std::string::npos ? "k" : text.substr(0, split % 16);
        (void)platform::ProfileValueIn(text, "Tolka", key);
        const std::string written = platform::ProfileWithValue(text, "Tolka", key, std::string_view("1 (x)"));
        const auto back = platform::ProfileValueIn(written, "Tolka", key);
        (void)back;
        (void)platform::LeadingInt(text);
        break;
    }
    default: {
        std::vector<platform::ScriptStep> steps;
        (void)platform::ParseScript(text, steps);
        break;
    }
    }
    return 0;
}
