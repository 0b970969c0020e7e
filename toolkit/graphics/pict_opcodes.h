#pragma once
// The opcodes of the picture format by name. Shape opcodes come in families of five verbs (frame,
// paint, erase, invert, fill: the family's opcode plus the verb), with a "same shape" family eight
// above each that takes the last shape again.

#include <cstdint>

namespace qiva::pict {

enum Opcode : std::uint16_t {
    kNop = 0x00,
    kClip = 0x01,
    kBkPat = 0x02,
    kTxFont = 0x03,
    kTxFace = 0x04,
    kTxMode = 0x05,
    kSpExtra = 0x06,
    kPnSize = 0x07,
    kPnMode = 0x08,
    kPnPat = 0x09,
    kFillPat = 0x0A,
    kOvSize = 0x0B,
    kOrigin = 0x0C,
    kTxSize = 0x0D,
    kFgColor = 0x0E,
    kBkColor = 0x0F,
    kTxRatio = 0x10,
    kVersion = 0x11,
    kPnLocHFrac = 0x15,
    kChExtra = 0x16,
    kRGBFgCol = 0x1A,
    kRGBBkCol = 0x1B,
    kDefHilite = 0x1E,
    kLine = 0x20,
    kLineFrom = 0x21,
    kShortLine = 0x22,
    kShortLineFrom = 0x23,
    kLongText = 0x28,
    kDHText = 0x29,
    kDVText = 0x2A,
    kDHDVText = 0x2B,
    kFrameRect = 0x30, // the rectangle family: FrameRect .. FillRect
    kFrameSameRect = 0x38,
    kFrameRRect = 0x40,
    kFrameSameRRect = 0x48,
    kFrameOval = 0x50,
    kFrameSameOval = 0x58,
    kFrameArc = 0x60,
    kFramePoly = 0x70,
    kFrameRgn = 0x80,
    kBitsRect = 0x90,
    kBitsRgn = 0x91,
    kPackBitsRect = 0x98,
    kPackBitsRgn = 0x99,
    kDirectBitsRect = 0x9A,
    kDirectBitsRgn = 0x9B,
    kShortComment = 0xA0,
    kLongComment = 0xA1,
    kOpEndPic = 0xFF,
    kHeaderOp = 0x0C00, // version 2's header opcode, read with the header
};

// The words after the frame that tell the variants apart: version 2 is the Version opcode word then
// 02FF, the native variant the same opcode then CAFE; version 1 is the one-byte Version opcode and 1.
inline constexpr std::uint16_t kVersionWord = 0x0011;
inline constexpr std::uint16_t kVersion2 = 0x02FF;
inline constexpr std::uint16_t kNativeVersion = 0xCAFE;
inline constexpr std::uint16_t kVersion1Word = 0x1101;

// The verb's opcode in a shape family (verb 0 frame .. 4 fill).
constexpr std::uint8_t ShapeOpcode(Opcode family, int verb) {
    return static_cast<std::uint8_t>(family + verb);
}

// The family of a shape opcode (its "same shape" variant included) and its verb.
constexpr int FamilyOf(std::uint16_t opcode) {
    return opcode & 0xF0;
}
constexpr int VerbOf(std::uint16_t opcode) {
    return opcode & 7;
}
constexpr bool IsSameShape(std::uint16_t opcode) {
    return (opcode & 8) != 0;
}

} // namespace qiva::pict
