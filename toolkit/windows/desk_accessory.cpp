// The desk accessory hand-off: keys, updates, activations and the wheel.

#include "toolkit/windows/desk_accessory.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "toolkit/core/settings.h"
#include "toolkit/graphics/quickdraw.h"
#include "toolkit/windows/window_defs.h"
#include "toolkit/windows/wm_state.h"

namespace qiva {

namespace {

std::vector<std::pair<WindowPtr, DeskAccessory*>> handlers;

bool IsDeskAccessoryWindow(WindowPtr window) {
    WindowPeek w = Peek(window);
    return w && IsListedWindow(w) && w->refCon < 0;
}

} // namespace

void SetDeskAccessory(WindowPtr window, DeskAccessory* handler) {
    std::erase_if(handlers, [&](const auto& entry) { return entry.first == window; });
    if (window && handler) handlers.emplace_back(window, handler);
}

void ForgetDeskAccessory(WindowPtr window) {
    const auto it = std::find_if(handlers.begin(), handlers.end(),
                                 [&](const auto& entry) { return entry.first == window; });
    if (it == handlers.end()) return;
    DeskAccessory* handler = it->second;
    handlers.erase(it);
    handler->Closed(window);
}

DeskAccessory* DeskAccessoryOf(WindowPtr window) {
    if (!IsDeskAccessoryWindow(window)) return nullptr;
    for (const auto& [w, handler] : handlers)
        if (w == window) return handler;
    return nullptr;
}

bool DeskAccessoryEvent(EventRecord& event) {
    if (WindowManagerHooks().dialogueEvent && WindowManagerHooks().dialogueEvent(event)) return true;
    WindowPtr window = nullptr;
    switch (event.what) {
    case keyDown:
    case autoKey:
        window = FrontWindow();
        break;
    case updateEvt:
    case activateEvt:
        window = reinterpret_cast<WindowPtr>(event.message);
        break;
    default:
        return false;
    }
    DeskAccessory* handler = DeskAccessoryOf(window);
    if (!handler) return false;
    if (event.what == updateEvt) {
        BeginUpdate(window);
        handler->Event(window, event);
        EndUpdate(window);
    } else {
        handler->Event(window, event);
    }
    return true;
}

void DeskAccessoryWheel(Point where, int notches) {
    WindowPtr window = nullptr;
    FindWindow(where, &window);
    if (DeskAccessory* handler = DeskAccessoryOf(window)) handler->Wheel(window, notches);
}

} // namespace qiva
