#pragma once
// The demo's command line, checked before the shell starts: an unknown option, or a headless run
// with no script to drive it (which would wait for events forever), is a usage error.

#include <string>

namespace qiva_demo {

// The problem with the command line, or empty. `backend` is QIVA_BACKEND's value (null when unset).
std::string CommandLineProblem(int argc, const char* const* argv, const char* backend);

} // namespace qiva_demo
