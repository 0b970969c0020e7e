#pragma once
// What the Dialog Manager's units share: the manager's state (ParamText, the procedures, the dialog
// font, the saved menu bar, what each dialog is), and access to a dialog's items through its list
// and the table of item handles beside it.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "toolkit/dialogs/dialogs.h"
#include "toolkit/dialogs/item_list.h"

namespace qiva::dlg {

struct ManagerState {
    ResumeProcPtr resume = nullptr;
    SoundProcPtr sound = nullptr;
    std::int16_t font = 0;
    std::array<std::string, 4> params;
    bool menuBarSaved = false; // ModalDialog saved the bar's enable states; CloseDialog restores them
};
ManagerState& State();

// What the dialog records do not hold: the resource it came from, how it runs, and the empty text
// handle TextEdit keeps while no text item is active (a null one would crash TextEdit's callers).
struct DialogInfo {
    std::int16_t id = 0;
    DialogRole role = DialogRole::Modal;
    Handle spareText = nullptr;
    bool ownsRecord = false; // NewDialog allocated the record
};
DialogInfo* InfoOf(DialogPtr dialog);
DialogInfo& AddInfo(DialogPtr dialog);
void ForgetInfo(DialogPtr dialog);
// Every dialog made and not yet closed, oldest first.
std::vector<DialogPtr> OpenDialogs();

// The item list's bytes.
std::span<std::uint8_t> ListBytes(DialogPtr dialog);
int CountItems(DialogPtr dialog);
std::vector<ItemEntry> Items(DialogPtr dialog);
// Item `item` (from 1) and its handle; false beyond the list.
bool ItemOf(DialogPtr dialog, int item, ItemEntry& entry);
Handle ItemHandle(DialogPtr dialog, int item);
void SetItemHandle(DialogPtr dialog, int item, Handle h);
void SetItemType(DialogPtr dialog, const ItemEntry& entry, std::uint8_t type);

// Types without the disable bit.
inline int BaseType(std::uint8_t type) {
    return type & 0x7F;
}
inline bool IsControlType(std::uint8_t type) {
    const int t = BaseType(type);
    return t >= ctrlItem && t <= ctrlItem + resCtrl;
}
inline bool IsEditable(std::uint8_t type) {
    return type == editText;
}

// Builds every item's handle from the list (NewDialog) and frees them (CloseDialog).
// `lengths` are the text lengths as stored, before odd ones were raised.
void BuildItems(DialogPtr dialog, const std::vector<std::uint8_t>& lengths);
void FreeItems(DialogPtr dialog);

// The active text item: makes item index `field` (from 0; −1 none) the one TextEdit edits.
void SetActiveField(DialogPtr dialog, int field, bool selectAll);
// The next editable text item after the active one, as creation, Tab and hiding choose it.
void ActivateNextField(DialogPtr dialog);
bool HasActiveField(DialogPtr dialog);

// Draws one item (DrawDialog's step) with the dialog current.
void DrawItem(DialogPtr dialog, int item, const ItemEntry& entry);

// The dialog owning an item handle, and the item; null when none.
DialogPtr DialogOfHandle(Handle h, int* item);

// An alert's bevelled frame 4 pixels outside its default item.
void DrawDefaultFrame(DialogPtr dialog);

// A template's rectangle moved where its position word asks.
Rect PlaceTemplate(const Rect& bounds, std::uint16_t position);

// Plays the sound procedure.
void ErrorBeep();

// The state dump's dialog lines for the front window.
void WriteDialogDump(std::string& out);

// The window manager's routing of modeless dialogues (installed by InitDialogs).
bool RouteDialogueEvent(EventRecord& event);

} // namespace qiva::dlg
