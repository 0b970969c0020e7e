#pragma once
// The SDL backend's window service: one resizable window showing the virtual screen at an integer
// scale through a streaming texture, and the paced present of dirty rectangles.

#include <SDL.h>

#include <string_view>

#include "platform/platform.h"
#include "platform/sdl_clock.h"

namespace platform {

class SdlWindow {
public:
    SdlWindow(const SteadyClock& clock, int forcedScale) : clock_(clock), forcedScale_(forcedScale) {}
    ~SdlWindow() { Close(); }
    SdlWindow(const SdlWindow&) = delete;
    SdlWindow& operator=(const SdlWindow&) = delete;

    bool Open(std::string_view title, const WindowArea& area);
    void Close();
    WindowArea Area() const;
    PixelRect Desktop() const;
    void Raise();
    void Present(const Frame& frame, PixelRect dirty);
    void SetPacing(bool on) { pacing_ = on; }
    // Shows the kept texture again (after an expose or a resize).
    void Show();

    // The virtual screen's size, which mouse positions are clamped into.
    int Width() const { return width_; }
    int Height() const { return height_; }
    // The window message boxes belong to (null before it opens).
    SDL_Window* Handle() const { return window_; }

private:
    int ChooseScale() const;

    const SteadyClock& clock_;
    int forcedScale_ = 0;
    int scale_ = 1;
    int width_ = 640, height_ = 450;
    std::uint64_t lastPresent_ = 0;
    bool presented_ = false;
    bool pacing_ = false;
    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
};

} // namespace platform
