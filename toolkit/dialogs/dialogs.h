#pragma once
// The Dialog Manager: dialogs and alerts built from 'DLOG', 'ALRT' and 'DITL' resources, drawn on the
// dialog grey with white text fields, run modally with ModalDialog or routed as modeless dialogues,
// their items read and changed with GetDItem, SetIText and their companions; and colour icons.
// Strings crossing the interface are zero-terminated, in the Macintosh character set.

#include <cstdint>

#include "toolkit/core/events.h"
#include "toolkit/core/mac_types.h"
#include "toolkit/managers/textedit.h"
#include "toolkit/windows/windows.h"

using DialogPtr = WindowPtr;

// The window record, then the dialog's own fields in the classic order. Item handles are native
// pointers, which the list's 4-byte slots cannot hold: they live in `itemHandles`, one per item.
struct DialogRecord {
    WindowRecord window;
    Handle items;           // the item list (toolkit/dialogs/item_list.h)
    TEHandle textH;         // shared by the editable text items
    std::int16_t editField; // active text item − 1
    std::int16_t editOpen;
    std::int16_t aDefItem; // the default item an alert frames (1 for dialogs)
    Handle itemHandles;    // Handle[count]
};
using DialogPeek = DialogRecord*;

// Item types.
constexpr std::int16_t userItem = 0;
constexpr std::int16_t ctrlItem = 4;
constexpr std::int16_t btnCtrl = 0;
constexpr std::int16_t chkCtrl = 1;
constexpr std::int16_t radCtrl = 2;
constexpr std::int16_t resCtrl = 3;
constexpr std::int16_t statText = 8;
constexpr std::int16_t editText = 16;
constexpr std::int16_t iconItem = 32;
constexpr std::int16_t picItem = 64;
constexpr std::int16_t itemDisable = 128;

constexpr std::int16_t ok = 1;
constexpr std::int16_t cancel = 2;
constexpr std::int16_t stopIcon = 0;
constexpr std::int16_t noteIcon = 1;
constexpr std::int16_t cautionIcon = 2;

// The filter ModalDialog and the alerts call before they handle an event; true ends the dialog with
// *itemHit.
using ModalFilterProcPtr = Boolean (*)(DialogPtr dialog, EventRecord* event, std::int16_t* itemHit);
using ResumeProcPtr = void (*)();
using SoundProcPtr = void (*)(std::int16_t sound);
// What a user item's handle holds: a procedure drawing it.
using UserItemProcPtr = void (*)(DialogPtr dialog, std::int16_t item);

void InitDialogs(ResumeProcPtr resumeProc);
void ErrorSound(SoundProcPtr soundProc);
void SetDAFont(std::int16_t fontNum);

DialogPtr GetNewDialog(std::int16_t dialogID, void* dStorage, WindowPtr behind);
DialogPtr NewDialog(void* dStorage, const Rect* boundsRect, const char* title, Boolean visible,
                    std::int16_t procID, WindowPtr behind, Boolean goAwayFlag, std::int32_t refCon,
                    Handle items);
void CloseDialog(DialogPtr dialog);
void DisposeDialog(DialogPtr dialog);
void DrawDialog(DialogPtr dialog);

void ModalDialog(ModalFilterProcPtr filterProc, std::int16_t* itemHit);
Boolean IsDialogEvent(const EventRecord* event);
Boolean DialogSelect(const EventRecord* event, DialogPtr* dialog, std::int16_t* itemHit);

std::int16_t Alert(std::int16_t alertID, ModalFilterProcPtr filterProc);
std::int16_t StopAlert(std::int16_t alertID, ModalFilterProcPtr filterProc);
std::int16_t NoteAlert(std::int16_t alertID, ModalFilterProcPtr filterProc);
std::int16_t CautionAlert(std::int16_t alertID, ModalFilterProcPtr filterProc);

void ParamText(const char* param0, const char* param1, const char* param2, const char* param3);

void GetDItem(DialogPtr dialog, std::int16_t itemNo, std::int16_t* itemType, Handle* item, Rect* box);
void SetDItem(DialogPtr dialog, std::int16_t itemNo, std::int16_t itemType, Handle item, const Rect* box);
void GetIText(Handle item, char* text); // room for 256 bytes
void SetIText(Handle item, const char* text);
void SelIText(DialogPtr dialog, std::int16_t itemNo, std::int16_t strtSel, std::int16_t endSel);
void HideDItem(DialogPtr dialog, std::int16_t itemNo);
void ShowDItem(DialogPtr dialog, std::int16_t itemNo);
std::int16_t FindDItem(DialogPtr dialog, Point thePt);
std::int16_t GetNbItemInDialog(std::int16_t dialogID);

void DlgCut(DialogPtr dialog);
void DlgCopy(DialogPtr dialog);
void DlgPaste(DialogPtr dialog);
void DlgDelete(DialogPtr dialog);

// GetResource, and the error box "Ressource id N non trouvée" when it fails.
Handle GetResourceChecked(ResType type, std::int16_t id);

// Colour icons: the published 'cicn' read into one block (toolkit/dialogs/color_icons.h).
struct CIcon {
    PixMap iconPMap;
    BitMap iconMask;
    BitMap iconBMap;
    Handle iconData;              // the three image sizes: mask, icon and pixel bytes
    std::int16_t iconMaskData[1]; // the mask bits, then the icon bits, then the pixels
};
using CIconPtr = CIcon*;
using CIconHandle = CIconPtr*;

CIconHandle GetCIcon(std::int16_t iconID);
// Scaled to the rectangle; one wider or taller than 2048 pixels draws nothing.
void PlotCIcon(const Rect* theRect, CIconHandle theIcon);
void DisposeCIcon(CIconHandle theIcon);
void PlotIcon(const Rect* theRect, Handle theIcon);

// The toolkit's modeless dialogues: a dialog record with callbacks, routed by the toolkit.
struct QivaDialogue;
using DialogueProc = Boolean (*)(QivaDialogue* dialogue);
using DialogueItemProc = void (*)(QivaDialogue* dialogue, std::int16_t item);
using DialogueEventProc = Boolean (*)(QivaDialogue* dialogue, const EventRecord* event);
using DialogueActivateProc = void (*)(QivaDialogue* dialogue, Boolean active);

struct QivaDialogue {
    DialogRecord dialog;
    std::int32_t marker; // kDialogueMarker while open
    std::int16_t dialogID;
    DialogueProc open;
    DialogueItemProc itemHit;
    DialogueProc update;     // false: the toolkit skips its drawing
    DialogueProc close;      // false refuses
    DialogueEventProc event; // true consumes the event
    void* free1;
    void* free2;
    DialogueActivateProc activate;
};

QivaDialogue* QivaOuvreDialogueAcc(std::int16_t dialogID, DialogueProc open, DialogueItemProc itemHit,
                                   DialogueProc close, DialogueProc update, DialogueEventProc event,
                                   void* free1, void* free2, DialogueActivateProc activate);
Boolean qiva_ferme_dialogue(QivaDialogue* dialogue);
Boolean qiva_gere_dialogue(const EventRecord* event, QivaDialogue* dialogue);
void qiva_activate_dialogue(const EventRecord* event, Boolean active);
Boolean QivaSetValBouton(DialogPtr dialog, std::int16_t item, std::int16_t value);
std::int16_t QivaGetValBouton(DialogPtr dialog, std::int16_t item);

namespace qiva {

inline constexpr std::int32_t kDialogueMarker = 0x314516;
inline constexpr std::int16_t kDialogGrey = 224;
inline constexpr std::int32_t kAlertRefCon = 0x1234;

inline DialogPeek DPeek(DialogPtr d) {
    return reinterpret_cast<DialogPeek>(d);
}

// ModalDialog's filter when the caller gives none: Return and Enter give item 1, Escape item 2, and
// the command key with X, C or V cuts, copies or pastes in the active text item.
Boolean StandardFilter(DialogPtr dialog, EventRecord* event, std::int16_t* itemHit);

// A window that is a dialog (windowKind 2).
bool IsDialog(WindowPtr window);

// The ParamText strings as they are now.
const char* ParamTextString(int index);

// How the dialog in front was opened, for the state dump: modal (ModalDialog runs on it), alert or
// modeless.
enum class DialogRole { Modal, Modeless, Alert };
void SetDialogRole(DialogPtr dialog, DialogRole role);
DialogRole RoleOfDialog(DialogPtr dialog);

// Ends the Dialog Manager's state (tests): ParamText, the sound procedure, the saved menu bar.
void ResetDialogs();

} // namespace qiva
