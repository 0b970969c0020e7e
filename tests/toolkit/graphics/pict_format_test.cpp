#include <gtest/gtest.h>

#include <vector>

#include "tests/toolkit/graphics/pict_builder.h"
#include "toolkit/graphics/pict_format.h"
#include "toolkit/graphics/pict_packbits.h"
#include "toolkit/graphics/pict_recorder.h"

namespace {

using namespace qiva::pict;
using qiva::test::PictBuilder;
using Bytes = std::vector<std::uint8_t>;

// Every operation of a picture until the reader stops, and the status it stopped with.
struct Played {
    std::vector<Op> ops;
    Status status = Status::Ok;
};

Played ReadAll(const Bytes& pic) {
    Played out;
    Header h;
    out.status = ReadHeader(pic, h);
    if (out.status != Status::Ok) return out;
    Reader reader(pic, h);
    Op op;
    while ((out.status = reader.Next(op)) == Status::Ok)
        out.ops.push_back(op);
    if (out.status != Status::End) out.ops.push_back(op); // where it stopped
    return out;
}

TEST(PictHeader, RefusesWhatCannotBeDrawn) {
    struct Case {
        const char* name;
        Bytes bytes;
        Status status;
    };
    Bytes v2 = PictBuilder(Variant::Version2).bytes;
    Bytes badVersion = v2;
    badVersion[12] = 0x01;
    Bytes unknown = v2;
    unknown[10] = 0x12;
    Bytes zeroFrame = PictBuilder(Variant::Version2, {10, 10, 10, 50}).bytes;
    Bytes invertedFrame = PictBuilder(Variant::Native, {0, 50, 20, 10}).bytes;
    Bytes zeroSize = v2;
    zeroSize[0] = zeroSize[1] = 0;
    const Case cases[] = {
        {"no bytes", {}, Status::TooShort},
        {"one byte", {0x01}, Status::TooShort},
        {"picSize 0", zeroSize, Status::EmptyPicture},
        {"shorter than the frame", Bytes(v2.begin(), v2.begin() + 11), Status::TooShort},
        {"version 2 without its header opcode", Bytes(v2.begin(), v2.begin() + 30), Status::TooShort},
        {"bad version word", badVersion, Status::BadVersion},
        {"unknown type", unknown, Status::UnknownType},
        {"zero-height frame", zeroFrame, Status::EmptyFrame},
        {"inverted frame", invertedFrame, Status::EmptyFrame},
    };
    for (const Case& c : cases) {
        Header h;
        EXPECT_EQ(ReadHeader(c.bytes, h), c.status) << c.name;
    }
    Header h;
    ASSERT_EQ(ReadHeader(PictBuilder(Variant::Native, {1, 2, 30, 40}).bytes, h), Status::Ok);
    EXPECT_EQ(h.variant, Variant::Native);
    EXPECT_EQ(h.frame, (Rect16{1, 2, 30, 40}));
    EXPECT_EQ(h.streamStart, kVersion2HeaderSize);
}

TEST(PictReader, Version1ReadsOpcodesWithoutAlignment) {
    // After a NOP, TxFace and PnMode both start at odd offsets, where version 1 reads them.
    PictBuilder b(Variant::Version1);
    b.Op(0x00).Op(0x04).U8(3).Op(0x08).I16(10).Op(0x31).Rect({1, 2, 3, 4}).End();
    const Played p = ReadAll(b.bytes);
    ASSERT_EQ(p.status, Status::End);
    ASSERT_EQ(p.ops.size(), 4u);
    EXPECT_EQ(p.ops[1].offset, 13u);
    EXPECT_EQ(p.ops[1].a, 3);
    EXPECT_EQ(p.ops[2].opcode, 0x08);
    EXPECT_EQ(p.ops[2].offset, 15u);
    EXPECT_EQ(p.ops[2].a, 10);
    EXPECT_EQ(p.ops[3].rect, (Rect16{1, 2, 3, 4}));
}

TEST(PictReader, Version2SkipsToTheNextEvenOffset) {
    PictBuilder b(Variant::Version2);
    b.Op(0x04).U8(3).Op(0x28).Point(20, 10).U8(3).Raw({'a', 'b', 'c'}).Op(0x0D).I16(0).End();
    const Played p = ReadAll(b.bytes);
    ASSERT_EQ(p.status, Status::End);
    ASSERT_EQ(p.ops.size(), 3u);
    EXPECT_EQ(p.ops[1].offset, 44u);
    EXPECT_EQ(p.ops[1].p1, (Point16{20, 10}));
    EXPECT_EQ(Bytes(p.ops[1].bytes.begin(), p.ops[1].bytes.end()), (Bytes{'a', 'b', 'c'}));
    EXPECT_EQ(p.ops[2].offset, 54u);
}

// The same operations in big-endian and in native order.
Bytes EveryKindOfOperand(Variant v) {
    PictBuilder b(v, {-5, -6, 70, 80});
    b.Op(0x01).Words({10, 0, 0, 50, 60});                                      // Clip, rectangular
    b.Op(0x02).Raw({1, 2, 3, 4, 5, 6, 7, 8});                                  // BkPat
    b.Op(0x03).I16(-2).Op(0x04).U8(0x81).Op(0x05).I16(9);                      // TxFont, TxFace, TxMode
    b.Op(0x06).I32(0x00018000).Op(0x07).Point(2, 3).Op(0x0C).Words({4, -5});   // SpExtra, PnSize, Origin
    b.Op(0x0E).I32(205).Op(0x1A).Words({0xFFFF, 0x8000, 1});                   // FgColor, RGBFgCol
    b.Op(0x20).Point(1, 2).Point(3, 4).Op(0x22).Point(5, 6).Raw({0xFE, 0x03}); // Line, ShortLine
    b.Op(0x23).Raw({0x80, 0x7F}).Op(0x2B).Raw({200, 7, 1, 'x'});               // ShortLineFrom, DHDVText
    b.Op(0x63).Rect({1, 2, 30, 40}).Words({-90, 270});                         // InvertArc
    b.Op(0x70).Words({18, 0, 0, 9, 9, 0, 0, 9, 9});                            // FramePoly of two points
    b.Op(0x81).Words({28, 0, 0, 4, 4, 0, 0, 4, 32767, 4, 0, 4, 32767, 32767}); // PaintRgn
    b.Op(0x2C).I16(3).Raw({1, 2, 3});                                          // fontName, skipped
    b.Op(0xA1).Words({100, 2}).Raw({9, 8}).Op(0xA0).I16(-1);                   // comments
    b.Op(0x38).End();
    return b.bytes;
}

TEST(PictReader, NativeVariantDecodesLikeBigEndian) {
    // The operations point into their picture's bytes, which must outlive them.
    const Bytes bigEndian = EveryKindOfOperand(Variant::Version2),
                native = EveryKindOfOperand(Variant::Native);
    const Played be = ReadAll(bigEndian);
    const Played le = ReadAll(native);
    ASSERT_EQ(be.status, Status::End);
    ASSERT_EQ(le.status, Status::End);
    ASSERT_EQ(be.ops.size(), le.ops.size());
    for (std::size_t i = 0; i < be.ops.size(); ++i) {
        const Op &x = be.ops[i], &y = le.ops[i];
        EXPECT_EQ(x.opcode, y.opcode);
        EXPECT_EQ(x.offset, y.offset);
        EXPECT_EQ(x.a, y.a) << "opcode " << x.opcode;
        EXPECT_EQ(x.b, y.b) << "opcode " << x.opcode;
        EXPECT_EQ(x.p1, y.p1);
        EXPECT_EQ(x.p2, y.p2);
        EXPECT_EQ(x.rect, y.rect);
        EXPECT_EQ(x.rgb, y.rgb);
        EXPECT_EQ(x.pattern, y.pattern);
        EXPECT_EQ(x.shape, y.shape);
        EXPECT_EQ(Bytes(x.bytes.begin(), x.bytes.end()), Bytes(y.bytes.begin(), y.bytes.end()));
    }
    // Spot checks of the decoded values themselves.
    const auto& ops = be.ops;
    EXPECT_EQ(ops[0].shape, (std::vector<std::int16_t>{10, 0, 0, 50, 60}));
    EXPECT_EQ(ops[3].a, 0x81);
    EXPECT_EQ(ops[5].a, 0x00018000);
    EXPECT_EQ(ops[6].p1, (Point16{2, 3}));
    EXPECT_EQ(ops[7].a, 4);
    EXPECT_EQ(ops[7].b, -5);
    EXPECT_EQ(ops[9].rgb, (Rgb16{0xFFFF, 0x8000, 1}));
    EXPECT_EQ(ops[11].a, -2);
    EXPECT_EQ(ops[11].b, 3);
    EXPECT_EQ(ops[12].a, -128);
    EXPECT_EQ(ops[12].b, 127);
    EXPECT_EQ(ops[13].a, 200);
    EXPECT_EQ(ops[13].b, 7);
    EXPECT_EQ(ops[14].a, -90);
    EXPECT_EQ(ops[14].b, 270);
    EXPECT_EQ(ops[16].shape.size(), 14u);
    EXPECT_EQ(ops[18].a, 100);
    EXPECT_EQ(ops[18].bytes.size(), 2u);
}

TEST(PictReader, EveryTruncationStopsInsideThePicture) {
    for (Variant v : {Variant::Version2, Variant::Native}) {
        const Bytes full = EveryKindOfOperand(v);
        for (std::size_t n = kVersion2HeaderSize; n < full.size(); ++n) {
            // A copy of exactly n bytes, so that the sanitizers see any read past it.
            const Bytes cut(full.begin(), full.begin() + std::ptrdiff_t(n));
            const Played p = ReadAll(cut);
            EXPECT_EQ(p.status, Status::Truncated) << "length " << n;
        }
    }
}

TEST(PictReader, RefusesShapesWhoseSizeDoesNotFit) {
    struct Case {
        const char* name;
        std::uint16_t opcode;
        std::initializer_list<int> words;
        Status status;
    };
    const Case cases[] = {
        {"region smaller than its header", 0x81, {8, 0, 0, 5}, Status::BadOperand},
        {"negative region size", 0x01, {-2, 0, 0, 5, 5}, Status::BadOperand},
        {"region past the end", 0x80, {400, 0, 0, 5, 5}, Status::Truncated},
        {"polygon with half a point", 0x70, {12, 0, 0, 5, 5, 1}, Status::BadOperand},
        {"polygon past the end", 0x71, {30, 0, 0, 5, 5, 1, 1}, Status::Truncated},
    };
    for (const Case& c : cases) {
        PictBuilder b(Variant::Version2);
        b.Op(c.opcode).Words(c.words).End();
        const Played p = ReadAll(b.bytes);
        EXPECT_EQ(p.status, c.status) << c.name;
        EXPECT_EQ(p.ops.back().opcode, c.opcode) << c.name;
    }
}

TEST(PictReader, StopsAtAnUnknownOpcodeAndStaysStopped) {
    for (int unknown : {0x12, 0x1F, 0x35, 0x65, 0x91, 0xA2, 0x0C00, 0x8200}) {
        PictBuilder b(Variant::Version2);
        b.Op(0x31)
            .Rect({0, 0, 5, 5})
            .Op(static_cast<std::uint16_t>(unknown))
            .Op(0x31)
            .Rect({0, 0, 5, 5})
            .End();
        Header h;
        ASSERT_EQ(ReadHeader(b.bytes, h), Status::Ok);
        Reader r(b.bytes, h);
        Op op;
        EXPECT_EQ(r.Next(op), Status::Ok);
        EXPECT_EQ(r.Next(op), Status::UnknownOpcode);
        EXPECT_EQ(op.opcode, unknown);
        EXPECT_EQ(op.offset, 50u);
        EXPECT_EQ(r.Next(op), Status::UnknownOpcode);
    }
}

// A PackBitsRect of an 8-bit PixMap, 20 pixels wide (packed rows) with a two-entry colour table.
PictBuilder PixMapPicture(Variant v, const std::vector<Bytes>& rows) {
    PictBuilder b(v);
    b.Op(0x98).I16(0x8000 | 20).Rect({0, 0, static_cast<std::int16_t>(rows.size()), 20});
    b.Words({0, 0}).I32(0).I32(0x00480000).I32(0x00480000); // pmVersion, packType, packSize, hRes, vRes
    b.Words({0, 8, 1, 8}).I32(0).I32(0).I32(0);             // pixelType .. pmReserved
    b.I32(77).I16(0).I16(1);                                // ctSeed, ctFlags, ctSize
    b.Words({0, 0xFFFF, 0xFFFF, 0xFFFF, 1, 0, 0, 0});
    b.Rect({0, 0, 2, 20}).Rect({10, 10, 12, 30}).I16(0);
    for (const Bytes& row : rows) {
        Bytes packed;
        PackRow(row, packed);
        b.U8(int(packed.size()));
        for (std::uint8_t x : packed)
            b.U8(x);
    }
    return b;
}

TEST(PictReader, ReadsPackedPixMapsAndTheirRows) {
    std::vector<Bytes> rows = {Bytes(20, 1), Bytes(20, 0)};
    rows[1][3] = 1;
    for (Variant v : {Variant::Version2, Variant::Native}) {
        PictBuilder b = PixMapPicture(v, rows);
        b.End();
        const Played p = ReadAll(b.bytes);
        ASSERT_EQ(p.status, Status::End);
        const Bits& bits = p.ops[0].bits;
        EXPECT_TRUE(bits.pixMap);
        EXPECT_EQ(bits.rowBytes, 20);
        EXPECT_EQ(bits.pixelSize, 8);
        EXPECT_EQ(bits.hRes, 0x00480000);
        ASSERT_EQ(bits.colours.size(), 2u);
        EXPECT_EQ(bits.colours[0].rgb, (Rgb16{0xFFFF, 0xFFFF, 0xFFFF}));
        EXPECT_EQ(bits.colours[1].value, 1);
        EXPECT_EQ(bits.dstRect, (Rect16{10, 10, 12, 30}));
        RowCursor rc(bits);
        Bytes row(20);
        for (const Bytes& expected : rows) {
            ASSERT_TRUE(rc.Next(row));
            EXPECT_EQ(row, expected);
        }
        EXPECT_FALSE(rc.Next(row));

        // Written back in native order and read again, the operand is the same.
        OperandWriter w;
        WriteBitsOperand(bits, w);
        PictBuilder n(Variant::Native);
        n.Op(0x90);
        for (std::uint8_t x : w.Data())
            n.U8(x);
        n.End();
        const Played again = ReadAll(n.bytes);
        ASSERT_EQ(again.status, Status::End);
        const Bits& b2 = again.ops[0].bits;
        EXPECT_EQ(b2.colours.size(), 2u);
        EXPECT_EQ(b2.srcRect, bits.srcRect);
        EXPECT_EQ(Bytes(b2.data.begin(), b2.data.end()), Bytes(bits.data.begin(), bits.data.end()));
    }
}

TEST(PictReader, RefusesARowThatUnpacksPastItsEnd) {
    PictBuilder bad(Variant::Version2);
    bad.Op(0x98).I16(20).Rect({0, 0, 1, 160}).Rect({0, 0, 1, 160}).Rect({0, 0, 1, 160}).I16(0);
    bad.U8(2).Raw({0xEC, 0x55}).End(); // -20: 21 bytes
    EXPECT_EQ(ReadAll(bad.bytes).status, Status::BadOperand);

    // The same row at 21 bytes wide is fine: a one-bit BitMap of 168 pixels.
    PictBuilder good(Variant::Version1);
    good.Op(0x98).I16(21).Rect({0, 0, 1, 168}).Rect({0, 0, 1, 168}).Rect({0, 0, 1, 168}).I16(0);
    good.U8(2).Raw({0xEC, 0x55}).End();
    const Played p = ReadAll(good.bytes);
    ASSERT_EQ(p.status, Status::End);
    EXPECT_FALSE(p.ops[0].bits.pixMap);
    EXPECT_EQ(p.ops[0].bits.pixelSize, 1);
}

TEST(PictReader, ReadsNarrowBitMapsUnpacked) {
    PictBuilder b(Variant::Version1);
    b.Op(0x90).I16(2).Rect({0, 0, 3, 16}).Rect({0, 0, 3, 16}).Rect({0, 0, 3, 16}).I16(0);
    b.Raw({1, 2, 3, 4, 5, 6}).End();
    const Played p = ReadAll(b.bytes);
    ASSERT_EQ(p.status, Status::End);
    RowCursor rc(p.ops[0].bits);
    Bytes row(2);
    ASSERT_TRUE(rc.Skip());
    ASSERT_TRUE(rc.Next(row));
    EXPECT_EQ(row, (Bytes{3, 4}));

    Bytes cut = b.bytes;
    cut.resize(cut.size() - 2); // the last row and the end opcode missing
    EXPECT_EQ(ReadAll(cut).status, Status::Truncated);
}

} // namespace
