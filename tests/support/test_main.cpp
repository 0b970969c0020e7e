// The main routine of every test program. Each process gets folders of its own for settings and for
// runtime files (the single-instance lock): no test reads or changes the user's settings, and tests
// running side by side never meet in a shared folder.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>

#include "tests/support/temp_dir.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    const TempDir home("qt-home");
    ::setenv("XDG_CONFIG_HOME", (home / "config").c_str(), 1);
    if (::mkdir((home / "run").c_str(), 0700) != 0) return 2;
    ::setenv("XDG_RUNTIME_DIR", (home / "run").c_str(), 1);
    return RUN_ALL_TESTS();
}
