#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/single_instance.h"
#include "tests/support/scoped.h"
#include "tests/support/temp_dir.h"

namespace {

TEST(SingleInstance, SecondStartWakesTheFirstAndIsToldToEnd) {
    TempDir dir;
    const qiva_test::ScopedEnv runtime("XDG_RUNTIME_DIR", dir.Path());
    const qiva_test::ScopeExit release([] { platform::ReleaseSingleInstance(); });
    ASSERT_EQ(platform::ClaimSingleInstance("Test", 1), platform::InstanceClaim::First);
    std::int32_t word = 0;
    EXPECT_FALSE(platform::PollWakeUp(word)) << "nothing pending: no wait";

    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // The lock belongs to the open file: after dropping what it inherited, the child's claim
        // competes with the parent's as another process's would.
        platform::ReleaseSingleInstance();
        bool delivered = false;
        const auto claim = platform::ClaimSingleInstance("Test", 1, &delivered);
        ::_exit(claim == platform::InstanceClaim::Second && delivered ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    ASSERT_TRUE(platform::PollWakeUp(word));
    EXPECT_EQ(word, 1);

    platform::ReleaseSingleInstance();
    EXPECT_EQ(platform::ClaimSingleInstance("Test", 1), platform::InstanceClaim::First)
        << "a released (or crashed) instance leaves nothing that blocks the next";
}

} // namespace
