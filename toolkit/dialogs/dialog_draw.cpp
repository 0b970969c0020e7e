// Drawing a dialog: the grey face, white text fields, icons, pictures, user items and the controls.

#include <algorithm>
#include <string>

#include "toolkit/controls/controls.h"
#include "toolkit/core/memory.h"
#include "toolkit/dialogs/dialog_internal.h"
#include "toolkit/graphics/quickdraw.h"

namespace qiva::dlg {

namespace {

std::string TextOf(Handle h) {
    if (!h || !*h) return {};
    return std::string(*h, static_cast<std::size_t>(std::max<Size>(0, GetHandleSize(h))));
}

} // namespace

void DrawItem(DialogPtr dialog, int item, const ItemEntry& entry) {
    const int type = BaseType(entry.type);
    if (IsControlType(entry.type)) return; // the Control Manager draws them
    Rect area = entry.rect;
    if (type == editText) InsetRect(&area, -3, -3);
    Rect meets;
    if (!SectRect(&area, &dialog->portRect, &meets)) return;
    const Handle h = ItemHandle(dialog, item);
    const std::int16_t font = dialog->txFont, size = dialog->txSize;
    const std::uint8_t face = dialog->txFace;
    ForeColor(blackColor);
    switch (type) {
    case statText: {
        const std::string text = ExpandParamText(TextOf(h), State().params);
        BackColor(kDialogGrey);
        TETextBox(text.data(), static_cast<std::int32_t>(text.size()), &entry.rect, teJustLeft);
        break;
    }
    case editText: {
        FrameRect(&area);
        Rect field = area;
        InsetRect(&field, 1, 1);
        BackColor(whiteColor);
        EraseRect(&field);
        const DialogPeek d = DPeek(dialog);
        if (HasActiveField(dialog) && d->editField == item - 1) {
            TEUpdate(&entry.rect, d->textH);
        } else {
            const std::string text = TextOf(h);
            TETextBox(text.data(), static_cast<std::int32_t>(text.size()), &entry.rect, teJustLeft);
        }
        break;
    }
    case iconItem + 1:
        if (h) PlotCIcon(&entry.rect, reinterpret_cast<CIconHandle>(h));
        break;
    case iconItem:
        BackColor(kDialogGrey);
        if (h) PlotIcon(&entry.rect, h);
        break;
    case picItem:
        BackColor(kDialogGrey);
        if (h) DrawPicture(reinterpret_cast<PicHandle>(h), &entry.rect);
        break;
    case userItem:
        if (h) reinterpret_cast<UserItemProcPtr>(h)(dialog, static_cast<std::int16_t>(item));
        break;
    default:
        break;
    }
    BackColor(whiteColor);
    TextFont(font);
    TextSize(size);
    TextFace(face);
}

} // namespace qiva::dlg

using namespace qiva;
using namespace qiva::dlg;

void DrawDialog(DialogPtr dialog) {
    if (!IsDialog(dialog) || !DPeek(dialog)->window.visible) return;
    GrafPtr saved = nullptr;
    GetPort(&saved);
    SetPort(dialog);
    BackColor(kDialogGrey);
    const std::vector<ItemEntry> items = Items(dialog);
    for (std::size_t i = 0; i < items.size(); ++i)
        if (!IsControlType(items[i].type)) {
            DrawItem(dialog, static_cast<int>(i + 1), items[i]);
            BackColor(kDialogGrey);
        }
    DrawControls(dialog);
    if (const DialogInfo* info = InfoOf(dialog); info && info->role == DialogRole::Alert)
        DrawDefaultFrame(dialog);
    if (HasActiveField(dialog) && FrontWindow() == dialog) TEActivate(DPeek(dialog)->textH);
    BackColor(whiteColor);
    SetPort(saved);
}
