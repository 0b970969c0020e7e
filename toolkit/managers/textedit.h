#pragma once
// TextEdit: edit records holding a text, its selection and its lines within a destination
// rectangle, drawn in their port through QuickDraw's text calls, answering keys and clicks. Plain
// records have one font, size and face; styled records (TEStyleNew) carry style runs.

#include <cstdint>

#include "toolkit/core/mac_types.h"
#include "toolkit/graphics/quickdraw_types.h"

struct TERec;
using TEPtr = TERec*;
using TEHandle = TEPtr*;
using CharsHandle = Handle;

// True when the character at charPos of text separates words.
using WordBreakProcPtr = bool (*)(Ptr text, std::int16_t charPos);
// Called while the mouse is held in TEClick; false ends the tracking.
using TEClickLoopProcPtr = bool (*)(TEPtr te);
using HighHookProcPtr = void (*)(const Rect* r, TEPtr te);
using CaretHookProcPtr = void (*)(const Rect* r, TEPtr te);

// The edit record, in the classic field order.
struct TERec {
    Rect destRect; // wrapping rectangle, local coordinates of inPort
    Rect viewRect; // what is shown; drawing is clipped to it
    Rect selRect;  // work rectangle of highlighting
    std::int16_t lineHeight;
    std::int16_t fontAscent;
    Point selPoint; // pen position of the insertion point
    std::uint16_t selStart;
    std::uint16_t selEnd;
    std::int16_t active;
    WordBreakProcPtr wordBreak;
    TEClickLoopProcPtr clikLoop;
    std::int32_t clickTime;
    Point clickLoc;
    std::int32_t caretTime; // tick of the next caret toggle
    std::int16_t caretState;
    std::int16_t just;
    std::uint16_t teLength;
    Handle hText;
    std::int16_t recalBack;
    std::int16_t recalLines;
    std::int16_t clikStuff;
    std::int16_t crOnly;
    std::int16_t txFont;
    std::uint8_t txFace;
    std::uint8_t filler;
    std::int16_t txMode;
    std::int16_t txSize; // -1 in a styled record
    // The style record of a styled record: the classic record kept it in txFont and txFace, which
    // cannot hold a 64-bit handle.
    Handle hStyle;
    GrafPtr inPort;
    HighHookProcPtr highHook; // not used
    CaretHookProcPtr caretHook;
    std::int16_t nLines;
    std::uint16_t lineStarts[1]; // nLines + 1 entries, the last the text's length
};

// Justification.
enum : std::int16_t { teJustLeft = 0, teJustCenter = 1, teJustRight = -1, teForceLeft = -2 };

// The longest text a record holds.
constexpr int kTEMaxLength = 32767;

void TEInit();
TEHandle TENew(const Rect* destRect, const Rect* viewRect);
void TEDispose(TEHandle te);
void TESetText(const void* text, std::int32_t length, TEHandle te);
CharsHandle TEGetText(TEHandle te);
void TESetSelect(std::int32_t selStart, std::int32_t selEnd, TEHandle te);
void TEActivate(TEHandle te);
void TEDeactivate(TEHandle te);
void TEIdle(TEHandle te);
void TEKey(std::int16_t key, TEHandle te);
void TEClick(Point pt, bool extend, TEHandle te);
void TEUpdate(const Rect* rUpdate, TEHandle te);
void TEScroll(std::int16_t dh, std::int16_t dv, TEHandle te);
void TECut(TEHandle te);
void TECopy(TEHandle te);
void TEPaste(TEHandle te);
void TEDelete(TEHandle te);
void TEInsert(const void* text, std::int32_t length, TEHandle te);
void TECalText(TEHandle te);
void TESetJust(std::int16_t just, TEHandle te);
void TETextBox(const void* text, std::int32_t length, const Rect* box, std::int16_t just);

// The TextEdit scrap, and its exchange with the desk scrap.
Handle TEScrapHandle();
std::int32_t TEGetScrapLength();
void TESetScrapLength(std::int32_t length);
OSErr TEToScrap();
OSErr TEFromScrap();

namespace qiva {

// The overwrite mode key 5 switches (typing replaces the next character).
bool TEOverwrite();
void SetTEOverwrite(bool on);

// Every record alive, oldest first (the state dump walks those of the front window).
int TERecordCount();
TEHandle TERecordAt(int index);

} // namespace qiva
