#pragma once
// SetStdProcs: a procedure table holding the standard bottlenecks, for a program that replaces some
// of them in its port's grafProcs and keeps the others.

#include "toolkit/graphics/quickdraw_types.h"

// Fills procs with StdText, StdLine, StdRect, StdRRect, StdOval, StdArc, StdPoly, StdRgn, StdBits,
// StdComment and StdTxMeas; getPicProc and putPicProc are left null (pictures live in memory).
void SetStdProcs(QDProcs* procs);
