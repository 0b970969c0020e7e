#pragma once
// Ports on offscreen buffers: a port that owns a buffer of the buffer table, and the screen, the
// template port's buffer that mirrors the window.

#include "toolkit/graphics/buffer_table.h"
#include "toolkit/graphics/quickdraw_types.h"

namespace qiva {

// Creates the screen buffer and the template port of that size (or recreates them when the size
// changes); false when the buffer cannot be made.
bool OpenScreen(int width, int height);
// Frees every buffer and the tables (the end of the graphics layer).
void CloseBuffers();

} // namespace qiva

// Opens the port on a new buffer of width × height pixels (contents 0), makes it current.
bool NewBufferPort(GrafPtr port, int width, int height);
void DisposeBufferPort(GrafPtr port);
