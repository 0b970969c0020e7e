#pragma once
// The classic Toolbox scalar types every manager shares. Sizes and codes keep their classic widths;
// pointers are native.

#include <cstdint>

using OSErr = std::int16_t;
using Size = std::int32_t;
using SignedByte = std::int8_t;
using Byte = std::uint8_t;
using Boolean = bool;
using Ptr = char*;
using Handle = Ptr*;
using ResType = std::uint32_t; // four characters, the first in the high byte
using Fixed = std::int32_t;    // 16.16: integer part in the high word
using Fract = std::int32_t;    // 2.30: values from -2 up to 2

constexpr OSErr noErr = 0;

// 'abcd' as a ResType, for code that names resource types.
constexpr ResType MakeResType(const char (&code)[5]) {
    return (ResType{static_cast<unsigned char>(code[0])} << 24) |
           (ResType{static_cast<unsigned char>(code[1])} << 16) |
           (ResType{static_cast<unsigned char>(code[2])} << 8) | ResType{static_cast<unsigned char>(code[3])};
}
