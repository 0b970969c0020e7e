// The rounded-corner document window: the document window's geometry and title bar inside a
// frame with rounded corners; it is dragged by its title bar and closed by its close box.

#include "toolkit/core/settings.h"
#include "toolkit/graphics/quickdraw.h"
#include "toolkit/windows/frame_colours.h"
#include "toolkit/windows/window_defs.h"
#include "toolkit/windows/window_geometry.h"
#include "toolkit/windows/wm_state.h"

namespace qiva {

namespace {

constexpr int kCorner = 16;

} // namespace

std::int32_t RoundedWindowDef(std::int16_t message, WindowPeek w, std::intptr_t param) {
    const Rect c = GlobalContentRect(w);
    const DocumentParts p = DocumentGeometry(c, BorderWidth());
    switch (message) {
    case wCalcRgns: {
        GrafPtr saved;
        GetPort(&saved);
        UseManagerPort(nullptr);
        OpenRgn();
        FrameRoundRect(&p.structure, kCorner, kCorner);
        CloseRgn(w->strucRgn);
        SetPort(saved);
        RectRgn(w->contRgn, &c);
        return 0;
    }
    case wDraw:
        if (param == 0) {
            PenSize(1, 1);
            RGBForeColor(&frame::kLightGrey);
            PaintRoundRect(&p.structure, kCorner, kCorner);
            RGBForeColor(&frame::kBlack);
            FrameRoundRect(&p.structure, kCorner, kCorner);
        }
        DrawTitleBoxes(w, c, static_cast<std::int32_t>(param));
        return 0;
    case wHit: {
        const Point pt = UnpackPoint(param);
        if (!PtInRgn(pt, w->strucRgn)) return wNoHit;
        if (w->hilited && w->goAwayFlag && Inside(pt, p.closeBox)) return wInGoAway;
        if (Inside(pt, c)) return wInContent;
        return wInDrag;
    }
    default:
        return 0;
    }
}

} // namespace qiva
