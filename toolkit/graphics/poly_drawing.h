#pragma once
// Drawing polygons with their verbs, through the port's polyProc: FramePoly draws the polygon's
// edges with the pen, the filled verbs fill the region its closed outline encloses.

#include "toolkit/graphics/polygons.h"
#include "toolkit/graphics/quickdraw_types.h"

void FramePoly(PolyHandle poly);
void PaintPoly(PolyHandle poly);
void ErasePoly(PolyHandle poly);
void InvertPoly(PolyHandle poly);
void FillPoly(PolyHandle poly, const Pattern* pat);

// The standard polyProc: recorded into an open picture, then drawn.
void StdPoly(GrafVerb verb, PolyHandle poly);
