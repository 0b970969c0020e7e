#include "toolkit/graphics/pict_recorder.h"

#include <algorithm>
#include <cstring>

#include "toolkit/core/big_endian.h"
#include "toolkit/core/memory.h"
#include "toolkit/graphics/pict_opcodes.h"

namespace qiva::pict {

namespace {

bool Suppressible(std::uint8_t opcode) {
    switch (opcode) {
    case kBkPat:
    case kTxFont:
    case kTxFace:
    case kTxMode:
    case kSpExtra:
    case kPnSize:
    case kPnMode:
    case kPnPat:
    case kTxSize:
    case kFgColor:
    case kBkColor:
        return true;
    default:
        return false;
    }
}

void Put16(std::uint8_t* p, std::int16_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(std::uint16_t(v) >> 8);
}

} // namespace

OperandWriter& OperandWriter::U8(std::uint8_t v) {
    bytes_.push_back(v);
    return *this;
}

OperandWriter& OperandWriter::I16(std::int16_t v) {
    bytes_.push_back(static_cast<std::uint8_t>(v));
    bytes_.push_back(static_cast<std::uint8_t>(std::uint16_t(v) >> 8));
    return *this;
}

OperandWriter& OperandWriter::I32(std::int32_t v) {
    const auto u = static_cast<std::uint32_t>(v);
    for (int i = 0; i < 4; ++i)
        bytes_.push_back(static_cast<std::uint8_t>(u >> (8 * i)));
    return *this;
}

OperandWriter& OperandWriter::Bytes(std::span<const std::uint8_t> b) {
    bytes_.insert(bytes_.end(), b.begin(), b.end());
    return *this;
}

OperandWriter& OperandWriter::Words(std::span<const std::int16_t> w) {
    for (std::int16_t v : w)
        I16(v);
    return *this;
}

void WriteBitsOperand(const Bits& b, OperandWriter& out) {
    if (b.direct) out.I32(0xFF); // the baseAddr of a DirectBitsRect
    out.I16(static_cast<std::int16_t>(b.rowBytes | (b.pixMap ? 0x8000 : 0))).Rect(b.bounds);
    if (b.direct) {
        out.I16(b.pmVersion).I16(b.packType).I32(b.packSize).I32(b.hRes).I32(b.vRes);
        out.I16(b.pixelType).I16(b.pixelSize).I16(b.cmpCount).I16(b.cmpSize);
        out.I32(b.planeBytes).I32(b.pmTable).I32(b.pmReserved);
    } else if (b.pixMap) {
        out.I16(b.pmVersion).I16(b.packType).I32(b.packSize).I32(b.hRes).I32(b.vRes);
        out.I16(b.pixelType).I16(b.pixelSize).I16(b.cmpCount).I16(b.cmpSize);
        out.I32(b.planeBytes).I32(b.pmTable).I32(b.pmReserved);
        out.I32(b.ctSeed).I16(b.ctFlags).I16(static_cast<std::int16_t>(int(b.colours.size()) - 1));
        for (const Bits::Entry& e : b.colours)
            out.I16(e.value)
                .I16(std::int16_t(e.rgb.red))
                .I16(std::int16_t(e.rgb.green))
                .I16(std::int16_t(e.rgb.blue));
    }
    out.Rect(b.srcRect).Rect(b.dstRect).I16(b.mode).Bytes(b.data);
}

Handle Recorder::NewPicture(Rect16 frame) {
    Handle h = NewHandleClear(static_cast<Size>(kVersion2HeaderSize));
    if (h == nullptr) return nullptr;
    auto* p = reinterpret_cast<std::uint8_t*>(*h);
    Put16(p, static_cast<std::int16_t>(kVersion2HeaderSize));
    Put16(p + 2, frame.top);
    Put16(p + 4, frame.left);
    Put16(p + 6, frame.bottom);
    Put16(p + 8, frame.right);
    StoreBigEndian<std::uint16_t>(p + 10, kVersionWord);
    StoreBigEndian<std::uint16_t>(p + 12, kNativeVersion);
    StoreBigEndian<std::uint16_t>(p + 14, kHeaderOp);
    return h;
}

void Recorder::Reset() {
    last_ = {};
    hasPending_ = false;
    failed_ = false;
    suspended_ = 0;
}

void Recorder::Append(Handle pic, std::uint8_t opcode, std::span<const std::uint8_t> data) {
    const Size size = GetHandleSize(pic);
    if (MemError() != noErr) {
        failed_ = true;
        return;
    }
    const Size pad = (opcode != 0 && (size & 1) != 0) ? 1 : 0;
    const Size head = opcode != 0 ? 2 : 0;
    const std::int64_t grown = std::int64_t(size) + pad + head + std::int64_t(data.size());
    if (grown > INT32_MAX) {
        failed_ = true;
        return;
    }
    SetHandleSize(pic, static_cast<Size>(grown));
    if (MemError() != noErr) {
        failed_ = true;
        return;
    }
    auto* p = reinterpret_cast<std::uint8_t*>(*pic) + size;
    if (pad) *p++ = 0;
    if (head) { // opcode words are big-endian in every variant
        StoreBigEndian<std::uint16_t>(p, opcode);
        p += 2;
    }
    if (!data.empty()) std::memcpy(p, data.data(), data.size());
}

void Recorder::Record(Handle pic, std::uint8_t opcode, std::span<const std::uint8_t> data) {
    if (!Recording() || pic == nullptr) return;
    if (Suppressible(opcode) && data.size() <= 8) {
        Last& l = last_[opcode];
        if (l.known && l.length == data.size() && std::equal(data.begin(), data.end(), l.bytes.begin()))
            return;
        Append(pic, opcode, data);
        if (failed_) return;
        l.known = true;
        l.length = static_cast<std::uint8_t>(data.size());
        std::copy(data.begin(), data.end(), l.bytes.begin());
        return;
    }
    // The RGB colours are always written and leave the classic colour of their side unknown.
    if (opcode == kRGBFgCol) last_[kFgColor].known = false;
    if (opcode == kRGBBkCol) last_[kBkColor].known = false;
    Append(pic, opcode, data);
}

void Recorder::LineTo(Handle pic, Point16 to) {
    if (!Recording() || pic == nullptr) return;
    OperandWriter w;
    if (hasPending_) {
        w.Point(pending_).Point(to);
        Record(pic, kLine, w.Data());
        hasPending_ = false;
    } else {
        w.Point(to);
        Record(pic, kLineFrom, w.Data());
    }
}

bool Recorder::Close(Handle pic) {
    const bool fitted = !failed_;
    if (!fitted) {
        SetHandleSize(pic, static_cast<Size>(kVersion2HeaderSize));
        failed_ = false;
    }
    const int suspended = suspended_;
    suspended_ = 0;
    Append(pic, static_cast<std::uint8_t>(kEndOpcode), {});
    suspended_ = suspended;
    const Size size = GetHandleSize(pic);
    if (MemError() == noErr && size >= 2)
        Put16(reinterpret_cast<std::uint8_t*>(*pic), static_cast<std::int16_t>(size & 0xFFFF));
    return fitted;
}

} // namespace qiva::pict
