#pragma once
// The toolkit started once per fuzzing process on the headless backend, as a program with dialogs
// starts it: a 160 × 120 screen (small: every dialog made and gone repaints it), the system resources of the
// built WINIT.RSR, windows, menus, TextEdit and dialogs. Error boxes, beeps and presents go nowhere; a
// private folder holds whatever settings file the toolkit writes, and goes when the process ends normally
// (libFuzzer leaves through exit()).

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>

#include "platform/headless.h"
#include "toolkit/core/error_box.h"
#include "toolkit/core/events.h"
#include "toolkit/core/memory.h"
#include "toolkit/core/message_log.h"
#include "toolkit/core/resources.h"
#include "toolkit/core/settings_file.h"
#include "toolkit/core/shell.h"
#include "toolkit/dialogs/dialogs.h"
#include "toolkit/graphics/quickdraw.h"
#include "toolkit/menus/menus.h"

namespace fuzz {

class HeadlessToolbox {
public:
    explicit HeadlessToolbox(const std::string& name) {
        const std::string base = std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : "/tmp";
        folder_ = base + "/qiva-fuzz-" + name + "-" + std::to_string(::getpid());
        std::filesystem::create_directories(folder_);
        platform::Install(std::make_unique<platform::HeadlessBackend>());
        qiva::SetErrorBoxSink(&Silent);
        // Small enough that a huge size in the data reaches the out-of-memory paths quickly.
        qiva::SetHeapLimit(std::size_t{64} << 20);
        qiva::ResetEvents();
        qiva::ResetShell();
        qiva::SetIniDirectory(folder_);
        qiva::SetScreenSize(160, 120);
        InitGraf(nullptr);
        if (OpenResFile(TOLKA_WINIT_RSR) <= 0) __builtin_trap();
        InitFonts();
        InitWindows();
        InitMenus();
        TEInit();
        InitDialogs(nullptr);
        ErrorSound(&NoBeep);
    }
    ~HeadlessToolbox() {
        qiva::ClearMessageLog();
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    HeadlessToolbox(const HeadlessToolbox&) = delete;
    HeadlessToolbox& operator=(const HeadlessToolbox&) = delete;

    const std::string& Folder() const { return folder_; }
    // After each input: the toolkit logs what it refused, and the log would grow for ever.
    static void EndInput() { qiva::ClearMessageLog(); }

private:
    static void Silent(const std::string&) {}
    static void NoBeep(std::int16_t) {}
    std::string folder_;
};

} // namespace fuzz
