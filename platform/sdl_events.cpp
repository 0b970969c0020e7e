#include "platform/sdl_events.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "platform/single_instance.h"
#include "platform/utf8.h"

namespace platform {
namespace {

constexpr int kIdleWaitMs = 5;

Key MapKey(SDL_Keycode k) {
    if (k >= SDLK_a && k <= SDLK_z) return static_cast<Key>(k);
    if (k >= SDLK_0 && k <= SDLK_9) return static_cast<Key>(k);
    if (k >= SDLK_F1 && k <= SDLK_F12) return static_cast<Key>(static_cast<int>(Key::F1) + (k - SDLK_F1));
    switch (k) {
    case SDLK_BACKSPACE:
        return Key::Backspace;
    case SDLK_TAB:
        return Key::Tab;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
        return Key::Return;
    case SDLK_ESCAPE:
        return Key::Escape;
    case SDLK_SPACE:
        return Key::Space;
    case SDLK_DELETE:
        return Key::Delete;
    case SDLK_PAGEUP:
        return Key::PageUp;
    case SDLK_PAGEDOWN:
        return Key::PageDown;
    case SDLK_END:
        return Key::End;
    case SDLK_HOME:
        return Key::Home;
    case SDLK_LEFT:
        return Key::Left;
    case SDLK_UP:
        return Key::Up;
    case SDLK_RIGHT:
        return Key::Right;
    case SDLK_DOWN:
        return Key::Down;
    case SDLK_INSERT:
        return Key::Insert;
    case SDLK_LCTRL:
    case SDLK_RCTRL:
        return Key::Control;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT:
        return Key::Shift;
    case SDLK_LALT:
    case SDLK_RALT:
        return Key::Alt;
    default:
        return Key::Other;
    }
}

} // namespace

bool SdlEvents::Pump(Event& event) {
    event = Event{};
    if (!pendingText_.empty()) {
        event.kind = EventKind::Text;
        event.codepoint = pendingText_.front();
        pendingText_.pop_front();
        event.modifiers = HeldModifiers();
        return true;
    }
    std::int32_t word = 0;
    if (PollWakeUp(word)) {
        event.kind = EventKind::WakeUp;
        event.message = word;
        return true;
    }
    SDL_Event e;
    // One event per step; with none pending, wait a little so an idle program sleeps.
    if (!SDL_PollEvent(&e) && !SDL_WaitEventTimeout(&e, kIdleWaitMs)) return false;
    return Translate(e, event);
}

Modifiers SdlEvents::HeldModifiers() const {
    const SDL_Keymod m = SDL_GetModState();
    Modifiers mods;
    mods.control = (m & KMOD_CTRL) != 0;
    mods.shift = (m & KMOD_SHIFT) != 0;
    mods.alt = (m & KMOD_ALT) != 0;
    return mods;
}

void SdlEvents::Mouse(int wx, int wy, Event& event) const {
    // With a logical size set, SDL already gives virtual-screen coordinates; the letterbox
    // margins fall outside and are clamped.
    event.x = std::clamp(wx, 0, window_.Width() - 1);
    event.y = std::clamp(wy, 0, window_.Height() - 1);
}

void SdlEvents::ServiceWindow() {
    SDL_PumpEvents(); // also answers the window manager's pings
    // Only exposures are taken out of the queue; input and the other window events wait for the
    // program's next pump (put back at the end of the queue, in their order).
    std::vector<SDL_Event> kept;
    bool exposed = false;
    SDL_Event e;
    while (SDL_PeepEvents(&e, 1, SDL_GETEVENT, SDL_WINDOWEVENT, SDL_WINDOWEVENT) == 1) {
        if (e.window.event == SDL_WINDOWEVENT_EXPOSED)
            exposed = true;
        else
            kept.push_back(e);
    }
    if (!kept.empty()) SDL_PeepEvents(kept.data(), static_cast<int>(kept.size()), SDL_ADDEVENT, 0, 0);
    if (exposed) window_.Show();
}

bool SdlEvents::Translate(const SDL_Event& e, Event& event) {
    event.modifiers = HeldModifiers();
    switch (e.type) {
    case SDL_QUIT:
        event.kind = EventKind::CloseRequest;
        return true;
    case SDL_WINDOWEVENT:
        switch (e.window.event) {
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            event.kind = EventKind::Activate;
            return true;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            event.kind = EventKind::Deactivate;
            return true;
        case SDL_WINDOWEVENT_CLOSE:
            event.kind = EventKind::CloseRequest;
            return true;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            window_.Show();
            event.kind = EventKind::Resized;
            return true;
        case SDL_WINDOWEVENT_EXPOSED:
            window_.Show();
            return false; // paints from the kept texture
        default:
            return false;
        }
    case SDL_MOUSEMOTION:
        event.kind = EventKind::MouseMove;
        Mouse(e.motion.x, e.motion.y, event);
        event.buttons = static_cast<std::uint8_t>(((e.motion.state & SDL_BUTTON_LMASK) ? 1 : 0) |
                                                  ((e.motion.state & SDL_BUTTON_RMASK) ? 2 : 0));
        return true;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        if (e.button.button != SDL_BUTTON_LEFT && e.button.button != SDL_BUTTON_RIGHT) return false;
        event.kind = e.type == SDL_MOUSEBUTTONDOWN ? EventKind::MouseDown : EventKind::MouseUp;
        event.button = e.button.button == SDL_BUTTON_LEFT ? LeftButton : RightButton;
        Mouse(e.button.x, e.button.y, event);
        return true;
    case SDL_MOUSEWHEEL: {
        if (e.wheel.y == 0) return false;
        event.kind = EventKind::Wheel;
        event.wheel = e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -e.wheel.y : e.wheel.y;
        return true; // where: the last position the motion events gave
    }
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        event.kind = e.type == SDL_KEYDOWN ? EventKind::KeyDown : EventKind::KeyUp;
        event.key = MapKey(e.key.keysym.sym);
        return true;
    case SDL_TEXTINPUT: {
        // Malformed bytes from the input method are dropped rather than typed.
        const std::string_view text(e.text.text);
        for (std::size_t i = 0; i < text.size();)
            if (const auto cp = DecodeUtf8(text, i)) pendingText_.push_back(*cp);
        if (pendingText_.empty()) return false;
        event.kind = EventKind::Text;
        event.codepoint = pendingText_.front();
        pendingText_.pop_front();
        return true;
    }
    default:
        return false;
    }
}

} // namespace platform
