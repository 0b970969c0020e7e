#pragma once
// Everything of QuickDraw that the graphics layer offers, in one include.

#include "toolkit/graphics/buffers.h"
#include "toolkit/graphics/copy_bits.h"
#include "toolkit/graphics/curves.h"
#include "toolkit/graphics/palette.h"
#include "toolkit/graphics/pictures.h"
#include "toolkit/graphics/polygons.h"
#include "toolkit/graphics/ports.h"
#include "toolkit/graphics/quickdraw_types.h"
#include "toolkit/graphics/rect_utils.h"
#include "toolkit/graphics/region_drawing.h"
#include "toolkit/graphics/region_recording.h"
#include "toolkit/graphics/regions.h"
#include "toolkit/graphics/shapes.h"
#include "toolkit/graphics/text.h"
