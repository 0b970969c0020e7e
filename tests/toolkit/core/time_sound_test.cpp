#include "tests/toolkit/core/shell_fixture.h"

#include "tests/support/scoped.h"
#include "toolkit/core/memory.h"
#include "toolkit/core/tick_count.h"

namespace {

using TimeManager = ShellTest;
using Sound = ShellTest;

TEST_F(TimeManager, DelayWaitsWithoutPumping) {
    platform::Event press;
    press.kind = platform::EventKind::MouseDown;
    headless->Inject(press);
    const std::uint32_t start = TickCount();
    std::uint32_t final = 0;
    Delay(30, &final);
    EXPECT_GE(final, start + 30);
    EXPECT_LT(final, start + 32);
    EXPECT_EQ(GetEvQHdr()->qHead, nullptr) << "the press waited in the platform during the delay";
    EXPECT_EQ(headless->PresentCount(), 0);
    const std::uint32_t before = TickCount();
    Delay(-5, &final);
    EXPECT_LE(final, before + 1) << "a negative delay does not wait";
    Delay(0x10000 + 2, &final);
    EXPECT_LE(final, before + 4) << "ticks are taken as 16-bit";
}

struct Counter {
    static inline int calls = 0;
    static inline TMTask task{};
    static void Rearm() {
        ++calls;
        PrimeTime(&task, 10);
    }
    static void Once() { ++calls; }
    static void RemoveSelf() {
        ++calls;
        RmvTime(&task);
    }
};

TEST_F(TimeManager, TasksCatchUpWhenTheirPeriodIsShorterThanTheTimer) {
    qiva::SetTimerPeriod(55);
    Counter::calls = 0;
    Counter::task = TMTask{};
    Counter::task.tmAddr = &Counter::Rearm;
    InsTime(&Counter::task);
    PrimeTime(&Counter::task, 10);
    EXPECT_TRUE(qiva::TimerRunning());
    headless->AdvanceClock(55000);
    qiva::ServiceTimer();
    EXPECT_EQ(Counter::calls, 5) << "one period of 55 ms holds five runs of 10 ms";
    headless->AdvanceClock(9 * 55000);
    qiva::ServiceTimer();
    EXPECT_EQ(Counter::calls, 54) << "ten periods: the run due exactly at 550 ms waits for the next";
    headless->AdvanceClock(55000);
    qiva::ServiceTimer();
    EXPECT_EQ(Counter::calls, 60);
    RmvTime(&Counter::task);
    EXPECT_FALSE(qiva::TimerRunning());
}

TEST_F(TimeManager, ClosedGateHoldsPeriodsUntilTheNextService) {
    qiva::SetTimerPeriod(55);
    Counter::calls = 0;
    Counter::task = TMTask{};
    Counter::task.tmAddr = &Counter::Once;
    PrimeTime(&Counter::task, 100);
    {
        qiva::TaskGateClosed gate;
        headless->AdvanceClock(110000);
        qiva::ServiceTimer();
        EXPECT_EQ(Counter::calls, 0);
    }
    headless->AdvanceClock(55000);
    qiva::ServiceTimer();
    EXPECT_EQ(Counter::calls, 1) << "the held periods are processed with the next one";
    headless->AdvanceClock(1000000);
    qiva::ServiceTimer();
    EXPECT_EQ(Counter::calls, 1) << "not re-armed: it runs once";
    EXPECT_EQ(Counter::task.tmCount, 0);
    EXPECT_LE(Counter::task.tmReserved, 0);
    RmvTime(&Counter::task);
}

TEST_F(TimeManager, ATaskMayRemoveItselfAndTheCounterCountsMilliseconds) {
    qiva::SetTimerPeriod(10);
    Counter::calls = 0;
    Counter::task = TMTask{};
    Counter::task.tmAddr = &Counter::RemoveSelf;
    PrimeTime(&Counter::task, 5);
    qiva::StartTimer1000();
    qiva::SetTimer1000(0);
    Delay(6, nullptr); // time tasks run while Delay waits
    EXPECT_EQ(Counter::calls, 1);
    EXPECT_TRUE(qiva::TimerRunning()) << "the counter keeps the timer";
    EXPECT_GE(qiva::ReadTimer1000(), 90);
    EXPECT_LE(qiva::ReadTimer1000(), 110);
    qiva::StopTimer1000();
    EXPECT_FALSE(qiva::TimerRunning());
}

// A format-1 'snd ' with one modifier and one command, then the header.
std::vector<std::uint8_t> SndResource(int format, std::vector<std::uint8_t> header) {
    std::vector<std::uint8_t> r = {0, static_cast<std::uint8_t>(format)};
    if (format == 1)
        r.insert(r.end(), {0, 1, 0, 5, 0, 0, 0, 0});
    else
        r.insert(r.end(), {0, 0});
    r.insert(r.end(), {0, 1, 0x80, 0x51, 0, 0, 0, 0, 0, 20});
    r.insert(r.end(), header.begin(), header.end());
    return r;
}

std::vector<std::uint8_t> StandardHeader(std::uint32_t frames, std::uint32_t rate,
                                         std::vector<std::uint8_t> samples) {
    std::vector<std::uint8_t> h = {0, 0, 0, 0};
    for (int s = 24; s >= 0; s -= 8)
        h.push_back(static_cast<std::uint8_t>(frames >> s));
    for (int s = 24; s >= 0; s -= 8)
        h.push_back(static_cast<std::uint8_t>((rate << 16) >> s));
    h.insert(h.end(), {0, 0, 0, 0, 0, 0, 0, 0, 0 /*encoding*/, 60});
    h.insert(h.end(), samples.begin(), samples.end());
    return h;
}

std::uint32_t Le(const std::vector<std::uint8_t>& w, std::size_t at, int n) {
    std::uint32_t v = 0;
    for (int i = n - 1; i >= 0; --i)
        v = (v << 8) | w[at + i];
    return v;
}

TEST_F(Sound, StandardHeaderBecomesAn8BitMonoWave) {
    for (int format : {1, 2}) {
        const auto snd = SndResource(format, StandardHeader(4, 11025, {0x80, 0xFF, 0x00, 0x7F}));
        std::vector<std::uint8_t> wave;
        ASSERT_EQ(qiva::SndToWave(snd.data(), snd.size(), wave), 0);
        ASSERT_EQ(wave.size(), 48u);
        EXPECT_EQ(std::string(wave.begin(), wave.begin() + 4), "RIFF");
        EXPECT_EQ(Le(wave, 4, 4), 40u);
        EXPECT_EQ(Le(wave, 22, 2), 1u);
        EXPECT_EQ(Le(wave, 24, 4), 11025u);
        EXPECT_EQ(Le(wave, 28, 4), 11025u);
        EXPECT_EQ(Le(wave, 32, 2), 1u);
        EXPECT_EQ(Le(wave, 34, 2), 8u);
        EXPECT_EQ(Le(wave, 40, 4), 4u);
        EXPECT_EQ(std::vector<std::uint8_t>(wave.begin() + 44, wave.end()),
                  (std::vector<std::uint8_t>{0x80, 0xFF, 0x00, 0x7F}));
    }
}

TEST_F(Sound, ExtendedHeaderGives16BitSamplesInWaveByteOrder) {
    std::vector<std::uint8_t> h(64, 0);
    h[7] = 2;                 // channels
    h[8] = 0x56, h[9] = 0x22; // 22050.0
    h[20] = 0xFF;             // extended
    h[25] = 2;                // frames
    h[49] = 16;               // sample size at byte 48
    h.insert(h.end(), {0x12, 0x34, 0xFF, 0xFE, 0x00, 0x01, 0x80, 0x00});
    const auto snd = SndResource(1, h);
    std::vector<std::uint8_t> wave;
    ASSERT_EQ(qiva::SndToWave(snd.data(), snd.size(), wave), 0);
    EXPECT_EQ(Le(wave, 22, 2), 2u);
    EXPECT_EQ(Le(wave, 24, 4), 22050u);
    EXPECT_EQ(Le(wave, 28, 4), 88200u);
    EXPECT_EQ(Le(wave, 32, 2), 4u);
    EXPECT_EQ(Le(wave, 34, 2), 16u);
    EXPECT_EQ(std::vector<std::uint8_t>(wave.begin() + 44, wave.end()),
              (std::vector<std::uint8_t>{0x34, 0x12, 0xFE, 0xFF, 0x01, 0x00, 0x00, 0x80}));
}

TEST_F(Sound, WhatCannotBePlayedIsRefusedOrCutAndNeverReadPastTheEnd) {
    std::vector<std::uint8_t> wave;
    auto snd = SndResource(1, StandardHeader(4, 11025, {1, 2, 3, 4}));
    snd[1] = 3;
    EXPECT_EQ(qiva::SndToWave(snd.data(), snd.size(), wave), -1) << "format 3";
    snd = SndResource(1, StandardHeader(4, 11025, {1, 2, 3, 4}));
    snd[20 + 20] = 0xFE;
    EXPECT_EQ(qiva::SndToWave(snd.data(), snd.size(), wave), -1) << "compressed encoding";
    snd = SndResource(1, StandardHeader(1000000, 11025, {1, 2, 3}));
    EXPECT_EQ(qiva::SndToWave(snd.data(), snd.size(), wave), 0);
    EXPECT_EQ(Le(wave, 40, 4), 3u) << "a length past the resource is cut to its samples";
    snd = SndResource(1, StandardHeader(4, 11025, {}));
    snd[2] = snd[3] = 0xFF; // 65 535 modifiers: the header would lie beyond the resource
    EXPECT_EQ(qiva::SndToWave(snd.data(), snd.size(), wave), 0);
    EXPECT_TRUE(wave.empty());
    for (std::size_t cut = 0; cut < 20 + 22; ++cut) {
        const int r = qiva::SndToWave(snd.data(), cut, wave);
        EXPECT_TRUE(r == -1 || wave.empty()) << cut;
    }
}

TEST_F(Sound, SndPlayPlaysSynchronouslyAndKeepsTheHandleState) {
    const auto snd = SndResource(1, StandardHeader(11025, 11025, std::vector<std::uint8_t>(11025, 0x80)));
    Handle h = NewHandle(static_cast<Size>(snd.size()));
    ASSERT_NE(h, nullptr);
    std::copy(snd.begin(), snd.end(), *h);
    const std::uint32_t start = TickCount();
    EXPECT_EQ(SndPlay(nullptr, h, true), 0);
    EXPECT_GE(TickCount(), start + 60) << "returns when the second of sound has played";
    EXPECT_EQ(HGetState(h) & 0x80, 0) << "unlocked again";
    ASSERT_EQ(headless->Sounds().size(), 1u);
    EXPECT_EQ(headless->Sounds()[0].sampleRate, 11025);
    (*h)[1] = 9;
    EXPECT_EQ(SndPlay(nullptr, h, false), -1);
    EXPECT_EQ(SndPlay(nullptr, nullptr, false), -1);
    DisposeHandle(h);
}

TEST_F(Sound, BeepAtVolumeZeroFlashesTheMenuBarInstead) {
    static int flashes;
    flashes = 0;
    qiva::SetMenuBarFlashHook([] { ++flashes; });
    const qiva_test::ScopeExit unhook([] { qiva::SetMenuBarFlashHook(nullptr); });
    SysBeep(10);
    EXPECT_EQ(headless->Sounds().size(), 1u);
    EXPECT_TRUE(headless->Sounds()[0].beep);
    EXPECT_EQ(flashes, 0);
    SetSoundVol(0);
    const std::uint32_t start = TickCount();
    SysBeep(10);
    EXPECT_EQ(headless->Sounds().size(), 1u) << "no sound";
    EXPECT_EQ(flashes, 2);
    EXPECT_GE(TickCount(), start + 10);
}

} // namespace

namespace {

std::vector<std::uint8_t> PcmWave(int channels, int rate, int bits, const std::vector<std::uint8_t>& data) {
    std::vector<std::uint8_t> w = {'R', 'I', 'F', 'F', 0,   0,  0, 0, 'W', 'A', 'V',
                                   'E', 'f', 'm', 't', ' ', 16, 0, 0, 0,   1,   0};
    auto put = [&](std::uint32_t v, int n) {
        for (int i = 0; i < n; ++i)
            w.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    };
    put(static_cast<std::uint32_t>(channels), 2);
    put(static_cast<std::uint32_t>(rate), 4);
    put(static_cast<std::uint32_t>(rate * channels * bits / 8), 4);
    put(static_cast<std::uint32_t>(channels * bits / 8), 2);
    put(static_cast<std::uint32_t>(bits), 2);
    w.insert(w.end(), {'d', 'a', 't', 'a'});
    put(static_cast<std::uint32_t>(data.size()), 4);
    w.insert(w.end(), data.begin(), data.end());
    for (int i = 0; i < 4; ++i)
        w[4 + i] = static_cast<std::uint8_t>((w.size() - 8) >> (8 * i));
    return w;
}

TEST(WaveToSnd, RoundTripsThroughThePlayer) {
    struct Case {
        int channels, rate, bits;
        std::uint8_t encoding;
    };
    const Case cases[] = {
        {1, 11025, 8, 0x00}, {1, 22050, 16, 0xFF}, {2, 44100, 16, 0xFF}, {2, 8000, 8, 0xFF}};
    const std::vector<std::uint8_t> samples = {0x10, 0x80, 0xFF, 0x00, 0x7F, 0x81, 0x22, 0x33};
    for (const Case& c : cases) {
        const auto wave = PcmWave(c.channels, c.rate, c.bits, samples);
        std::vector<std::uint8_t> snd, back;
        ASSERT_EQ(qiva::WaveToSnd(wave.data(), wave.size(), snd), "") << c.channels << " " << c.bits;
        EXPECT_EQ(snd[0] << 8 | snd[1], 1);
        EXPECT_EQ(snd[20 + 20], c.encoding);
        ASSERT_EQ(qiva::SndToWave(snd.data(), snd.size(), back), 0);
        EXPECT_EQ(back, wave) << c.channels << " " << c.bits;
        if (c.bits == 16) {
            EXPECT_EQ(snd[20 + 48] << 8 | snd[20 + 49], 16)
                << "sample size where the published layout has it";
            EXPECT_EQ(snd[20 + 64], samples[1]) << "16-bit samples are stored big-endian";
        }
    }
    const auto fast = PcmWave(1, 96000, 8, samples);
    std::vector<std::uint8_t> snd;
    EXPECT_NE(qiva::WaveToSnd(fast.data(), fast.size(), snd), "");
    EXPECT_NE(qiva::WaveToSnd(fast.data(), 30, snd), "");
}

} // namespace
