#pragma once
// The demo's command line, checked before the shell starts: an unknown option, or a headless run
// with no script to drive it (which would wait for events forever), is a usage error. A speed test
// needs no script: it ends by itself.

#include <string>

namespace qiva_demo {

// The problem with the command line, or empty. `backend` is QIVA_BACKEND's value (null when unset).
std::string CommandLineProblem(int argc, const char* const* argv, const char* backend);

// Whether the command line asks for the speed test alone.
bool SpeedTestAsked(int argc, const char* const* argv);

} // namespace qiva_demo
