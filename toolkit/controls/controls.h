#pragma once
// The Control Manager: push buttons, check boxes, radio buttons and scroll bars living in a window,
// each a relocatable record drawn and hit-tested by the definition function its procID chooses, and
// tracked with the mouse by TrackControl. Rectangles and points are in the owner window's local
// coordinates; titles are zero-terminated, in the Macintosh character set.

#include <cstdint>

#include "toolkit/core/mac_types.h"
#include "toolkit/windows/windows.h"

struct ControlRecord;
using ControlPtr = ControlRecord*;
using ControlHandle = ControlPtr*;

// A definition function: (variation, control, message, param) → result; the variation is always 0.
// The parameter is pointer-sized, since calcCRgns and thumbCntl pass addresses in it.
using ControlDefProcPtr = std::int32_t (*)(std::int16_t variation, ControlHandle control,
                                           std::int16_t message, std::intptr_t param);
// An action procedure for TrackControl, called with the part under the mouse (0 outside).
using ControlActionProcPtr = void (*)(ControlHandle control, std::int16_t part);

// The record, in the classic field order. The list of a window's controls starts at
// WindowRecord::controlList and runs from the newest control to the oldest.
struct ControlRecord {
    ControlHandle nextControl;
    WindowPtr contrlOwner;
    Rect contrlRect;
    std::uint8_t contrlVis;    // 255 visible, 0 hidden
    std::uint8_t contrlHilite; // 0 normal, 1–253 the part shown pressed, 254 and 255 inactive
    std::int16_t contrlValue;
    std::int16_t contrlMin;
    std::int16_t contrlMax;
    ControlDefProcPtr contrlDefProc;
    std::int32_t contrlData;
    ControlActionProcPtr contrlAction;
    std::int32_t contrlRfCon;
    char* contrlTitle; // a NewPtr block, length + 1; null when it could not be allocated
    std::int16_t procID;
};

// Definition numbers.
constexpr std::int16_t pushButProc = 0;
constexpr std::int16_t checkBoxProc = 1;
constexpr std::int16_t radioButProc = 2;
constexpr std::int16_t scrollBarProc = 16;

// Part codes.
constexpr std::int16_t inButton = 10;
constexpr std::int16_t inCheckBox = 11;
constexpr std::int16_t inUpButton = 20;
constexpr std::int16_t inDownButton = 21;
constexpr std::int16_t inPageUp = 22;
constexpr std::int16_t inPageDown = 23;
constexpr std::int16_t inThumb = 129;

// Messages to the definition functions.
constexpr std::int16_t drawCntl = 0;
constexpr std::int16_t testCntl = 1;
constexpr std::int16_t calcCRgns = 2;
constexpr std::int16_t initCntl = 3;
constexpr std::int16_t dispCntl = 4;
constexpr std::int16_t posCntl = 5;
constexpr std::int16_t thumbCntl = 6;
constexpr std::int16_t dragCntl = 7;
constexpr std::int16_t autoTrack = 8;

// What thumbCntl fills in; on entry its first four bytes hold the point where the mouse went down.
struct ThumbDragRecord {
    Rect limitRect;
    Rect slopRect;
    std::int16_t axis;
};

ControlHandle NewControl(WindowPtr window, const Rect* boundsRect, const char* title, Boolean visible,
                         std::int16_t value, std::int16_t min, std::int16_t max, std::int16_t procID,
                         std::int32_t refCon);
ControlHandle GetNewControl(std::int16_t controlID, WindowPtr window);
void DisposeControl(ControlHandle control);
void KillControls(WindowPtr window);

void SetCTitle(ControlHandle control, const char* title);
void GetCTitle(ControlHandle control, char* title); // room for 256 bytes
void HideControl(ControlHandle control);
void ShowControl(ControlHandle control);
void Draw1Control(ControlHandle control);
void DrawControls(WindowPtr window);
void HiliteControl(ControlHandle control, std::int16_t hiliteState);
void MoveControl(ControlHandle control, std::int16_t h, std::int16_t v);
void SizeControl(ControlHandle control, std::int16_t w, std::int16_t h);

std::int16_t FindControl(Point thePoint, WindowPtr window, ControlHandle* whichControl);
std::int16_t TestControl(ControlHandle control, Point thePoint);
// action: null for none, or the control's own contrlAction when it is kUseControlAction.
std::int16_t TrackControl(ControlHandle control, Point startPt, ControlActionProcPtr action);

std::int16_t GetCtlValue(ControlHandle control);
std::int16_t GetCtlMin(ControlHandle control);
std::int16_t GetCtlMax(ControlHandle control);
std::int32_t GetCRefCon(ControlHandle control);
void SetCtlValue(ControlHandle control, std::int16_t value);
void SetCtlMin(ControlHandle control, std::int16_t value);
void SetCtlMax(ControlHandle control, std::int16_t value);
void SetCRefCon(ControlHandle control, std::int32_t data);
void SetCtlAction(ControlHandle control, ControlActionProcPtr action);

namespace qiva {

// The classic −1 for TrackControl's action: use the control's own contrlAction (autoTrack when it
// has none).
inline const ControlActionProcPtr kUseControlAction =
    reinterpret_cast<ControlActionProcPtr>(std::intptr_t{-1});

} // namespace qiva
