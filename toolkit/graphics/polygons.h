#pragma once
// Polygons: OpenPoly starts collecting the end points of the lines drawn on the current port into a
// new polygon, drawing nothing, until ClosePoly (the standard lineProc hands them over).

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
void OffsetPoly(PolyHandle poly, int dh, int dv);

namespace qiva {

// Called by StdLine before it draws: while a polygon is open on `port`, the segment's end point (and
// for the first segment its start) is appended to it and true is returned: the line is not drawn.
bool CollectPolygonLine(GrafPtr port, Point from, Point to);

// Called by ClosePort: a polygon open on the port stops collecting.
void ForgetPolygonPort(GrafPtr port);

// The points a polygon's handle really holds (its polySize, limited to its block).
int PolygonPointCount(PolyHandle poly);
// Its first point (of PolygonPointCount).
Point* PolygonPoints(PolyHandle poly);

} // namespace qiva
