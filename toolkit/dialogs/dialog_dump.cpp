// The state dump's lines for the dialog or alert in front:
//   dialog ID kind modal|modeless|alert
//   ditem N type T rect L T R B enabled 0|1 visible 0|1 value V text "TEXT"
// T without the disable bit (a colour icon is 32), the rectangle in global pixels as shown (a hidden
// item's without its offset), V a control's value, TEXT a control's title, an editable text's text or
// a static text as drawn (ParamText expanded).

#include <string>

#include "toolkit/controls/controls.h"
#include "toolkit/core/memory.h"
#include "toolkit/core/state_dump.h"
#include "toolkit/dialogs/dialog_internal.h"

namespace qiva::dlg {

namespace {

const char* RoleName(DialogRole role) {
    switch (role) {
    case DialogRole::Alert:
        return "alert";
    case DialogRole::Modeless:
        return "modeless";
    default:
        return "modal";
    }
}

std::string HandleText(Handle h) {
    if (!h || !*h) return {};
    return std::string(*h, static_cast<std::size_t>(GetHandleSize(h)));
}

} // namespace

void WriteDialogDump(std::string& out) {
    WindowPtr front = FrontWindow();
    const DialogInfo* info = IsDialog(front) ? InfoOf(front) : nullptr;
    if (!info) return;
    out += "dialog " + std::to_string(info->id) + " kind " + RoleName(info->role) + "\n";
    const Rect content = GlobalContentRect(Peek(front));
    const std::vector<ItemEntry> items = Items(front);
    for (std::size_t i = 0; i < items.size(); ++i) {
        const ItemEntry& entry = items[i];
        const int item = static_cast<int>(i + 1);
        int type = BaseType(entry.type);
        if (type == iconItem + 1) type = iconItem;
        const bool hidden = IsHiddenRect(entry.rect);
        Rect r = entry.rect;
        if (hidden) {
            r.left = static_cast<std::int16_t>(r.left - kHiddenOffset);
            r.right = static_cast<std::int16_t>(r.right - kHiddenOffset);
        }
        r.left = static_cast<std::int16_t>(r.left + content.left);
        r.right = static_cast<std::int16_t>(r.right + content.left);
        r.top = static_cast<std::int16_t>(r.top + content.top);
        r.bottom = static_cast<std::int16_t>(r.bottom + content.top);
        const Handle h = ItemHandle(front, item);
        int value = 0;
        std::string text;
        if (IsControlType(entry.type) && h) {
            const auto c = reinterpret_cast<ControlHandle>(h);
            value = (*c)->contrlValue;
            text = (*c)->contrlTitle ? (*c)->contrlTitle : "";
        } else if (type == statText) {
            text = ExpandParamText(HandleText(h), State().params);
        } else if (type == editText) {
            text = HandleText(h);
        }
        out += "ditem " + std::to_string(item) + " type " + std::to_string(type) + " rect " + DumpRect(r) +
               " enabled " + ((entry.type & itemDisable) ? "0" : "1") + " visible " + (hidden ? "0" : "1") +
               " value " + std::to_string(value) + " text " + DumpQuotedMac(text) + "\n";
    }
}

} // namespace qiva::dlg
