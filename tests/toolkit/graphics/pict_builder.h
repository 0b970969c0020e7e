#pragma once

// Builds picture bytes for tests: the header of each variant, opcodes with the stream's alignment,
// and operands in the variant's byte order.

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "toolkit/graphics/pict_format.h"

namespace qiva::test {

class PictBuilder {
public:
    explicit PictBuilder(pict::Variant variant, pict::Rect16 frame = {0, 0, 100, 100}) : variant_(variant) {
        little_ = variant == pict::Variant::Native;
        I16(0x0100);
        Rect(frame);
        if (variant == pict::Variant::Version1) {
            Raw({0x11, 0x01});
        } else {
            Raw({0x00, 0x11});
            Raw(variant == pict::Variant::Native ? std::initializer_list<std::uint8_t>{0xCA, 0xFE}
                                                 : std::initializer_list<std::uint8_t>{0x02, 0xFF});
            Raw({0x0C, 0x00});
            bytes.resize(pict::kVersion2HeaderSize, 0);
        }
    }

    // An opcode: one byte in version 1, else a big-endian word at an even offset.
    PictBuilder& Op(std::uint16_t op) {
        if (variant_ == pict::Variant::Version1) return Raw({static_cast<std::uint8_t>(op)});
        if (bytes.size() & 1) bytes.push_back(0);
        return Raw({static_cast<std::uint8_t>(op >> 8), static_cast<std::uint8_t>(op)});
    }
    PictBuilder& Raw(std::initializer_list<std::uint8_t> b) {
        bytes.insert(bytes.end(), b.begin(), b.end());
        return *this;
    }
    PictBuilder& U8(int v) { return Raw({static_cast<std::uint8_t>(v)}); }
    PictBuilder& I16(int v) {
        const auto u = static_cast<std::uint16_t>(v);
        return little_ ? Raw({std::uint8_t(u), std::uint8_t(u >> 8)})
                       : Raw({std::uint8_t(u >> 8), std::uint8_t(u)});
    }
    PictBuilder& I32(std::int32_t v) {
        const auto u = static_cast<std::uint32_t>(v);
        return little_ ? I16(int(u & 0xFFFF)).I16(int(u >> 16)) : I16(int(u >> 16)).I16(int(u & 0xFFFF));
    }
    PictBuilder& Rect(pict::Rect16 r) { return I16(r.top).I16(r.left).I16(r.bottom).I16(r.right); }
    PictBuilder& Point(int v, int h) { return I16(v).I16(h); }
    PictBuilder& Words(std::initializer_list<int> w) {
        for (int v : w)
            I16(v);
        return *this;
    }
    PictBuilder& End() { return Op(pict::kEndOpcode); }

    std::vector<std::uint8_t> bytes;

private:
    pict::Variant variant_;
    bool little_ = false;
};

} // namespace qiva::test
