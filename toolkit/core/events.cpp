#include "toolkit/core/events.h"

#include "platform/platform.h"
#include "toolkit/core/tick_count.h"

namespace qiva {

namespace {

EvQEl elements[kEventQueueSize];
QHdr header{0, nullptr, nullptr};
std::uint16_t systemMask = kDefaultEventMask;
InputState input;
void* pendingDeactivate = nullptr;
void* pendingActivate = nullptr;
EventHooks hooks;

void Unlink(EvQEl* element) {
    EvQEl* previous = nullptr;
    for (EvQEl* e = header.qHead; e; previous = e, e = e->qLink) {
        if (e != element) continue;
        if (previous)
            previous->qLink = e->qLink;
        else
            header.qHead = e->qLink;
        if (header.qTail == e) header.qTail = previous;
        e->qLink = nullptr;
        e->qType = 0;
        return;
    }
}

void Stamp(EventRecord& event) {
    event.when = TickCount();
    GetMouse(&event.where);
    event.modifiers = CurrentModifiers();
}

void FromElement(const EvQEl& e, EventRecord& event) {
    event.what = e.evtQWhat;
    event.message = e.evtQMessage;
    event.when = e.evtQWhen;
    event.where = e.evtQWhere;
    event.modifiers = e.evtQModifiers;
}

bool InMask(std::int16_t what, std::uint16_t mask) {
    return what >= 0 && what < 16 && (mask & (1u << what)) != 0;
}

// Finds the next event for the mask. `take` removes a queued event and clears the pending
// activation it delivers.
bool NextEvent(std::uint16_t mask, EventRecord& event, bool take) {
    event = EventRecord{nullEvent, 0, 0, {0, 0}, 0};
    if (mask & activMask) {
        void*& pending = pendingDeactivate ? pendingDeactivate : pendingActivate;
        if (pending) {
            const bool deactivation = &pending == &pendingDeactivate;
            event.what = activateEvt;
            event.message = reinterpret_cast<std::uintptr_t>(pending);
            Stamp(event);
            if (deactivation)
                event.modifiers &= static_cast<std::uint16_t>(~activeFlag);
            else
                event.modifiers |= activeFlag;
            if (take) pending = nullptr;
            return true;
        }
        EvQEl* found = nullptr;
        for (EvQEl* e = header.qHead; e; e = e->qLink)
            if (e->evtQWhat == activateEvt && !(e->evtQModifiers & activeFlag)) {
                found = e;
                break;
            }
        if (!found)
            for (EvQEl* e = header.qHead; e; e = e->qLink)
                if (e->evtQWhat == activateEvt) {
                    found = e;
                    break;
                }
        if (found) {
            FromElement(*found, event);
            if (take) {
                TaskGateClosed gate;
                Unlink(found);
            }
            return true;
        }
    }
    for (EvQEl* e = header.qHead; e; e = e->qLink) {
        if (!InMask(e->evtQWhat, mask)) continue;
        FromElement(*e, event);
        if (take) {
            TaskGateClosed gate;
            Unlink(e);
        }
        return true;
    }
    if ((mask & updateMask) && hooks.windowNeedingUpdate) {
        if (void* window = hooks.windowNeedingUpdate()) {
            event.what = updateEvt;
            event.message = reinterpret_cast<std::uintptr_t>(window);
            Stamp(event);
            return true;
        }
    }
    Stamp(event);
    return false;
}

} // namespace

InputState& Input() {
    return input;
}

std::uint16_t CurrentModifiers() {
    std::uint16_t m = activeFlag;
    if (input.buttons) m |= btnState;
    const platform::Modifiers keys = platform::Current().HeldModifiers();
    if (keys.control || input.controlDown) m |= cmdKey;
    if (keys.shift) m |= shiftKey;
    if (keys.alt) m |= optionKey;
    return m;
}

void SetPendingActivation(void* deactivate, void* activate) {
    pendingDeactivate = deactivate;
    pendingActivate = activate;
}
void* PendingDeactivation() {
    return pendingDeactivate;
}
void* PendingActivation() {
    return pendingActivate;
}

EventHooks& Hooks() {
    return hooks;
}

void ResetEvents() {
    TaskGateClosed gate;
    for (EvQEl& e : elements)
        e = EvQEl{};
    header = QHdr{0, nullptr, nullptr};
    systemMask = kDefaultEventMask;
    input = InputState{};
    pendingDeactivate = pendingActivate = nullptr;
    hooks = EventHooks{};
}

} // namespace qiva

using namespace qiva;

OSErr PostEvent(std::int16_t eventCode, std::uintptr_t eventMsg) {
    if (!InMask(eventCode, systemMask)) return 1;
    TaskGateClosed gate;
    EvQEl* element = nullptr;
    for (EvQEl& e : elements)
        if (e.qType == 0) {
            element = &e;
            break;
        }
    if (!element) {
        // A full queue gives up its oldest event.
        element = header.qHead;
        Unlink(element);
    }
    element->qLink = nullptr;
    element->qType = evType;
    element->evtQWhat = eventCode;
    element->evtQMessage = eventMsg;
    element->evtQWhen = TickCount();
    GetMouse(&element->evtQWhere);
    element->evtQModifiers = CurrentModifiers();
    if (header.qTail)
        header.qTail->qLink = element;
    else
        header.qHead = element;
    header.qTail = element;
    return noErr;
}

void FlushEvents(std::uint16_t whichMask, std::uint16_t stopMask) {
    TaskGateClosed gate;
    for (EvQEl* e = header.qHead; e;) {
        EvQEl* next = e->qLink;
        if (InMask(e->evtQWhat, stopMask)) break;
        if (InMask(e->evtQWhat, whichMask)) Unlink(e);
        e = next;
    }
}

void SetEventMask(std::uint16_t mask) {
    systemMask = mask;
}

QHdr* GetEvQHdr() {
    return &header;
}

Boolean EventAvail(std::uint16_t eventMask, EventRecord* theEvent) {
    EventRecord scratch;
    return NextEvent(eventMask, theEvent ? *theEvent : scratch, false);
}

bool qiva::TakeNextEvent(std::uint16_t eventMask, EventRecord& event) {
    for (;;) {
        const bool got = NextEvent(eventMask, event, true);
        if (got && event.what == activateEvt) {
            void* window = reinterpret_cast<void*>(event.message);
            if (event.modifiers & activeFlag) {
                if (pendingActivate == window) pendingActivate = nullptr;
            } else if (pendingDeactivate == window) {
                pendingDeactivate = nullptr;
            }
        }
        if (got && hooks.deskAccessoryEvent &&
            (event.what == mouseDown || event.what == keyDown || event.what == autoKey ||
             event.what == updateEvt || event.what == activateEvt) &&
            !((event.what == keyDown || event.what == autoKey) && (event.modifiers & cmdKey)) &&
            hooks.deskAccessoryEvent(event))
            continue;
        return got;
    }
}

void GetMouse(Point* mouseLoc) {
    if (!mouseLoc) return;
    Point p = input.mouse;
    if (hooks.scrollOffset) {
        const Point offset = hooks.scrollOffset();
        const std::int16_t bar = hooks.menuBarHeight ? hooks.menuBarHeight() : 0;
        p.h = static_cast<std::int16_t>(p.h + offset.h);
        if (p.v >= bar) p.v = static_cast<std::int16_t>(p.v + offset.v);
    }
    *mouseLoc = p;
}

std::uint32_t GetDblTime() {
    return static_cast<std::uint32_t>(platform::Current().DoubleClickMilliseconds() * 6 / 100);
}

std::uint32_t GetCaretTime() {
    return static_cast<std::uint32_t>(platform::Current().CaretBlinkMilliseconds() * 6 / 100);
}
