#include "game/dialog_items.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "game/message_format.h"
#include "toolkit/controls/controls.h"

namespace tolka {

namespace {

std::int16_t KindOf(std::int16_t type) {
    return static_cast<std::int16_t>(type & ~itemDisable);
}

bool IsText(std::int16_t type) {
    return KindOf(type) == statText || KindOf(type) == editText;
}

bool IsControl(std::int16_t type) {
    const std::int16_t kind = KindOf(type);
    return kind >= ctrlItem + btnCtrl && kind <= ctrlItem + radCtrl;
}

} // namespace

bool GetItemText(DialogPtr dialog, std::int16_t item, char* text) {
    if (!text) return false;
    text[0] = 0;
    std::int16_t type = 0;
    Handle handle = nullptr;
    Rect box{};
    GetDItem(dialog, item, &type, &handle, &box);
    if (!handle || !IsText(type)) return false;
    GetIText(handle, text);
    return true;
}

void SetItemText(DialogPtr dialog, std::int16_t item, const char* text) {
    std::int16_t type = 0;
    Handle handle = nullptr;
    Rect box{};
    GetDItem(dialog, item, &type, &handle, &box);
    if (!handle) return;
    if (IsText(type))
        SetIText(handle, text ? text : "");
    else if (IsControl(type))
        SetCTitle(reinterpret_cast<ControlHandle>(handle), text ? text : "");
}

void SetItemNumber(DialogPtr dialog, std::int16_t item, long number) {
    std::array<char, 24> text{};
    FormatInto(text, "%ld", number);
    SetItemText(dialog, item, text.data());
}

void GetItemRect(DialogPtr dialog, std::int16_t item, Rect* rect) {
    if (!rect) return;
    std::int16_t type = 0;
    Handle handle = nullptr;
    GetDItem(dialog, item, &type, &handle, rect);
}

void SetUserItemProc(DialogPtr dialog, std::int16_t item, UserItemProcPtr proc) {
    std::int16_t type = -1;
    Handle handle = nullptr;
    Rect box{};
    GetDItem(dialog, item, &type, &handle, &box);
    if (type < 0 || KindOf(type) != userItem) return;
    SetDItem(dialog, item, type, reinterpret_cast<Handle>(proc), &box);
}

std::int16_t RunDialogUntil(std::initializer_list<std::int16_t> items) {
    for (;;) {
        std::int16_t item = 0;
        ModalDialog(nullptr, &item);
        if (item < 0 || std::find(items.begin(), items.end(), item) != items.end()) return item;
    }
}

} // namespace tolka
