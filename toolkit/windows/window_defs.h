#pragma once
// The window definition procedures of the supported kinds, and the choice among them by procID.

#include "toolkit/windows/windows.h"

namespace qiva {

std::int32_t DocumentWindowDef(std::int16_t message, WindowPeek w, std::intptr_t param);
std::int32_t RoundedWindowDef(std::int16_t message, WindowPeek w, std::intptr_t param);
std::int32_t DialogFrameDef(std::int16_t message, WindowPeek w, std::intptr_t param);
std::int32_t PlainBoxDef(std::int16_t message, WindowPeek w, std::intptr_t param);
std::int32_t ShadowBoxDef(std::int16_t message, WindowPeek w, std::intptr_t param);

// The procedure for a type code (only its bits 0x17 count), or null for an unsupported one.
WindowDefProc DefProcForType(std::int16_t procID);

// A point as the wHit parameter carries it: v in the high word, h in the low one.
inline std::intptr_t PackPoint(Point pt) {
    return static_cast<std::intptr_t>((static_cast<std::uint32_t>(static_cast<std::uint16_t>(pt.v)) << 16) |
                                      static_cast<std::uint16_t>(pt.h));
}
inline Point UnpackPoint(std::intptr_t param) {
    const auto bits = static_cast<std::uint32_t>(param);
    return Point{static_cast<std::int16_t>(bits >> 16), static_cast<std::int16_t>(bits & 0xFFFF)};
}

// What the document frame keeps: whether it has a zoom box, and the two sizes it toggles between.
struct ZoomState {
    bool hasZoom;
    Rect userState; // the size to return to
    Rect stdState;  // the zoomed size
};
ZoomState* ZoomStateOf(WindowPeek w);
// True when the content is within 7 pixels of the zoomed size at both corners.
bool AtZoomedSize(const Rect& content, const Rect& zoomed);

// The frame's drawing pieces shared by the document and the rounded windows.
void DrawTitleBoxes(WindowPeek w, const Rect& content, std::int32_t part);

} // namespace qiva
