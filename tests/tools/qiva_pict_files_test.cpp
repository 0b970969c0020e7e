#include <algorithm>
#include <vector>

#include "tests/toolkit/graphics/graphics_fixture.h"
#include "toolkit/core/memory.h"
#include "toolkit/graphics/pict_player.h"
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
