#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/headless.h"
#include "platform/platform.h"
#include "platform/sdl_backend.h"

namespace platform {
namespace {

std::unique_ptr<Backend>& Slot() {
    static std::unique_ptr<Backend> backend;
    return backend;
}

} // namespace

Backend& Current() {
    // A program that never chose one (a test, a tool) runs headless.
    if (!Slot()) Slot() = std::make_unique<HeadlessBackend>();
    return *Slot();
}

bool HasBackend() {
    return Slot() != nullptr;
}

void Install(std::unique_ptr<Backend> backend) {
    Slot() = std::move(backend);
}

std::string InstallFromCommandLine(int& argc, char** argv) {
    bool headless = false;
    std::string script;
    int scale = 0;
    if (const char* env = std::getenv("QIVA_BACKEND")) {
        if (std::strcmp(env, "headless") == 0)
            headless = true;
        else if (std::strcmp(env, "sdl") != 0)
            return std::string("QIVA_BACKEND must be sdl or headless, not ") + env;
    }
    if (const char* env = std::getenv("QIVA_SCALE")) scale = std::atoi(env);
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--headless") {
            headless = true;
        } else if (arg == "--script" || arg == "--scale") {
            if (i + 1 >= argc) return arg + " needs a value";
            if (arg == "--script") {
                script = argv[++i];
                headless = true;
            } else {
                scale = std::atoi(argv[++i]);
                if (scale < 1 || scale > 4) return "--scale must be 1 to 4";
            }
        } else {
            argv[kept++] = argv[i];
        }
    }
    argc = kept;
    argv[argc] = nullptr;
    if (headless) {
        auto backend = std::make_unique<HeadlessBackend>();
        if (!script.empty()) {
            std::string error = backend->LoadScript(script);
            if (!error.empty()) return error;
        }
        Install(std::move(backend));
        return {};
    }
    std::string error;
    auto backend = MakeSdlBackend(scale, error);
    if (!backend) return "cannot open the display: " + error + " (use --headless to run without one)";
    Install(std::move(backend));
    return {};
}

} // namespace platform
