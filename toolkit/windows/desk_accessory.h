#pragma once
// Desk accessories: windows with a negative reference constant whose events a handler of the
// toolkit's own receives instead of the application (the help viewer is one).

#include "toolkit/windows/windows.h"

namespace qiva {

class DeskAccessory {
public:
    virtual ~DeskAccessory() = default;
    // Key events (while the window is in front), activate events, and clicks in the content. Update
    // events arrive between BeginUpdate and EndUpdate, which the toolkit calls around them.
    virtual void Event(WindowPtr window, const EventRecord& event) = 0;
    // The close box was clicked and released inside; the handler closes its window (or not).
    virtual void Close(WindowPtr window) = 0;
    // The mouse wheel turned over the window, `notches` positive away from the user.
    virtual void Wheel(WindowPtr, int /*notches*/) {}
    // The window is being closed by someone else (CloseWindow, or the Window Manager starting
    // again): the handler is no longer registered and must forget the window.
    virtual void Closed(WindowPtr) {}
};

// Hands the window's events to `handler` (not owned, and to outlive its registration); null stops
// it. The window's reference constant must be negative for the toolkit to treat it as a desk accessory.
void SetDeskAccessory(WindowPtr window, DeskAccessory* handler);
DeskAccessory* DeskAccessoryOf(WindowPtr window);
// What CloseWindow does: the window's handler, if any, is unregistered and told by Closed.
void ForgetDeskAccessory(WindowPtr window);

// What GetNextEvent asks: true when the event belonged to a modeless dialogue or a desk accessory
// and was handled.
bool DeskAccessoryEvent(EventRecord& event);

// What the shell's wheel hook does: the desk accessory under `where` (global) receives the turn.
void DeskAccessoryWheel(Point where, int notches);

} // namespace qiva
