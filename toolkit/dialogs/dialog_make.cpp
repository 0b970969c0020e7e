// Starting the Dialog Manager, making dialogs from templates or from arguments, and closing them.

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "toolkit/core/error_box.h"
#include "toolkit/core/events.h"
#include "toolkit/core/memory.h"
#include "toolkit/core/resources.h"
#include "toolkit/core/sound.h"
#include "toolkit/core/startup.h"
#include "toolkit/core/state_dump.h"
#include "toolkit/dialogs/dialog_internal.h"
#include "toolkit/dialogs/dialog_templates.h"
#include "toolkit/dialogs/settings_panels.h"
#include "toolkit/dialogs/splash.h"
#include "toolkit/graphics/quickdraw.h"
#include "toolkit/menus/menus.h"

namespace qiva::dlg {

namespace {

void DefaultSound(std::int16_t) {
    SysBeep(10);
}

// The area a position word places a template in: the front window's content, or the screen below
// the menu bar.
Rect ReferenceArea(std::uint16_t position) {
    if (PositionOverFrontWindow(position))
        if (WindowPtr front = FrontWindow()) return GlobalContentRect(Peek(front));
    Rect screen = qd.screenBits.bounds;
    screen.top = static_cast<std::int16_t>(screen.top + GetMBarHeight());
    return screen;
}

std::vector<std::uint8_t> BytesOf(Handle h) {
    if (!h || !*h) return {};
    const auto* p = reinterpret_cast<const std::uint8_t*>(*h);
    return {p, p + GetHandleSize(h)};
}

} // namespace

Rect PlaceTemplate(const Rect& bounds, std::uint16_t position) {
    return PlaceByPosition(bounds, position, ReferenceArea(position));
}

} // namespace qiva::dlg

using namespace qiva;
using namespace qiva::dlg;

void InitDialogs(ResumeProcPtr resumeProc) {
    State().resume = resumeProc;
    State().sound = &DefaultSound;
    for (std::string& s : State().params)
        s.clear();
    RegisterStateDump("dialogs", &WriteDialogDump);
    WindowManagerHooks().dialogueEvent = &RouteDialogueEvent;
    WindowManagerHooks().settingsPopup = &SettingsPopup;
    // The start-up panel comes with the first dialog manager of a run a person started.
    if (TakeSplash()) ShowSplash();
}

void ErrorSound(SoundProcPtr soundProc) {
    State().sound = soundProc;
}

void SetDAFont(std::int16_t fontNum) {
    State().font = fontNum;
}

void ParamText(const char* param0, const char* param1, const char* param2, const char* param3) {
    const char* params[4] = {param0, param1, param2, param3};
    for (std::size_t i = 0; i < 4; ++i)
        State().params[i] = params[i] ? std::string(params[i], strnlen(params[i], 255)) : std::string();
}

Handle GetResourceChecked(ResType type, std::int16_t id) {
    Handle h = GetResource(type, id);
    if (!h) {
        char message[64];
        std::snprintf(message, sizeof message, "Ressource id %d non trouvée", id);
        ShowErrorBox(message);
    }
    return h;
}

DialogPtr NewDialog(void* dStorage, const Rect* boundsRect, const char* title, Boolean visible,
                    std::int16_t procID, WindowPtr behind, Boolean goAwayFlag, std::int32_t refCon,
                    Handle items) {
    auto* record = static_cast<DialogRecord*>(dStorage);
    const bool owned = record == nullptr;
    if (owned) record = reinterpret_cast<DialogRecord*>(NewPtrClear(sizeof(DialogRecord)));
    if (!record) return nullptr;
    auto release = [&] {
        if (owned) DisposePtr(reinterpret_cast<Ptr>(record));
    };
    WindowPtr window = boundsRect
                           ? NewWindow(record, boundsRect, title, false, procID, behind, goAwayFlag, refCon)
                           : nullptr;
    if (!window) {
        ShowErrorBox("NEWDIALOG : fenetre non cree");
        release();
        return nullptr;
    }
    // An empty handle is an empty list; only a missing one is refused.
    if (!items) {
        ShowErrorBox("DLOG: DITL inconnu");
        CloseWindow(window);
        release();
        return nullptr;
    }
    DialogPeek d = DPeek(window);
    d->window.windowKind = dialogKind;
    d->items = items;
    d->textH = nullptr;
    d->editField = 0;
    d->editOpen = 0;
    d->aDefItem = ok;
    DialogInfo& info = AddInfo(window);
    info = DialogInfo{};
    info.ownsRecord = owned;

    // The list is converted in place once; damaged items past the block are dropped.
    std::vector<std::uint8_t> list = BytesOf(items);
    const BuiltList built = BuildItemList(list);
    SetHandleSize(items, static_cast<Size>(list.size()));
    if (MemError() == noErr) std::memcpy(*items, list.data(), list.size());
    d->itemHandles = NewHandleClear(static_cast<Size>(std::max(1, built.count) * sizeof(Handle)));
    BuildItems(window, built.lengths);

    GrafPtr saved = nullptr;
    GetPort(&saved);
    SetPort(window);
    TextFont(State().font);
    const Rect none{0, 0, 0, 0};
    d->textH = TENew(&none, &none);
    if (d->textH) info.spareText = (*d->textH)->hText;
    ActivateNextField(window);
    d->window.contentColor = kDialogGrey;
    d->window.contentColor2 = whiteColor;
    BackColor(whiteColor);
    SetPort(saved);
    if (visible) {
        ShowWindow(window);
        DrawDialog(window);
    }
    return window;
}

DialogPtr GetNewDialog(std::int16_t dialogID, void* dStorage, WindowPtr behind) {
    Handle h = GetResource(MakeResType("DLOG"), dialogID);
    if (!h || !*h) return nullptr;
    const auto parsed = ParseDialogTemplate(BytesOf(h));
    ReleaseResource(h);
    if (!parsed) return nullptr;
    DialogTemplate t = *parsed;
    if (t.position) t.bounds = PlaceTemplate(t.bounds, *t.position);
    Handle items = GetResource(MakeResType("DITL"), t.itemsID);
    if (!items) {
        ShowErrorBox("ALRT: DITL inconnu");
        return nullptr;
    }
    DetachResource(items);
    DialogPtr dialog = NewDialog(dStorage, &t.bounds, t.title.c_str(), t.visible, t.procID, behind, t.goAway,
                                 t.refCon, items);
    if (!dialog) {
        DisposeHandle(items);
        return nullptr;
    }
    if (DialogInfo* info = InfoOf(dialog)) info->id = dialogID;
    ApplyWindowIcons(dialog, dialogID);
    return dialog;
}

void CloseDialog(DialogPtr dialog) {
    if (!IsDialog(dialog)) return;
    DialogPeek d = DPeek(dialog);
    FreeItems(dialog);
    if (d->textH) {
        if (const DialogInfo* info = InfoOf(dialog); info && info->spareText)
            (*d->textH)->hText = info->spareText;
        TEDispose(d->textH);
        d->textH = nullptr;
    }
    DisposeHandle(d->itemHandles);
    d->itemHandles = nullptr;
    CloseWindow(dialog);
    ForgetInfo(dialog);
    if (State().menuBarSaved) {
        State().menuBarSaved = false;
        RestoreMenuEnableStates();
    }
}

void DisposeDialog(DialogPtr dialog) {
    if (!IsDialog(dialog)) return;
    const DialogInfo* info = InfoOf(dialog);
    const bool owned = info && info->ownsRecord;
    CloseDialog(dialog);
    DialogPeek d = DPeek(dialog);
    DisposeHandle(d->items);
    d->items = nullptr;
    if (owned) DisposePtr(reinterpret_cast<Ptr>(dialog));
}

std::int16_t GetNbItemInDialog(std::int16_t dialogID) {
    Handle h = GetResource(MakeResType("DLOG"), dialogID);
    const auto t = h ? ParseDialogTemplate(BytesOf(h)) : std::nullopt;
    Handle items = t ? GetResource(MakeResType("DITL"), t->itemsID) : nullptr;
    if (!items || GetHandleSize(items) < 2) {
        ShowErrorBox("GetNbItemInDialog:Ressource non trouvée.");
        return -1;
    }
    const auto* p = reinterpret_cast<const std::uint8_t*>(*items);
    return static_cast<std::int16_t>(static_cast<std::int16_t>((p[0] << 8) | p[1]) + 1);
}
