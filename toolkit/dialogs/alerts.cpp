// Alerts: a dialog made from an 'ALRT' template and its item list, with an optional alert icon and
// the default button framed, run with ModalDialog until an item is chosen.

#include <cstring>
#include <vector>

#include "toolkit/core/big_endian.h"
#include "toolkit/core/error_box.h"
#include "toolkit/core/memory.h"
#include "toolkit/core/resources.h"
#include "toolkit/dialogs/dialog_internal.h"
#include "toolkit/dialogs/dialog_templates.h"
#include "toolkit/graphics/quickdraw.h"

namespace qiva::dlg {

namespace {

constexpr int kNoIcon = -1;
WindowPtr const kInFront = reinterpret_cast<WindowPtr>(-1);

// The raw list cut to the items that fit in it, with one icon item appended: (20, 10)–(52, 42).
bool AppendIconItem(Handle items, int iconKind) {
    std::vector<std::uint8_t> list(reinterpret_cast<std::uint8_t*>(*items),
                                   reinterpret_cast<std::uint8_t*>(*items) + GetHandleSize(items));
    int kept = 0;
    std::size_t at = 2;
    const int announced = list.size() >= 2 ? LoadBigEndian<std::int16_t>(list.data()) + 1 : 0;
    for (int i = 0; i < announced; ++i) {
        if (list.size() - at < kItemHeaderSize || list.size() - at - kItemHeaderSize < list[at + 13]) break;
        const std::size_t length = list[at + 13];
        at = std::min(list.size(), at + kItemHeaderSize + length + (length & 1));
        ++kept;
    }
    list.resize(at + (at & 1), 0);
    BigEndianWriter w(list);
    w.Write<std::uint32_t>(0);
    for (std::int16_t v : {10, 20, 42, 52})
        w.Write<std::int16_t>(v);
    w.Write<std::uint8_t>(iconItem);
    w.Write<std::uint8_t>(2);
    w.Write<std::int16_t>(static_cast<std::int16_t>(iconKind));
    if (list.size() < 2) return false;
    StoreBigEndian<std::int16_t>(list.data(), static_cast<std::int16_t>(kept));
    SetHandleSize(items, static_cast<Size>(list.size()));
    if (MemError() != noErr) return false;
    std::memcpy(*items, list.data(), list.size());
    return true;
}

std::int16_t RunAlert(std::int16_t alertID, ModalFilterProcPtr filterProc, int iconKind) {
    Handle h = GetResourceChecked(MakeResType("ALRT"), alertID);
    if (!h) return -1;
    const auto parsed = ParseAlertTemplate(
        {reinterpret_cast<const std::uint8_t*>(*h), static_cast<std::size_t>(GetHandleSize(h))});
    ReleaseResource(h);
    if (!parsed) return -1;
    AlertTemplate t = *parsed;
    if (t.position) t.bounds = PlaceTemplate(t.bounds, *t.position);
    Handle items = GetResource(MakeResType("DITL"), t.itemsID);
    if (!items) {
        ShowErrorBox("ALRT: DITL inconnu");
        return 0;
    }
    DetachResource(items);
    if (iconKind != kNoIcon) AppendIconItem(items, iconKind);
    GrafPtr saved = nullptr;
    GetPort(&saved);
    DialogPtr dialog =
        NewDialog(nullptr, &t.bounds, "", false, dBoxProc, kInFront, false, kAlertRefCon, items);
    if (!dialog) {
        DisposeHandle(items);
        return -1;
    }
    DialogInfo& info = AddInfo(dialog);
    info.id = alertID;
    info.role = DialogRole::Alert;
    DPeek(dialog)->aDefItem = static_cast<std::int16_t>(DefaultItemOfStages(t.stages));
    ShowWindow(dialog);
    SelectWindow(dialog);
    SetPort(dialog);
    DrawDialog(dialog);
    const int count = CountItems(dialog);
    std::int16_t item = 0;
    do {
        ModalDialog(filterProc, &item);
        // An alert without items would otherwise never end: any answer closes it.
    } while (item != -1 && count > 0 && (item < 1 || item > count));
    SetPort(saved);
    DisposeDialog(dialog);
    return item;
}

} // namespace

void DrawDefaultFrame(DialogPtr dialog) {
    ItemEntry entry;
    if (!ItemOf(dialog, DPeek(dialog)->aDefItem, entry) || IsHiddenRect(entry.rect)) return;
    Rect r = entry.rect;
    InsetRect(&r, -4, -4);
    PenNormal();
    ForeColor(blackColor);
    FrameRect(&r);
    // A two-pixel bevel inside the black line: light above and left, shaded below and right.
    for (int k = 1; k <= 2; ++k) {
        const int left = r.left + k, top = r.top + k, right = r.right - 1 - k, bottom = r.bottom - 1 - k;
        ForeColor(whiteColor);
        MoveTo(left, bottom);
        LineTo(left, top);
        LineTo(right, top);
        ForeColor(160);
        MoveTo(right, top + 1);
        LineTo(right, bottom);
        LineTo(left + 1, bottom);
    }
    ForeColor(blackColor);
}

} // namespace qiva::dlg

using namespace qiva::dlg;

std::int16_t Alert(std::int16_t alertID, ModalFilterProcPtr filterProc) {
    return RunAlert(alertID, filterProc, kNoIcon);
}

std::int16_t StopAlert(std::int16_t alertID, ModalFilterProcPtr filterProc) {
    return RunAlert(alertID, filterProc, stopIcon);
}

std::int16_t NoteAlert(std::int16_t alertID, ModalFilterProcPtr filterProc) {
    return RunAlert(alertID, filterProc, noteIcon);
}

std::int16_t CautionAlert(std::int16_t alertID, ModalFilterProcPtr filterProc) {
    return RunAlert(alertID, filterProc, cautionIcon);
}
