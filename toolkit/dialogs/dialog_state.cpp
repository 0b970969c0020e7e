// The Dialog Manager's state and the access to a dialog's items.

#include <algorithm>
#include <cstring>
#include <utility>

#include "toolkit/core/memory.h"
#include "toolkit/dialogs/dialog_internal.h"
#include "toolkit/menus/menus.h"

namespace qiva::dlg {

namespace {

ManagerState state;
std::vector<std::pair<DialogPtr, DialogInfo>> infos;

} // namespace

ManagerState& State() {
    return state;
}

DialogInfo* InfoOf(DialogPtr dialog) {
    for (auto& [d, info] : infos)
        if (d == dialog) return &info;
    return nullptr;
}

DialogInfo& AddInfo(DialogPtr dialog) {
    if (DialogInfo* info = InfoOf(dialog)) return *info;
    infos.emplace_back(dialog, DialogInfo{});
    return infos.back().second;
}

void ForgetInfo(DialogPtr dialog) {
    std::erase_if(infos, [&](const auto& entry) { return entry.first == dialog; });
}

std::vector<DialogPtr> OpenDialogs() {
    std::vector<DialogPtr> out;
    for (const auto& entry : infos)
        out.push_back(entry.first);
    return out;
}

std::span<std::uint8_t> ListBytes(DialogPtr dialog) {
    const Handle items = dialog ? DPeek(dialog)->items : nullptr;
    if (!items || !*items) return {};
    return {reinterpret_cast<std::uint8_t*>(*items), static_cast<std::size_t>(GetHandleSize(items))};
}

int CountItems(DialogPtr dialog) {
    return static_cast<int>(Items(dialog).size());
}

std::vector<ItemEntry> Items(DialogPtr dialog) {
    return AllItems(ListBytes(dialog));
}

bool ItemOf(DialogPtr dialog, int item, ItemEntry& entry) {
    const auto found = ItemAt(ListBytes(dialog), item);
    if (!found) return false;
    entry = *found;
    return true;
}

Handle ItemHandle(DialogPtr dialog, int item) {
    const Handle table = dialog ? DPeek(dialog)->itemHandles : nullptr;
    if (!table || !*table || item < 1) return nullptr;
    const auto slots = static_cast<std::size_t>(GetHandleSize(table)) / sizeof(Handle);
    if (static_cast<std::size_t>(item) > slots) return nullptr;
    Handle h = nullptr;
    std::memcpy(&h, *table + (item - 1) * sizeof(Handle), sizeof h);
    return h;
}

void SetItemHandle(DialogPtr dialog, int item, Handle h) {
    const Handle table = dialog ? DPeek(dialog)->itemHandles : nullptr;
    if (!table || !*table || item < 1) return;
    const auto slots = static_cast<std::size_t>(GetHandleSize(table)) / sizeof(Handle);
    if (static_cast<std::size_t>(item) > slots) return;
    std::memcpy(*table + (item - 1) * sizeof(Handle), &h, sizeof h);
}

void SetItemType(DialogPtr dialog, const ItemEntry& entry, std::uint8_t type) {
    const auto bytes = ListBytes(dialog);
    if (entry.offset + kItemHeaderSize <= bytes.size()) bytes[entry.offset + 12] = type;
}

DialogPtr DialogOfHandle(Handle h, int* item) {
    if (!h) return nullptr;
    for (const auto& entry : infos) {
        const int count = CountItems(entry.first);
        for (int i = 1; i <= count; ++i)
            if (ItemHandle(entry.first, i) == h) {
                if (item) *item = i;
                return entry.first;
            }
    }
    return nullptr;
}

void ErrorBeep() {
    if (state.sound) state.sound(1);
}

} // namespace qiva::dlg

namespace qiva {

bool IsDialog(WindowPtr window) {
    return window && Peek(window)->windowKind == dialogKind;
}

const char* ParamTextString(int index) {
    if (index < 0 || index > 3) return "";
    return dlg::State().params[static_cast<std::size_t>(index)].c_str();
}

void SetDialogRole(DialogPtr dialog, DialogRole role) {
    if (dlg::DialogInfo* info = dlg::InfoOf(dialog)) info->role = role;
}

DialogRole RoleOfDialog(DialogPtr dialog) {
    const dlg::DialogInfo* info = dlg::InfoOf(dialog);
    return info ? info->role : DialogRole::Modal;
}

void ResetDialogs() {
    for (DialogPtr d : dlg::OpenDialogs())
        dlg::ForgetInfo(d);
    if (dlg::State().menuBarSaved) RestoreMenuEnableStates();
    dlg::State() = dlg::ManagerState{};
}

} // namespace qiva
