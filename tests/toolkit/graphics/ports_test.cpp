#include <cstring>
#include <string>
#include <vector>

#include "graphics_fixture.h"
#include "tests/support/scoped.h"
#include "tests/support/temp_dir.h"
#include "toolkit/core/error_box.h"
#include "toolkit/core/settings.h"
#include "toolkit/graphics/region_ops.h"

namespace {

using qiva::Drawing;

TEST_F(GraphicsTest, TemplatePortDefaultsAndScreenBits) {
    GrafPort port;
    OpenPort(&port);
    EXPECT_EQ(port.pnMode, patCopy);
    EXPECT_EQ(port.pnSize.h, 1);
    EXPECT_EQ(port.txMode, srcOr);
    EXPECT_EQ(port.fgIndex, qiva::kIndexBlack);
    EXPECT_EQ(port.bkIndex, qiva::kIndexWhite);
    EXPECT_TRUE(qiva::EqualPattern(port.pnPat, qd.black));
    EXPECT_EQ(port.portBits.baseAddr, qd.screenBits.baseAddr);
    EXPECT_EQ((*port.clipRgn)->rgnBBox.left, -32767);
    EXPECT_EQ((*port.visRgn)->rgnBBox.right, kWidth);
    GrafPtr current;
    GetPort(&current);
    EXPECT_EQ(current, &port);
    ClosePort(&port);
    GetPort(&current);
    EXPECT_EQ(current, nullptr);
}

TEST_F(GraphicsTest, ColourTableAndScreenPixMap) {
    const CTabHandle table = qiva::TheColorTable();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ((*table)->ctSeed, 4);
    EXPECT_EQ((*table)->ctSize, 255);
    EXPECT_EQ((*table)->ctTable[226].value, 226);
    EXPECT_EQ((*table)->ctTable[226].rgb.red, 234 * 278);
    // A highlight colour given while the layer runs changes entry 10 and the hilite background.
    qiva::SetHighlightSetting(0, 0, 255);
    EXPECT_EQ((*table)->ctTable[10].rgb.blue, 234 * 278);
    EXPECT_EQ(qiva::HiliteBackground(), 10);
    qiva::SetHighlightSetting(0, 0, 0);
    EXPECT_EQ(qiva::HiliteBackground(), 11);
    const PixMap& screen = qiva::ScreenPixMap();
    EXPECT_EQ(screen.pixelSize, 8);
    EXPECT_EQ(screen.cmpCount, 1);
    EXPECT_EQ(screen.hRes, 72 << 16);
    EXPECT_EQ(screen.baseAddr, qd.screenBits.baseAddr);
    EXPECT_EQ(screen.bounds.right, kWidth);
}

// The inverse-colour panel writes the setting; the palette follows at once and the whole screen is
// shown again, so what was drawn in the highlight colour changes colour on screen.
TEST_F(GraphicsTest, ChangedInverseColourRebuildsThePaletteAndShowsTheScreen) {
    TempDir dir;
    qiva::SetIniDirectory(dir.Path());
    const qiva_test::ScopeExit restore([] {
        qiva::SetIniDirectory("");
        qiva::SettingsApply() = qiva::SettingsHooks{};
    });
    window.frames.clear();
    const std::int16_t blue[3] = {0, 0, 255};
    qiva::SetInverseColour(blue);
    EXPECT_EQ(qiva::ThePalette().palette.entries[10].blue, 254);
    EXPECT_EQ(qiva::HiliteBackground(), 10);
    ASSERT_EQ(window.frames.size(), 1u);
    EXPECT_EQ(window.frames[0].area.right, kWidth);
    EXPECT_EQ(window.frames[0].area.bottom, kHeight);

    const std::int16_t nearWhite[3] = {255, 255, 251};
    qiva::SetInverseColour(nearWhite);
    EXPECT_EQ(qiva::HiliteBackground(), 11);
    std::int16_t stored[3];
    qiva::GetInverseColour(stored);
    EXPECT_EQ(stored[2], 251);
}

TEST_F(GraphicsTest, BufferRowsAreMultiplesOfFourAndSlotsAreReused) {
    GrafPort a, b, c;
    ASSERT_TRUE(NewBufferPort(&a, 13, 5));
    EXPECT_EQ(Drawing().target.rowBytes, 16);
    EXPECT_EQ(static_cast<std::uint16_t>(a.portBits.rowBytes), 0x8000 | 13);
    ASSERT_TRUE(NewBufferPort(&b, 16, 5));
    EXPECT_EQ(Drawing().target.rowBytes, 16);
    const auto idA = qiva::BufferIdOf(a.portBits);
    EXPECT_EQ(idA % 2, 1u);
    EXPECT_NE(qiva::BufferIdOf(b.portBits), idA);
    // Painting the whole 13-pixel port leaves the row padding alone.
    SetPort(&a);
    Rect all = R(-100, -100, 100, 100);
    PaintRect(&all);
    const qiva::RasterTarget t = Drawing().target;
    for (int v = 0; v < 5; ++v) {
        EXPECT_EQ(t.base[v * 16 + 12], qiva::kIndexBlack);
        for (int h = 13; h < 16; ++h)
            EXPECT_EQ(t.base[v * 16 + h], 0);
    }
    DisposeBufferPort(&a);
    EXPECT_EQ(qiva::LookUpBuffer(idA), nullptr);
    ASSERT_TRUE(NewBufferPort(&c, 2, 2));
    EXPECT_EQ(qiva::BufferIdOf(c.portBits), idA); // first free slot wins
    DisposeBufferPort(&b);
    DisposeBufferPort(&c);
    EXPECT_FALSE(NewBufferPort(&c, 0, 10));
    EXPECT_FALSE(qiva::ErrorBoxHistory().empty());
    qiva::ClearErrorBoxHistory();
}

TEST_F(GraphicsTest, SetPortToTheCurrentPortKeepsTheClip) {
    GrafPort port, other;
    ASSERT_TRUE(NewBufferPort(&other, 4, 4));
    ASSERT_TRUE(NewBufferPort(&port, 10, 10));
    RectRgn(port.clipRgn, &(const Rect&)R(0, 0, 2, 2)); // changed behind the port's back
    SetPort(&port);
    Rect all = R(0, 0, 10, 10);
    PaintRect(&all);
    EXPECT_EQ(Pixel(9, 9), qiva::kIndexBlack); // the old effective clip still holds
    SetPort(&other);
    SetPort(&port);
    EraseRect(&all);
    EXPECT_EQ(Pixel(9, 9), qiva::kIndexBlack);
    EXPECT_EQ(Pixel(1, 1), qiva::kIndexWhite);
    DisposeBufferPort(&port);
    DisposeBufferPort(&other);
}

TEST_F(GraphicsTest, PatternsAlignToLocalCoordinatesAfterSetOrigin) {
    GrafPort port;
    ASSERT_TRUE(NewBufferPort(&port, 16, 16));
    const Pattern diagonal{{0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01}};
    SetOrigin(3, 5);
    EXPECT_EQ(port.portRect.left, 3);
    EXPECT_EQ(port.portBits.bounds.top, 5);
    Rect local = R(3, 5, 19, 21);
    FillRect(&local, &diagonal);
    for (int v = 0; v < 16; ++v)
        for (int h = 0; h < 16; ++h) {
            const bool on = ((h + 3) - (v + 5)) % 8 == 0;
            ASSERT_EQ(Pixel(h, v), on ? qiva::kIndexBlack : qiva::kIndexWhite) << h << "," << v;
        }
    // The clip followed the origin: local (3, 5) is the buffer's corner.
    Rect corner = R(3, 5, 4, 6);
    PaintRect(&corner);
    EXPECT_EQ(Pixel(0, 0), qiva::kIndexBlack);
    DisposeBufferPort(&port);
}

TEST_F(GraphicsTest, GlobalToLocalKeepsCoordinatesThatWouldOverflow) {
    GrafPort port;
    OpenPort(&port);
    MovePortTo(20, 10); // local (0, 0) is screen (20, 10)
    EXPECT_EQ(port.portBits.bounds.left, -20);
    Point p{15, 25};
    GlobalToLocal(&p);
    EXPECT_EQ(p.h, 5);
    EXPECT_EQ(p.v, 5);
    LocalToGlobal(&p);
    EXPECT_EQ(p.h, 25);
    EXPECT_EQ(p.v, 15);
    Point edge{-32760, 32767};
    GlobalToLocal(&edge); // h - 20 and v - 10 fit; try the other way
    EXPECT_EQ(edge.h, 32747);
    LocalToGlobal(&edge);
    Point far{32767, -32768};
    LocalToGlobal(&far); // v + 10 fits, h + 20 overflows and stays
    EXPECT_EQ(far.h, -32768 + 20);
    EXPECT_EQ(far.v, 32767);
    ClosePort(&port);
    Point untouched{1, 2};
    GlobalToLocal(&untouched); // no current port
    EXPECT_EQ(untouched.h, 2);
}

TEST_F(GraphicsTest, ClassicAndRGBColours) {
    GrafPort port;
    OpenPort(&port);
    struct Case {
        std::int32_t colour;
        int index;
    };
    const Case cases[] = {{whiteColor, 226}, {blackColor, 11}, {redColor, 191}, {96, 232}, {160, 238}};
    for (const Case& c : cases) {
        ForeColor(c.colour);
        EXPECT_EQ(port.fgIndex, c.index) << c.colour;
        EXPECT_EQ(port.fgColor, c.colour);
    }
    const RGBColor blue{0, 0, 0xFFFF};
    RGBBackColor(&blue);
    EXPECT_EQ(port.bkIndex, 16);
    EXPECT_EQ(port.bkColor, whiteColor); // unchanged by the RGB call
    RGBColor got;
    GetBackColor(&got);
    EXPECT_EQ(got.blue, 234 * 278);
    ForeColor(5000); // beyond the table: black, not a read past it
    EXPECT_EQ(port.fgIndex, 11);
    ClosePort(&port);
}

TEST_F(GraphicsTest, ScreenDrawingIsFlushedOnceAtTheOutermostEnd) {
    GrafPort port;
    OpenPort(&port);
    Rect a = R(2, 3, 6, 5), b = R(10, 1, 12, 2);
    PaintRect(&a);
    ASSERT_EQ(window.frames.size(), 1u);
    EXPECT_TRUE(EqualRect(&window.frames[0].area, &a));
    EXPECT_EQ(window.At(2, 3), qiva::kIndexBlack);
    EXPECT_EQ(window.At(6, 3), 0);

    qiva::BeginDrawing();
    qiva::BeginDrawing();
    PaintRect(&a);
    PaintRect(&b);
    qiva::EndDrawing();
    EXPECT_EQ(window.frames.size(), 1u);
    qiva::EndDrawing();
    ASSERT_EQ(window.frames.size(), 2u);
    EXPECT_TRUE(EqualRect(&window.frames[1].area, &(const Rect&)R(2, 1, 12, 5)));
    qiva::EndDrawing(); // unbalanced: the depth stays at 0
    EXPECT_EQ(Drawing().depth, 0);

    // A framed rectangle is one drawing: its four sides reach the screen together.
    window.frames.clear();
    const Rect c = R(20, 10, 40, 30);
    FrameRect(&c);
    ASSERT_EQ(window.frames.size(), 1u);
    EXPECT_TRUE(EqualRect(&window.frames[0].area, &c));
    ClosePort(&port);
}

TEST_F(GraphicsTest, ResizingTheScreenKeepsTheCurrentWindowPort) {
    GrafPort port;
    OpenPort(&port);
    ASSERT_TRUE(qiva::OpenScreen(kWidth + 10, kHeight + 5));
    GrafPtr current;
    GetPort(&current);
    EXPECT_EQ(current, &port);
    EXPECT_EQ(Drawing().target.width, kWidth + 10);
    EXPECT_EQ(qd.screenBits.bounds.right, kWidth + 10);
    EXPECT_EQ(port.portBits.baseAddr, qd.screenBits.baseAddr); // the screen kept its id
    Rect r = R(2, 0, 4, 2); // the window's visRgn is the Window Manager's to widen
    PaintRect(&r);
    EXPECT_EQ(Pixel(3, 1), qiva::kIndexBlack);
    EXPECT_EQ(window.At(3, 1), qiva::kIndexBlack);
    ClosePort(&port);
}

TEST_F(GraphicsTest, BufferDrawingNeverTouchesTheWindow) {
    GrafPort port;
    ASSERT_TRUE(NewBufferPort(&port, 8, 8));
    Rect r = R(0, 0, 8, 8);
    PaintRect(&r);
    MoveTo(0, 0);
    LineTo(7, 7);
    EXPECT_TRUE(window.frames.empty());
    EXPECT_TRUE(EmptyRect(&Drawing().dirty));
    DisposeBufferPort(&port);
}

TEST_F(GraphicsTest, SuspendedFlushLosesNothing) {
    GrafPort port;
    OpenPort(&port);
    qiva::SetOutputSuspended(true);
    Rect a = R(1, 1, 4, 4);
    PaintRect(&a);
    EXPECT_TRUE(window.frames.empty());
    qiva::SetOutputSuspended(false);
    Rect b = R(20, 20, 21, 21);
    PaintRect(&b);
    ASSERT_EQ(window.frames.size(), 1u);
    EXPECT_TRUE(EqualRect(&window.frames[0].area, &(const Rect&)R(1, 1, 21, 21)));
    EXPECT_EQ(window.At(1, 1), qiva::kIndexBlack);
    ClosePort(&port);
}

TEST_F(GraphicsTest, ScrolledViewCopiesTheBandWithoutVerticalOffset) {
    GrafPort port;
    OpenPort(&port);
    qiva::SetScreenView(2, 5, 4);
    Rect r = R(0, 0, 10, 10);
    PaintRect(&r);
    ASSERT_EQ(window.frames.size(), 2u);
    EXPECT_TRUE(EqualRect(&window.frames[0].area, &(const Rect&)R(0, 0, 10, 4)));
    EXPECT_EQ(window.frames[0].source.h, 2);
    EXPECT_EQ(window.frames[0].source.v, 0);
    EXPECT_TRUE(EqualRect(&window.frames[1].area, &(const Rect&)R(0, 4, 10, 10)));
    EXPECT_EQ(window.frames[1].source.v, 9);
    qiva::SetScreenView(0, 0, 0);
    ClosePort(&port);
}

TEST_F(GraphicsTest, ComplexClipRegionIsWalkedBandByBand) {
    GrafPort port;
    ASSERT_TRUE(NewBufferPort(&port, 12, 8));
    // Two boxes: rows 1-2 columns 1-4, rows 4-6 columns 6-10.
    const std::int16_t words[] = {1, 1, 5, 32767, 3, 1, 5, 32767, 4, 6, 11, 32767, 7, 6, 11, 32767, 32767};
    RgnHandle clip = NewRgn();
    qiva::StoreRegion(clip, words, std::size(words));
    ASSERT_FALSE(qiva::IsRectRegion(clip));
    SetClip(clip);
    Rect all = R(0, 0, 12, 8);
    PaintRect(&all);
    const std::vector<std::string> want = {"............", ".####.......", ".####.......", "............",
                                           "......#####.", "......#####.", "......#####.", "............"};
    EXPECT_EQ(Rows(12, 8, qiva::kIndexBlack), want);
    // Row by row fills reuse the cached band and give the same picture.
    EraseRect(&all);
    for (int v = 0; v < 8; ++v) {
        MoveTo(0, v);
        LineTo(11, v);
    }
    EXPECT_EQ(Rows(12, 8, qiva::kIndexBlack), want);
    // visRgn ∩ a complex clip, moved with the origin.
    Rect wide = R(-32767, -32767, 32767, 32767);
    ClipRect(&wide);
    EraseRect(&all);
    SetClip(clip);
    SetOrigin(-2, 0);
    Rect local = R(-2, 0, 10, 8);
    PaintRect(&local);
    EXPECT_EQ(Rows(12, 8, qiva::kIndexBlack)[1], "...####.....");
    DisposeRgn(clip);
    DisposeBufferPort(&port);
}

} // namespace

namespace {

// Clipped fills against the region engine's own point test, over random unions of rectangles.
TEST_F(GraphicsTest, ClippedFillsAgreeWithThePointTest) {
    GrafPort port;
    ASSERT_TRUE(NewBufferPort(&port, 24, 20));
    qiva::region::Engine engine;
    std::uint32_t seed = 12345;
    auto next = [&](int n) {
        seed = seed * 1103515245u + 12345u;
        return static_cast<int>((seed >> 16) % static_cast<std::uint32_t>(n));
    };
    RgnHandle clip = NewRgn();
    for (int round = 0; round < 60; ++round) {
        std::vector<std::int16_t> shape, piece, merged;
        qiva::region::MakeRect(shape, 0, 0, 0, 0);
        for (int k = 0; k < 4; ++k) {
            const auto t = static_cast<std::int16_t>(next(20) - 2),
                       l = static_cast<std::int16_t>(next(24) - 2);
            qiva::region::MakeRect(piece, t, l, static_cast<std::int16_t>(t + 1 + next(10)),
                                   static_cast<std::int16_t>(l + 1 + next(12)));
            engine.Combine(qiva::region::Op::Xor, shape, piece, merged);
            shape.swap(merged);
        }
        SetHandleSize(reinterpret_cast<Handle>(clip), static_cast<Size>(shape.size() * 2));
        std::memcpy(*clip, shape.data(), shape.size() * 2);
        Rect wide = R(-32767, -32767, 32767, 32767);
        ClipRect(&wide);
        Rect all = R(0, 0, 24, 20);
        EraseRect(&all);
        SetClip(clip);
        const int left = next(26) - 1, top = next(22) - 1;
        Rect r = R(left, top, left + next(20), top + next(16));
        PaintRect(&r);
        for (int v = 0; v < 20; ++v)
            for (int h = 0; h < 24; ++h) {
                const bool inside =
                    PtInRect(Point{static_cast<std::int16_t>(v), static_cast<std::int16_t>(h)}, &r) &&
                    engine.PtIn(shape, static_cast<std::int16_t>(v), static_cast<std::int16_t>(h));
                ASSERT_EQ(Pixel(h, v), inside ? qiva::kIndexBlack : qiva::kIndexWhite)
                    << "round " << round << " at " << h << "," << v;
            }
    }
    DisposeRgn(clip);
    DisposeBufferPort(&port);
}

} // namespace
