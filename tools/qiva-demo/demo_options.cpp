#include "tools/qiva-demo/demo_options.h"

namespace qiva_demo {

std::string CommandLineProblem(int argc, const char* const* argv, const char* backend) {
    bool headless = backend != nullptr && std::string(backend) == "headless";
    bool script = false;
    bool speedTest = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--headless") {
            headless = true;
        } else if (arg == "--script" || arg == "--scale") {
            // A missing value is the shell's to report.
            if (i + 1 < argc) ++i;
            script = script || arg == "--script";
        } else if (arg == "--speed-test") {
            speedTest = true;
        } else if (arg == "--help" || arg == "-h") {
            return {};
        } else if (!arg.empty() && arg[0] == '-') {
            return "unknown option '" + arg +
                   "' (options: --headless, --script FILE, --scale N, --speed-test)";
        }
    }
    if (headless && !script && !speedTest)
        return "a headless run needs --script FILE: without one it would wait forever";
    return {};
}

bool SpeedTestAsked(int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i)
        if (std::string(argv[i]) == "--speed-test") return true;
    return false;
}

} // namespace qiva_demo
