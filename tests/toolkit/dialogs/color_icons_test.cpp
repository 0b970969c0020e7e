// Colour icons from 'cicn' resources plotted through their mask, and one-bit icons.

#include <gtest/gtest.h>

#include <memory>

#include "platform/headless.h"
#include "tests/toolkit/core/resource_files.h"
#include "toolkit/core/big_endian.h"
#include "toolkit/core/error_box.h"
#include "toolkit/core/memory.h"
#include "toolkit/core/resources.h"
#include "toolkit/core/shell.h"
#include "toolkit/dialogs/dialogs.h"
#include "toolkit/graphics/buffer_table.h"
#include "toolkit/graphics/buffers.h"
#include "toolkit/graphics/palette.h"
#include "toolkit/graphics/present.h"
#include "toolkit/graphics/quickdraw.h"

namespace {

// A 2 × 2 'cicn': pixels 5 6 / 7 8 through a table mapping each value to the palette's own colour
// at that index; the mask keeps the top-left and bottom-right pixels.
std::string SmallIcon(const qiva::Palette& palette) {
    std::vector<std::uint8_t> out;
    qiva::BigEndianWriter w(out);
    w.U32(0);
    w.Write<std::uint16_t>(0x8000 | 2);
    for (std::int16_t v : {0, 0, 2, 2})
        w.Write<std::int16_t>(v);
    while (out.size() < 32)
        w.U8(0);
    w.Write<std::int16_t>(8);
    while (out.size() < 50)
        w.U8(0);
    for (int map = 0; map < 2; ++map) {
        w.U32(0);
        w.Write<std::int16_t>(2);
        for (std::int16_t v : {0, 0, 2, 2})
            w.Write<std::int16_t>(v);
    }
    w.U32(0);
    for (std::uint16_t v : {0x8000, 0x4000, 0x0000, 0x0000})
        w.Write<std::uint16_t>(v);
    w.U32(0);
    w.Write<std::int16_t>(0);
    w.Write<std::int16_t>(3);
    for (int value : {5, 6, 7, 8}) {
        w.Write<std::int16_t>(static_cast<std::int16_t>(value));
        w.Write<std::uint16_t>(static_cast<std::uint16_t>(palette.entries[value].red * 257));
        w.Write<std::uint16_t>(static_cast<std::uint16_t>(palette.entries[value].green * 257));
        w.Write<std::uint16_t>(static_cast<std::uint16_t>(palette.entries[value].blue * 257));
    }
    for (std::uint8_t v : {5, 6, 7, 8})
        w.U8(v);
    return std::string(out.begin(), out.end());
}

class ColorIconTest : public ::testing::Test {
protected:
    qiva::HeadlessPresent present;
    qiva_test::ScratchDirectory dir;
    std::int16_t file = -1;
    GrafPort port{};

    void SetUp() override {
        platform::Install(std::make_unique<platform::HeadlessBackend>());
        qiva::SetScreenSize(64, 64);
        qiva::SetHighlightSetting(0, 0, 0);
        qiva::SetPresentSink(&present);
        InitGraf(nullptr);
        const qiva::Palette palette = qiva::BuildPalette(0, 0, 0);
        std::string broken = SmallIcon(palette);
        broken.resize(90);
        file = OpenResFile(dir.Write("icons.rsr", qiva_test::FileImage({
                                                      qiva_test::MakeResource("cicn", 7, SmallIcon(palette)),
                                                      qiva_test::MakeResource("cicn", 8, broken),
                                                  }))
                               .c_str());
        ASSERT_GT(file, 0);
        ASSERT_TRUE(NewBufferPort(&port, 16, 16));
        SetPort(&port);
        ForeColor(whiteColor);
        PaintRect(&port.portRect);
        ForeColor(blackColor);
    }
    void TearDown() override {
        DisposeBufferPort(&port);
        if (file > 0) CloseResFile(file);
        qiva::CloseGraphics();
        qiva::SetPresentSink(nullptr);
        platform::Install(nullptr);
    }
    std::uint8_t Pixel(int h, int v) {
        const qiva::BufferSlot* s = qiva::LookUpBuffer(qiva::BufferIdOf(port.portBits));
        return s->base[static_cast<std::size_t>(v) * s->rowBytes + h];
    }
};

TEST_F(ColorIconTest, PlotsThroughTheMaskScaled) {
    CIconHandle icon = GetCIcon(7);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ((*icon)->iconPMap.bounds.right, 2);
    const std::uint8_t white = Pixel(0, 0);
    Rect one{0, 0, 2, 2}, twice{4, 4, 8, 8};
    PlotCIcon(&one, icon);
    EXPECT_EQ(Pixel(0, 0), 5);
    EXPECT_EQ(Pixel(1, 0), white); // outside the mask
    EXPECT_EQ(Pixel(0, 1), white);
    EXPECT_EQ(Pixel(1, 1), 8);
    PlotCIcon(&twice, icon);
    for (int v = 4; v < 8; ++v)
        for (int h = 4; h < 8; ++h) {
            const bool topLeft = h < 6 && v < 6, bottomRight = h >= 6 && v >= 6;
            EXPECT_EQ(Pixel(h, v), topLeft ? 5 : bottomRight ? 8 : white) << h << "," << v;
        }
    DisposeCIcon(icon);
}

TEST_F(ColorIconTest, DestinationBeyondAnyScreenDrawsNothing) {
    // A damaged dialog item can ask for the whole coordinate space: refused at once, not resampled.
    CIconHandle icon = GetCIcon(7);
    ASSERT_NE(icon, nullptr);
    const std::uint8_t white = Pixel(0, 0);
    const Rect huge{-32000, -32000, 32000, 32000}, wide{0, 0, 8, 2049};
    PlotCIcon(&huge, icon);
    PlotCIcon(&wide, icon);
    for (int v = 0; v < 8; ++v)
        for (int h = 0; h < 8; ++h)
            EXPECT_EQ(Pixel(h, v), white) << h << "," << v;
    DisposeCIcon(icon);
}

TEST_F(ColorIconTest, MissingOrDamagedIconsGiveNull) {
    EXPECT_EQ(GetCIcon(99), nullptr);
    EXPECT_EQ(GetCIcon(8), nullptr); // cut inside its pixels
    Rect r{0, 0, 4, 4};
    PlotCIcon(&r, nullptr);
    DisposeCIcon(nullptr);
}

TEST_F(ColorIconTest, PlotIconDrawsOneBitRows) {
    // An 8 × 2 image: a full row, then alternate pixels.
    Handle bits = NewHandle(2);
    (*bits)[0] = static_cast<char>(0xFF);
    (*bits)[1] = static_cast<char>(0xAA);
    const std::uint8_t white = Pixel(0, 0);
    Rect r{2, 0, 4, 8};
    PlotIcon(&r, bits);
    for (int h = 0; h < 8; ++h) {
        EXPECT_NE(Pixel(h, 2), white) << h;
        EXPECT_EQ(Pixel(h, 3) != white, h % 2 == 0) << h;
    }
    // Taller than the data: only the rows held are drawn.
    Rect tall{8, 0, 16, 8};
    PlotIcon(&tall, bits);
    EXPECT_NE(Pixel(0, 8), white);
    EXPECT_EQ(Pixel(0, 10), white);
    DisposeHandle(bits);
}

} // namespace
