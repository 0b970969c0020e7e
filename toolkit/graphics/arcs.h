#pragma once
// Arcs of ovals with their verbs, through the port's arcProc. Angles are in degrees clockwise from
// twelve o'clock; a negative arcAngle runs counter-clockwise, a whole turn or more is the whole oval.
// The frame is the arc of the oval's outline; the filled verbs fill the wedge the arc makes with the
// oval's centre.

#include "toolkit/graphics/quickdraw_types.h"

void FrameArc(const Rect* r, int startAngle, int arcAngle);
void PaintArc(const Rect* r, int startAngle, int arcAngle);
void EraseArc(const Rect* r, int startAngle, int arcAngle);
void InvertArc(const Rect* r, int startAngle, int arcAngle);
void FillArc(const Rect* r, int startAngle, int arcAngle, const Pattern* pat);

// The standard arcProc: recorded into an open picture, then drawn.
void StdArc(GrafVerb verb, const Rect* r, int startAngle, int arcAngle);
