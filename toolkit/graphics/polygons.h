#pragma once
// Polygons: OpenPoly starts collecting the end points of LineTo on the current port into a new
// polygon, drawing nothing, until ClosePoly; FramePoly draws the polygon's edges with the pen.

#include "toolkit/graphics/quickdraw_types.h"

// polySize bytes in all, polyBBox, then the points; (polySize - 10) / 4 points.
struct Polygon {
    std::int16_t polySize;
    Rect polyBBox;
    Point polyPoints[1];
};
using PolyPtr = Polygon*;
using PolyHandle = PolyPtr*;

PolyHandle OpenPoly();
void ClosePoly();
void KillPoly(PolyHandle poly);
void FramePoly(PolyHandle poly);
void OffsetPoly(PolyHandle poly, int dh, int dv);

namespace qiva {

// Called by LineTo before it draws: while a polygon is open on `port`, the segment's end point (and
// for the first segment its start) is appended to it and true is returned: the line is not drawn.
bool CollectPolygonLine(GrafPtr port, Point from, Point to);

// Called by ClosePort: a polygon open on the port stops collecting.
void ForgetPolygonPort(GrafPtr port);

// The points a polygon's handle really holds (its polySize, limited to its block).
int PolygonPointCount(PolyHandle poly);

} // namespace qiva
