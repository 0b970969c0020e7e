#pragma once
// The Event Manager: the toolkit's 20-entry event queue with the Macintosh interface. Input reaches it
// from the shell's pump step (toolkit/core/shell.h); the application takes events with GetNextEvent.
// GetNextEvent and Button run a pump step first, so they are defined by the shell, which sits above
// the queue.

#include <cstdint>

#include "toolkit/core/geometry.h"
#include "toolkit/core/mac_types.h"
#include "toolkit/core/task_gate.h"

// Event codes.
constexpr std::int16_t nullEvent = 0;
constexpr std::int16_t mouseDown = 1;
constexpr std::int16_t mouseUp = 2;
constexpr std::int16_t keyDown = 3;
constexpr std::int16_t keyUp = 4;
constexpr std::int16_t autoKey = 5;
constexpr std::int16_t updateEvt = 6;
constexpr std::int16_t diskEvt = 7;
constexpr std::int16_t activateEvt = 8;

// Masks: the bit of code n is 1 << n.
constexpr std::uint16_t mDownMask = 1 << mouseDown;
constexpr std::uint16_t mUpMask = 1 << mouseUp;
constexpr std::uint16_t keyDownMask = 1 << keyDown;
constexpr std::uint16_t keyUpMask = 1 << keyUp;
constexpr std::uint16_t autoKeyMask = 1 << autoKey;
constexpr std::uint16_t updateMask = 1 << updateEvt;
constexpr std::uint16_t diskMask = 1 << diskEvt;
constexpr std::uint16_t activMask = 1 << activateEvt;
constexpr std::uint16_t everyEvent = 0xFFFF;

// Modifiers. The button bit is set while a button is down (the inverse of the Macintosh's);
// the command key is Control and the option key Alt.
constexpr std::uint16_t activeFlag = 0x0001;
constexpr std::uint16_t btnState = 0x0080;
constexpr std::uint16_t cmdKey = 0x0100;
constexpr std::uint16_t shiftKey = 0x0200;
constexpr std::uint16_t optionKey = 0x0800;

constexpr std::uintptr_t charCodeMask = 0xFF;

// The message is pointer-sized: update and activate events carry a window.
struct EventRecord {
    std::int16_t what;
    std::uintptr_t message;
    std::uint32_t when;
    Point where;
    std::uint16_t modifiers;
};

struct EvQEl {
    EvQEl* qLink;
    std::int16_t qType; // 4 while queued, 0 when free
    std::int16_t evtQWhat;
    std::uintptr_t evtQMessage;
    std::uint32_t evtQWhen;
    Point evtQWhere;
    std::uint16_t evtQModifiers;
};

struct QHdr {
    std::int16_t qFlags;
    EvQEl* qHead;
    EvQEl* qTail;
};

constexpr std::int16_t evType = 4;

OSErr PostEvent(std::int16_t eventCode, std::uintptr_t eventMsg);
void FlushEvents(std::uint16_t whichMask, std::uint16_t stopMask);
void SetEventMask(std::uint16_t mask);
QHdr* GetEvQHdr();
Boolean EventAvail(std::uint16_t eventMask, EventRecord* theEvent);
Boolean GetNextEvent(std::uint16_t eventMask, EventRecord* theEvent);
Boolean Button();
void GetMouse(Point* mouseLoc);
std::uint32_t GetDblTime();
std::uint32_t GetCaretTime();

namespace qiva {

constexpr int kEventQueueSize = 20;
constexpr std::uint16_t kDefaultEventMask = 0xFFEF; // every event but keyUp

// Mouse and keyboard state kept by the shell: position in client coordinates, buttons (bit 0 left,
// bit 1 right), the Control-key-down flag.
struct InputState {
    Point mouse{0, 0};
    std::uint8_t buttons = 0;
    bool controlDown = false;
};
InputState& Input();

// The modifiers of an event made now: active flag, buttons, and the keys the platform reports.
std::uint16_t CurrentModifiers();

// The pending activation the window manager sets when the front window changes.
void SetPendingActivation(void* deactivate, void* activate);
void* PendingDeactivation();
void* PendingActivation();

// Hooks of the layers above. Each may be null.
struct EventHooks {
    // Window manager: a window whose update region is not empty, or null.
    void* (*windowNeedingUpdate)() = nullptr;
    // Modeless dialogues and desk accessories: handles the event if it belongs to one (true), so the
    // caller fetches again.
    bool (*deskAccessoryEvent)(EventRecord& event) = nullptr;
    // Scroll offsets of the viewport (0 while the window shows the whole virtual screen).
    Point (*scrollOffset)() = nullptr;
    // The menu bar's height, below which the vertical scroll offset applies.
    std::int16_t (*menuBarHeight)() = nullptr;
};
EventHooks& Hooks();

// GetNextEvent without the pump step: takes the next event for the mask (a pending activation first,
// deactivation before activation), letting a desk accessory take what belongs to it.
bool TakeNextEvent(std::uint16_t mask, EventRecord& event);

// Empties the queue, restores the default mask, the input state, the pending activation and the
// hooks (tests).
void ResetEvents();

} // namespace qiva
