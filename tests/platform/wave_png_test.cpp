#include <gtest/gtest.h>
#include <png.h>

#include <cstring>
#include <vector>

#include "platform/paths.h"
#include "platform/png.h"
#include "platform/wave.h"
#include "tests/support/temp_dir.h"

namespace {

std::vector<std::uint8_t> Wave(int channels, int rate, int bits, std::uint32_t dataLength,
                               std::size_t dataPresent) {
    std::vector<std::uint8_t> w(44 + dataPresent, 0x80);
    auto put = [&](std::size_t at, std::uint32_t v, int n) {
        for (int i = 0; i < n; ++i)
            w[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
    };
    std::memcpy(w.data(), "RIFF", 4);
    put(4, static_cast<std::uint32_t>(36 + dataPresent), 4);
    std::memcpy(w.data() + 8, "WAVEfmt ", 8);
    put(16, 16, 4);
    put(20, 1, 2);
    put(22, static_cast<std::uint32_t>(channels), 2);
    put(24, static_cast<std::uint32_t>(rate), 4);
    put(28, static_cast<std::uint32_t>(rate * channels * bits / 8), 4);
    put(32, static_cast<std::uint32_t>(channels * bits / 8), 2);
    put(34, static_cast<std::uint32_t>(bits), 2);
    std::memcpy(w.data() + 36, "data", 4);
    put(40, dataLength, 4);
    return w;
}

TEST(Wave, ReadsFormatAndDuration) {
    const auto w = Wave(1, 11025, 8, 11025, 11025);
    platform::WaveInfo info;
    ASSERT_EQ(platform::ParseWave(w.data(), w.size(), info), "");
    EXPECT_EQ(info.channels, 1);
    EXPECT_EQ(info.sampleRate, 11025);
    EXPECT_EQ(info.bitsPerSample, 8);
    EXPECT_EQ(info.Frames(), 11025u);
    EXPECT_EQ(info.DurationMicroseconds(), 1000000u);
    EXPECT_EQ(info.samples, w.data() + 44);
}

TEST(Wave, DataLongerThanTheImageIsCutToWholeFrames) {
    const auto w = Wave(2, 22050, 16, 0xFFFFFFF0u, 103);
    platform::WaveInfo info;
    ASSERT_EQ(platform::ParseWave(w.data(), w.size(), info), "");
    EXPECT_EQ(info.dataBytes, 100u);
    EXPECT_EQ(info.Frames(), 25u);
}

TEST(Wave, RejectsWhatItCannotPlay) {
    platform::WaveInfo info;
    auto bad = Wave(1, 11025, 8, 4, 4);
    bad[20] = 2; // not PCM
    EXPECT_NE(platform::ParseWave(bad.data(), bad.size(), info), "");
    bad = Wave(3, 11025, 8, 4, 4);
    EXPECT_NE(platform::ParseWave(bad.data(), bad.size(), info), "");
    bad = Wave(1, 11025, 12, 4, 4);
    EXPECT_NE(platform::ParseWave(bad.data(), bad.size(), info), "");
    bad = Wave(1, 0, 8, 4, 4);
    EXPECT_NE(platform::ParseWave(bad.data(), bad.size(), info), "");
    const auto good = Wave(1, 11025, 8, 4, 4);
    for (std::size_t cut = 0; cut < 44; ++cut)
        EXPECT_NE(platform::ParseWave(good.data(), cut, info), "") << cut;
    EXPECT_NE(platform::ParseWave(nullptr, 0, info), "");
}

TEST(Wave, HeadersAreReadBackAsWritten) {
    struct Case {
        int channels, rate, bits;
        std::uint32_t frames;
    };
    for (const Case c : {Case{1, 22050, 8, 7}, Case{2, 44100, 16, 3}, Case{1, 11025, 16, 0}}) {
        const std::uint32_t bytes = c.frames * std::uint32_t(c.channels * c.bits / 8);
        std::vector<std::uint8_t> w = platform::WaveHeader(c.channels, c.rate, c.bits, bytes);
        const std::vector<std::uint8_t> expected = Wave(c.channels, c.rate, c.bits, bytes, bytes);
        EXPECT_EQ(w, std::vector<std::uint8_t>(expected.begin(), expected.begin() + 44))
            << c.channels << " " << c.bits;
        w.resize(w.size() + bytes, 0x80);
        platform::WaveInfo info;
        ASSERT_EQ(platform::ParseWave(w.data(), w.size(), info), "");
        EXPECT_EQ(info.channels, c.channels);
        EXPECT_EQ(info.sampleRate, c.rate);
        EXPECT_EQ(info.bitsPerSample, c.bits);
        EXPECT_EQ(info.Frames(), c.frames);
    }
}

TEST(Wave, BeepIsAPlayableImage) {
    const auto beep = platform::BeepWave();
    platform::WaveInfo info;
    ASSERT_EQ(platform::ParseWave(beep.data(), beep.size(), info), "");
    EXPECT_GT(info.DurationMicroseconds(), 50000u);
    EXPECT_LT(info.DurationMicroseconds(), 300000u);
}

// Decodes a PNG image into RGBA with libpng's own reader, as any viewer would.
std::vector<std::uint8_t> DecodeRgba(const std::vector<std::uint8_t>& bytes, int& width, int& height) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) return {};
    image.format = PNG_FORMAT_RGBA;
    std::vector<std::uint8_t> rgba(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr)) return {};
    width = static_cast<int>(image.width);
    height = static_cast<int>(image.height);
    return rgba;
}

TEST(Png, EncodesTheFrameThroughItsPaletteRowsApartByRowBytes) {
    std::uint32_t palette[256] = {};
    palette[1] = 0xFFFF0000u;
    palette[2] = 0xFF0000FFu;
    palette[255] = 0xFF123456u;
    const std::uint8_t pixels[] = {1, 2, 255, 9, 255, 1, 2, 9}; // 3 x 2, rows 4 bytes apart
    const platform::Frame frame{pixels, 4, 3, 2, palette};
    std::vector<std::uint8_t> png;
    ASSERT_EQ(platform::EncodePng(frame, png), "");
    int width = 0, height = 0;
    const std::vector<std::uint8_t> rgba = DecodeRgba(png, width, height);
    ASSERT_EQ(width, 3);
    ASSERT_EQ(height, 2);
    const std::vector<std::uint8_t> expected{0xFF, 0,    0,    0xFF, 0,    0,    0xFF, 0xFF,
                                             0x12, 0x34, 0x56, 0xFF, 0x12, 0x34, 0x56, 0xFF,
                                             0xFF, 0,    0,    0xFF, 0,    0,    0xFF, 0xFF};
    EXPECT_EQ(rgba, expected);

    TempDir dir;
    ASSERT_EQ(platform::WritePng(dir / "shot.png", frame), "");
    std::string file;
    ASSERT_TRUE(platform::ReadFile(dir / "shot.png", file));
    EXPECT_EQ(std::vector<std::uint8_t>(file.begin(), file.end()), png);
}

TEST(Png, AScreenOfFlatAreasCompressesToAFewKilobytes) {
    std::uint32_t palette[256] = {};
    std::vector<std::uint8_t> screen(640 * 450, 0);
    for (int y = 100; y < 200; ++y)
        for (int x = 50; x < 400; ++x)
            screen[static_cast<std::size_t>(y) * 640 + x] = static_cast<std::uint8_t>(x / 50);
    std::vector<std::uint8_t> png;
    ASSERT_EQ(platform::EncodePng({screen.data(), 640, 640, 450, palette}, png), "");
    EXPECT_LT(png.size(), 8000u);
}

TEST(Png, EncodesTrueColourPixelsAsGiven) {
    // Two rows of two pixels; the RGB image is the RGBA one without its alpha.
    const std::vector<std::uint8_t> rgba = {255, 0, 0, 255, 0, 255, 0, 128, 0, 0, 255, 0, 10, 20, 30, 255};
    std::vector<std::uint8_t> rgb;
    for (std::size_t i = 0; i < rgba.size(); i += 4)
        rgb.insert(rgb.end(), rgba.begin() + std::ptrdiff_t(i), rgba.begin() + std::ptrdiff_t(i) + 3);
    for (const int channels : {3, 4}) {
        std::vector<std::uint8_t> png;
        ASSERT_EQ(platform::EncodeTrueColourPng(2, 2, channels, channels == 4 ? rgba : rgb, png), "");
        int width = 0, height = 0;
        const std::vector<std::uint8_t> decoded = DecodeRgba(png, width, height);
        ASSERT_EQ(width, 2);
        ASSERT_EQ(height, 2);
        for (std::size_t i = 0; i < rgba.size(); ++i)
            EXPECT_EQ(decoded[i], i % 4 == 3 && channels == 3 ? 255 : rgba[i]) << channels << " byte " << i;
    }
    std::vector<std::uint8_t> png{1};
    EXPECT_NE(platform::EncodeTrueColourPng(2, 2, 3, std::span(rgb).first(11), png), ""); // one byte short
    EXPECT_TRUE(png.empty());
    EXPECT_NE(platform::EncodeTrueColourPng(2, 2, 2, rgba, png), "");
    EXPECT_NE(platform::EncodeTrueColourPng(0, 2, 4, rgba, png), "");
}

TEST(Png, RefusesAMissingOrMalformedFrame) {
    std::uint32_t palette[256] = {};
    const std::uint8_t pixels[4] = {};
    std::vector<std::uint8_t> png{1};
    EXPECT_NE(platform::EncodePng(platform::Frame{}, png), "");
    EXPECT_TRUE(png.empty());
    EXPECT_NE(platform::EncodePng({pixels, 1, 2, 2, palette}, png), ""); // rows overlap
    EXPECT_NE(platform::EncodePng({pixels, 2, 2, 2, nullptr}, png), "");
    TempDir dir;
    EXPECT_NE(platform::WritePng(dir / "none.png", platform::Frame{}), "");
}

} // namespace
