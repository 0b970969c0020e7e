#pragma once
// The Resource Manager: resource files opened into a chain (newest first), searched from the current
// file towards the older ones, their resources loaded into handles that belong to the file until
// detached or released. Names go in and out zero-terminated, in the Macintosh character set.

#include <cstdint>

#include "toolkit/core/mac_types.h"

constexpr OSErr resNotFound = -192;
constexpr OSErr resFNotFound = -193;

// The file's reference number, or -1 not found or no memory, -2 header unreadable, -3 no memory for
// the map, -4 map unreadable or malformed. A name already open returns its number and changes nothing.
std::int16_t OpenResFile(const char* name);
void CloseResFile(std::int16_t refNum);
void UseResFile(std::int16_t refNum);
std::int16_t CurResFile();
OSErr ResError();
void SetResLoad(Boolean load);

Handle GetResource(ResType type, std::int16_t id);  // the current file, then the older ones
Handle Get1Resource(ResType type, std::int16_t id); // the current file only
Handle GetNamedResource(ResType type, const char* name);
Handle GetIndResource(ResType type, std::int16_t index); // from 1, over every open file, newest first
std::int16_t CountResources(ResType type);
std::int16_t Count1Resources(ResType type);

void ReleaseResource(Handle h); // detaches and disposes
void DetachResource(Handle h);  // the handle becomes the caller's
std::int16_t HomeResFile(Handle h);
void GetResInfo(Handle h, std::int16_t* id, ResType* type, char* name); // name: room for 256 bytes

namespace qiva {

// Disposes the loaded data of every resource of the type in every open file (the memory recovery
// sequence releases the fonts this way: opening a file registers that with the Memory Manager).
void ReleaseResourcesOfType(ResType type);

// The newest open file's number, 0 when none is open.
std::int16_t NewestResFile();

// Opens WLANG.RSR, then WINIT.RSR, through the directory search. A missing one is reported in the
// error box and ends the program with status 0.
void OpenSystemResourceFiles();

} // namespace qiva
