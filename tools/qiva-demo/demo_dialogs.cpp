#include "tools/qiva-demo/demo_dialogs.h"

#include <cstdio>
#include <string>

#include "toolkit/controls/controls.h"
#include "toolkit/core/memory.h"
#include "toolkit/core/resources.h"
#include "toolkit/core/state_dump.h"
#include "toolkit/dialogs/dialogs.h"
#include "toolkit/graphics/quickdraw.h"
#include "tools/qiva-demo/demo_menus.h"

namespace {

constexpr std::int16_t kDialogsMenu = 150;
constexpr std::int16_t kAlertID = 128, kDialogID = 129;
enum : std::int16_t { kCheckBox = 7, kFirstRadio = 8, kLastRadio = 10, kScrollBar = 11 };
WindowPtr const kInFront = reinterpret_cast<WindowPtr>(-1);

ControlHandle ControlItem(DialogPtr dialog, std::int16_t item) {
    std::int16_t type = 0;
    Handle h = nullptr;
    Rect box{};
    GetDItem(dialog, item, &type, &h, &box);
    return (type & 0x7F) >= ctrlItem && (type & 0x7F) <= ctrlItem + resCtrl
               ? reinterpret_cast<ControlHandle>(h)
               : nullptr;
}

// The scroll bar steps by one on its arrows and by five on its track, while the button is held.
void StepScrollBar(ControlHandle control, std::int16_t part) {
    int step = 0;
    switch (part) {
    case inUpButton:
        step = -1;
        break;
    case inDownButton:
        step = 1;
        break;
    case inPageUp:
        step = -5;
        break;
    case inPageDown:
        step = 5;
        break;
    default:
        return;
    }
    SetCtlValue(control, static_cast<std::int16_t>(GetCtlValue(control) + step));
}

// Clicks on the scroll bar are tracked here, with the stepping action; the rest is the standard filter's.
Boolean DialogFilter(DialogPtr dialog, EventRecord* event, std::int16_t* itemHit) {
    if (event->what == mouseDown && FrontWindow() == dialog) {
        GrafPtr saved = nullptr;
        GetPort(&saved);
        SetPort(dialog);
        Point local = event->where;
        GlobalToLocal(&local);
        ControlHandle control = nullptr;
        const std::int16_t part =
            PtInRect(local, &dialog->portRect) ? FindControl(local, dialog, &control) : std::int16_t{0};
        const bool scroll = part != 0 && control == ControlItem(dialog, kScrollBar);
        if (scroll) TrackControl(control, local, part == inThumb ? nullptr : &StepScrollBar);
        SetPort(saved);
        if (scroll) {
            *itemHit = kScrollBar;
            return true;
        }
    }
    return qiva::StandardFilter(dialog, event, itemHit);
}

void WriteItemValues(DialogPtr dialog) {
    const std::int16_t count = GetNbItemInDialog(kDialogID);
    for (std::int16_t item = 1; item <= count; ++item) {
        std::int16_t type = 0;
        Handle h = nullptr;
        Rect box{};
        GetDItem(dialog, item, &type, &h, &box);
        int value = 0;
        std::string text;
        if (ControlHandle c = ControlItem(dialog, item)) {
            value = GetCtlValue(c);
            char title[256];
            GetCTitle(c, title);
            text = title;
        } else if ((type & 0x7F) == statText || (type & 0x7F) == editText) {
            char itemText[256];
            GetIText(h, itemText);
            text = itemText;
        }
        std::printf("value %d %d %s\n", item, value, qiva::DumpQuotedMac(text).c_str());
    }
}

void ShowAlert() {
    ParamText("Return", "Escape", nullptr, nullptr);
    const std::int16_t item = NoteAlert(kAlertID, nullptr);
    std::printf("alert %d %d\n", kAlertID, item);
    std::fflush(stdout);
}

void ShowDialog() {
    DialogPtr dialog = GetNewDialog(kDialogID, nullptr, kInFront);
    if (!dialog) {
        std::printf("dialog %d -1\n", kDialogID);
        std::fflush(stdout);
        return;
    }
    GrafPtr saved = nullptr;
    GetPort(&saved);
    SetPort(dialog);
    QivaSetValBouton(dialog, kFirstRadio, 1);
    std::int16_t item = 0;
    for (;;) {
        ModalDialog(&DialogFilter, &item);
        if (item == ok || item == cancel || item < 0) break;
        if (item == kCheckBox)
            QivaSetValBouton(dialog, item, static_cast<std::int16_t>(!QivaGetValBouton(dialog, item)));
        if (item >= kFirstRadio && item <= kLastRadio)
            for (std::int16_t radio = kFirstRadio; radio <= kLastRadio; ++radio)
                QivaSetValBouton(dialog, radio, radio == item ? 1 : 0);
    }
    std::printf("dialog %d %d\n", kDialogID, item);
    WriteItemValues(dialog);
    std::fflush(stdout);
    DisposeDialog(dialog);
    SetPort(saved);
}

} // namespace

void DemoDialogsStart() {
    InitDialogs(nullptr);
    if (OpenResFile("QIVADEMO.RSR") < 0) std::fprintf(stderr, "qiva-demo: QIVADEMO.RSR not found\n");
}

void DemoDialogsMenus() {
    MenuHandle menu = NewMenu(kDialogsMenu, "Dialogs");
    AppendMenu(menu, "Alert\xC9/1;Dialog\xC9/2");
    demo::AddMenu(menu, [](std::int16_t item) {
        if (item == 1) ShowAlert();
        if (item == 2) ShowDialog();
    });
}
