#pragma once
// The demo's "Text" window: an editable TextEdit field of several lines, with an Edit menu (Cut,
// Copy, Paste, Clear and their command keys) that works on it through the scrap.

#include "toolkit/core/events.h"

// Starts TextEdit (after the Window Manager) and opens the window in front.
void DemoTextStart();
void DemoTextOpen();
// Adds the Edit menu to the demo's menu bar (after the demo's menus are installed).
void DemoTextMenus();
// Handles the event if it concerns the Text window (true).
bool DemoTextEvent(const EventRecord& event);
// Blinks the caret; called when there is no event.
void DemoTextIdle();
