// The port's procedure table: every drawing call reaches its bottleneck with its verb and operands;
// a table from SetStdProcs draws and records as the standard procedures do; a replaced procedure
// that passes on to the standard one keeps recording working.

#include <functional>
#include <string>
#include <vector>

#include "graphics_fixture.h"

namespace {

constexpr std::uint8_t kBlack = qiva::kIndexBlack;

// What the spying procedures saw, one line a call.
std::vector<std::string>& Calls() {
    static std::vector<std::string> calls;
    return calls;
}

std::string RectText(const Rect* r) {
    return std::to_string(r->left) + " " + std::to_string(r->top) + " " + std::to_string(r->right) + " " +
           std::to_string(r->bottom);
}
int Verb(GrafVerb verb) {
    return static_cast<int>(verb);
}

QDProcs SpyProcs() {
    QDProcs p{};
    p.textProc = [](int n, const void* text, Point, Point) {
        Calls().push_back("text " + std::string(static_cast<const char*>(text), std::size_t(n)));
    };
    p.lineProc = [](Point pt) {
        Calls().push_back("line " + std::to_string(pt.h) + " " + std::to_string(pt.v));
    };
    p.rectProc = [](GrafVerb v, const Rect* r) {
        Calls().push_back("rect " + std::to_string(Verb(v)) + " " + RectText(r));
    };
    p.rRectProc = [](GrafVerb v, const Rect* r, int w, int h) {
        Calls().push_back("rrect " + std::to_string(Verb(v)) + " " + RectText(r) + " " + std::to_string(w) +
                          " " + std::to_string(h));
    };
    p.ovalProc = [](GrafVerb v, const Rect* r) {
        Calls().push_back("oval " + std::to_string(Verb(v)) + " " + RectText(r));
    };
    p.arcProc = [](GrafVerb v, const Rect* r, int start, int angle) {
        Calls().push_back("arc " + std::to_string(Verb(v)) + " " + RectText(r) + " " + std::to_string(start) +
                          " " + std::to_string(angle));
    };
    p.polyProc = [](GrafVerb v, PolyHandle) { Calls().push_back("poly " + std::to_string(Verb(v))); };
    p.rgnProc = [](GrafVerb v, RgnHandle rgn) {
        Calls().push_back("rgn " + std::to_string(Verb(v)) + " " + RectText(&(*rgn)->rgnBBox));
    };
    p.bitsProc = [](const BitMap*, const Rect* src, const Rect* dst, std::int16_t, RgnHandle) {
        Calls().push_back("bits " + RectText(src) + " " + RectText(dst));
    };
    p.commentProc = [](std::int16_t kind, std::int16_t, Handle) {
        Calls().push_back("comment " + std::to_string(kind));
    };
    p.txMeasProc = [](int n, const void*, Point*, Point*, FontInfo*) -> std::int16_t {
        Calls().push_back("measure " + std::to_string(n));
        return 77;
    };
    return p;
}

class Bottlenecks : public GraphicsTest {
protected:
    static constexpr int kSize = 32;
    GrafPort port;
    RgnHandle rgn = nullptr;
    PolyHandle poly = nullptr;

    void SetUp() override {
        GraphicsTest::SetUp();
        ASSERT_TRUE(NewBufferPort(&port, kSize, kSize));
        rgn = NewRgn();
        SetRectRgn(rgn, 2, 3, 12, 13);
        poly = OpenPoly();
        MoveTo(1, 1);
        LineTo(20, 4);
        LineTo(9, 18);
        ClosePoly();
        Calls().clear();
    }
    void TearDown() override {
        KillPoly(poly);
        DisposeRgn(rgn);
        DisposeBufferPort(&port);
        GraphicsTest::TearDown();
    }
    std::vector<std::uint8_t> Pixels() const {
        std::vector<std::uint8_t> pixels;
        for (int v = 0; v < kSize; ++v)
            for (int h = 0; h < kSize; ++h)
                pixels.push_back(Pixel(h, v));
        return pixels;
    }
};

TEST_F(Bottlenecks, EveryCallReachesItsProcedureWithItsVerbAndOperands) {
    QDProcs spy = SpyProcs();
    port.grafProcs = &spy;
    const Rect r = R(2, 3, 12, 13);
    struct Case {
        std::function<void()> call;
        std::string expected;
    };
    const Case cases[] = {
        {[&] { FrameRect(&r); }, "rect 0 2 3 12 13"},
        {[&] { PaintRect(&r); }, "rect 1 2 3 12 13"},
        {[&] { EraseRect(&r); }, "rect 2 2 3 12 13"},
        {[&] { InvertRect(&r); }, "rect 3 2 3 12 13"},
        {[&] { FillRect(&r, &qd.gray); }, "rect 4 2 3 12 13"},
        {[&] { FrameRoundRect(&r, 6, 4); }, "rrect 0 2 3 12 13 6 4"},
        {[&] { FillRoundRect(&r, 6, 4, &qd.gray); }, "rrect 4 2 3 12 13 6 4"},
        {[&] { PaintOval(&r); }, "oval 1 2 3 12 13"},
        {[&] { InvertOval(&r); }, "oval 3 2 3 12 13"},
        {[&] { FrameArc(&r, 45, 90); }, "arc 0 2 3 12 13 45 90"},
        {[&] { EraseArc(&r, -30, 200); }, "arc 2 2 3 12 13 -30 200"},
        {[&] { FramePoly(poly); }, "poly 0"},
        {[&] { FillPoly(poly, &qd.black); }, "poly 4"},
        {[&] { FrameRgn(rgn); }, "rgn 0 2 3 12 13"},
        {[&] { InvertRgn(rgn); }, "rgn 3 2 3 12 13"},
        {[&] {
             MoveTo(5, 6);
             LineTo(9, 10);
         },
         "line 9 10"},
        {[&] {
             MoveTo(5, 6);
             Line(-3, 4);
         },
         "line 2 10"},
        {[&] { DrawText("abc", 1, 2); }, "text bc"},
        {[&] { DrawChar('Q'); }, "text Q"},
        {[&] { PicComment(130, 0, nullptr); }, "comment 130"},
        {[&] {
             const Rect src = R(0, 0, 4, 4), dst = R(8, 8, 16, 16);
             CopyBits(&port.portBits, &port.portBits, &src, &dst, srcCopy, nullptr);
         },
         "bits 0 0 4 4 8 8 16 16"},
    };
    const std::vector<std::uint8_t> before = Pixels();
    for (const Case& c : cases) {
        Calls().clear();
        c.call();
        ASSERT_EQ(Calls().size(), 1u) << c.expected;
        EXPECT_EQ(Calls()[0], c.expected);
    }
    // The replaced procedures drew nothing: drawing happens only in the bottleneck.
    EXPECT_EQ(Pixels(), before);
    Calls().clear();
    EXPECT_EQ(TextWidth("abcd", 0, 4), 77);
    EXPECT_EQ(StringWidth(reinterpret_cast<const unsigned char*>("\003abc")), 77);
    EXPECT_EQ(Calls(), (std::vector<std::string>{"measure 4", "measure 3"}));
    port.grafProcs = nullptr;
}

// The same drawing, recorded and drawn with a null table, with a SetStdProcs table and with a table
// whose rectProc passes on to StdRect, gives the same pixels and the same picture.
TEST_F(Bottlenecks, StandardTablesDrawAndRecordAsTheDefault) {
    const auto draw = [&] {
        MoveTo(0, 0);
        const Rect frame = R(0, 0, kSize, kSize);
        PicHandle pic = OpenPicture(&frame);
        const Rect a = R(2, 2, 20, 14), b = R(10, 8, 30, 30);
        PenSize(2, 1);
        FrameRect(&a);
        FillOval(&b, &qd.gray);
        PaintArc(&a, 30, 120);
        MoveTo(0, 31);
        LineTo(31, 0);
        InvertPoly(poly);
        PaintRgn(rgn);
        DrawChar('x');
        ClosePicture();
        const Rect all = R(0, 0, kSize, kSize);
        EraseRect(&all);
        PenNormal();
        DrawPicture(pic, &all);
        const Size size = GetHandleSize(reinterpret_cast<Handle>(pic));
        std::vector<std::uint8_t> bytes(reinterpret_cast<std::uint8_t*>(*pic),
                                        reinterpret_cast<std::uint8_t*>(*pic) + size);
        KillPicture(pic);
        return std::make_pair(bytes, Pixels());
    };
    port.grafProcs = nullptr;
    const auto expected = draw();
    ASSERT_GT(expected.first.size(), 100u);

    QDProcs standard;
    SetStdProcs(&standard);
    port.grafProcs = &standard;
    EXPECT_EQ(draw(), expected);

    QDProcs passing{};
    passing.rectProc = [](GrafVerb verb, const Rect* r) {
        Calls().push_back("rect " + std::to_string(Verb(verb)));
        StdRect(verb, r);
    };
    port.grafProcs = &passing;
    Calls().clear();
    EXPECT_EQ(draw(), expected);
    // FrameRect while recording, then while the picture plays; EraseRect between.
    EXPECT_EQ(Calls(), (std::vector<std::string>{"rect 0", "rect 2", "rect 0"}));
    port.grafProcs = nullptr;
}

TEST_F(Bottlenecks, AFillWithoutAPatternDoesNothing) {
    const Rect r = R(2, 2, 20, 20);
    const std::vector<std::uint8_t> before = Pixels();
    const std::function<void()> fills[] = {
        [&] { FillRect(&r, nullptr); },
        [&] { FillOval(&r, nullptr); },
        [&] { FillRoundRect(&r, 4, 4, nullptr); },
        [&] { FillArc(&r, 0, 90, nullptr); },
        [&] { FillPoly(poly, nullptr); },
        [&] { FillRgn(rgn, nullptr); },
    };
    const Rect frame = R(0, 0, kSize, kSize);
    PicHandle pic = OpenPicture(&frame);
    for (const auto& fill : fills)
        fill();
    ClosePicture();
    for (const auto& fill : fills)
        fill();
    EXPECT_EQ(Pixels(), before);
    Rect read;
    ASSERT_TRUE(qiva::PictureFrame(pic, read));
    // Nothing but the header and the end.
    EXPECT_EQ(GetHandleSize(reinterpret_cast<Handle>(pic)), 42);
    KillPicture(pic);
}

// A region built while another is (a filled arc inside OpenRgn) adds to it, and what follows too.
TEST_F(Bottlenecks, AFilledArcInsideAnOpenRegionAddsToIt) {
    RgnHandle built = NewRgn();
    OpenRgn();
    const Rect oval = R(0, 0, 16, 16), square = R(20, 20, 30, 30);
    PaintArc(&oval, 90, 90); // the lower right quarter
    FrameRect(&square);
    CloseRgn(built);
    EXPECT_TRUE(PtInRgn(Point{12, 12}, built));  // in the wedge
    EXPECT_FALSE(PtInRgn(Point{3, 3}, built));   // the upper left quarter
    EXPECT_TRUE(PtInRgn(Point{25, 25}, built));  // inside the framed square
    EXPECT_FALSE(PtInRgn(Point{31, 31}, built)); // outside everything
    DisposeRgn(built);
}

TEST_F(Bottlenecks, PictureFrameReadsEveryVariant) {
    const Rect frame = R(-5, 7, 300, 200);
    PicHandle pic = OpenPicture(&frame);
    ClosePicture();
    Rect read{};
    ASSERT_TRUE(qiva::PictureFrame(pic, read));
    EXPECT_TRUE(EqualRect(&read, &frame));
    // The same header in big-endian order, as a picture read from a file has it.
    const std::uint8_t bigEndian[] = {0x00, 0x2A, 0x00, 0x07, 0xFF, 0xFB, 0x00, 0xC8, 0x01, 0x2C, 0x00,
                                      0x11, 0x02, 0xFF, 0x0C, 0x00, 0,    0,    0,    0,    0,    0,
                                      0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,
                                      0,    0,    0,    0,    0,    0,    0,    0x00, 0xFF};
    Handle h = nullptr;
    ASSERT_EQ(PtrToHand(bigEndian, &h, sizeof bigEndian), noErr);
    read = Rect{};
    ASSERT_TRUE(qiva::PictureFrame(reinterpret_cast<PicHandle>(h), read));
    EXPECT_TRUE(EqualRect(&read, &frame));
    SetHandleSize(h, 6); // shorter than any header
    EXPECT_FALSE(qiva::PictureFrame(reinterpret_cast<PicHandle>(h), read));
    EXPECT_FALSE(qiva::PictureFrame(nullptr, read));
    DisposeHandle(h);
    KillPicture(pic);
}

} // namespace
