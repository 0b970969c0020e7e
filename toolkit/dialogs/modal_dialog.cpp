// Running dialogs: ModalDialog with its standard filter and the Edit menu, IsDialogEvent,
// DialogSelect, and the edit commands on the active text item.

#include <algorithm>
#include <cctype>

#include "toolkit/controls/controls.h"
#include "toolkit/core/error_box.h"
#include "toolkit/core/memory.h"
#include "toolkit/dialogs/dialog_internal.h"
#include "toolkit/graphics/quickdraw.h"
#include "toolkit/managers/scrap.h"
#include "toolkit/menus/menus.h"

namespace qiva::dlg {

namespace {

constexpr std::uint8_t kReturnKeyCode = 0x24, kEnterKeyCode = 0x4C;

// The application's Edit menu: the bar menu whose item 3 has the command key X.
MenuHandle EditMenu() {
    Handle bar = GetMenuBar();
    if (!bar) return nullptr;
    MenuHandle found = nullptr;
    const Size size = GetHandleSize(bar);
    const auto* header = reinterpret_cast<const MenuListHeader*>(*bar);
    const auto* entries = reinterpret_cast<const MenuListEntry*>(*bar + sizeof(MenuListHeader));
    const int room = static_cast<int>((size - static_cast<Size>(sizeof(MenuListHeader))) /
                                      static_cast<Size>(sizeof(MenuListEntry)));
    for (int i = 0; i < std::min<int>(header->lastMenu, room) && !found; ++i) {
        std::int16_t cmd = 0;
        if (!entries[i].menuOH || CountMItems(entries[i].menuOH) < 5) continue;
        GetItemCmd(entries[i].menuOH, 3, &cmd);
        if (std::toupper(cmd & 0xFF) == 'X') found = entries[i].menuOH;
    }
    DisposeHandle(bar);
    return found;
}

class PortSaver {
public:
    PortSaver() { GetPort(&saved_); }
    ~PortSaver() { SetPort(saved_); }
    PortSaver(const PortSaver&) = delete;
    PortSaver& operator=(const PortSaver&) = delete;

private:
    GrafPtr saved_ = nullptr;
};

} // namespace

} // namespace qiva::dlg

using namespace qiva;
using namespace qiva::dlg;

namespace qiva {

Boolean StandardFilter(DialogPtr dialog, EventRecord* event, std::int16_t* itemHit) {
    if (!event || !itemHit || event->what != keyDown) return false;
    const auto keyCode = static_cast<std::uint8_t>((event->message >> 8) & 0xFF);
    int ch = static_cast<int>(event->message & charCodeMask);
    if (keyCode == kReturnKeyCode || keyCode == kEnterKeyCode) {
        *itemHit = ok;
        return true;
    }
    if (ch == 27) {
        *itemHit = cancel;
        return true;
    }
    if (event->modifiers & cmdKey) {
        // Control with a letter may arrive as the letter's control code.
        if (ch >= 1 && ch <= 26) ch += 'A' - 1;
        ch = std::toupper(ch);
        if (ch != 'X' && ch != 'C' && ch != 'V') return false;
        const bool active = IsDialog(dialog) && HasActiveField(dialog);
        *itemHit = static_cast<std::int16_t>(active ? DPeek(dialog)->editField + 1 : 0);
        if (active) {
            if (ch == 'X') DlgCut(dialog);
            if (ch == 'C') DlgCopy(dialog);
            if (ch == 'V') DlgPaste(dialog);
        }
        return true;
    }
    // Our keyboard gives Return and Enter as their characters, without a key code.
    if (ch == 13 || ch == 3) {
        *itemHit = ok;
        return true;
    }
    return false;
}

} // namespace qiva

void ModalDialog(ModalFilterProcPtr filterProc, std::int16_t* itemHit) {
    std::int16_t scratch = 0;
    if (!itemHit) itemHit = &scratch;
    *itemHit = -1;
    WindowPtr front = FrontWindow();
    if (!front) {
        ShowErrorBox("Modal Dialog : pas de fenetre");
        return;
    }
    if (!IsDialog(front)) {
        ShowErrorBox("Modal Dialog :ce n'est pas un dialog");
        return;
    }
    PortSaver port;
    SetPort(front);
    const ModalFilterProcPtr filter = filterProc ? filterProc : &StandardFilter;
    HiliteMenu(0);
    if (!State().menuBarSaved) {
        SaveMenuEnableStates();
        State().menuBarSaved = true;
    }
    if (HasActiveField(front))
        if (MenuHandle edit = EditMenu()) {
            EnableItem(edit, 0);
            for (std::int16_t item : {3, 4, 5})
                EnableItem(edit, item);
        }
    for (;;) {
        DrawMenuBar();
        WindowPtr dialog = FrontWindow();
        if (IsDialog(dialog) && HasActiveField(dialog)) TEIdle(DPeek(dialog)->textH);
        EventRecord event{};
        if (!GetNextEvent(everyEvent, &event)) continue;
        if (filter(FrontWindow(), &event, itemHit)) return;
        if (IsDialogEvent(&event)) {
            DialogPtr hit = nullptr;
            if (DialogSelect(&event, &hit, itemHit)) return;
            continue;
        }
        if (event.what != mouseDown) continue;
        WindowPtr where = nullptr;
        if (FindWindow(event.where, &where) == inMenuBar) {
            const std::int32_t choice = MenuSelect(event.where);
            dialog = FrontWindow();
            if (choice != 0 && IsDialog(dialog)) {
                switch (choice & 0xFFFF) {
                case 3:
                    DlgCut(dialog);
                    break;
                case 4:
                    DlgCopy(dialog);
                    break;
                case 5:
                    DlgPaste(dialog);
                    break;
                default:
                    break;
                }
            }
            HiliteMenu(0);
        } else {
            ErrorBeep();
        }
    }
}

Boolean IsDialogEvent(const EventRecord* event) {
    if (!event) return false;
    WindowPtr window = nullptr;
    switch (event->what) {
    case updateEvt:
    case activateEvt:
        window = reinterpret_cast<WindowPtr>(event->message);
        break;
    case mouseDown: {
        const std::int16_t part = FindWindow(event->where, &window);
        if ((part != inContent && part != inDrag) || window != FrontWindow()) return false;
        break;
    }
    default:
        window = FrontWindow();
        break;
    }
    return IsDialog(window);
}

Boolean DialogSelect(const EventRecord* event, DialogPtr* dialogOut, std::int16_t* itemHit) {
    if (!event) return false;
    std::int16_t scratch = 0;
    if (!itemHit) itemHit = &scratch;
    WindowPtr window = event->what == updateEvt || event->what == activateEvt
                           ? reinterpret_cast<WindowPtr>(event->message)
                           : FrontWindow();
    if (dialogOut) *dialogOut = window;
    if (!IsDialog(window)) return false;
    PortSaver port;
    SetPort(window);
    const DialogPeek d = DPeek(window);
    const bool active = HasActiveField(window);
    if (active) TEIdle(d->textH);
    switch (event->what) {
    case mouseDown: {
        Point local = event->where;
        GlobalToLocal(&local);
        const std::vector<ItemEntry> items = Items(window);
        for (std::size_t i = 0; i < items.size(); ++i) {
            const ItemEntry& entry = items[i];
            if ((entry.type & itemDisable) || !PtInRect(local, &entry.rect)) continue;
            const int item = static_cast<int>(i + 1);
            if (entry.type == editText) {
                if (!active || d->editField != item - 1) SetActiveField(window, item - 1, false);
                TEClick(local, (event->modifiers & shiftKey) != 0, d->textH);
                *itemHit = static_cast<std::int16_t>(item);
                return true;
            }
            if (IsControlType(entry.type)) {
                auto c = reinterpret_cast<ControlHandle>(ItemHandle(window, item));
                if (!c || TrackControl(c, local, nullptr) == 0) return false;
            }
            *itemHit = static_cast<std::int16_t>(item);
            return true;
        }
        return false;
    }
    case keyDown:
    case autoKey: {
        if (!active) return false;
        const auto ch = static_cast<std::int16_t>(event->message & charCodeMask);
        if (ch == '\t')
            ActivateNextField(window);
        else
            TEKey(ch, d->textH);
        *itemHit = static_cast<std::int16_t>(d->editField + 1);
        return true;
    }
    case updateEvt:
        BeginUpdate(window);
        DrawDialog(window);
        EndUpdate(window);
        return false;
    case activateEvt:
        if (active) {
            if (event->modifiers & activeFlag)
                TEActivate(d->textH);
            else
                TEDeactivate(d->textH);
        }
        return false;
    default:
        return false;
    }
}

namespace {

template <typename Edit>
void EditActiveField(DialogPtr dialog, Edit edit) {
    if (!IsDialog(dialog) || !HasActiveField(dialog)) return;
    PortSaver port;
    SetPort(dialog);
    edit(DPeek(dialog)->textH);
}

} // namespace

void DlgCut(DialogPtr dialog) {
    EditActiveField(dialog, [](TEHandle te) {
        ZeroScrap();
        TECut(te);
        TEToScrap();
    });
}

void DlgCopy(DialogPtr dialog) {
    EditActiveField(dialog, [](TEHandle te) {
        ZeroScrap();
        TECopy(te);
        TEToScrap();
    });
}

void DlgPaste(DialogPtr dialog) {
    EditActiveField(dialog, [](TEHandle te) {
        TEFromScrap();
        TEPaste(te);
    });
}

void DlgDelete(DialogPtr dialog) {
    EditActiveField(dialog, [](TEHandle te) { TEDelete(te); });
}
