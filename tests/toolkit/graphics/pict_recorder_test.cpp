#include <gtest/gtest.h>

#include <vector>

#include "toolkit/core/memory.h"
#include "toolkit/graphics/pict_format.h"
#include "toolkit/graphics/pict_recorder.h"

namespace {

using namespace qiva::pict;
using Bytes = std::vector<std::uint8_t>;

class PictRecorder : public ::testing::Test {
protected:
    void SetUp() override {
        pic = Recorder::NewPicture({0, 0, 30, 40});
        ASSERT_NE(pic, nullptr);
        rec.Reset();
    }
    void TearDown() override {
        qiva::SetHeapLimit(qiva::kDefaultHeapLimit);
        DisposeHandle(pic);
    }

    void Record(std::uint8_t opcode, OperandWriter w) { rec.Record(pic, opcode, w.Data()); }

    // The closed picture's operations as the reader sees them.
    std::vector<Op> Close() {
        EXPECT_TRUE(rec.Close(pic));
        closed.assign(reinterpret_cast<std::uint8_t*>(*pic),
                      reinterpret_cast<std::uint8_t*>(*pic) + GetHandleSize(pic));
        const Bytes& bytes = closed;
        Header h;
        EXPECT_EQ(ReadHeader(bytes, h), Status::Ok);
        EXPECT_EQ(h.variant, Variant::Native);
        EXPECT_EQ(h.frame, (Rect16{0, 0, 30, 40}));
        EXPECT_EQ(h.picSize, bytes.size());
        Reader r(bytes, h);
        std::vector<Op> ops;
        Op op;
        Status st;
        while ((st = r.Next(op)) == Status::Ok)
            ops.push_back(op);
        EXPECT_EQ(st, Status::End);
        return ops;
    }

    static std::vector<std::uint16_t> Opcodes(const std::vector<Op>& ops) {
        std::vector<std::uint16_t> out;
        for (const Op& op : ops)
            out.push_back(op.opcode);
        return out;
    }

    Handle pic = nullptr;
    Recorder rec;
    Bytes closed; // the closed picture's bytes, which the operations read from Close point into
};

TEST_F(PictRecorder, SuppressesUnchangedState) {
    Record(0x08, OperandWriter().I16(9)); // PenMode patOr
    Record(0x08, OperandWriter().I16(9)); // the same: dropped
    Record(0x08, OperandWriter().I16(8));
    const Bytes gray = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
    Record(0x09, OperandWriter().Bytes(gray));
    Record(0x09, OperandWriter().Bytes(gray)); // equal pattern bytes: dropped
    Record(0x0E, OperandWriter().I32(205));
    Record(0x0E, OperandWriter().I32(205));             // dropped
    Record(0x1A, OperandWriter().I16(1).I16(2).I16(3)); // RGB colour: always written ...
    Record(0x1A, OperandWriter().I16(1).I16(2).I16(3));
    Record(0x0E, OperandWriter().I32(205));           // ... and makes FgColor unknown again
    Record(0x31, OperandWriter().Rect({1, 2, 3, 4})); // shapes are never suppressed
    Record(0x31, OperandWriter().Rect({1, 2, 3, 4}));
    const std::vector<Op> ops = Close();
    EXPECT_EQ(Opcodes(ops),
              (std::vector<std::uint16_t>{0x08, 0x08, 0x09, 0x0E, 0x1A, 0x1A, 0x0E, 0x31, 0x31}));
    EXPECT_EQ(ops[0].a, 9);
    EXPECT_EQ(ops[1].a, 8);
    EXPECT_EQ(ops[4].rgb, (Rgb16{1, 2, 3}));

    // Reset forgets the recorded values.
    rec.Reset();
    DisposeHandle(pic);
    pic = Recorder::NewPicture({0, 0, 30, 40});
    Record(0x08, OperandWriter().I16(8));
    EXPECT_EQ(Opcodes(Close()), (std::vector<std::uint16_t>{0x08}));
}

TEST_F(PictRecorder, PendingPointMakesLineThenLineFrom) {
    rec.SetPending({5, 6}); // MoveTo(6, 5)
    rec.LineTo(pic, {15, 16});
    rec.LineTo(pic, {25, 26});
    rec.SetPending({1, 1}); // Move ...
    rec.SetPending({2, 3}); // ... and MoveTo: only the last counts
    Record(0x30, OperandWriter().Rect({0, 0, 9, 9}));
    rec.LineTo(pic, {4, 4});
    const std::vector<Op> ops = Close();
    ASSERT_EQ(Opcodes(ops), (std::vector<std::uint16_t>{0x20, 0x21, 0x30, 0x20}));
    EXPECT_EQ(ops[0].p1, (Point16{5, 6}));
    EXPECT_EQ(ops[0].p2, (Point16{15, 16}));
    EXPECT_EQ(ops[1].p1, (Point16{25, 26}));
    EXPECT_EQ(ops[3].p1, (Point16{2, 3}));
}

TEST_F(PictRecorder, PadsOddOperandsAndContinuesWithOpcodeZero) {
    Record(0x04, OperandWriter().U8(1)); // TxFace: one byte, the next opcode is padded
    Record(0x28, OperandWriter().Point({10, 20}));
    Record(0, OperandWriter().U8(2).U8('h').U8('i')); // the text continues the LongText
    Record(0x03, OperandWriter().I16(4));
    rec.Suspend();
    Record(0x08, OperandWriter().I16(10)); // not recorded while suspended
    rec.Resume();
    const std::vector<Op> ops = Close();
    ASSERT_EQ(Opcodes(ops), (std::vector<std::uint16_t>{0x04, 0x28, 0x03}));
    EXPECT_EQ(ops[1].offset, 44u);
    EXPECT_EQ(ops[1].p1, (Point16{10, 20}));
    EXPECT_EQ(Bytes(ops[1].bytes.begin(), ops[1].bytes.end()), (Bytes{'h', 'i'}));
}

TEST_F(PictRecorder, ClosingAfterAFailedGrowthKeepsTheHeaderOnly) {
    Record(0x31, OperandWriter().Rect({1, 2, 3, 4}));
    qiva::SetHeapLimit(qiva::HeapBytesInUse() + 64);
    const Bytes big(4096, 0);
    Record(0xA1, OperandWriter().I16(1).I16(4096).Bytes(big));
    EXPECT_FALSE(rec.Recording());
    Record(0x31, OperandWriter().Rect({1, 2, 3, 4})); // ignored once growth has failed
    qiva::SetHeapLimit(qiva::kDefaultHeapLimit);
    EXPECT_FALSE(rec.Close(pic));
    EXPECT_TRUE(rec.Recording());
    EXPECT_EQ(GetHandleSize(pic), 42);
    const auto* p = reinterpret_cast<const std::uint8_t*>(*pic);
    EXPECT_EQ(p[0], 42);
    EXPECT_EQ(p[40], 0x00);
    EXPECT_EQ(p[41], 0xFF);
}

} // namespace
