#pragma once

// The picture recorder: appends operations to a picture in the native variant (big-endian opcode
// words, little-endian operands) and keeps what makes recordings small, the last recorded value of
// each state opcode (an unchanged value is not written again) and the pending pen point that MoveTo
// leaves for the next line. It works on the picture handle it is given and on no other state, so the
// port glue decides which picture is open.

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "toolkit/core/mac_types.h"
#include "toolkit/graphics/pict_format.h"

namespace qiva::pict {

// Operands in the native variant's byte order.
class OperandWriter {
public:
    OperandWriter& U8(std::uint8_t v);
    OperandWriter& I16(std::int16_t v);
    OperandWriter& I32(std::int32_t v);
    OperandWriter& Point(Point16 p) { return I16(p.v).I16(p.h); }
    OperandWriter& Rect(Rect16 r) { return I16(r.top).I16(r.left).I16(r.bottom).I16(r.right); }
    OperandWriter& Bytes(std::span<const std::uint8_t> b);
    OperandWriter& Words(std::span<const std::int16_t> w);
    std::span<const std::uint8_t> Data() const { return bytes_; }
    void Clear() { bytes_.clear(); }

private:
    std::vector<std::uint8_t> bytes_;
};

// A picture's bytes rebuilt in the native variant: the Bits operand written back with its fields in
// native order and its rows exactly as stored (so packed rows stay packed). A direct one is written
// as DirectBitsRect (its mask region, if it had one, is not).
void WriteBitsOperand(const Bits& bits, OperandWriter& out);

class Recorder {
public:
    // A new picture of the given frame holding its 40-byte native header (picSize 40), or null when
    // the handle cannot be had.
    static Handle NewPicture(Rect16 frame);

    // Forgets every recorded value and the pending point; recording enabled.
    void Reset();

    // The record operation. Opcode 0 appends data to the previous operation. State opcodes whose
    // value equals the last recorded one are dropped. A failed growth disables recording until Close.
    void Record(Handle pic, std::uint8_t opcode, std::span<const std::uint8_t> data);

    // MoveTo and Move leave the pen's new place pending; the next line writes Line from it, or
    // LineFrom when nothing is pending.
    void SetPending(Point16 pen) {
        pending_ = pen;
        hasPending_ = true;
    }
    bool HasPending() const { return hasPending_; }
    void LineTo(Handle pic, Point16 to);

    // Operations made of other operations (a filled shape's pen set-up) suspend recording around the
    // parts that are not theirs to record. Suspensions nest.
    void Suspend() { ++suspended_; }
    void Resume() {
        if (suspended_ > 0) --suspended_;
    }
    bool Recording() const { return !failed_ && suspended_ == 0; }

    // Ends the picture: the end opcode and picSize. Returns false when growth had failed: the picture
    // was then cut back to its header before the end opcode (the caller reports the overflow).
    bool Close(Handle pic);

private:
    static constexpr int kStateOpcodes = 0x10;
    struct Last {
        bool known = false;
        std::uint8_t length = 0;
        std::array<std::uint8_t, 8> bytes{};
    };
    void Append(Handle pic, std::uint8_t opcode, std::span<const std::uint8_t> data);

    std::array<Last, kStateOpcodes> last_{};
    Point16 pending_{};
    bool hasPending_ = false;
    bool failed_ = false;
    int suspended_ = 0;
};

} // namespace qiva::pict
