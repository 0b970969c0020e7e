#include "toolkit/graphics/std_procs.h"

#include "toolkit/graphics/arcs.h"
#include "toolkit/graphics/copy_bits.h"
#include "toolkit/graphics/curves.h"
#include "toolkit/graphics/pict_record.h"
#include "toolkit/graphics/poly_drawing.h"
#include "toolkit/graphics/region_drawing.h"
#include "toolkit/graphics/shapes.h"
#include "toolkit/graphics/text.h"

void SetStdProcs(QDProcs* procs) {
    if (procs == nullptr) return;
    *procs = QDProcs{StdText, StdLine, StdRect,    StdRRect,  StdOval, StdArc, StdPoly,
                     StdRgn,  StdBits, StdComment, StdTxMeas, nullptr, nullptr};
}
