#pragma once

// Reading the picture format: the header, then the opcode stream one operation at a time with every
// operand decoded into host order. Version 1 has one-byte opcodes and no alignment; version 2 has
// big-endian word opcodes at even offsets; the native variant (version word 0xCAFE) is version 2 with
// every operand stored little-endian, as this toolkit's recorder writes it. Every read is checked
// against the end of the picture's bytes, so a damaged picture stops with a status, never a read out
// of bounds. Nothing here touches the Toolbox's global state.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "toolkit/core/big_endian.h"

namespace qiva::pict {

struct Rect16 {
    std::int16_t top = 0, left = 0, bottom = 0, right = 0;
    bool operator==(const Rect16&) const = default;
};

struct Point16 {
    std::int16_t v = 0, h = 0;
    bool operator==(const Point16&) const = default;
};

struct Rgb16 {
    std::uint16_t red = 0, green = 0, blue = 0;
    bool operator==(const Rgb16&) const = default;
};

enum class Variant : std::uint8_t { Version1, Version2, Native };

enum class Status : std::uint8_t {
    Ok,
    End,           // the end opcode 0xFF was read
    EmptyPicture,  // picSize 0: not drawn, no message
    TooShort,      // fewer bytes than the header needs
    BadVersion,    // 00 11 followed by an unknown version word
    UnknownType,   // neither version 1 nor version 2
    EmptyFrame,    // a frame of zero or negative width or height cannot be scaled
    UnknownOpcode, // an opcode outside the table
    Truncated,     // an operand runs past the end of the picture
    BadOperand,    // a region or polygon size that does not fit, a row that unpacks past its end
};

inline constexpr std::size_t kVersion1HeaderSize = 12;
inline constexpr std::size_t kVersion2HeaderSize = 40; // with the header opcode 0x0C00 and its 24 bytes
inline constexpr std::uint16_t kEndOpcode = 0x00FF;

struct Header {
    std::uint16_t picSize = 0;
    Rect16 frame;
    Variant variant = Variant::Version1;
    std::size_t streamStart = 0; // offset of the first opcode
};

// Reads and checks the header of the picture's bytes.
Status ReadHeader(std::span<const std::uint8_t> pic, Header& out);

// The image operand of BitsRect and PackBitsRect (0x90, 0x98), with the pixel data as stored.
struct Bits {
    bool pixMap = false;        // a colour PixMap, else a one-bit BitMap
    std::uint16_t rowBytes = 0; // without the PixMap flag bit
    Rect16 bounds;
    std::int16_t pmVersion = 0, packType = 0;
    std::int32_t packSize = 0, hRes = 0, vRes = 0;
    std::int16_t pixelType = 0, pixelSize = 1, cmpCount = 1, cmpSize = 1;
    std::int32_t planeBytes = 0, pmTable = 0, pmReserved = 0;
    std::int32_t ctSeed = 0;
    std::int16_t ctFlags = 0;
    struct Entry {
        std::int16_t value = 0;
        Rgb16 rgb;
    };
    std::vector<Entry> colours; // the colour table's ctSize + 1 entries
    Rect16 srcRect, dstRect;
    std::int16_t mode = 0;
    std::span<const std::uint8_t> data; // rows as stored: packed (with their lengths) or not
    bool direct = false;                // DirectBitsRect: 16- or 32-bit pixels, no colour table
    std::uint8_t countBytes = 0;        // size of each packed row's length: 1, 2, or 0 for by rowBytes

    enum class Packing { None, Bytes, Words };
    int Height() const { return bounds.bottom > bounds.top ? bounds.bottom - bounds.top : 0; }
    int Width() const { return bounds.right > bounds.left ? bounds.right - bounds.left : 0; }
    // How the rows are stored, and how many bytes a row has once unpacked (0: a layout this reader
    // does not know).
    Packing RowPacking() const;
    std::size_t UnpackedRowBytes() const;
    // Bytes in front of each packed row giving its length.
    std::size_t CountBytes() const;
};

// Walks the stored rows of a Bits operand that the reader has checked.
class RowCursor {
public:
    explicit RowCursor(const Bits& bits);
    // Unpacks the next row into row (UnpackedRowBytes long). False when there is no next row.
    bool Next(std::span<std::uint8_t> row);
    // Skips the next row without unpacking it.
    bool Skip();

private:
    std::span<const std::uint8_t> data_;
    std::size_t pos_ = 0;
    std::size_t countBytes_;
    Bits::Packing packing_;
    std::size_t unpacked_;
    int rowsLeft_;
};

// One operation of the stream with its operands; which fields hold what depends on the opcode.
struct Op {
    std::uint16_t opcode = 0;
    std::size_t offset = 0;    // of the opcode in the picture
    std::int32_t a = 0, b = 0; // single values: sizes, modes, colours, angles, dh/dv, kinds
    Point16 p1, p2;            // pen sizes, oval sizes, line ends, text locations
    Rect16 rect;               // rectangle operands
    std::array<std::uint8_t, 8> pattern{};
    Rgb16 rgb;
    std::vector<std::int16_t> shape;     // a region or polygon record, host order, starting with its size
    std::span<const std::uint8_t> bytes; // text, comment data
    std::span<const std::uint8_t> raw;   // the operand bytes as stored (after the opcode)
    Bits bits;
};

// What an opcode's operands are.
enum class Operand : std::uint8_t {
    Unknown,
    None,
    Fixed,      // a fixed number of bytes, by the opcode
    Region,     // i16 size then size - 2 bytes
    Polygon,    // likewise
    LengthWord, // u16 length then that many bytes, skipped
    LongText,   // Point, count, text
    DHText,     // dh, count, text
    DVText,     // dv, count, text
    DHDVText,   // dh, dv, count, text
    Bits,
    DirectBits, // DirectBitsRect, and DirectBitsRgn with its mask region
    LongComment,
    End,
};

struct OpcodeInfo {
    Operand operand = Operand::Unknown;
    std::uint8_t size = 0; // for Operand::Fixed
};

// The table of the opcodes this reader knows; every other opcode, and every opcode above 0xFF, is
// unknown.
OpcodeInfo Describe(std::uint16_t opcode);

class Reader {
public:
    Reader(std::span<const std::uint8_t> pic, const Header& header);

    // Reads the next operation into op. Ok, or End at the end opcode; UnknownOpcode, Truncated or
    // BadOperand stop the stream (op.opcode and op.offset say where). Once stopped it stays stopped.
    Status Next(Op& op);
    std::size_t Position() const { return pos_; }

private:
    bool Take(std::size_t n, std::span<const std::uint8_t>& out);
    bool U8(std::uint8_t& v);
    bool I16(std::int16_t& v);
    bool I32(std::int32_t& v);
    bool RectOf(Rect16& r);
    bool PointOf(Point16& p);
    Status Shape(Op& op, bool polygon);
    Status ReadBits(Op& op, bool direct, bool withMask);
    Status Operands(Op& op, OpcodeInfo info);

    std::span<const std::uint8_t> pic_;
    std::size_t pos_;
    Variant variant_;
    bool little_;
    Status stopped_ = Status::Ok;
};

// Decodes a 16-bit word or a 32-bit value stored in the given byte order: little-endian in the native
// variant, big-endian (the classic order, through the core's reader) otherwise.
inline std::int16_t Load16(const std::uint8_t* p, bool little) {
    return little ? static_cast<std::int16_t>(p[0] | (p[1] << 8)) : LoadBigEndian<std::int16_t>(p);
}
inline std::int32_t Load32(const std::uint8_t* p, bool little) {
    if (!little) return LoadBigEndian<std::int32_t>(p);
    return static_cast<std::int32_t>(std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 |
                                     std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24);
}

} // namespace qiva::pict
