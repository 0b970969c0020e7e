#pragma once
// The SDL backend's event service: SDL events translated into the platform's, one per pump step,
// typed text split into characters, and the wake-up word of a second instance.

#include <deque>

#include "platform/platform.h"
#include "platform/sdl_window.h"

namespace platform {

class SdlEvents {
public:
    explicit SdlEvents(SdlWindow& window) : window_(window) {}

    // Takes at most one event; with none pending, waits a few milliseconds.
    bool Pump(Event& event);
    // Repaints exposures; every other event stays queued.
    void ServiceWindow();
    Modifiers HeldModifiers() const;

private:
    bool Translate(const SDL_Event& e, Event& event);
    void Mouse(int wx, int wy, Event& event) const;

    SdlWindow& window_; // exposes repaint it; mouse positions are clamped into its screen
    std::deque<char32_t> pendingText_;
};

} // namespace platform
