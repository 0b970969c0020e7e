#include "toolkit/windows/window_geometry.h"

namespace qiva {

DocumentParts DocumentGeometry(const Rect& c, int bw) {
    DocumentParts p;
    p.structure = MakeRect(c.left - bw, c.top - kTitleBarHeight - bw, c.right + bw, c.bottom + bw);
    p.titleBar = MakeRect(c.left, c.top - kTitleBarHeight, c.right, c.top);
    p.closeBox = MakeRect(c.left + 2, c.top - 17, c.left + 18, c.top - 3);
    p.zoomBox = MakeRect(c.right - 36, c.top - 17, c.right - 20, c.top - 3);
    p.growBox = MakeRect(c.right - 15, c.bottom - 15, c.right, c.bottom);
    return p;
}

bool Inside(Point pt, const Rect& r) {
    return pt.h >= r.left && pt.h < r.right && pt.v >= r.top && pt.v < r.bottom;
}

int FrameZone(Point pt, const Rect& s, const Rect& growBox, int bw) {
    if (Inside(pt, growBox)) return 12;
    if (!Inside(pt, s)) return 0;
    const Rect inner = MakeRect(s.left + bw, s.top + bw, s.right - bw, s.bottom - bw);
    if (Inside(pt, inner)) return 0;
    const int reach = bw + 20;
    int zone = 0;
    if (pt.h - s.left < reach) zone |= 1;
    if (pt.v - s.top < reach) zone |= 2;
    if (s.right - 1 - pt.h < reach) zone |= 4;
    if (s.bottom - 1 - pt.v < reach) zone |= 8;
    return zone;
}

Rect DialogStructure(const Rect& c) {
    return MakeRect(c.left - 8, c.top - 8, c.right + 8, c.bottom + 8);
}

Rect PlainBoxStructure(const Rect& c) {
    return MakeRect(c.left - 1, c.top - 1, c.right + 1, c.bottom + 1);
}

Rect ShadowBoxStructure(const Rect& c) {
    return MakeRect(c.left - 1, c.top - 1, c.right + 3, c.bottom + 3);
}

} // namespace qiva
