// The toolkit's modeless dialogues: dialogs with callbacks whose events the toolkit routes itself,
// as the Window Manager hands them over from GetNextEvent.

#include <cstdio>

#include "toolkit/controls/controls.h"
#include "toolkit/core/error_box.h"
#include "toolkit/core/memory.h"
#include "toolkit/dialogs/dialog_internal.h"
#include "toolkit/graphics/quickdraw.h"

namespace qiva::dlg {

namespace {

WindowPtr const kInFront = reinterpret_cast<WindowPtr>(-1);

// Only a record this layer opened as a dialogue is read as one, so that a plain dialog passed by
// mistake is never read past its end.
QivaDialogue* AsDialogue(WindowPtr window) {
    const DialogInfo* info = window ? InfoOf(window) : nullptr;
    if (!info || info->role != DialogRole::Modeless) return nullptr;
    auto* dialogue = reinterpret_cast<QivaDialogue*>(window);
    return dialogue->marker == kDialogueMarker ? dialogue : nullptr;
}

void UpdateDialogue(QivaDialogue* dialogue) {
    WindowPtr window = &dialogue->dialog.window.port;
    // The update region is emptied whatever the callback decides, or the update would come back
    // for ever.
    BeginUpdate(window);
    if (!dialogue->update || dialogue->update(dialogue)) DrawDialog(window);
    EndUpdate(window);
}

bool ModalDialogInFront() {
    WindowPtr front = FrontWindow();
    return IsDialog(front) && !AsDialogue(front);
}

bool RouteMouseDown(const EventRecord& event) {
    WindowPtr window = nullptr;
    const std::int16_t part = FindWindow(event.where, &window);
    QivaDialogue* dialogue = AsDialogue(window);
    if (!dialogue || (ModalDialogInFront() && window != FrontWindow())) return false;
    if (window != FrontWindow()) {
        SelectWindow(window);
        return true;
    }
    switch (part) {
    case inContent:
        qiva_gere_dialogue(&event, dialogue);
        break;
    case inDrag: {
        Rect limit = qd.screenBits.bounds;
        limit.top = static_cast<std::int16_t>(limit.top + GetMBarHeight());
        InsetRect(&limit, 4, 4);
        DragWindow(window, event.where, &limit);
        break;
    }
    case inGoAway:
        if (TrackGoAway(window, event.where)) qiva_ferme_dialogue(dialogue);
        break;
    default:
        break;
    }
    return true;
}

} // namespace

bool RouteDialogueEvent(EventRecord& event) {
    switch (event.what) {
    case updateEvt:
        if (QivaDialogue* dialogue = AsDialogue(reinterpret_cast<WindowPtr>(event.message))) {
            UpdateDialogue(dialogue);
            return true;
        }
        return false;
    case activateEvt:
        if (AsDialogue(reinterpret_cast<WindowPtr>(event.message))) {
            qiva_activate_dialogue(&event, (event.modifiers & activeFlag) != 0);
            return true;
        }
        return false;
    case keyDown:
    case autoKey:
        if (QivaDialogue* dialogue = AsDialogue(FrontWindow())) {
            qiva_gere_dialogue(&event, dialogue);
            return true;
        }
        return false;
    case mouseDown:
        return RouteMouseDown(event);
    default:
        return false;
    }
}

} // namespace qiva::dlg

using namespace qiva;
using namespace qiva::dlg;

QivaDialogue* QivaOuvreDialogueAcc(std::int16_t dialogID, DialogueProc open, DialogueItemProc itemHit,
                                   DialogueProc close, DialogueProc update, DialogueEventProc event,
                                   void* free1, void* free2, DialogueActivateProc activate) {
    auto* dialogue = reinterpret_cast<QivaDialogue*>(NewPtrClear(sizeof(QivaDialogue)));
    if (!dialogue) return nullptr;
    if (!GetNewDialog(dialogID, dialogue, kInFront)) {
        ShowErrorBox("QivaOuvreDialogueAcc:Ressource non trouvée.");
        DisposePtr(reinterpret_cast<Ptr>(dialogue));
        return nullptr;
    }
    WindowPtr window = &dialogue->dialog.window.port;
    SetDialogRole(window, DialogRole::Modeless);
    dialogue->marker = kDialogueMarker;
    dialogue->dialogID = dialogID;
    dialogue->open = open;
    dialogue->itemHit = itemHit;
    dialogue->close = close;
    dialogue->update = update;
    dialogue->event = event;
    dialogue->free1 = free1;
    dialogue->free2 = free2;
    dialogue->activate = activate;
    if (open) open(dialogue);
    ShowWindow(window);
    SelectWindow(window);
    return dialogue;
}

Boolean qiva_ferme_dialogue(QivaDialogue* dialogue) {
    if (!dialogue || !AsDialogue(&dialogue->dialog.window.port)) {
        ShowErrorBox("qiva_ferme_dialogue:Ce n'est pas une fenetre dialoGUE.");
        return false;
    }
    if (dialogue->close && !dialogue->close(dialogue)) return false;
    WindowPtr window = &dialogue->dialog.window.port;
    dialogue->marker = 0;
    CloseDialog(window);
    DisposeHandle(dialogue->dialog.items);
    DisposePtr(reinterpret_cast<Ptr>(dialogue));
    return true;
}

Boolean qiva_gere_dialogue(const EventRecord* event, QivaDialogue* dialogue) {
    if (!dialogue || !AsDialogue(&dialogue->dialog.window.port)) {
        ShowErrorBox("qiva_gere_dialogue:Ce n'est pas une fenetre dialoGUE.");
        return true;
    }
    if (!event || (dialogue->event && dialogue->event(dialogue, event))) return true;
    DialogPtr hit = nullptr;
    std::int16_t item = 0;
    if (DialogSelect(event, &hit, &item) && dialogue->itemHit) dialogue->itemHit(dialogue, item);
    return true;
}

void qiva_activate_dialogue(const EventRecord* event, Boolean active) {
    QivaDialogue* dialogue = event ? AsDialogue(reinterpret_cast<WindowPtr>(event->message)) : nullptr;
    if (!dialogue) {
        ShowErrorBox("qiva_activate_dialogue:Ce n'est pas une fenetre dialoGUE.");
        return;
    }
    DialogPtr hit = nullptr;
    std::int16_t item = 0;
    DialogSelect(event, &hit, &item);
    if (dialogue->activate) dialogue->activate(dialogue, active);
}

namespace {

ControlHandle ButtonItem(DialogPtr dialog, std::int16_t item, const char* call) {
    std::int16_t type = 0;
    Handle h = nullptr;
    Rect box{};
    GetDItem(dialog, item, &type, &h, &box);
    const int base = type & 0x7F;
    if (!h || base < ctrlItem || base > ctrlItem + resCtrl) {
        char message[96];
        std::snprintf(message, sizeof message, "%s: l'item %d n'est pas RadioBouton (%d)", call, item, type);
        ShowErrorBox(message);
        return nullptr;
    }
    return reinterpret_cast<ControlHandle>(h);
}

} // namespace

Boolean QivaSetValBouton(DialogPtr dialog, std::int16_t item, std::int16_t value) {
    ControlHandle c = ButtonItem(dialog, item, "QivaSetValBouton");
    if (!c) return false;
    SetCtlValue(c, value);
    return true;
}

std::int16_t QivaGetValBouton(DialogPtr dialog, std::int16_t item) {
    ControlHandle c = ButtonItem(dialog, item, "QivaGetValBouton");
    return c ? GetCtlValue(c) : 0;
}
