#pragma once
// A private folder for one test or benchmark: made fresh under the temporary directory, removed with
// everything in it when the object goes. Tests run side by side, also from other checkouts on the
// same machine, so none of them names a fixed path of its own.

#include <sys/types.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <string_view>

class TempDir {
public:
    // The prefix only helps a person find a folder left behind; the toolkit refuses file names of
    // 80 characters or more, so the folder's own path stays short.
    explicit TempDir(std::string_view prefix = "qt") : owner_(::getpid()) {
        std::string pattern =
            (std::filesystem::temp_directory_path() / (std::string(prefix) + "-XXXXXX")).string();
        if (!::mkdtemp(pattern.data()))
            throw std::runtime_error("cannot make a folder from " + pattern + ": " + std::strerror(errno));
        path_ = pattern;
    }
    // A child made by fork() shares the parent's folder: only the process that made it removes it.
    ~TempDir() {
        if (::getpid() != owner_) return;
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return path_; }
    std::string operator/(std::string_view name) const { return path_ + "/" + std::string(name); }

    // Writes the bytes to NAME inside the folder (its parent folders made) and returns its path.
    std::string Write(std::string_view name, std::string_view bytes) const {
        const std::filesystem::path file = *this / name;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream out(file, std::ios::binary);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out) throw std::runtime_error("cannot write " + file.string());
        return file.string();
    }

private:
    std::string path_;
    pid_t owner_;
};
