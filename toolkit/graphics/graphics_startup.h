#pragma once
// The start and the end of the graphics layer: InitGraf, the screen's size and highlight setting it
// is given beforehand, and the tables it builds (the colour table, the screen's PixMap).

#include "toolkit/graphics/quickdraw_types.h"

// Starts the graphics layer: the random seed, the palette (with the highlight setting given to
// qiva::SetHighlightSetting), the standard patterns, the procedure table and the screen buffer of
// the size given to qiva::SetScreenSize (640 × 400 by default).
void InitGraf(void* globals);

namespace qiva {

// Set before InitGraf by the start-up: the screen's size and the highlight colour setting
// ("Couleurs"/"CouleurInvert", three components 0-255).
void SetScreenSize(int width, int height);
void SetHighlightSetting(int red, int green, int blue);

// The palette's colour table as a handle (ctSeed 4, ctFlags 0, entry i of value i), made by InitGraf.
CTabHandle TheColorTable();
// The screen's PixMap description: the screen buffer, 8 bits per pixel, one component, 72 dpi.
const PixMap& ScreenPixMap();

// Ends the graphics layer: frees the buffers, the clip region and the tables; no port is current.
void CloseGraphics();

} // namespace qiva
