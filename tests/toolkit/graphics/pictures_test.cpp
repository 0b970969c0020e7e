#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "graphics_fixture.h"
#include "tests/toolkit/graphics/pict_builder.h"
#include "tests/toolkit/graphics/region_check.h"
#include "toolkit/core/error_box.h"
#include "toolkit/core/memory.h"
#include "toolkit/graphics/pict_format.h"
#include "toolkit/graphics/pict_player.h"
#include "toolkit/graphics/region_recording.h"

namespace {

using qiva::pict::Variant;
using qiva::test::PictBuilder;
using Bytes = std::vector<std::uint8_t>;

class PicturesTest : public GraphicsTest {
protected:
    static constexpr int kSize = 24;
    GrafPort port;
    void SetUp() override {
        GraphicsTest::SetUp();
        qiva::ClearErrorBoxHistory();
        ASSERT_TRUE(NewBufferPort(&port, kSize, kSize));
        Clear();
    }
    void TearDown() override {
        for (PicHandle p : pictures_)
            KillPicture(p);
        DisposeBufferPort(&port);
        qiva::ClearErrorBoxHistory();
        qiva::SetHeapLimit(qiva::kDefaultHeapLimit);
        GraphicsTest::TearDown();
    }
    void Clear() {
        Rect all = R(0, 0, kSize, kSize);
        EraseRect(&all);
    }
    PicHandle Pic(const Bytes& bytes) {
        Handle h = nullptr;
        PtrToHand(bytes.data(), &h, static_cast<Size>(bytes.size()));
        pictures_.push_back(reinterpret_cast<PicHandle>(h));
        return pictures_.back();
    }
    PicHandle Keep(PicHandle p) {
        pictures_.push_back(p);
        return p;
    }
    // Every pixel of the port's buffer.
    static Bytes Pixels() {
        Bytes out;
        for (int v = 0; v < kSize; ++v)
            for (int h = 0; h < kSize; ++h)
                out.push_back(Pixel(h, v));
        return out;
    }
    std::vector<std::string> Black() { return Rows(kSize, kSize, qiva::kIndexBlack); }
    static std::vector<std::string> Blank() {
        return std::vector<std::string>(kSize, std::string(kSize, '.'));
    }
    static const std::vector<std::string>& Messages() { return qiva::ErrorBoxHistory(); }

    // The parts of the port a picture must leave as they were.
    struct PortState {
        Point pnLoc, pnSize;
        std::int16_t pnMode, pnVis, txSize;
        std::int32_t fgColor, bkColor, fgIndex, bkIndex;
        Rect portRect, clipBox;
        Pattern pnPat;
        bool operator==(const PortState& o) const { return std::memcmp(this, &o, sizeof *this) == 0; }
    };
    PortState State() const {
        PortState s;
        std::memset(&s, 0, sizeof s);
        s.pnLoc = port.pnLoc;
        s.pnSize = port.pnSize;
        s.pnMode = port.pnMode;
        s.pnVis = port.pnVis;
        s.txSize = port.txSize;
        s.fgColor = port.fgColor;
        s.bkColor = port.bkColor;
        s.fgIndex = port.fgIndex;
        s.bkIndex = port.bkIndex;
        s.portRect = port.portRect;
        s.clipBox = (*port.clipRgn)->rgnBBox;
        s.pnPat = port.pnPat;
        return s;
    }

    // Records what draw() does, then compares the picture played at its own size with drawing
    // directly.
    void ExpectRoundTrip(const std::function<void()>& draw) {
        const GrafPtr current = qiva::Drawing().current;
        PenNormal();
        ForeColor(blackColor);
        BackColor(whiteColor);
        draw();
        std::vector<std::uint8_t> direct;
        for (int v = 0; v < 24; ++v)
            for (int h = 0; h < 24; ++h)
                direct.push_back(Pixel(h, v));

        Rect all = {0, 0, 24, 24};
        PenNormal();
        ForeColor(blackColor);
        BackColor(whiteColor);
        ClipRect(&all);
        EraseRect(&all);
        const PicHandle pic = OpenPicture(&all);
        ASSERT_NE(pic, nullptr);
        draw();
        ClosePicture();
        PenNormal();
        ForeColor(blackColor);
        BackColor(whiteColor);
        ClipRect(&all);
        EraseRect(&all);
        DrawPicture(pic, &all);
        KillPicture(pic);
        std::vector<std::uint8_t> played;
        for (int v = 0; v < 24; ++v)
            for (int h = 0; h < 24; ++h)
                played.push_back(Pixel(h, v));
        EXPECT_EQ(played, direct);
        EXPECT_EQ(qiva::Drawing().current, current);
    }

private:
    std::vector<PicHandle> pictures_;
};

// A picture of 12 x 12 that uses most kinds of operand: pen, colours, rectangles, lines, a clip
// region and a packed 8-bit image.
Bytes Sampler(Variant v) {
    PictBuilder b(v, {0, 0, 12, 12});
    b.Op(0x01).Words({10, -32767, -32767, 32767, 32767}); // an open-ended clip
    b.Op(0x07).Point(2, 2).Op(0x30).Rect({0, 0, 12, 12}); // PnSize, FrameRect
    b.Op(0x07).Point(1, 1).Op(0x0E).I32(redColor);        // PnSize, FgColor
    b.Op(0x20).Point(3, 3).Point(8, 8);                   // Line
    b.Op(0x21).Point(8, 3);                               // LineFrom
    b.Op(0x22).Point(9, 2).Raw({0x00, 0x01});             // ShortLine
    b.Op(0x0A).Raw({0xFF, 0, 0xFF, 0, 0xFF, 0, 0xFF, 0}); // FillPat
    b.Op(0x34).Rect({4, 9, 7, 11});                       // FillRect
    b.Op(0x0E).I32(blueColor).Op(0x39);                   // PaintSameRect
    // A 3 x 2 image of red and blue through a two-entry colour table, packed row by row.
    b.Op(0x98).I16(0x8000 | 8).Rect({0, 0, 2, 3});
    b.Words({0, 0}).I32(0).I32(0x00480000).I32(0x00480000).Words({0, 8, 1, 8}).I32(0).I32(0).I32(0);
    b.I32(0).I16(0).I16(1).Words({0, 0xFFFF, 0, 0, 1, 0, 0, 0xFFFF});
    b.Rect({0, 0, 2, 3}).Rect({9, 1, 11, 4}).I16(0);
    b.U8(9).Raw({0x07, 0, 1, 0, 0, 0, 0, 0, 0});
    b.U8(2).Raw({0xF9, 1});
    b.End();
    return b.bytes;
}

TEST_F(PicturesTest, NativeVariantDrawsLikeBigEndian) {
    DrawPicture(Pic(Sampler(Variant::Version2)), &port.portRect);
    EXPECT_TRUE(Messages().empty());
    const Bytes be = Pixels();
    Clear();
    DrawPicture(Pic(Sampler(Variant::Native)), &port.portRect);
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(Pixels(), be);
    EXPECT_EQ(Pixel(0, 0), qiva::kIndexBlack);
    EXPECT_NE(Pixel(11, 11), qiva::kIndexWhite); // the line, at twice its size
}

TEST_F(PicturesTest, DrawsEachOperationWhereThePictureSays) {
    const Rect own = R(0, 0, 12, 12);
    DrawPicture(Pic(Sampler(Variant::Version2)), &own);
    const RGBColor red{0xFFFF, 0, 0}, blue{0, 0, 0xFFFF};
    const auto redIndex = static_cast<std::uint8_t>(Color2Index(&red));
    const auto blueIndex = static_cast<std::uint8_t>(Color2Index(&blue));
    EXPECT_EQ(Pixel(1, 1), qiva::kIndexBlack); // the 2-pixel frame
    EXPECT_EQ(Pixel(2, 2), qiva::kIndexWhite);
    EXPECT_EQ(Pixel(10, 10), qiva::kIndexBlack);
    EXPECT_EQ(Pixel(5, 5), redIndex);   // the Line
    EXPECT_EQ(Pixel(6, 8), redIndex);   // the LineFrom, from (8, 8) back to (3, 8)
    EXPECT_EQ(Pixel(10, 5), blueIndex); // PaintSameRect over the FillRect
    EXPECT_EQ(Pixel(1, 9), redIndex);   // the image
    EXPECT_EQ(Pixel(2, 9), blueIndex);
    EXPECT_EQ(Pixel(3, 10), blueIndex);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(PicturesTest, TwiceTheFrameDoublesLengthsAndPens) {
    PictBuilder b(Variant::Version2, {0, 0, 10, 10});
    b.Op(0x07).Point(1, 1).Op(0x30).Rect({1, 1, 9, 9}).End();
    const Rect dst = R(2, 2, 22, 22);
    DrawPicture(Pic(b.bytes), &dst);
    const std::vector<std::string> rows = Black();
    EXPECT_EQ(rows[4], "....################....");
    EXPECT_EQ(rows[5], "....################....");
    EXPECT_EQ(rows[6], "....##............##....");
    EXPECT_EQ(rows[19], "....################....");
    EXPECT_EQ(rows[20], "........................");
}

TEST_F(PicturesTest, APenThatScalesToZeroIsOnePixel) {
    PictBuilder b(Variant::Version2, {0, 0, 48, 48});
    b.Op(0x07).Point(1, 1).Op(0x20).Point(4, 0).Point(4, 47).End();
    DrawPicture(Pic(b.bytes), &port.portRect); // half size
    const std::vector<std::string> rows = Black();
    EXPECT_EQ(rows[2], "########################");
    EXPECT_EQ(rows[1], "........................");
    EXPECT_EQ(rows[3], "........................");
}

TEST_F(PicturesTest, AnUnknownOpcodeStopsAfterWhatWasDrawn) {
    PictBuilder b(Variant::Version2, {0, 0, 24, 24});
    b.Op(0x07).Point(3, 3).Op(0x0E).I32(redColor).Op(0x01).Words({10, 0, 0, 5, 5});
    b.Op(0x31).Rect({0, 0, 4, 4}).Op(0x12).Op(0x31).Rect({10, 10, 20, 20}).End();
    MoveTo(7, 8);
    const PortState before = State();
    DrawPicture(Pic(b.bytes), &port.portRect);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0], "PICT 2: Opcode $0012 inconnu");
    const RGBColor red{0xFFFF, 0, 0};
    EXPECT_EQ(Pixel(1, 1), Color2Index(&red));
    EXPECT_EQ(Pixel(15, 15), qiva::kIndexWhite);
    EXPECT_EQ(qiva::Drawing().current, &port);
    EXPECT_TRUE(State() == before);
}

TEST_F(PicturesTest, RefusesBrokenPicturesLeavingThePortAsItWas) {
    PictBuilder good(Variant::Version2, {0, 0, 24, 24});
    good.Op(0x31).Rect({0, 0, 24, 24}).Op(0x81).Words({30, 0, 0, 5, 5}).End(); // region runs past the end
    Bytes badVersion = PictBuilder(Variant::Version2).End().bytes;
    badVersion[13] = 0x00;
    Bytes unknownType = PictBuilder(Variant::Version2).End().bytes;
    const Bytes v2 = unknownType;
    unknownType[10] = 0x22;
    Bytes zeroSize = PictBuilder(Variant::Native).End().bytes;
    zeroSize[0] = zeroSize[1] = 0;
    struct Case {
        const char* name;
        Bytes bytes;
        const char* message; // null: none
    };
    const Case cases[] = {
        {"zero frame", PictBuilder(Variant::Version2, {5, 5, 5, 30}).End().bytes, "PICT : cadre vide"},
        {"shorter than its header", Bytes(v2.begin(), v2.begin() + 20),
         "PICT : image plus courte que son en-tete"},
        {"bad version", badVersion, "PICT 2: Bad version"},
        {"unknown type", unknownType, "type de PICT inconnu !"},
        {"picSize 0", zeroSize, nullptr},
        {"operand past the end", good.bytes, "PICT 2: Opcode $0081 tronque"},
    };
    for (const Case& c : cases) {
        qiva::ClearErrorBoxHistory();
        Clear();
        const Bytes before = Pixels();
        const PortState state = State();
        DrawPicture(Pic(c.bytes), &port.portRect);
        if (c.message == nullptr) {
            EXPECT_TRUE(Messages().empty()) << c.name;
        } else {
            ASSERT_EQ(Messages().size(), 1u) << c.name;
            EXPECT_EQ(Messages()[0], c.message) << c.name;
        }
        if (std::string(c.name) != "operand past the end") {
            EXPECT_EQ(Pixels(), before) << c.name;
        }
        EXPECT_EQ(qiva::Drawing().current, &port) << c.name;
        EXPECT_TRUE(State() == state) << c.name;
    }
}

TEST_F(PicturesTest, PackBitsMinus128FillsA129PixelRow) {
    // A one-bit image 1032 pixels wide whose only row is 129 bytes of 0xFF, drawn onto 24 pixels.
    PictBuilder b(Variant::Version1, {0, 0, 1, 1032});
    b.Op(0x98).I16(129).Rect({0, 0, 1, 1032}).Rect({0, 0, 1, 1032}).Rect({0, 0, 1, 1032}).I16(0);
    b.U8(2).Raw({0x80, 0xFF}).End();
    const Rect dst = R(0, 3, 24, 4);
    DrawPicture(Pic(b.bytes), &dst);
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(Black()[3], "########################");
}

TEST_F(PicturesTest, RecordingSuppressesRepeatsAndWritesLineThenLineFrom) {
    const Rect frame = R(0, 0, 24, 24);
    PicHandle pic = Keep(OpenPicture(&frame));
    ASSERT_NE(pic, nullptr);
    EXPECT_EQ(port.pnVis, -1);
    PenMode(patOr);
    PenMode(patOr);
    MoveTo(1, 1);
    LineTo(10, 1);
    LineTo(10, 10);
    ClosePicture();
    EXPECT_EQ(port.pnVis, 0);
    EXPECT_EQ(port.picSave, nullptr);
    const Size size = GetHandleSize(reinterpret_cast<Handle>(pic));
    const Bytes bytes(reinterpret_cast<std::uint8_t*>(*pic), reinterpret_cast<std::uint8_t*>(*pic) + size);
    qiva::pict::Header h;
    ASSERT_EQ(qiva::pict::ReadHeader(bytes, h), qiva::pict::Status::Ok);
    EXPECT_EQ(h.variant, Variant::Native);
    EXPECT_EQ(h.picSize, size);
    qiva::pict::Reader r(bytes, h);
    qiva::pict::Op op;
    std::vector<std::uint16_t> codes;
    while (r.Next(op) == qiva::pict::Status::Ok)
        codes.push_back(op.opcode);
    EXPECT_EQ(codes, (std::vector<std::uint16_t>{0x08, 0x20, 0x21}));
    EXPECT_EQ(Black(), Blank()) << "nothing drawn while recording";
}

TEST_F(PicturesTest, PlayedBackAtItsOwnSizeARecordingDrawsWhatWasRecorded) {
    const auto draw = [] {
        Rect r = {2, 2, 20, 22};
        FrameRect(&r);
        PenSize(2, 3);
        ForeColor(redColor);
        MoveTo(3, 4);
        LineTo(18, 12);
        Line(-5, 6);
        PenNormal();
        r = {5, 5, 9, 12};
        PaintRect(&r);
        r = {10, 3, 14, 8};
        FillRect(&r, &qd.gray);
        ForeColor(blueColor);
        Pattern stripes = {{0xF0, 0xF0, 0x0F, 0x0F, 0xF0, 0xF0, 0x0F, 0x0F}};
        PenPat(&stripes);
        r = {14, 12, 20, 20};
        ClipRect(&r);
        r = {12, 10, 22, 22};
        PaintRect(&r);
        r = {0, 0, 24, 24};
        ClipRect(&r);
        r = {15, 1, 19, 6};
        InvertRect(&r);
        BackColor(yellowColor);
        r = {20, 1, 23, 6};
        EraseRect(&r);
    };
    ExpectRoundTrip(draw);
}

TEST_F(PicturesTest, ClosePictureReportsAnOverflowAndKeepsTheHeader) {
    const Rect frame = R(0, 0, 24, 24);
    PicHandle pic = Keep(OpenPicture(&frame));
    qiva::SetHeapLimit(qiva::HeapBytesInUse() + 32);
    for (int i = 0; i < 20; ++i) {
        Rect r = R(i, 0, i + 1, 1);
        PaintRect(&r);
    }
    qiva::SetHeapLimit(qiva::kDefaultHeapLimit);
    ClosePicture();
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0], "Depassement de la taille maximale en pict");
    EXPECT_EQ(GetHandleSize(reinterpret_cast<Handle>(pic)), 42);
    EXPECT_EQ(port.picSave, nullptr);
}

TEST_F(PicturesTest, RecordedRegionsAreTheirOutlinesFilled) {
    RgnHandle rgn = NewRgn();
    Rect r = R(3, 4, 15, 11);
    OpenRgn();
    FrameRect(&r);
    CloseRgn(rgn);
    EXPECT_EQ((*rgn)->rgnSize, 10);
    EXPECT_TRUE(EqualRect(&(*rgn)->rgnBBox, &r));
    EXPECT_EQ(Black(), Blank()) << "nothing drawn while recording";
    EXPECT_EQ(port.pnVis, 0);

    // A triangle of lines: every pixel on or inside it, and no other.
    OpenRgn();
    MoveTo(2, 2);
    LineTo(12, 12);
    LineTo(2, 12);
    LineTo(2, 2);
    CloseRgn(rgn);
    const std::vector<std::int16_t> words(reinterpret_cast<std::int16_t*>(*rgn),
                                          reinterpret_cast<std::int16_t*>(*rgn) + qiva::RegionBytes(rgn) / 2);
    qiva::test::Bitmap want(0, 0, kSize, kSize);
    for (int v = 2; v <= 12; ++v)
        want.Fill(2, v, v + 1, v + 1);
    EXPECT_EQ(qiva::test::Rasterise(words, 0, 0, kSize, kSize), want);
    DisposeRgn(rgn);
}

TEST_F(PicturesTest, RecordedOvalsArcsAndPolygonsFillWhatTheirOutlinesEnclose) {
    const Rect r = R(2, 3, 21, 16);
    RgnHandle rgn = NewRgn();
    OpenRgn();
    FrameOval(&r);
    CloseRgn(rgn);
    PaintRgn(rgn);
    const std::vector<std::string> fromRegion = Black();
    Clear();
    PaintOval(&r);
    EXPECT_EQ(Black(), fromRegion);

    // A quarter from three to six o'clock: the lower right quarter of the oval and nothing else.
    Clear();
    PaintArc(&r, 90, 90);
    std::vector<std::string> rows = Black();
    EXPECT_EQ(rows[12][14], '#');
    EXPECT_EQ(rows[6][6], '.');
    EXPECT_EQ(rows[6][16], '.');
    EXPECT_EQ(rows[12][5], '.');
    Clear();
    PaintOval(&r);
    const std::vector<std::string> oval = Black();
    Clear();
    PaintArc(&r, 0, 360); // the whole turn is the oval
    EXPECT_EQ(Black(), oval);

    PolyHandle poly = OpenPoly();
    MoveTo(2, 2);
    LineTo(12, 12);
    LineTo(2, 12);
    LineTo(2, 2);
    ClosePoly();
    Clear();
    PaintPoly(poly);
    rows = Black();
    for (int v = 0; v < kSize; ++v)
        for (int h = 0; h < kSize; ++h)
            EXPECT_EQ(rows[v][h], (v >= 2 && v <= 12 && h >= 2 && h <= v) ? '#' : '.') << h << "," << v;
    KillPoly(poly);
    DisposeRgn(rgn);
}

TEST_F(PicturesTest, ARecordingOfEveryShapePlaysBackAsDrawn) {
    const auto draw = [] {
        Rect r = {1, 1, 9, 12};
        FrameRoundRect(&r, 6, 4);
        r = {10, 2, 16, 10};
        PaintOval(&r);
        PenSize(2, 1);
        r = {2, 12, 12, 23};
        FrameOval(&r);
        ForeColor(greenColor);
        r = {12, 12, 23, 23};
        FillArc(&r, 45, 120, &qd.ltGray);
        FrameArc(&r, 200, 100);
        PolyHandle poly = OpenPoly();
        MoveTo(1, 22);
        LineTo(8, 14);
        LineTo(11, 22);
        LineTo(1, 22);
        ClosePoly();
        PaintPoly(poly);
        ForeColor(blackColor);
        FramePoly(poly);
        KillPoly(poly);
        RgnHandle rgn = NewRgn();
        RgnHandle other = NewRgn();
        SetRectRgn(rgn, 14, 1, 22, 6);
        SetRectRgn(other, 17, 3, 23, 10);
        UnionRgn(rgn, other, rgn);
        InvertRgn(rgn);
        FrameRgn(rgn);
        DisposeRgn(other);
        DisposeRgn(rgn);
        PenNormal();
        r = {4, 4, 20, 20};
        InvertRoundRect(&r, 8, 8);
    };
    ExpectRoundTrip(draw);
}

// A picture played into a port that is recording is recorded again, as the port's operations: the
// nested recording shows what the player asked for.
TEST_F(PicturesTest, TwiceTheSizeScalesTextSizesAndPensButNotAngles) {
    PictBuilder b(Variant::Version2, {0, 0, 12, 12});
    b.Op(0x0D).I16(0);                             // TxSize 0: 12
    b.Op(0x28).Point(5, 1).U8(2).Raw({'h', 'i'});  // LongText
    b.Op(0x2A).U8(3).U8(1).Raw({'!'});             // DVText
    b.Op(0x07).Point(1, 3);                        // PnSize
    b.Op(0x62).Rect({1, 2, 7, 8}).Words({45, 90}); // EraseArc
    b.End();
    const Rect frame = R(0, 0, 24, 24);
    PicHandle outer = Keep(OpenPicture(&frame));
    TextSize(9);
    DrawPicture(Pic(b.bytes), &frame);
    ClosePicture();
    EXPECT_EQ(port.txSize, 9);
    const Size size = GetHandleSize(reinterpret_cast<Handle>(outer));
    const Bytes bytes(reinterpret_cast<std::uint8_t*>(*outer),
                      reinterpret_cast<std::uint8_t*>(*outer) + size);
    qiva::pict::Header h;
    ASSERT_EQ(qiva::pict::ReadHeader(bytes, h), qiva::pict::Status::Ok);
    qiva::pict::Reader r(bytes, h);
    std::vector<qiva::pict::Op> ops;
    qiva::pict::Op op;
    while (r.Next(op) == qiva::pict::Status::Ok)
        ops.push_back(op);
    std::vector<std::uint16_t> codes;
    for (const auto& o : ops)
        codes.push_back(o.opcode);
    // TxSize 9 of the caller, the picture's 24, its two texts, the pen, the arc, then the caller's
    // pen and text size put back.
    ASSERT_EQ(codes, (std::vector<std::uint16_t>{0x0D, 0x0D, 0x28, 0x28, 0x07, 0x62, 0x07, 0x0D}));
    EXPECT_EQ(ops[1].a, 24);
    EXPECT_EQ(ops[2].p1, (qiva::pict::Point16{10, 2}));
    EXPECT_EQ(ops[3].p1, (qiva::pict::Point16{16, 2}));
    EXPECT_EQ(ops[4].p1, (qiva::pict::Point16{2, 6}));
    EXPECT_EQ(ops[5].rect, (qiva::pict::Rect16{2, 4, 14, 16}));
    EXPECT_EQ(ops[5].a, 45);
    EXPECT_EQ(ops[5].b, 90);
    EXPECT_EQ(ops[6].p1, (qiva::pict::Point16{1, 1}));
    EXPECT_EQ(ops[7].a, 9);
}

TEST_F(PicturesTest, AnOutlineTooLargeToFillAsABitmapStillGivesItsRegion) {
    RgnHandle rgn = NewRgn();
    const Rect huge = R(-20000, -15000, 20000, 15000);
    OpenRgn();
    FrameRect(&huge);
    CloseRgn(rgn);
    EXPECT_EQ((*rgn)->rgnSize, 10);
    EXPECT_TRUE(EqualRect(&(*rgn)->rgnBBox, &huge));
    DisposeRgn(rgn);
}

// Direct pixels as other programs save them: 32-bit in packed component planes, 16-bit words
// stored plain and packed by words.
TEST_F(PicturesTest, DrawsDirectPixels) {
    const RGBColor red{0xFFFF, 0, 0}, green{0, 0xFFFF, 0}, blue{0, 0, 0xFFFF};
    const auto direct = [](PictBuilder& b, int width, int rowBytes, int packType, int pixelSize) {
        b.Op(0x9A).I32(0xFF).I16(0x8000 | rowBytes).Rect({0, 0, 1, static_cast<std::int16_t>(width)});
        b.Words({0, packType}).I32(0).I32(0x00480000).I32(0x00480000);
        b.Words({16, pixelSize, 3, pixelSize == 16 ? 5 : 8}).I32(0).I32(0).I32(0);
        b.Rect({0, 0, 1, static_cast<std::int16_t>(width)}).Rect({0, 0, 1, static_cast<std::int16_t>(width)});
        b.I16(0);
    };
    PictBuilder b(Variant::Version2, {0, 0, 3, 4});
    direct(b, 3, 12, 4, 32);
    b.U8(10).Raw({8, 0xFF, 0, 0, 0, 0xFF, 0, 0, 0, 0xFF});
    b.Op(0x0C).Words({0, -1}); // SetOrigin(0, -1): the next image lands on the second row
    direct(b, 3, 6, 0, 16);
    b.Raw({0x7C, 0x00, 0x03, 0xE0, 0x00, 0x1F});
    b.Op(0x0C).Words({0, -2});
    direct(b, 4, 8, 0, 16);
    b.U8(3).Raw({0xFD, 0x7C, 0x00});
    b.End();
    const Rect own = R(0, 0, 4, 3);
    DrawPicture(Pic(b.bytes), &own);
    EXPECT_TRUE(Messages().empty()) << (Messages().empty() ? "" : Messages()[0]);
    const std::uint8_t rgb[3] = {static_cast<std::uint8_t>(Color2Index(&red)),
                                 static_cast<std::uint8_t>(Color2Index(&green)),
                                 static_cast<std::uint8_t>(Color2Index(&blue))};
    for (int v = 0; v < 2; ++v)
        for (int h = 0; h < 3; ++h)
            EXPECT_EQ(Pixel(h, v), rgb[h]) << h << "," << v;
    for (int h = 0; h < 4; ++h)
        EXPECT_EQ(Pixel(h, 2), rgb[0]) << h;
}

// A polygon far larger than the port is filled where the port shows it, and closed when it is not.
TEST_F(PicturesTest, HugeAndOpenPolygonsFillWhatTheyEnclose) {
    PolyHandle poly = OpenPoly();
    MoveTo(-30000, -30000);
    LineTo(30000, 30000); // the diagonal through the port
    LineTo(-30000, 30000);
    ClosePoly(); // left open: the fill closes it
    PaintPoly(poly);
    const std::vector<std::string> rows = Black();
    for (int v = 0; v < kSize; ++v)
        for (int h = 0; h < kSize; ++h)
            EXPECT_EQ(rows[v][h], h <= v ? '#' : '.') << h << "," << v;
    KillPoly(poly);
}

TEST_F(PicturesTest, AnArcOfAHugeOvalFillsItsWedge) {
    const Rect r = R(-19988, -19988, 20012, 20012); // centred on (12, 12)
    PaintArc(&r, 90, 90);                           // three to six o'clock
    const std::vector<std::string> rows = Black();
    EXPECT_EQ(rows[20][20], '#');
    EXPECT_EQ(rows[13][23], '#');
    EXPECT_EQ(rows[5][5], '.');
    EXPECT_EQ(rows[5][20], '.');
    EXPECT_EQ(rows[20][5], '.');
}

} // namespace
