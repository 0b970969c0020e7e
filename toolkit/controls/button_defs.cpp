// The push button, check box and radio button definition functions, and the one an unknown
// definition number gets.

#include "toolkit/controls/control_defs.h"
#include "toolkit/controls/control_drawing.h"
#include "toolkit/core/error_box.h"

namespace qiva::controls {

namespace {

bool Inactive(const ControlRecord& r) {
    return r.contrlHilite >= 254;
}

void DrawPushButton(const ControlRecord& r) {
    const Rect& box = r.contrlRect;
    const bool pressed = r.contrlHilite != 0 && !Inactive(r);
    const Rect inside = MakeRect(box.left + 1, box.top + 1, box.right - 1, box.bottom - 1);
    Fill(box, pressed ? kGrey : kBackground);
    if (pressed) {
        // The title moves with the face, centred on the rectangle moved by two pixels.
        DrawTitle(r.contrlTitle, MakeRect(box.left + 2, box.top + 2, box.right, box.bottom), 0, true, kBlack);
    } else {
        DrawTitle(r.contrlTitle, box, 0, true, Inactive(r) ? kGrey : kBlack);
    }
    Frame(box, kBlack);
    if (pressed)
        Bevel(inside, kDarkGrey, kWhite);
    else
        Bevel(inside, kWhite, kGrey);
}

void DrawCheckOrRadio(const ControlRecord& r, bool radio) {
    const Rect& box = r.contrlRect;
    const bool on = (r.contrlValue & 1) != 0;
    const bool pressed = r.contrlHilite != 0 && !Inactive(r);
    const int off = (box.bottom - box.top - 12) / 2;
    Fill(box, kBackground);
    // Radio buttons sit one pixel higher than check boxes.
    const Rect mark = radio ? MakeRect(box.left + 2, box.top + off, box.left + 14, box.top + off + 12)
                            : MakeRect(box.left + 2, box.top + off + 1, box.left + 14, box.top + off + 13);
    if (radio) {
        if (!DrawSystemPicture(on ? kRadioOnPict : kRadioOffPict, mark)) DrawPlainRadio(mark, on);
    } else {
        if (!DrawSystemPicture(on ? kCheckBoxOnPict : kCheckBoxOffPict, mark)) DrawPlainCheckBox(mark, on);
    }
    // Held down, the mark's outline doubles.
    if (pressed) {
        const Rect inner = MakeRect(mark.left + 1, mark.top + 1, mark.right - 1, mark.bottom - 1);
        ForeColor(kBlack);
        if (radio)
            FrameOval(&inner);
        else
            FrameRect(&inner);
    }
    DrawTitle(r.contrlTitle, box, box.left + 18, false, Inactive(r) ? kGrey : kBlack);
}

bool Hits(const ControlRecord& r, std::intptr_t param) {
    const Point pt = UnpackPoint(param);
    return !Inactive(r) && PtInRect(pt, &r.contrlRect);
}

} // namespace

std::int32_t PushButtonDef(std::int16_t, ControlHandle c, std::int16_t message, std::intptr_t param) {
    switch (message) {
    case drawCntl:
        if ((*c)->contrlVis && OwnerVisible(c)) {
            OwnerPort owner(c);
            DrawScope scope;
            DrawPushButton(**c);
        }
        return 0;
    case testCntl:
        return Hits(**c, param) ? inButton : 0;
    case initCntl:
    case dispCntl:
    case posCntl:
    case thumbCntl:
    case dragCntl:
    case autoTrack:
        return 0;
    default:
        ShowErrorBox("Vect : Ctrl : Bad message");
        return 0;
    }
}

std::int32_t CheckBoxDef(std::int16_t, ControlHandle c, std::int16_t message, std::intptr_t param) {
    switch (message) {
    case drawCntl:
        if ((*c)->contrlVis) {
            OwnerPort owner(c);
            DrawScope scope;
            DrawCheckOrRadio(**c, (*c)->procID == radioButProc);
        }
        return 0;
    case testCntl:
        return Hits(**c, param) ? inCheckBox : 0;
    default:
        return 0;
    }
}

std::int32_t UnknownControlDef(std::int16_t, ControlHandle, std::int16_t, std::intptr_t) {
    ShowErrorBox("Vecteur procedure Control non défini");
    return 0;
}

ControlDefProcPtr DefProcFor(std::int16_t procID) {
    switch (procID) {
    case pushButProc:
        return &PushButtonDef;
    case checkBoxProc:
    case radioButProc:
        return &CheckBoxDef;
    case scrollBarProc:
        return &ScrollBarDef;
    default:
        return &UnknownControlDef;
    }
}

} // namespace qiva::controls
