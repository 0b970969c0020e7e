#pragma once
// A private temporary directory for one test, removed with everything in it afterwards.

#include <cstdlib>
#include <filesystem>
#include <string>

class TempDir {
public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "qiva-test-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data()) ? pattern : std::string{};
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};
