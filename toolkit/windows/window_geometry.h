#pragma once
// The geometry of the window frames, without state: the parts of a document window, the frame
// zones of a resizable one and the structure rectangles of the other kinds.

#include "toolkit/core/geometry.h"

namespace qiva {

inline constexpr int kTitleBarHeight = 19;

struct DocumentParts {
    Rect structure; // content grown by the border width, and the title bar above
    Rect titleBar;
    Rect closeBox;
    Rect zoomBox;
    Rect growBox; // inside the content, at its bottom-right corner
};
DocumentParts DocumentGeometry(const Rect& content, int borderWidth);

// Frame zone of a point over a resizable window: 0 outside the frame band; 12 in the grow box;
// otherwise the sum of 1 (near the left edge), 2 (top), 4 (right), 8 (bottom).
int FrameZone(Point pt, const Rect& structure, const Rect& growBox, int borderWidth);

// The other kinds: the modal dialog frame (8 pixels all round), the plain box (1 pixel) and the
// box with a shadow (1 pixel, and 2 more right and below).
Rect DialogStructure(const Rect& content);
Rect PlainBoxStructure(const Rect& content);
Rect ShadowBoxStructure(const Rect& content);

// Whether a point lies in a rectangle (left and top edges in, right and bottom out).
bool Inside(Point pt, const Rect& r);

// A rectangle from its edges in the order people read them.
constexpr Rect MakeRect(int left, int top, int right, int bottom) {
    return Rect{static_cast<std::int16_t>(top), static_cast<std::int16_t>(left),
                static_cast<std::int16_t>(bottom), static_cast<std::int16_t>(right)};
}

} // namespace qiva
