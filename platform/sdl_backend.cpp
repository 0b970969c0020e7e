#include "platform/sdl_backend.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/sdl_audio.h"
#include "platform/sdl_clipboard.h"
#include "platform/sdl_clock.h"
#include "platform/sdl_cursor.h"
#include "platform/sdl_events.h"
#include "platform/sdl_window.h"

namespace platform {
namespace {

// SDL itself: started by the backend, ended after every service has let go of it.
struct SdlLibrary {
    SdlLibrary() = default;
    ~SdlLibrary() { SDL_Quit(); }
    SdlLibrary(const SdlLibrary&) = delete;
    SdlLibrary& operator=(const SdlLibrary&) = delete;
};

// The backend composes one service per concern and forwards the interface's calls to them.
class SdlBackend : public Backend {
public:
    explicit SdlBackend(int scale) : window_(clock_, scale), events_(window_), audio_(clock_) {}
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
        audio_.Open();
        return true;
    }

    bool OpenWindow(std::string_view title, const WindowArea& area) override {
        return window_.Open(title, area);
    }
    void CloseWindow() override { window_.Close(); }
    WindowArea CurrentArea() override { return window_.Area(); }
    PixelRect Desktop() override { return window_.Desktop(); }
    void RaiseWindow() override { window_.Raise(); }
    void Present(const Frame& frame, PixelRect dirty) override { window_.Present(frame, dirty); }
    void SetPacing(bool on) override { window_.SetPacing(on); }

    bool Pump(Event& event) override { return events_.Pump(event); }
    void ServiceWindow() override { events_.ServiceWindow(); }
    Modifiers HeldModifiers() override { return events_.HeldModifiers(); }

    int CursorSize() override { return cursors_.Size(); }
    void SetSystemCursor(SystemCursor cursor) override { cursors_.SetSystem(cursor); }
    void SetCustomCursor(const CursorImage& image) override { cursors_.SetCustom(image); }
    void ShowCursor(bool shown) override { cursors_.Show(shown); }

    std::uint64_t Microseconds() override { return clock_.Microseconds(); }
    void Sleep(std::uint64_t microseconds) override { clock_.Sleep(microseconds); }
    int DoubleClickMilliseconds() override { return 500; }

    bool PlayWave(const std::uint8_t* data, std::size_t size) override { return audio_.PlayWave(data, size); }
    void Beep() override { audio_.Beep(); }

    void ShowMessageBox(std::string_view title, std::string_view text) override {
        const std::string t(title), m(text);
        if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, t.c_str(), m.c_str(), window_.Handle()) != 0)
            std::fprintf(stderr, "%s: %s\n", t.c_str(), m.c_str());
    }

    std::string ClipboardText() override { return clipboard_.Text(); }
    void SetClipboardText(std::string_view text) override { clipboard_.SetText(text); }

private:
    // Declared first, so destroyed last.
    SdlLibrary library_;
    SteadyClock clock_;
    SdlWindow window_;
    SdlEvents events_;
    SdlAudio audio_;
    SdlCursors cursors_;
    SdlClipboard clipboard_;
};

} // namespace

std::unique_ptr<Backend> MakeSdlBackend(int scale, std::string& error) {
    auto backend = std::make_unique<SdlBackend>(scale);
    if (!backend->Start(error)) return nullptr;
    return backend;
}

} // namespace platform
