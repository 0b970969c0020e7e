#pragma once
// Drawing regions: the four fills band by band with their verbs, and FrameRgn's outline, each through
// the port's rgnProc.

#include "toolkit/graphics/quickdraw_types.h"
#include "toolkit/graphics/shapes.h"

// The region's outline inside it: its pixels that have a neighbour above, below, left or right
// outside it, drawn with a 1 × 1 black pen in patCopy whatever the port's pen (a rectangular region
// is framed as FrameRect frames its box).
void FrameRgn(RgnHandle rgn);
void PaintRgn(RgnHandle rgn);
void EraseRgn(RgnHandle rgn);
void InvertRgn(RgnHandle rgn);
void FillRgn(RgnHandle rgn, const Pattern* pat);

// The standard rgnProc: recorded into an open picture, then drawn.
void StdRgn(GrafVerb verb, RgnHandle rgn);

namespace qiva {

// Fills the region with the verb's pen, band by band, without recording it.
void FillRegionWith(Verb verb, RgnHandle rgn);

} // namespace qiva
