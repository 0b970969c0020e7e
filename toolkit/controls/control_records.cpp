// Making and disposing of controls, their titles and values, and the link with the owner window's
// list of controls.

#include <algorithm>
#include <cstring>
#include <string>

#include "toolkit/controls/control_defs.h"
#include "toolkit/controls/control_template.h"
#include "toolkit/core/error_box.h"
#include "toolkit/core/memory.h"
#include "toolkit/core/message_log.h"
#include "toolkit/core/resources.h"
#include "toolkit/graphics/quickdraw.h"

using namespace qiva::controls;

namespace qiva::controls {

std::int32_t Send(ControlHandle c, std::int16_t message, std::intptr_t param) {
    if (!c || !*c || !(*c)->contrlDefProc) return 0;
    return (*c)->contrlDefProc(0, c, message, param);
}

bool OwnerVisible(ControlHandle c) {
    const WindowPtr owner = (*c)->contrlOwner;
    return owner && qiva::Peek(owner)->visible;
}

OwnerPort::OwnerPort(ControlHandle c) {
    GetPort(&saved_);
    if ((*c)->contrlOwner) SetPort((*c)->contrlOwner);
}

OwnerPort::~OwnerPort() {
    SetPort(saved_);
}

} // namespace qiva::controls

namespace {

ControlHandle& ListHead(WindowPtr window) {
    return reinterpret_cast<ControlHandle&>(qiva::Peek(window)->controlList);
}

// A NewPtr copy of a zero-terminated title; null when it cannot be had.
char* CopyTitle(const char* title) {
    const std::size_t length = title ? std::strlen(title) : 0;
    char* copy = static_cast<char*>(NewPtr(static_cast<Size>(length + 1)));
    if (!copy) return nullptr;
    if (length) std::memcpy(copy, title, length);
    copy[length] = '\0';
    return copy;
}

// Takes the control out of its owner's list; false when it is not there.
bool Unlink(ControlHandle c) {
    const WindowPtr owner = (*c)->contrlOwner;
    if (!owner) return false;
    for (ControlHandle* link = &ListHead(owner); *link; link = &(**link)->nextControl)
        if (*link == c) {
            *link = (*c)->nextControl;
            (*c)->nextControl = nullptr;
            return true;
        }
    return false;
}

} // namespace

ControlHandle NewControl(WindowPtr window, const Rect* boundsRect, const char* title, Boolean visible,
                         std::int16_t value, std::int16_t min, std::int16_t max, std::int16_t procID,
                         std::int32_t refCon) {
    if (!window || !boundsRect) return nullptr;
    // A closing window disposes of its controls.
    qiva::WindowManagerHooks().disposeControls = &KillControls;
    auto c = reinterpret_cast<ControlHandle>(NewHandleClear(sizeof(ControlRecord)));
    if (!c) return nullptr;
    ControlRecord& r = **c;
    r.nextControl = ListHead(window);
    ListHead(window) = c;
    r.contrlOwner = window;
    r.contrlRect = *boundsRect;
    r.contrlTitle = CopyTitle(title);
    if (!r.contrlTitle) {
        Unlink(c);
        DisposeHandle(reinterpret_cast<Handle>(c));
        return nullptr;
    }
    r.contrlVis = visible ? 255 : 0;
    r.contrlValue = value;
    r.contrlMin = min;
    r.contrlMax = max;
    r.contrlRfCon = refCon;
    r.procID = procID;
    r.contrlDefProc = DefProcFor(procID);
    if (r.contrlVis && OwnerVisible(c)) Redraw(c, 0);
    return c;
}

ControlHandle GetNewControl(std::int16_t controlID, WindowPtr window) {
    Handle h = GetResource(MakeResType("CNTL"), controlID);
    if (!h) return nullptr;
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(*h);
    const auto parsed = qiva::ParseControlTemplate({bytes, static_cast<std::size_t>(GetHandleSize(h))});
    ReleaseResource(h);
    if (!parsed) {
        // Cut or damaged: no control, and a line in the log for whoever built the file.
        qiva::AppendToMessageLog("GetNewControl: ressource 'CNTL' " + std::to_string(controlID) +
                                 " endommagée");
        return nullptr;
    }
    return NewControl(window, &parsed->bounds, parsed->title.c_str(), parsed->visible, parsed->value,
                      parsed->min, parsed->max, parsed->procID, parsed->refCon);
}

void DisposeControl(ControlHandle control) {
    if (!control || !*control) return;
    if (!Unlink(control)) {
        qiva::ShowErrorBox("DISPOSECONTROL: Controle non trouvé associé à la fenetre ");
        return;
    }
    Send(control, dispCntl, 0);
    DisposePtr((*control)->contrlTitle);
    DisposeHandle(reinterpret_cast<Handle>(control));
}

void KillControls(WindowPtr window) {
    if (!window) return;
    while (ControlHandle c = ListHead(window))
        DisposeControl(c);
}

void SetCTitle(ControlHandle control, const char* title) {
    if (!control || !*control) return;
    DisposePtr((*control)->contrlTitle);
    (*control)->contrlTitle = CopyTitle(title);
}

void GetCTitle(ControlHandle control, char* title) {
    if (!title) return;
    title[0] = '\0';
    if (!control || !*control || !(*control)->contrlTitle) return;
    const std::size_t length = std::min<std::size_t>(std::strlen((*control)->contrlTitle), 255);
    std::memcpy(title, (*control)->contrlTitle, length);
    title[length] = '\0';
}

std::int16_t GetCtlValue(ControlHandle control) {
    return control && *control ? (*control)->contrlValue : 0;
}

std::int16_t GetCtlMin(ControlHandle control) {
    return control && *control ? (*control)->contrlMin : 0;
}

std::int16_t GetCtlMax(ControlHandle control) {
    return control && *control ? (*control)->contrlMax : 0;
}

std::int32_t GetCRefCon(ControlHandle control) {
    return control && *control ? (*control)->contrlRfCon : 0;
}

void SetCRefCon(ControlHandle control, std::int32_t data) {
    if (control && *control) (*control)->contrlRfCon = data;
}

void SetCtlAction(ControlHandle control, ControlActionProcPtr action) {
    if (control && *control) (*control)->contrlAction = action;
}

void SetCtlValue(ControlHandle control, std::int16_t value) {
    if (!control || !*control) {
        qiva::ShowErrorBox("SETCTLVALUE erreur");
        return;
    }
    ControlRecord& r = **control;
    if (value > r.contrlMax) value = r.contrlMax;
    if (value < r.contrlMin) value = r.contrlMin;
    r.contrlValue = value;
    if (OwnerVisible(control)) Redraw(control, inThumb);
}

void SetCtlMin(ControlHandle control, std::int16_t value) {
    if (!control || !*control) {
        qiva::ShowErrorBox("SETCTLMIN erreur");
        return;
    }
    ControlRecord& r = **control;
    r.contrlMin = value;
    if (r.contrlValue < value) r.contrlValue = value;
    if (OwnerVisible(control)) Redraw(control, inThumb);
}

void SetCtlMax(ControlHandle control, std::int16_t value) {
    if (!control || !*control) {
        qiva::ShowErrorBox("SETCTLMAX erreur");
        return;
    }
    ControlRecord& r = **control;
    r.contrlMax = value;
    if (r.contrlValue > value) r.contrlValue = value;
    if (OwnerVisible(control)) Redraw(control, inThumb);
}
