#include <algorithm>
#include <vector>

#include "tests/toolkit/graphics/graphics_fixture.h"
#include "toolkit/core/memory.h"
#include "toolkit/graphics/pict_player.h"
#include "tools/qiva-pict/nearest_colour.h"
#include "tools/qiva-pict/pict_files.h"

namespace {

using qiva_pict::RgbaImage;

class PictFiles : public GraphicsTest {
protected:
    GrafPort port;
    void SetUp() override {
        GraphicsTest::SetUp();
        ASSERT_TRUE(NewBufferPort(&port, 4, 2));
        const RGBColor green{0, 0xFFFF, 0};
        RGBForeColor(&green);
        PaintRect(&port.portRect);
        greenIndex = static_cast<std::uint8_t>(Color2Index(&green));
        PenNormal();
        ForeColor(blackColor);
    }
    void TearDown() override {
        DisposeBufferPort(&port);
        GraphicsTest::TearDown();
    }
    void Play(const qiva_pict::Bytes& pict) {
        Handle h = nullptr;
        ASSERT_EQ(PtrToHand(pict.data(), &h, static_cast<Size>(pict.size())), noErr);
        EXPECT_EQ(qiva::PlayPicture(reinterpret_cast<PicHandle>(h), port.portRect), qiva::pict::Status::Ok);
        DisposeHandle(h);
    }
    std::uint8_t greenIndex = 0;
};

// Four pixels a row: transparent, red, blue, half-transparent white; the second row all opaque black.
RgbaImage Sample() {
    RgbaImage image{4, 2, {0, 0, 0, 0,   255, 0, 0, 255, 0, 0, 255, 255, 255, 255, 255, 100,
                           0, 0, 0, 255, 0,   0, 0, 255, 0, 0, 0,   255, 0,   0,   0,   255}};
    return image;
}

TEST_F(PictFiles, TransparentPixelsStayTransparentWhenDrawn) {
    const qiva::Palette& palette = qiva::ThePalette().palette;
    for (bool dither : {false, true}) {
        const std::vector<std::uint8_t> indices = qiva_pict::PaletteIndices(Sample(), palette, dither);
        EXPECT_EQ(indices[0], qiva::kTransparentIndex);
        for (std::size_t i = 1; i < indices.size(); ++i)
            EXPECT_NE(indices[i], qiva::kTransparentIndex) << "an opaque colour never becomes transparent";
        Play(qiva_pict::PictFromImage(Sample(), palette, {dither, false}));
        const RGBColor red{0xFFFF, 0, 0}, blue{0, 0, 0xFFFF};
        EXPECT_EQ(Pixel(0, 0), greenIndex) << "left as it was";
        EXPECT_EQ(Pixel(1, 0), Color2Index(&red));
        EXPECT_EQ(Pixel(2, 0), Color2Index(&blue));
        EXPECT_EQ(Pixel(3, 0), qiva::kIndexWhite);
        EXPECT_EQ(Pixel(0, 1), qiva::kIndexBlack);
    }
}

TEST_F(PictFiles, MasksAreOneWhereTheImageIsOpaque) {
    Play(qiva_pict::PictFromImage(Sample(), qiva::ThePalette().palette, {true, true}));
    EXPECT_EQ(Pixel(0, 0), qiva::kIndexWhite);
    EXPECT_EQ(Pixel(1, 0), qiva::kIndexBlack);
    EXPECT_EQ(Pixel(3, 0), qiva::kIndexWhite); // alpha 100 is below half
    EXPECT_EQ(Pixel(2, 1), qiva::kIndexBlack);
}

TEST(PictFilesHeader, FindsThePictureBehindA512ByteHeader) {
    qiva_pict::Bytes bare = {0, 20, 0, 0, 0, 0, 0, 4, 0, 4, 0x11, 0x01, 0xFF};
    qiva_pict::Bytes file(512 + bare.size(), 0);
    std::copy(bare.begin(), bare.end(), file.begin() + 512);
    EXPECT_EQ(qiva_pict::PictureOfFile(file), bare);
    EXPECT_EQ(qiva_pict::PictureOfFile(bare), bare);
}

} // namespace

namespace {

// The inverse table gives exactly what searching the whole palette gives: at every cell's corners
// and centre (where a cell's candidates are decided) and at colours spread over the cube, for the
// default palette and one whose highlight colour sits between the cube's.
TEST(NearestColour, TheInverseTableAgreesWithTheFullSearch) {
    const qiva::Palette palettes[] = {qiva::BuildPalette(0, 0, 0), qiva::BuildPalette(0x60, 0xA0, 0x30)};
    for (const qiva::Palette& palette : palettes) {
        // Every corner for the default palette; two opposite corners for the other, to stay quick.
        const int cornerStep = &palette == &palettes[0] ? 1 : 7;
        qiva_pict::NearestColour nearest(palette);
        long checked = 0, mismatches = 0;
        const auto check = [&](int r, int g, int b) {
            ++checked;
            const std::uint8_t want = qiva_pict::NearestBySearch(palette, r, g, b);
            const std::uint8_t got = nearest(r, g, b);
            if ((got != want || got == qiva_pict::kTransparentIndex) && ++mismatches <= 5)
                ADD_FAILURE() << r << " " << g << " " << b << ": " << int(got) << ", not " << int(want);
        };
        for (int r = 0; r < 256; r += 8)
            for (int g = 0; g < 256; g += 8)
                for (int b = 0; b < 256; b += 8) {
                    for (int corner = 0; corner < 8; corner += cornerStep)
                        check(r + (corner & 1) * 7, g + (corner >> 1 & 1) * 7, b + (corner >> 2) * 7);
                    check(r + 4, g + 4, b + 4);
                }
        for (int v = -40; v < 300; v += 3)
            check(v, 255 - v, v / 2); // outside the cube too, as dithering makes it
        std::uint32_t seed = 12345;
        for (int n = 0; n < 50000; ++n) {
            seed = seed * 1664525u + 1013904223u;
            check(seed >> 24, (seed >> 16) & 255, (seed >> 8) & 255);
        }
        EXPECT_EQ(mismatches, 0) << "of " << checked;
    }
}

} // namespace
