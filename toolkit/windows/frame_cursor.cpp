// The sizing cursors over the frame of a resizable front window.

#include "toolkit/core/cursor.h"
#include "toolkit/core/settings.h"
#include "toolkit/windows/window_geometry.h"
#include "toolkit/windows/wm_state.h"

namespace qiva {

FrameCursor FrameCursorFor(Point mouse) {
    WindowPeek w = Peek(FrontWindow());
    if (!w || !(w->spareFlag & kResizableByFrame)) return FrameCursor::None;
    const DocumentParts parts = DocumentGeometry(GlobalContentRect(w), BorderWidth());
    switch (FrameZone(mouse, (*w->strucRgn)->rgnBBox, parts.growBox, BorderWidth())) {
    case 0:
        return FrameCursor::None;
    case 1:
    case 4:
        return FrameCursor::Horizontal;
    case 2:
    case 8:
        return FrameCursor::Vertical;
    case 3:
    case 12:
        return FrameCursor::Falling;
    case 6:
    case 9:
        return FrameCursor::Rising;
    default:
        return FrameCursor::Other;
    }
}

} // namespace qiva
