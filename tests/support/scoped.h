#pragma once
// Guards that put back process-wide state when a test ends, however it ends: a failed ASSERT
// returns from the test body early, and the next test in the same program must not inherit the change.

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>

namespace qiva_test {

// Runs its action when it goes out of scope: the toolkit's setters put back their defaults this way.
template <class Action>
class ScopeExit {
public:
    explicit ScopeExit(Action action) : action_(std::move(action)) {}
    ~ScopeExit() { action_(); }
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;

private:
    Action action_;
};

// Sets (or, with no value, removes) an environment variable; the old value or absence comes back.
class ScopedEnv {
public:
    ScopedEnv(std::string name, std::optional<std::string> value) : name_(std::move(name)) {
        if (const char* old = std::getenv(name_.c_str())) saved_ = old;
        Apply(value);
    }
    ~ScopedEnv() { Apply(saved_); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    void Apply(const std::optional<std::string>& value) const {
        if (value)
            ::setenv(name_.c_str(), value->c_str(), 1);
        else
            ::unsetenv(name_.c_str());
    }
    std::string name_;
    std::optional<std::string> saved_;
};

// Changes the current directory; the previous one comes back.
class ScopedCurrentDirectory {
public:
    explicit ScopedCurrentDirectory(const std::filesystem::path& directory)
        : saved_(std::filesystem::current_path()) {
        std::filesystem::current_path(directory);
    }
    ~ScopedCurrentDirectory() {
        std::error_code ignored;
        std::filesystem::current_path(saved_, ignored);
    }
    ScopedCurrentDirectory(const ScopedCurrentDirectory&) = delete;
    ScopedCurrentDirectory& operator=(const ScopedCurrentDirectory&) = delete;

private:
    std::filesystem::path saved_;
};

} // namespace qiva_test
