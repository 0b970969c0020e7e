#pragma once
// OpenRgn and CloseRgn: a region is recorded as a picture of its outline and rebuilt by playing that
// picture into a span fill that collects pixels instead of drawing them.

#include "toolkit/graphics/quickdraw_types.h"

void OpenRgn();
void CloseRgn(RgnHandle dstRgn);
