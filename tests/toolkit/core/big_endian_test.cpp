#include "toolkit/core/big_endian.h"

#include <gtest/gtest.h>

#include <array>

namespace {

using qiva::BigEndianReader;
using qiva::BigEndianWriter;

constexpr std::array<std::uint8_t, 7> kBytes{0x81, 0x02, 0xF3, 0x04, 0x05, 0xFE, 0x07};

// Each typed read at each offset: the value in host order, or nothing when the field would pass the end.
TEST(BigEndian, TypedFieldsAtOffsetsAreReadMostSignificantByteFirstOrNotAtAll) {
    struct Case {
        std::size_t offset;
        std::optional<std::uint8_t> u8;
        std::optional<std::int8_t> s8;
        std::optional<std::uint16_t> u16;
        std::optional<std::int16_t> s16;
        std::optional<std::uint32_t> u32;
        std::optional<std::int32_t> s32;
    };
    const Case cases[] = {
        {0, 0x81, -127, 0x8102, -32510, 0x8102F304u, -2130513148},
        {2, 0xF3, -13, 0xF304, -3324, 0xF30405FEu, -217840130},
        {3, 0x04, 4, 0x0405, 0x0405, 0x0405FE07u, 0x0405FE07},
        {4, 0x05, 5, 0x05FE, 0x05FE, {}, {}},
        {6, 0x07, 7, {}, {}, {}, {}},
        {7, {}, {}, {}, {}, {}, {}},
        {static_cast<std::size_t>(-1), {}, {}, {}, {}, {}, {}}, // an offset that would wrap
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.offset);
        EXPECT_EQ(qiva::ReadBigEndian<std::uint8_t>(kBytes, c.offset), c.u8);
        EXPECT_EQ(qiva::ReadBigEndian<std::int8_t>(kBytes, c.offset), c.s8);
        EXPECT_EQ(qiva::ReadBigEndian<std::uint16_t>(kBytes, c.offset), c.u16);
        EXPECT_EQ(qiva::ReadBigEndian<std::int16_t>(kBytes, c.offset), c.s16);
        EXPECT_EQ(qiva::ReadBigEndian<std::uint32_t>(kBytes, c.offset), c.u32);
        EXPECT_EQ(qiva::ReadBigEndian<std::int32_t>(kBytes, c.offset), c.s32);
    }
}

TEST(BigEndian, ReaderStepsThroughARecordAndAShortReadFailsForGood) {
    BigEndianReader r(kBytes);
    EXPECT_EQ(r.S16(), -32510);
    EXPECT_EQ(r.U24(), 0xF30405u);
    EXPECT_EQ(r.Position(), 5u);
    EXPECT_TRUE(r.Ok());
    EXPECT_EQ(r.U32(), 0u); // two bytes left: nothing is read
    EXPECT_TRUE(r.Failed());
    EXPECT_EQ(r.Position(), 5u);
    EXPECT_EQ(r.U8(), 0u); // a byte is left, but the record is already bad
    EXPECT_TRUE(r.Failed());

    BigEndianReader s(kBytes);
    s.Seek(5);
    EXPECT_EQ(s.U16(), 0xFE07u);
    EXPECT_TRUE(s.AtEnd());
    EXPECT_TRUE(s.Ok());
    s.Seek(8);
    EXPECT_TRUE(s.Failed());
}

TEST(BigEndian, BytesSubReadersAndPascalStringsStayInsideTheSpan) {
    const std::array<std::uint8_t, 8> bytes{3, 'a', 'b', 'c', 9, 'x', 0x12, 0x34};
    BigEndianReader r(bytes);
    EXPECT_EQ(r.Pascal(), "abc");
    EXPECT_EQ(r.Pascal(), ""); // claims 9 bytes, 3 are left
    EXPECT_TRUE(r.Failed());

    BigEndianReader t(bytes);
    t.Skip(4);
    BigEndianReader sub = t.Sub(2);
    EXPECT_EQ(t.Position(), 6u);
    EXPECT_EQ(sub.U8(), 9u);
    EXPECT_EQ(sub.U16(), 0u); // the sub-reader ends before the outer one does
    EXPECT_TRUE(sub.Failed());
    EXPECT_TRUE(t.Ok());
    EXPECT_EQ(t.U16(), 0x1234u);
    EXPECT_TRUE(t.Sub(1).Failed());
    EXPECT_TRUE(t.Failed());

    BigEndianReader u(bytes);
    EXPECT_EQ(u.Bytes(8).size(), 8u);
    EXPECT_TRUE(u.Bytes(1).empty());
    EXPECT_TRUE(u.Failed());
}

TEST(BigEndian, WriterAppendsFieldsThatTheReaderReadsBack) {
    std::vector<std::uint8_t> out{0xAA};
    BigEndianWriter w(out);
    w.S16(-2);
    w.U32(0x01020304);
    w.U24(0xABCDEF12); // only the low 24 bits
    w.S8(-1);
    EXPECT_TRUE(w.Pascal("hi"));
    EXPECT_FALSE(w.Pascal(std::string(256, 'x')));
    w.Zeros(2);
    const std::vector<std::uint8_t> expected{0xAA, 0xFF, 0xFE, 1, 2,   3,   4, 0xCD,
                                             0xEF, 0x12, 0xFF, 2, 'h', 'i', 0, 0};
    EXPECT_EQ(out, expected);

    EXPECT_TRUE(w.Patch<std::uint16_t>(14, 0x5678));
    EXPECT_FALSE(w.Patch<std::uint32_t>(13, 1)); // would pass the end
    EXPECT_FALSE(w.Patch<std::uint8_t>(16, 1));
    EXPECT_EQ(out.size(), 16u);
    BigEndianReader r(out);
    r.Skip(1);
    EXPECT_EQ(r.S16(), -2);
    EXPECT_EQ(r.U32(), 0x01020304u);
    EXPECT_EQ(r.U24(), 0xCDEF12u);
    EXPECT_EQ(r.S8(), -1);
    EXPECT_EQ(r.Pascal(), "hi");
    EXPECT_EQ(r.U16(), 0x5678u);
    EXPECT_TRUE(r.AtEnd());
    EXPECT_TRUE(r.Ok());
}

} // namespace
