#include "platform/sdl_window.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/present_convert.h"

namespace platform {
namespace {

constexpr std::uint64_t kFramePeriod = 16667; // microseconds between presents

} // namespace

bool SdlWindow::Open(std::string_view title, const WindowArea& area) {
    if (window_) return true;
    width_ = std::max(area.width, 640);
    height_ = std::max(area.height, 400);
    scale_ = ChooseScale();
    const std::string name(title);
    Uint32 flags = SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI;
    if (area.maximized) flags |= SDL_WINDOW_MAXIMIZED;
    window_ = SDL_CreateWindow(name.c_str(), area.left, area.top, width_ * scale_, height_ * scale_, flags);
    if (!window_) return false;
    SDL_SetWindowMinimumSize(window_, width_, height_);
    renderer_ = SDL_CreateRenderer(window_, -1, 0);
    if (!renderer_) renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
    if (!renderer_) {
        Close();
        return false;
    }
    SDL_RenderSetLogicalSize(renderer_, width_, height_);
    SDL_RenderSetIntegerScale(renderer_, SDL_TRUE);
    texture_ =
        SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, width_, height_);
    if (!texture_) {
        Close();
        return false;
    }
    // Start black, so a present before the first drawing shows no garbage.
    std::vector<std::uint32_t> black(static_cast<std::size_t>(width_) * height_, 0xFF000000u);
    SDL_UpdateTexture(texture_, nullptr, black.data(), width_ * 4);
    SDL_StartTextInput();
    Show();
    return true;
}

void SdlWindow::Close() {
    if (texture_) SDL_DestroyTexture(texture_);
    if (renderer_) SDL_DestroyRenderer(renderer_);
    if (window_) SDL_DestroyWindow(window_);
    texture_ = nullptr;
    renderer_ = nullptr;
    window_ = nullptr;
}

WindowArea SdlWindow::Area() const {
    WindowArea area;
    area.width = width_;
    area.height = height_;
    if (window_) {
        area.maximized = (SDL_GetWindowFlags(window_) & SDL_WINDOW_MAXIMIZED) != 0;
        SDL_GetWindowPosition(window_, &area.left, &area.top);
    }
    return area;
}

PixelRect SdlWindow::Desktop() const {
    SDL_Rect r{0, 0, 1024, 768};
    const int display = window_ ? std::max(SDL_GetWindowDisplayIndex(window_), 0) : 0;
    if (SDL_GetDisplayUsableBounds(display, &r) != 0) SDL_GetDisplayBounds(display, &r);
    return {r.x, r.y, r.x + r.w, r.y + r.h};
}

void SdlWindow::Raise() {
    if (!window_) return;
    SDL_RestoreWindow(window_);
    SDL_RaiseWindow(window_);
}

void SdlWindow::Present(const Frame& frame, PixelRect dirty) {
    if (!texture_ || !frame.pixels || !frame.palette) return;
    dirty.left = std::max(dirty.left, 0);
    dirty.top = std::max(dirty.top, 0);
    dirty.right = std::min({dirty.right, frame.width, width_});
    dirty.bottom = std::min({dirty.bottom, frame.height, height_});
    if (!dirty.Empty()) {
        const SDL_Rect r{dirty.left, dirty.top, dirty.right - dirty.left, dirty.bottom - dirty.top};
        void* out = nullptr;
        int pitch = 0;
        if (SDL_LockTexture(texture_, &r, &out, &pitch) == 0) {
            ConvertRect(frame, dirty, static_cast<std::uint32_t*>(out), pitch);
            SDL_UnlockTexture(texture_);
        }
    }
    // Pace to 1/60 s ourselves: vsync is not reliable everywhere (Xvfb does not pace at all).
    const std::uint64_t now = clock_.Microseconds();
    if (pacing_ && lastPresent_ != 0 && now < lastPresent_ + kFramePeriod)
        clock_.Sleep(lastPresent_ + kFramePeriod - now);
    lastPresent_ = clock_.Microseconds();
    Show();
    if (!presented_) {
        presented_ = true;
        // Start-up time, measured from the backend's start (the program's first steps).
        if (std::getenv("QIVA_REPORT_FIRST_FRAME"))
            std::fprintf(stderr, "first frame presented after %.1f ms\n",
                         static_cast<double>(lastPresent_) / 1000.0);
    }
}

void SdlWindow::Show() {
    if (!renderer_) return;
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
    SDL_RenderPresent(renderer_);
}

int SdlWindow::ChooseScale() const {
    if (forcedScale_ >= 1 && forcedScale_ <= 4) return forcedScale_;
    const PixelRect desk = Desktop();
    int scale = 1;
    // Leave room for the window's frame and title bar.
    while (scale < 4 && (scale + 1) * width_ <= desk.right - desk.left - 16 &&
           (scale + 1) * height_ <= desk.bottom - desk.top - 64)
        ++scale;
    return scale;
}

} // namespace platform
