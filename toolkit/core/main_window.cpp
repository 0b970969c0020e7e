#include "toolkit/core/main_window.h"

#include "platform/platform.h"
#include "toolkit/core/application.h"
#include "toolkit/core/statistics.h"

namespace qiva {
namespace {

bool windowOpen = false;

} // namespace

bool MainWindowOpen() {
    return windowOpen;
}

void ForgetMainWindow() {
    windowOpen = false;
}

void PresentScreen(const std::uint8_t* pixels, int rowBytes, int width, int height,
                   const std::uint32_t* palette, const Rect& area) {
    if (!windowOpen) return;
    const platform::Frame frame{pixels, rowBytes, width, height, palette};
    platform::Current().Present(frame, {area.left, area.top, area.right, area.bottom});
}

bool CreateMainWindow(Rect* clientRect) {
    platform::Backend& backend = platform::Current();
    const platform::PixelRect desk = backend.Desktop();
    const Rect desktop{static_cast<std::int16_t>(desk.top), static_cast<std::int16_t>(desk.left),
                       static_cast<std::int16_t>(desk.bottom), static_cast<std::int16_t>(desk.right)};
    const SavedArea saved = StatisticsAtCreation(desktop);
    platform::WindowArea area;
    area.left = saved.left;
    area.top = saved.top;
    area.width = saved.right - saved.left;
    area.height = saved.bottom - saved.top;
    area.maximized = saved.maximized;
    if (!backend.OpenWindow(ApplicationName(), area)) return false;
    windowOpen = true;
    const platform::WindowArea opened = backend.CurrentArea();
    if (clientRect)
        *clientRect =
            Rect{0, 0, static_cast<std::int16_t>(opened.height), static_cast<std::int16_t>(opened.width)};
    return true;
}

void CloseMainWindow() {
    if (!windowOpen) return;
    platform::Backend& backend = platform::Current();
    const platform::WindowArea area = backend.CurrentArea();
    SavedArea saved;
    saved.left = static_cast<std::int16_t>(area.left);
    saved.top = static_cast<std::int16_t>(area.top);
    saved.right = static_cast<std::int16_t>(area.left + area.width);
    saved.bottom = static_cast<std::int16_t>(area.top + area.height);
    saved.maximized = area.maximized;
    StatisticsAtClose(saved);
    backend.CloseWindow();
    windowOpen = false;
}

} // namespace qiva
