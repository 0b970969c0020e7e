#pragma once
// The end of every tool: what was printed must have reached standard output (a full disk or a closed
// pipe is an error like any other), or the program says so and fails.

#include <cstdio>
#include <cstdlib>
#include <iostream>

namespace qiva_tools {

inline int FinishStandardOutput(const char* program, int status) {
    std::cout.flush();
    const bool failed = !std::cout || std::fflush(stdout) != 0 || std::ferror(stdout);
    if (!failed) return status;
    std::cerr << program << ": cannot write to standard output\n";
    return status == 0 ? 1 : status;
}

// For programs that end through exit(): checks standard output after everything else written at
// exit (register it first, so it runs last) and turns a failed write into status 1.
inline void CheckStandardOutputAtExit(const char* program) {
    static const char* name = program;
    std::atexit([] {
        if (FinishStandardOutput(name, 0) != 0) std::_Exit(1);
    });
}

} // namespace qiva_tools
