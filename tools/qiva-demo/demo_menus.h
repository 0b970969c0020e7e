#pragma once
// The demo's menus: a menu bar with command keys, a disabled item, separators, a hierarchical menu
// and a pop-up. Every choice is written on standard output as "choice MENU ITEM" and shown in the
// status strip.

#include <cstdint>
#include <functional>
#include <string>

#include "toolkit/core/events.h"
#include "toolkit/menus/menus.h"

namespace demo {

// What a menu of the bar does with its items; the choice line is written before it is called.
using MenuAction = std::function<void(std::int16_t item)>;

// Puts a menu at the end of the bar (before the menu with ID `beforeID` when not 0). Parts of the demo
// add their own menus this way, after InstallMenus.
void AddMenu(MenuHandle menu, MenuAction action, std::int16_t beforeID = 0);

// Builds the demo's menus and draws the bar; `report` writes a line in the status strip.
void InstallMenus(void (*report)(const std::string& text));

// Draws the pop-up menu's box (after the background).
void DrawMenuParts();

// A mouse-down in the bar or on the pop-up box, or a command key: handled (true) or not.
bool MenuEvent(const EventRecord& event);

} // namespace demo
