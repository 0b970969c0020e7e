#pragma once
// The Scrap Manager: the toolkit's clipboard, typed entries in one relocatable block that can be
// moved out to the scrap file in the toolkit's system directory and back, and exchanged as text
// with the host clipboard when the main window is deactivated and activated.

#include <cstdint>

#include "toolkit/core/mac_types.h"

// The scrap's state, in the classic field order.
struct ScrapStuff {
    std::int32_t scrapSize;  // bytes of entries
    Handle scrapHandle;      // the entries while the scrap is in memory
    std::int16_t scrapCount; // raised by every ZeroScrap
    std::int16_t scrapState; // -1 never initialised, 1 in memory, 0 moved out to the file
    const char* scrapName;   // the scrap file's name
};
using PScrapStuff = ScrapStuff*;

constexpr std::int32_t noScrapErr = -100;
constexpr std::int32_t noTypeErr = -102;
constexpr std::int32_t dskFulErr = -34;

PScrapStuff InfoScrap();
std::int32_t ZeroScrap();
std::int32_t PutScrap(std::int32_t length, ResType theType, const void* source);
// The data length of the first entry of theType (copied into hDest unless it is null), noTypeErr
// when there is none; *offset is where its data starts in the scrap, -1 when not found.
std::int32_t GetScrap(Handle hDest, ResType theType, std::int32_t* offset);
std::int32_t UnloadScrap();
std::int32_t LoadScrap();

namespace qiva {

// The host clipboard's text into the scrap (activation) and the scrap's text to it (deactivation).
// Nothing happens when the clipboard holds no text or the scrap holds none.
void ImportClipboard();
void ExportClipboard();

// Lets the shell call the two exchanges at activation changes.
void InstallScrapExchange();

// Back to the never-initialised state, the block freed (tests).
void ResetScrap();

} // namespace qiva
