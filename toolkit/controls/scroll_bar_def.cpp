// The scroll bar definition function: drawing from the system pictures, the hit test, and the
// thumb's drag with a grey outline.

#include <cstring>

#include "toolkit/controls/control_defs.h"
#include "toolkit/controls/control_drawing.h"
#include "toolkit/controls/scroll_bar_geometry.h"
#include "toolkit/core/error_box.h"
#include "toolkit/core/events.h"
#include "toolkit/windows/windows.h"

namespace qiva::controls {

namespace {

constexpr std::int32_t kOutsideSlop = static_cast<std::int32_t>(0x80008000u);

bool Active(const ControlRecord& r) {
    return r.contrlHilite < 254;
}

// The track between the arrows in a light grey weave, and the thumb on it when the bar is active.
void DrawTrackAndThumb(const ControlRecord& r, const scroll::Parts& parts, bool vertical) {
    const Rect& bar = r.contrlRect;
    const Rect track = vertical ? MakeRect(bar.left + 1, bar.top + 16, bar.right - 1, bar.bottom - 16)
                                : MakeRect(bar.left + 16, bar.top + 1, bar.right - 16, bar.bottom - 1);
    if (Active(r)) {
        ForeColor(kBackground);
        BackColor(kWhite);
        FillRect(&track, &qd.gray);
        if (!DrawSystemPicture(vertical ? kVerticalThumbPict : kHorizontalThumbPict, parts.thumb))
            DrawPlainThumb(parts.thumb);
    } else {
        Fill(track, kBackground);
    }
}

void DrawArrow(const ControlRecord& r, const scroll::Parts& parts, bool vertical, bool down) {
    const bool pressed = r.contrlHilite == (down ? inDownButton : inUpButton);
    const Rect& part = down ? parts.downArrow : parts.upArrow;
    const Rect where = vertical ? MakeRect(part.left, part.top, part.left + 15, part.top + 16)
                                : MakeRect(part.left, part.top, part.left + 16, part.top + 15);
    std::int16_t id =
        vertical ? (down ? kDownArrowPict : kUpArrowPict) : (down ? kRightArrowPict : kLeftArrowPict);
    if (pressed) --id;
    if (DrawSystemPicture(id, where)) return;
    const ArrowDirection direction = vertical ? (down ? ArrowDirection::Down : ArrowDirection::Up)
                                              : (down ? ArrowDirection::Right : ArrowDirection::Left);
    DrawPlainArrow(where, direction, pressed);
}

void Draw(ControlHandle c, std::intptr_t param) {
    const ControlRecord& r = **c;
    if (!r.contrlVis) return;
    const bool vertical = scroll::IsVertical(r.contrlRect);
    const scroll::Parts parts = scroll::BarParts(r.contrlRect, r.contrlValue, r.contrlMin, r.contrlMax);
    OwnerPort owner(c);
    DrawScope scope;
    if (param == inThumb) {
        DrawTrackAndThumb(r, parts, vertical);
    } else if (param == inUpButton || param == inDownButton) {
        DrawArrow(r, parts, vertical, param == inDownButton);
    } else {
        Frame(r.contrlRect, kBlack);
        DrawTrackAndThumb(r, parts, vertical);
        DrawArrow(r, parts, vertical, false);
        DrawArrow(r, parts, vertical, true);
    }
}

void ThumbLimits(ControlHandle c, std::intptr_t param) {
    auto* drag = reinterpret_cast<ThumbDragRecord*>(param);
    if (!drag) return;
    Point down;
    std::memcpy(&down, drag, sizeof down);
    const ControlRecord& r = **c;
    *drag = scroll::ThumbLimits(r.contrlRect, r.contrlValue, r.contrlMin, r.contrlMax, down);
}

void SetValueFromOffset(ControlHandle c, std::intptr_t param) {
    const Point offset = UnpackPoint(param);
    ControlRecord& r = **c;
    r.contrlValue =
        scroll::DraggedValue(r.contrlRect, r.contrlValue, r.contrlMin, r.contrlMax, offset.h, offset.v);
    Draw(c, inThumb);
}

// Drags an outline of the thumb when the mouse is on it; non-zero whenever it did.
std::int32_t DragThumb(ControlHandle c) {
    OwnerPort owner(c);
    Point mouse;
    GetMouse(&mouse);
    GlobalToLocal(&mouse);
    const ControlRecord& r = **c;
    if (scroll::HitPart(r.contrlRect, r.contrlValue, r.contrlMin, r.contrlMax, r.contrlHilite, mouse) !=
        inThumb)
        return 0;
    ThumbDragRecord drag{};
    std::memcpy(&drag, &mouse, sizeof mouse);
    ThumbLimits(c, reinterpret_cast<std::intptr_t>(&drag));
    // The drag works on the screen: the outline, the limits and the points go global.
    Point origin{0, 0};
    LocalToGlobal(&origin);
    Rect thumb = scroll::BarParts(r.contrlRect, r.contrlValue, r.contrlMin, r.contrlMax).thumb;
    OffsetRect(&thumb, origin.h, origin.v);
    OffsetRect(&drag.limitRect, origin.h, origin.v);
    OffsetRect(&drag.slopRect, origin.h, origin.v);
    Point start = mouse;
    LocalToGlobal(&start);
    RgnHandle outline = NewRgn();
    RectRgn(outline, &thumb);
    const std::int32_t moved =
        DragGrayRgn(outline, start, &drag.limitRect, &drag.slopRect, drag.axis, nullptr);
    DisposeRgn(outline);
    if (moved != kOutsideSlop) SetValueFromOffset(c, moved);
    return -1;
}

std::int32_t Handle(ControlHandle c, std::int16_t message, std::intptr_t param) {
    switch (message) {
    case drawCntl:
        Draw(c, param);
        return 0;
    case testCntl: {
        const ControlRecord& r = **c;
        return scroll::HitPart(r.contrlRect, r.contrlValue, r.contrlMin, r.contrlMax, r.contrlHilite,
                               UnpackPoint(param));
    }
    case calcCRgns:
        if (param) RectRgn(reinterpret_cast<RgnHandle>(param), &(*c)->contrlRect);
        return 0;
    case initCntl:
    case dispCntl:
    case autoTrack:
        return 0;
    case posCntl:
        SetValueFromOffset(c, param);
        return 0;
    case thumbCntl:
        ThumbLimits(c, param);
        return 0;
    case dragCntl:
        return DragThumb(c);
    default:
        ShowErrorBox("Vect Scroll Bar Code inconnu");
        return 0;
    }
}

} // namespace

std::int32_t ScrollBarDef(std::int16_t, ControlHandle c, std::int16_t message, std::intptr_t param) {
    // A bar whose range is empty acts as an inactive one whatever its hilite says.
    const std::uint8_t stored = (*c)->contrlHilite;
    const bool forced = (*c)->contrlMin == (*c)->contrlMax && stored < 254;
    if (forced) (*c)->contrlHilite = 255;
    const std::int32_t result = Handle(c, message, param);
    if (forced) (*c)->contrlHilite = stored;
    return result;
}

} // namespace qiva::controls
