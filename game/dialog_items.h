#pragma once
// The game's item helpers over the Dialog Manager: reading and setting an item's text (a text
// item's own, a control's title), a number as text, an item's rectangle and the drawing procedure
// of a user item. Item types are compared without their itemDisable bit.

#include <cstdint>
#include <initializer_list>

#include "toolkit/dialogs/dialogs.h"

namespace tolka {

// A text item's text into `text` (room for 256 bytes), true; any other item empties `text`, false.
bool GetItemText(DialogPtr dialog, std::int16_t item, char* text);
// A text item gets the text, a button, check box or radio button it as its title; other items
// are left alone.
void SetItemText(DialogPtr dialog, std::int16_t item, const char* text);
void SetItemNumber(DialogPtr dialog, std::int16_t item, long number);
void GetItemRect(DialogPtr dialog, std::int16_t item, Rect* rect);
// Installs `proc` on a user item; other items are left alone.
void SetUserItemProc(DialogPtr dialog, std::int16_t item, UserItemProcPtr proc);
// Runs the front dialog with ModalDialog until one of `items` is hit, and answers it; −1 when the
// Dialog Manager cannot run it (no dialog in front), so a caller's loop always ends.
std::int16_t RunDialogUntil(std::initializer_list<std::int16_t> items);

} // namespace tolka
