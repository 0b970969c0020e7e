#include "platform/sdl_backend.h"

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <thread>
#include <vector>

#include "platform/present_convert.h"
#include "platform/single_instance.h"
#include "platform/wave.h"

namespace platform {
namespace {

constexpr std::uint64_t kFramePeriod = 16667; // microseconds between presents
constexpr int kIdleWaitMs = 5;
constexpr int kDeviceFrames = 512;

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

class SdlBackend : public Backend {
public:
    explicit SdlBackend(int scale) : forcedScale_(scale), start_(std::chrono::steady_clock::now()) {}
    ~SdlBackend() override {
        CloseWindow();
        if (audio_) SDL_CloseAudioDevice(audio_);
        for (SDL_Cursor* c : systemCursors_)
            if (c) SDL_FreeCursor(c);
        if (custom_) SDL_FreeCursor(custom_);
        SDL_Quit();
    }
    const char* Name() const override { return "sdl"; }

    bool Start(std::string& error) {
        SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
        SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
        if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
            error = SDL_GetError();
            return false;
        }
        // Without a display SDL falls back to a driver that shows nothing: the program would run
        // unseen and never end. Only a driver asked for by name may be one of those.
        const char* driver = SDL_GetCurrentVideoDriver();
        if (!std::getenv("SDL_VIDEODRIVER") && driver &&
            (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0)) {
            error = "no display found";
            return false;
        }
        // No audio device is not an error: sounds then pass in silence, keeping the game's rhythm.
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) == 0) {
            SDL_AudioSpec want{}, have{};
            want.freq = 22050;
            want.format = AUDIO_S16SYS;
            want.channels = 2;
            want.samples = kDeviceFrames;
            audio_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE);
            if (audio_) {
                device_ = have;
                SDL_PauseAudioDevice(audio_, 0);
            }
        }
        return true;
    }

    bool OpenWindow(std::string_view title, const WindowArea& area) override {
        if (window_) return true;
        width_ = std::max(area.width, 640);
        height_ = std::max(area.height, 400);
        scale_ = ChooseScale();
        const std::string name(title);
        Uint32 flags = SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI;
        if (area.maximized) flags |= SDL_WINDOW_MAXIMIZED;
        window_ =
            SDL_CreateWindow(name.c_str(), area.left, area.top, width_ * scale_, height_ * scale_, flags);
        if (!window_) return false;
        SDL_SetWindowMinimumSize(window_, width_, height_);
        renderer_ = SDL_CreateRenderer(window_, -1, 0);
        if (!renderer_) renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
        if (!renderer_) {
            CloseWindow();
            return false;
        }
        SDL_RenderSetLogicalSize(renderer_, width_, height_);
        SDL_RenderSetIntegerScale(renderer_, SDL_TRUE);
        texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, width_,
                                     height_);
        if (!texture_) {
            CloseWindow();
            return false;
        }
        // Start black, so a present before the first drawing shows no garbage.
        std::vector<std::uint32_t> black(static_cast<std::size_t>(width_) * height_, 0xFF000000u);
        SDL_UpdateTexture(texture_, nullptr, black.data(), width_ * 4);
        SDL_StartTextInput();
        ShowTexture();
        return true;
    }

    void CloseWindow() override {
        if (texture_) SDL_DestroyTexture(texture_);
        if (renderer_) SDL_DestroyRenderer(renderer_);
        if (window_) SDL_DestroyWindow(window_);
        texture_ = nullptr;
        renderer_ = nullptr;
        window_ = nullptr;
    }

    WindowArea CurrentArea() override {
        WindowArea area;
        area.width = width_;
        area.height = height_;
        if (window_) {
            area.maximized = (SDL_GetWindowFlags(window_) & SDL_WINDOW_MAXIMIZED) != 0;
            SDL_GetWindowPosition(window_, &area.left, &area.top);
        }
        return area;
    }

    PixelRect Desktop() override {
        SDL_Rect r{0, 0, 1024, 768};
        const int display = window_ ? std::max(SDL_GetWindowDisplayIndex(window_), 0) : 0;
        if (SDL_GetDisplayUsableBounds(display, &r) != 0) SDL_GetDisplayBounds(display, &r);
        return {r.x, r.y, r.x + r.w, r.y + r.h};
    }

    void RaiseWindow() override {
        if (!window_) return;
        SDL_RestoreWindow(window_);
        SDL_RaiseWindow(window_);
    }

    bool Pump(Event& event) override {
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

    void Present(const Frame& frame, PixelRect dirty) override {
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
        const std::uint64_t now = Microseconds();
        if (pacing_ && lastPresent_ != 0 && now < lastPresent_ + kFramePeriod) {
            Sleep(lastPresent_ + kFramePeriod - now);
        }
        lastPresent_ = Microseconds();
        ShowTexture();
        if (!presented_) {
            presented_ = true;
            // Start-up time, measured from the backend's start (the program's first steps).
            if (std::getenv("QIVA_REPORT_FIRST_FRAME"))
                std::fprintf(stderr, "first frame presented after %.1f ms\n",
                             static_cast<double>(lastPresent_) / 1000.0);
        }
    }

    Modifiers HeldModifiers() override {
        const SDL_Keymod m = SDL_GetModState();
        Modifiers mods;
        mods.control = (m & KMOD_CTRL) != 0;
        mods.shift = (m & KMOD_SHIFT) != 0;
        mods.alt = (m & KMOD_ALT) != 0;
        return mods;
    }

    void SetPacing(bool on) override { pacing_ = on; }

    int CursorSize() override { return 32; }

    void SetSystemCursor(SystemCursor cursor) override {
        static const SDL_SystemCursor ids[] = {
            SDL_SYSTEM_CURSOR_ARROW,    SDL_SYSTEM_CURSOR_IBEAM,    SDL_SYSTEM_CURSOR_CROSSHAIR,
            SDL_SYSTEM_CURSOR_WAIT,     SDL_SYSTEM_CURSOR_SIZEWE,   SDL_SYSTEM_CURSOR_SIZENS,
            SDL_SYSTEM_CURSOR_SIZENWSE, SDL_SYSTEM_CURSOR_SIZENESW, SDL_SYSTEM_CURSOR_HAND};
        const auto i = static_cast<std::size_t>(cursor);
        if (i >= std::size(ids)) return;
        if (!systemCursors_[i]) systemCursors_[i] = SDL_CreateSystemCursor(ids[i]);
        if (systemCursors_[i]) SDL_SetCursor(systemCursors_[i]);
    }

    void SetCustomCursor(const CursorImage& image) override {
        // AND/XOR to SDL's data/mask: mask = NOT AND, data = NOT (AND XOR XOR).
        const std::size_t bytes = static_cast<std::size_t>(image.size / 8) * image.size;
        std::vector<Uint8> data(bytes), mask(bytes);
        for (std::size_t i = 0; i < bytes; ++i) {
            mask[i] = static_cast<Uint8>(~image.andPlane[i]);
            data[i] = static_cast<Uint8>(~(image.andPlane[i] ^ image.xorPlane[i]));
        }
        SDL_Cursor* cursor =
            SDL_CreateCursor(data.data(), mask.data(), image.size, image.size, image.hotX, image.hotY);
        if (!cursor) return;
        SDL_SetCursor(cursor);
        if (custom_) SDL_FreeCursor(custom_);
        custom_ = cursor;
    }

    void ShowCursor(bool shown) override { SDL_ShowCursor(shown ? SDL_ENABLE : SDL_DISABLE); }

    std::uint64_t Microseconds() override {
        return static_cast<std::uint64_t>(
            std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start_)
                .count());
    }

    void Sleep(std::uint64_t microseconds) override {
        std::this_thread::sleep_for(std::chrono::microseconds(microseconds));
    }

    int DoubleClickMilliseconds() override { return 500; }

    bool PlayWave(const std::uint8_t* data, std::size_t size) override {
        WaveInfo info;
        if (!ParseWave(data, size, info).empty()) return false;
        if (!audio_) {
            Sleep(info.DurationMicroseconds());
            return true;
        }
        SDL_AudioStream* stream = SDL_NewAudioStream(info.bitsPerSample == 8 ? AUDIO_U8 : AUDIO_S16LSB,
                                                     static_cast<Uint8>(info.channels), info.sampleRate,
                                                     device_.format, device_.channels, device_.freq);
        if (!stream) {
            Sleep(info.DurationMicroseconds());
            return true;
        }
        SDL_AudioStreamPut(stream, info.samples, static_cast<int>(info.dataBytes));
        SDL_AudioStreamFlush(stream);
        std::vector<std::uint8_t> converted(static_cast<std::size_t>(SDL_AudioStreamAvailable(stream)));
        const int got = SDL_AudioStreamGet(stream, converted.data(), static_cast<int>(converted.size()));
        SDL_FreeAudioStream(stream);
        SDL_ClearQueuedAudio(audio_);
        if (got > 0) SDL_QueueAudio(audio_, converted.data(), static_cast<Uint32>(got));
        // Synchronous: return once the queue has drained and the device has played its last buffer.
        // A device that stops consuming must not hang the program: give up a second after the
        // sound should have ended.
        const std::uint64_t deadline = Microseconds() + info.DurationMicroseconds() + 1000000;
        while (SDL_GetQueuedAudioSize(audio_) > 0 && Microseconds() < deadline)
            SDL_Delay(2);
        Sleep(static_cast<std::uint64_t>(device_.samples) * 1000000u /
              static_cast<std::uint64_t>(device_.freq));
        return true;
    }

    void Beep() override {
        const std::vector<std::uint8_t> wave = BeepWave();
        PlayWave(wave.data(), wave.size());
    }

    void ShowMessageBox(std::string_view title, std::string_view text) override {
        const std::string t(title), m(text);
        if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, t.c_str(), m.c_str(), window_) != 0)
            std::fprintf(stderr, "%s: %s\n", t.c_str(), m.c_str());
    }

    std::string ClipboardText() override {
        char* text = SDL_GetClipboardText();
        std::string result = text ? text : "";
        SDL_free(text);
        return result;
    }

    void SetClipboardText(std::string_view text) override { SDL_SetClipboardText(std::string(text).c_str()); }

private:
    int ChooseScale() {
        if (forcedScale_ >= 1 && forcedScale_ <= 4) return forcedScale_;
        const PixelRect desk = Desktop();
        int scale = 1;
        // Leave room for the window's frame and title bar.
        while (scale < 4 && (scale + 1) * width_ <= desk.right - desk.left - 16 &&
               (scale + 1) * height_ <= desk.bottom - desk.top - 64)
            ++scale;
        return scale;
    }

    void ShowTexture() {
        if (!renderer_) return;
        SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
        SDL_RenderClear(renderer_);
        SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
        SDL_RenderPresent(renderer_);
    }

    void Mouse(int wx, int wy, Event& event) {
        // With a logical size set, SDL already gives virtual-screen coordinates; the letterbox
        // margins fall outside and are clamped.
        event.x = std::clamp(wx, 0, width_ - 1);
        event.y = std::clamp(wy, 0, height_ - 1);
    }

    bool Translate(const SDL_Event& e, Event& event) {
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
                ShowTexture();
                event.kind = EventKind::Resized;
                return true;
            case SDL_WINDOWEVENT_EXPOSED:
                ShowTexture();
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
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            event.kind = e.type == SDL_KEYDOWN ? EventKind::KeyDown : EventKind::KeyUp;
            event.key = MapKey(e.key.keysym.sym);
            return true;
        case SDL_TEXTINPUT: {
            DecodeText(e.text.text);
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

    void DecodeText(const char* s) {
        const auto* p = reinterpret_cast<const unsigned char*>(s);
        while (*p) {
            char32_t cp = *p;
            int extra = cp < 0x80 ? 0 : (cp >> 5) == 6 ? 1 : (cp >> 4) == 14 ? 2 : (cp >> 3) == 30 ? 3 : -1;
            if (extra < 0) {
                ++p;
                continue;
            }
            if (extra) cp &= 0x3Fu >> extra;
            ++p;
            bool ok = true;
            for (int k = 0; k < extra; ++k, ++p) {
                if ((*p & 0xC0) != 0x80) {
                    ok = false;
                    break;
                }
                cp = (cp << 6) | (*p & 0x3F);
            }
            if (ok) pendingText_.push_back(cp);
        }
    }

    int forcedScale_ = 0;
    int scale_ = 1;
    int width_ = 640, height_ = 450;
    std::chrono::steady_clock::time_point start_;
    std::uint64_t lastPresent_ = 0;
    bool presented_ = false;
    bool pacing_ = true;
    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    SDL_AudioDeviceID audio_ = 0;
    SDL_AudioSpec device_{};
    SDL_Cursor* systemCursors_[9] = {};
    SDL_Cursor* custom_ = nullptr;
    std::deque<char32_t> pendingText_;
};

} // namespace

std::unique_ptr<Backend> MakeSdlBackend(int scale, std::string& error) {
    auto backend = std::make_unique<SdlBackend>(scale);
    if (!backend->Start(error)) return nullptr;
    return backend;
}

} // namespace platform
