#pragma once
// The board's offscreen ports: a port record from the Memory Manager opened on a buffer of its own.
// A mask port is an ordinary buffer port: the masked copy reads its white pixels as "not copied".

#include "toolkit/graphics/quickdraw_types.h"

// A port on a new width × height buffer, or null (nothing left allocated). The current port is kept.
GrafPtr NewOffscreen(int width, int height);
GrafPtr NewMaskOffscreen(int width, int height);
// Closes the port and frees its record; null is ignored.
void DisposeOffscreen(GrafPtr port);
// Copies `rect` of the source's buffer to the same rectangle of the destination (an offscreen port
// or a window); an empty rectangle copies nothing. The current port is kept.
void CopyOffscreen(GrafPtr source, GrafPtr destination, const Rect* rect);
