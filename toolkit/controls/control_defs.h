#pragma once
// The definition functions of the four kinds (push button, check box and radio button, scroll bar,
// and the one every unknown procID gets) and what the operations share to talk to them.

#include <cstdint>

#include "toolkit/controls/controls.h"

namespace qiva::controls {

std::int32_t PushButtonDef(std::int16_t variation, ControlHandle c, std::int16_t message,
                           std::intptr_t param);
std::int32_t CheckBoxDef(std::int16_t variation, ControlHandle c, std::int16_t message, std::intptr_t param);
std::int32_t ScrollBarDef(std::int16_t variation, ControlHandle c, std::int16_t message, std::intptr_t param);
std::int32_t UnknownControlDef(std::int16_t variation, ControlHandle c, std::int16_t message,
                               std::intptr_t param);

// The function for a definition number; UnknownControlDef for a number no kind has.
ControlDefProcPtr DefProcFor(std::int16_t procID);

// Sends a message to the control's definition function (0 for a control without one).
std::int32_t Send(ControlHandle c, std::int16_t message, std::intptr_t param);
inline void Redraw(ControlHandle c, std::intptr_t param) {
    Send(c, drawCntl, param);
}

// A point as testCntl and posCntl carry it: v in the high 16 bits, h in the low 16.
inline std::intptr_t PackPoint(Point pt) {
    return static_cast<std::intptr_t>((static_cast<std::uint32_t>(static_cast<std::uint16_t>(pt.v)) << 16) |
                                      static_cast<std::uint16_t>(pt.h));
}
inline Point UnpackPoint(std::intptr_t param) {
    const auto bits = static_cast<std::uint32_t>(param);
    return Point{static_cast<std::int16_t>(bits >> 16), static_cast<std::int16_t>(bits & 0xFFFF)};
}

bool OwnerVisible(ControlHandle c);

// Makes the control's owner the current port for its lifetime and puts the previous one back.
class OwnerPort {
public:
    explicit OwnerPort(ControlHandle c);
    ~OwnerPort();
    OwnerPort(const OwnerPort&) = delete;
    OwnerPort& operator=(const OwnerPort&) = delete;

private:
    GrafPtr saved_ = nullptr;
};

} // namespace qiva::controls
