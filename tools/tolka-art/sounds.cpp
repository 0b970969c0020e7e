#include "sounds.h"

#include <algorithm>
#include <cmath>

#include "canvas.h"
#include "platform/file_io.h"
#include "platform/wave.h"

namespace tolka_art {
namespace {

constexpr float kPi = 3.14159265f;

struct Track {
    std::vector<float> s;
    explicit Track(float seconds) : s(static_cast<std::size_t>(seconds * kSampleRate), 0.0f) {}
    void Add(std::size_t i, float v) {
        if (i < s.size()) s[i] += v;
    }
};

// A deterministic noise source in [-1, 1].
struct Noise {
    std::uint32_t state;
    float Next() {
        state = state * 1664525u + 1013904223u;
        return ((state >> 8) & 0xFFFF) / 32768.0f - 1.0f;
    }
};

// A struck piece of wood: a few damped, inharmonic partials and a tiny noise transient.
void Knock(Track& t, float at, float freq, float decay, float gain, std::uint32_t seed) {
    const float ratios[3] = {1.0f, 2.57f, 4.9f}, levels[3] = {1.0f, 0.45f, 0.2f},
                decays[3] = {1.0f, 0.55f, 0.3f};
    Noise n{seed};
    const std::size_t start = static_cast<std::size_t>(at * kSampleRate);
    const std::size_t length = static_cast<std::size_t>(decay * 6 * kSampleRate);
    for (std::size_t i = 0; i < length; ++i) {
        const float time = i / float(kSampleRate);
        float v = 0;
        for (int p = 0; p < 3; ++p)
            v += levels[p] * std::sin(2 * kPi * freq * ratios[p] * time) *
                 std::exp(-time / (decay * decays[p]));
        if (time < 0.002f) v += 0.6f * n.Next() * (1 - time / 0.002f);
        t.Add(start + i, v * gain);
    }
}

// A seed hitting something hard: a bright, very short resonant click.
void Click(Track& t, float at, float freq, float gain, std::uint32_t seed) {
    Noise n{seed};
    // A two-pole resonator excited by a 1.5 ms noise burst.
    const float r = 0.985f, w = 2 * kPi * freq / kSampleRate;
    const float a1 = 2 * r * std::cos(w), a2 = -r * r;
    float y1 = 0, y2 = 0;
    const std::size_t start = static_cast<std::size_t>(at * kSampleRate);
    const std::size_t length = kSampleRate / 20;
    for (std::size_t i = 0; i < length; ++i) {
        const float time = i / float(kSampleRate);
        const float x = time < 0.0015f ? n.Next() : 0.0f;
        const float y = x + a1 * y1 + a2 * y2;
        y2 = y1;
        y1 = y;
        t.Add(start + i, y * gain * 0.08f);
    }
}

// Several seeds tumbling: clicks at jittered times over `span` seconds, softer as they settle.
void Rattle(Track& t, float at, float span, int count, float freq, float gain, std::uint32_t seed) {
    Noise n{seed};
    for (int k = 0; k < count; ++k) {
        const float when = at + span * (k + 0.5f * (n.Next() + 1) * 0.8f) / count;
        const float f = freq * (0.8f + 0.45f * (n.Next() + 1) * 0.5f);
        Click(t, when, f, gain * (1 - 0.5f * k / count), seed * 31 + k);
    }
}

// A marimba bar: fundamental, its bright fourth partial, a soft mallet attack.
void Marimba(Track& t, float at, float freq, float length, float gain) {
    const std::size_t start = static_cast<std::size_t>(at * kSampleRate);
    const std::size_t count = static_cast<std::size_t>(length * kSampleRate);
    for (std::size_t i = 0; i < count; ++i) {
        const float time = i / float(kSampleRate);
        const float attack = std::min(1.0f, time / 0.003f);
        const float v = std::sin(2 * kPi * freq * time) * std::exp(-time / (length * 0.35f)) +
                        0.25f * std::sin(2 * kPi * freq * 3.93f * time) * std::exp(-time / 0.06f) +
                        0.1f * std::sin(2 * kPi * freq * 9.2f * time) * std::exp(-time / 0.015f);
        t.Add(start + i, v * attack * gain);
    }
}

float Note(int semitonesFromA4) {
    return 440.0f * std::pow(2.0f, semitonesFromA4 / 12.0f);
}

// Trailing silence trimmed to 20 ms, a 2 ms fade in and a 15 ms fade out, then the peak to -3 dBFS.
std::vector<float> Finish(Track t) {
    std::vector<float>& s = t.s;
    std::size_t last = 0;
    for (std::size_t i = 0; i < s.size(); ++i)
        if (std::fabs(s[i]) > 1e-3f) last = i;
    s.resize(std::min(s.size(), last + kSampleRate / 50));
    const std::size_t in = kSampleRate / 500, out = kSampleRate * 15 / 1000;
    for (std::size_t i = 0; i < std::min(in, s.size()); ++i)
        s[i] *= i / float(in);
    for (std::size_t i = 0; i < std::min(out, s.size()); ++i)
        s[s.size() - 1 - i] *= i / float(out);
    // Normalised after the fades, so that a click's first peak inside the fade-in still counts.
    float peak = 0;
    for (float v : s)
        peak = std::max(peak, std::fabs(v));
    const float target = std::pow(10.0f, -3.0f / 20.0f);
    if (peak > 0)
        for (float& v : s)
            v *= target / peak;
    return s;
}

} // namespace

std::vector<SoundWork> GameSounds() {
    std::vector<SoundWork> list;
    auto add = [&](int number, const char* name, Track t) {
        list.push_back({number, "snd" + std::to_string(number) + "_" + name + ".wav", Finish(std::move(t))});
    };
    { // 2: a handful of seeds scooped up from a pit
        Track t(0.5f);
        Knock(t, 0.0f, 310, 0.025f, 0.5f, 2);
        Rattle(t, 0.01f, 0.16f, 7, 3200, 1.0f, 21);
        add(2, "scoop", std::move(t));
    }
    { // 3: captured seeds poured into the store
        Track t(0.7f);
        Rattle(t, 0.0f, 0.32f, 12, 2800, 1.0f, 31);
        Knock(t, 0.3f, 240, 0.04f, 0.6f, 3);
        add(3, "pour", std::move(t));
    }
    { // 4: a single seed picked up
        Track t(0.3f);
        Click(t, 0.0f, 3600, 0.8f, 4);
        Knock(t, 0.005f, 420, 0.02f, 0.35f, 41);
        add(4, "pick", std::move(t));
    }
    { // 5: refused: two dull knocks, the second lower
        Track t(0.6f);
        Knock(t, 0.0f, 150, 0.05f, 1.0f, 5);
        Knock(t, 0.14f, 118, 0.06f, 0.9f, 51);
        add(5, "refuse", std::move(t));
    }
    { // 6: the computer took its time: a soft questioning two-note chime
        Track t(1.2f);
        Marimba(t, 0.0f, Note(3), 0.6f, 0.6f);
        Marimba(t, 0.18f, Note(8), 0.8f, 0.6f);
        add(6, "ponder", std::move(t));
    }
    { // 7: the player won (or a draw): a rising arpeggio
        Track t(2.0f);
        const int notes[5] = {3, 7, 10, 15, 19};
        for (int k = 0; k < 5; ++k)
            Marimba(t, 0.11f * k, Note(notes[k]), k == 4 ? 1.1f : 0.5f, k == 4 ? 0.8f : 0.6f);
        Marimba(t, 0.44f, Note(10), 1.1f, 0.4f);
        add(7, "win", std::move(t));
    }
    { // 8: the computer won: a falling minor phrase, slower
        Track t(2.2f);
        const int notes[4] = {10, 6, 3, -2};
        for (int k = 0; k < 4; ++k)
            Marimba(t, 0.2f * k, Note(notes[k]), k == 3 ? 1.3f : 0.55f, 0.6f);
        add(8, "lose", std::move(t));
    }
    const float emptyPitch[3] = {520, 470, 580};
    for (int k = 0; k < 3; ++k) { // 10-12: a seed drops into an empty pit: a clear wooden tock
        Track t(0.35f);
        Click(t, 0.0f, 2400 + 300 * k, 0.5f, 100 + k);
        Knock(t, 0.001f, emptyPitch[k], 0.035f, 1.0f, 110 + k);
        add(10 + k, "drop_empty", std::move(t));
    }
    for (int k = 0; k < 3; ++k) { // 15-17: four seeds laid in a pit at the start of a game
        Track t(0.45f);
        Rattle(t, 0.0f, 0.2f, 4, 3000 + 250 * k, 1.0f, 150 + k);
        Knock(t, 0.0f, 380 + 40 * k, 0.02f, 0.3f, 160 + k);
        add(15 + k, "lay", std::move(t));
    }
    for (int k = 0; k < 3; ++k) { // 20-22: a seed drops onto seeds: a bright clack and a tiny rattle
        Track t(0.3f);
        Click(t, 0.0f, 3400 + 350 * k, 1.0f, 200 + k);
        Click(t, 0.03f + 0.01f * k, 4100 - 200 * k, 0.45f, 210 + k);
        Knock(t, 0.0f, 650 + 50 * k, 0.012f, 0.3f, 220 + k);
        add(20 + k, "drop_on_seeds", std::move(t));
    }
    return list;
}

float PeakDb(const std::vector<float>& samples) {
    float peak = 0;
    for (float v : samples)
        peak = std::max(peak, std::fabs(v));
    return peak > 0 ? 20 * std::log10(peak) : -200;
}

std::string WriteWav8(const std::string& path, const std::vector<float>& samples, std::uint32_t ditherSeed) {
    const auto n = static_cast<std::uint32_t>(samples.size());
    std::vector<std::uint8_t> wave = platform::WaveHeader(1, kSampleRate, 8, n);
    wave.reserve(44 + n + 1);
    std::uint32_t state = ditherSeed;
    auto uniform = [&] {
        state = state * 1664525u + 1013904223u;
        return ((state >> 8) & 0xFFFF) / 65536.0f;
    };
    for (std::size_t i = 0; i < samples.size(); ++i) {
        // Silence stays exactly at the midpoint: no dither hiss at the ends.
        const float dither = std::fabs(samples[i]) < 1e-4f ? 0 : uniform() - uniform();
        const long v = std::lround(128 + samples[i] * 127 + dither);
        const unsigned char byte = static_cast<unsigned char>(std::clamp(v, 0L, 255L));
        wave.push_back(byte);
    }
    if (n % 2) wave.push_back(128); // chunks are padded to an even length
    return platform::WriteOutputFile(path, {reinterpret_cast<const char*>(wave.data()), wave.size()});
}

} // namespace tolka_art
