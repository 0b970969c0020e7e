#pragma once
// A property a fuzz target holds its code to: when it fails, the condition and its line are printed
// before the crash, so a finding says which property broke.

#include <cstdio>

#define FUZZ_CHECK(condition)                                                                                \
    do {                                                                                                     \
        if (!(condition)) {                                                                                  \
            std::fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__, #condition);            \
            __builtin_trap();                                                                                \
        }                                                                                                    \
    } while (false)
