// Colour icons made from RGBA images and read back: the pixels keep their palette colours, the mask
// follows the alpha, the layout is the published one, and broken icons are refused.
#include <gtest/gtest.h>

#include <cstdint>

#include "toolkit/graphics/palette.h"
#include "tools/qiva-rsrc/cicn.h"

namespace {

using qiva_pict::Bytes;
using qiva_pict::RgbaImage;

// An image of many palette colours, with alpha 0 on a diagonal and wherever the colour's index is a
// multiple of 5.
RgbaImage PaletteImage(int w, int h, const qiva::Palette& palette) {
    RgbaImage image{w, h, Bytes(std::size_t(w) * h * 4)};
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int index = 11 + (x * 7 + y * 13) % 230; // avoids the transparent index
            const qiva::PaletteEntry& e = palette.entries[index];
            std::uint8_t* p = &image.rgba[(std::size_t(y) * w + x) * 4];
            p[0] = e.red, p[1] = e.green, p[2] = e.blue;
            p[3] = (x == y || index % 5 == 0) ? 0 : 255;
        }
    return image;
}

TEST(Cicn, RoundTripKeepsColoursAndMaskAtEverySize) {
    const qiva::Palette palette = qiva::BuildPalette(0, 0, 0);
    const struct { int w, h; } sizes[] = {{32, 32}, {8, 8}, {16, 16}, {5, 3}, {17, 2}, {1, 1}};
    for (const auto& size : sizes) {
        SCOPED_TRACE(std::to_string(size.w) + "x" + std::to_string(size.h));
        const RgbaImage in = PaletteImage(size.w, size.h, palette);
        for (bool dither : {false, true}) {
            const Bytes icon = qiva_rsrc::CicnFromImage(in, palette, dither);
            RgbaImage out;
            std::string error;
            ASSERT_TRUE(qiva_rsrc::ImageFromCicn(icon, out, error)) << error;
            ASSERT_EQ(out.width, size.w);
            ASSERT_EQ(out.height, size.h);
            // Opaque pixels come back as the palette colour the conversion chose; the rest clear.
            const std::vector<std::uint8_t> chosen = qiva_pict::PaletteIndices(in, palette, dither);
            Bytes expected(in.rgba.size(), 0);
            for (std::size_t i = 0; i < chosen.size(); ++i) {
                if (in.rgba[i * 4 + 3] < 128) continue;
                const qiva::PaletteEntry& e = palette.entries[chosen[i]];
                expected[i * 4] = e.red, expected[i * 4 + 1] = e.green, expected[i * 4 + 2] = e.blue;
                expected[i * 4 + 3] = 255;
            }
            EXPECT_EQ(out.rgba, expected);
        }
    }
}

std::uint16_t Word(const Bytes& b, std::size_t at) {
    return std::uint16_t(b[at] << 8 | b[at + 1]);
}

TEST(Cicn, LayoutIsThePublishedOne) {
    const qiva::Palette palette = qiva::BuildPalette(0, 0, 0);
    RgbaImage in{10, 2, Bytes(10 * 2 * 4, 0)};
    in.rgba[3] = 255;                    // (0, 0) opaque black: mask and one-bit icon set
    in.rgba[(1 * 10 + 9) * 4 + 0] = 255; // (9, 1) opaque white: mask only
    in.rgba[(1 * 10 + 9) * 4 + 1] = 255;
    in.rgba[(1 * 10 + 9) * 4 + 2] = 255;
    in.rgba[(1 * 10 + 9) * 4 + 3] = 255;
    const Bytes icon = qiva_rsrc::CicnFromImage(in, palette, false);
    EXPECT_EQ(Word(icon, 4), 0x8000 | 10); // pixel map rowBytes, even, with the flag
    EXPECT_EQ(Word(icon, 10), 2);          // bounds bottom
    EXPECT_EQ(Word(icon, 12), 10);         // bounds right
    EXPECT_EQ(Word(icon, 32), 8);          // pixelSize
    EXPECT_EQ(Word(icon, 54), 2);          // mask rowBytes
    EXPECT_EQ(Word(icon, 68), 2);          // icon bitmap rowBytes
    const std::size_t mask = 82, bits = mask + 4, table = bits + 4;
    EXPECT_EQ(icon[mask], 0x80);
    EXPECT_EQ(icon[mask + 3], 0x40); // x = 9 on row 1
    EXPECT_EQ(icon[bits], 0x80);
    EXPECT_EQ(icon[bits + 3], 0x00);       // white is not dark
    EXPECT_EQ(Word(icon, table + 6), 255); // 256 entries
    EXPECT_EQ(icon.size(), table + 8 + 256 * 8 + 10 * 2);
}

TEST(Cicn, BrokenIconsAreRefusedWithAMessage) {
    const qiva::Palette palette = qiva::BuildPalette(0, 0, 0);
    const Bytes good = qiva_rsrc::CicnFromImage(PaletteImage(8, 8, palette), palette, false);
    struct Case {
        const char* what;
        std::size_t at; // byte changed, or SIZE_MAX to cut the data
        std::uint8_t value;
        std::size_t cut;
    };
    const Case cases[] = {
        {"shorter than the header", SIZE_MAX, 0, 40},
        {"cut in the pixels", SIZE_MAX, 0, good.size() - 1},
        {"cut in the colour table", SIZE_MAX, 0, 82 + 16 + 100},
        {"empty bounds", 13, 0, 0},       // right = 0
        {"mask bounds differ", 63, 9, 0}, // mask right = 9
        {"pixel depth 3", 33, 3, 0},
        {"pixel row too narrow", 5, 2, 0}, // rowBytes 2 for 8 pixels of 8 bits
        {"huge bounds", 12, 0x7F, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Bytes bad = good;
        if (c.at == SIZE_MAX)
            bad.resize(c.cut);
        else
            bad[c.at] = c.value;
        RgbaImage out;
        std::string error;
        EXPECT_FALSE(qiva_rsrc::ImageFromCicn(bad, out, error));
        EXPECT_FALSE(error.empty());
    }
}

} // namespace
