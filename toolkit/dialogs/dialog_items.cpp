// A dialog's items: building and freeing their handles, the active text item, and the calls that
// read and change items (GetDItem and its companions).

#include <algorithm>
#include <cstring>

#include "toolkit/controls/controls.h"
#include "toolkit/core/big_endian.h"
#include "toolkit/core/memory.h"
#include "toolkit/core/resources.h"
#include "toolkit/dialogs/dialog_internal.h"
#include "toolkit/graphics/quickdraw.h"

namespace qiva::dlg {

namespace {

std::int16_t DataWord(DialogPtr dialog, const ItemEntry& entry) {
    const auto bytes = ListBytes(dialog);
    if (entry.length < 2 || entry.dataOffset + 2 > bytes.size()) return 0;
    return LoadBigEndian<std::int16_t>(bytes.data() + entry.dataOffset);
}

Handle BuildItem(DialogPtr dialog, const ItemEntry& entry, std::size_t textLength) {
    const int type = BaseType(entry.type);
    if (type == statText || type == editText) {
        const auto bytes = ListBytes(dialog);
        const std::size_t n = std::min(textLength, bytes.size() - std::min(bytes.size(), entry.dataOffset));
        Handle h = NewHandle(static_cast<Size>(n));
        if (h && n) std::memcpy(*h, bytes.data() + entry.dataOffset, n);
        return h;
    }
    if (type >= ctrlItem && type < ctrlItem + resCtrl) {
        const auto bytes = ListBytes(dialog);
        const std::string title(
            reinterpret_cast<const char*>(bytes.data() + entry.dataOffset),
            std::min(textLength, bytes.size() - std::min(bytes.size(), entry.dataOffset)));
        const std::int16_t proc = static_cast<std::int16_t>(type - ctrlItem);
        ControlHandle c =
            NewControl(dialog, &entry.rect, title.c_str(), true, 0, 0, proc == btnCtrl ? 0 : 1, proc, 0);
        // A disabled item's control is inactive; the window is not shown yet, so nothing is drawn.
        if (c && (entry.type & itemDisable)) (*c)->contrlHilite = 255;
        return reinterpret_cast<Handle>(c);
    }
    if (type == ctrlItem + resCtrl) {
        const std::int16_t id = DataWord(dialog, entry);
        if (!GetResourceChecked(MakeResType("CNTL"), id)) return nullptr;
        return reinterpret_cast<Handle>(GetNewControl(id, dialog));
    }
    if (type == iconItem) {
        const std::int16_t id = DataWord(dialog, entry);
        if (CIconHandle icon = GetCIcon(id)) {
            SetItemType(dialog, entry, static_cast<std::uint8_t>(entry.type + 1));
            return reinterpret_cast<Handle>(icon);
        }
        Handle h = GetResourceChecked(MakeResType("ICON"), id);
        if (h) DetachResource(h);
        return h;
    }
    if (type == picItem) {
        Handle h = GetResourceChecked(MakeResType("PICT"), DataWord(dialog, entry));
        if (h) DetachResource(h);
        return h;
    }
    return nullptr;
}

} // namespace

void BuildItems(DialogPtr dialog, const std::vector<std::uint8_t>& lengths) {
    const std::vector<ItemEntry> items = Items(dialog);
    for (std::size_t i = 0; i < items.size(); ++i) {
        const std::size_t length = i < lengths.size() ? lengths[i] : items[i].length;
        SetItemHandle(dialog, static_cast<int>(i + 1), BuildItem(dialog, items[i], length));
    }
}

void FreeItems(DialogPtr dialog) {
    const std::vector<ItemEntry> items = Items(dialog);
    for (std::size_t i = 0; i < items.size(); ++i) {
        const int item = static_cast<int>(i + 1);
        Handle h = ItemHandle(dialog, item);
        SetItemHandle(dialog, item, nullptr);
        if (!h) continue;
        const int type = BaseType(items[i].type);
        if (type == iconItem + 1)
            DisposeCIcon(reinterpret_cast<CIconHandle>(h));
        else if (type == statText || type == editText || type == iconItem || type == picItem)
            DisposeHandle(h);
        // Controls go with the window; a user item holds a procedure.
    }
}

bool HasActiveField(DialogPtr dialog) {
    const DialogPeek d = DPeek(dialog);
    const DialogInfo* info = InfoOf(dialog);
    return d->textH && d->editField >= 0 && (!info || (*d->textH)->hText != info->spareText);
}

void SetActiveField(DialogPtr dialog, int field, bool selectAll) {
    const DialogPeek d = DPeek(dialog);
    const TEHandle te = d->textH;
    if (!te) return;
    GrafPtr saved = nullptr;
    GetPort(&saved);
    SetPort(dialog);
    TEDeactivate(te);
    ItemEntry entry;
    Handle h = field >= 0 && ItemOf(dialog, field + 1, entry) ? ItemHandle(dialog, field + 1) : nullptr;
    if (h) {
        (*te)->hText = h;
        (*te)->teLength = static_cast<std::uint16_t>(std::min<Size>(GetHandleSize(h), 32767));
        (*te)->destRect = entry.rect;
        (*te)->viewRect = entry.rect;
        d->editField = static_cast<std::int16_t>(field);
    } else {
        DialogInfo* info = InfoOf(dialog);
        if (info && info->spareText) {
            SetHandleSize(info->spareText, 0);
            (*te)->hText = info->spareText;
        }
        (*te)->teLength = 0;
        d->editField = -1;
    }
    TECalText(te);
    // Through TESetSelect, which also places the insertion point TextEdit scrolls to.
    (*te)->selStart = (*te)->selEnd = 0;
    TESetSelect(0, selectAll ? (*te)->teLength : 0, te);
    if (d->editField >= 0 && d->window.visible && FrontWindow() == dialog) TEActivate(te);
    SetPort(saved);
}

void ActivateNextField(DialogPtr dialog) {
    const std::vector<ItemEntry> items = Items(dialog);
    SetActiveField(dialog, NextEditField(items, DPeek(dialog)->editField), true);
}

} // namespace qiva::dlg

using namespace qiva;
using namespace qiva::dlg;

void GetDItem(DialogPtr dialog, std::int16_t itemNo, std::int16_t* itemType, Handle* item, Rect* box) {
    ItemEntry entry;
    if (!dialog || !ItemOf(dialog, std::max<int>(itemNo, 1), entry)) {
        if (item) *item = nullptr;
        return;
    }
    if (itemType) *itemType = entry.type;
    if (item) *item = ItemHandle(dialog, std::max<int>(itemNo, 1));
    if (box) *box = entry.rect;
}

void SetDItem(DialogPtr dialog, std::int16_t itemNo, std::int16_t itemType, Handle item, const Rect* box) {
    ItemEntry entry;
    if (!dialog || !ItemOf(dialog, itemNo, entry)) return;
    SetItemType(dialog, entry, static_cast<std::uint8_t>(itemType));
    SetItemHandle(dialog, itemNo, item);
    if (box) StoreItemRect(ListBytes(dialog), entry, *box);
}

void GetIText(Handle item, char* text) {
    if (!text) return;
    std::size_t n = 0;
    if (item && *item) {
        n = static_cast<std::size_t>(std::clamp<Size>(GetHandleSize(item), 0, 255));
        std::memcpy(text, *item, n);
    }
    text[n] = '\0';
}

void SetIText(Handle item, const char* text) {
    if (!item || !text) return;
    int itemNo = 0;
    DialogPtr dialog = DialogOfHandle(item, &itemNo);
    ItemEntry entry;
    // A control's, an icon's or a picture's handle is not a text to replace.
    if (dialog && (!ItemOf(dialog, itemNo, entry) ||
                   (BaseType(entry.type) != statText && BaseType(entry.type) != editText)))
        return;
    const std::size_t n = std::strlen(text);
    SetHandleSize(item, static_cast<Size>(n));
    if (MemError() != noErr) return;
    if (n) std::memcpy(*item, text, n);
    if (!dialog) return;
    const DialogPeek d = DPeek(dialog);
    GrafPtr saved = nullptr;
    GetPort(&saved);
    SetPort(dialog);
    if (HasActiveField(dialog) && d->editField == itemNo - 1) {
        const TEHandle te = d->textH;
        (*te)->teLength = static_cast<std::uint16_t>(std::min<std::size_t>(n, 32767));
        TECalText(te);
        (*te)->selStart = (*te)->selEnd = 0;
        TESetSelect((*te)->teLength, (*te)->teLength, te);
        if (d->window.visible) {
            BackColor(whiteColor);
            EraseRect(&entry.rect);
            TEUpdate(&entry.rect, te);
        }
    } else if (d->window.visible) {
        DrawItem(dialog, itemNo, entry);
    }
    SetPort(saved);
}

void SelIText(DialogPtr dialog, std::int16_t itemNo, std::int16_t strtSel, std::int16_t endSel) {
    ItemEntry entry;
    if (!dialog || !ItemOf(dialog, itemNo, entry) || BaseType(entry.type) != editText ||
        IsHiddenRect(entry.rect))
        return;
    const DialogPeek d = DPeek(dialog);
    if (!HasActiveField(dialog) || d->editField != itemNo - 1) SetActiveField(dialog, itemNo - 1, false);
    GrafPtr saved = nullptr;
    GetPort(&saved);
    SetPort(dialog);
    TESetSelect(strtSel, endSel, d->textH);
    SetPort(saved);
}

namespace {

// The area an item covers on the face: an editable text's frame lies 3 pixels outside it.
Rect ItemArea(const ItemEntry& entry) {
    Rect r = entry.rect;
    if (BaseType(entry.type) == editText) InsetRect(&r, -3, -3);
    return r;
}

void MoveItem(DialogPtr dialog, std::int16_t itemNo, bool hide) {
    ItemEntry entry;
    if (!dialog || !ItemOf(dialog, itemNo, entry) || IsHiddenRect(entry.rect) == hide) return;
    GrafPtr saved = nullptr;
    GetPort(&saved);
    SetPort(dialog);
    const Rect shown =
        hide ? entry.rect
             : Rect{entry.rect.top, static_cast<std::int16_t>(entry.rect.left - kHiddenOffset),
                    entry.rect.bottom, static_cast<std::int16_t>(entry.rect.right - kHiddenOffset)};
    Rect moved = shown;
    if (hide) OffsetRect(&moved, kHiddenOffset, 0);
    StoreItemRect(ListBytes(dialog), entry, moved);
    if (IsControlType(entry.type)) {
        if (auto c = reinterpret_cast<ControlHandle>(ItemHandle(dialog, itemNo)))
            hide ? HideControl(c) : ShowControl(c);
    } else {
        ItemEntry at = entry;
        at.rect = shown;
        Rect area = ItemArea(at);
        if (hide && DPeek(dialog)->window.visible) {
            // The update that follows draws the items only; the face under a hidden one is cleared now.
            BackColor(kDialogGrey);
            EraseRect(&area);
            BackColor(whiteColor);
        }
        InvalRect(&area);
    }
    const DialogPeek d = DPeek(dialog);
    if (hide && HasActiveField(dialog) && d->editField == itemNo - 1) ActivateNextField(dialog);
    SetPort(saved);
}

} // namespace

void HideDItem(DialogPtr dialog, std::int16_t itemNo) {
    MoveItem(dialog, itemNo, true);
}

void ShowDItem(DialogPtr dialog, std::int16_t itemNo) {
    MoveItem(dialog, itemNo, false);
}

std::int16_t FindDItem(DialogPtr dialog, Point thePt) {
    const std::vector<ItemEntry> items = Items(dialog);
    for (std::size_t i = 0; i < items.size(); ++i)
        if (PtInRect(thePt, &items[i].rect)) return static_cast<std::int16_t>(i);
    return -1;
}
