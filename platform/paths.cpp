#include "platform/paths.h"

#include "platform/file_io.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/file_io.h"

namespace platform {

std::string JoinPath(std::string_view directory, std::string_view name) {
    std::string result(directory);
    if (!result.empty() && result.back() != '/' && !name.empty()) result += '/';
    result += name;
    return result;
}

bool FileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool IsDirectory(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool MakeDirectories(const std::string& path) {
    if (path.empty()) return false;
    if (IsDirectory(path)) return true;
    for (std::size_t pos = 1; pos <= path.size(); ++pos) {
        if (pos < path.size() && path[pos] != '/') continue;
        const std::string prefix = path.substr(0, pos);
        if (::mkdir(prefix.c_str(), 0700) != 0 && errno != EEXIST) return false;
    }
    return IsDirectory(path);
}

std::string ConfigDirectory() {
    std::string base;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && xdg[0] == '/') {
        base = xdg;
    } else if (const char* home = std::getenv("HOME"); home && home[0]) {
        base = JoinPath(home, ".config");
    } else {
        return {};
    }
    std::string dir = JoinPath(base, "qiva");
    return MakeDirectories(dir) ? dir : std::string{};
}

std::string RuntimeDirectory() {
    if (const char* xdg = std::getenv("XDG_RUNTIME_DIR"); xdg && xdg[0] == '/' && IsDirectory(xdg))
        return xdg;
    // No session directory: a private one of our own, owner-only.
    std::string dir = "/tmp/qiva-" + std::to_string(::getuid());
    if (::mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST) return {};
    struct stat st {};
    if (::lstat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid()) return {};
    return dir;
}

std::string ProgramPath() {
    char buffer[4096];
    const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0) return {};
    return std::string(buffer, static_cast<std::size_t>(n));
}

std::string DataDirectory() {
    std::string program = ProgramPath();
    for (int up = 0; up < 2; ++up) {
        const auto slash = program.rfind('/');
        if (slash == std::string::npos) return {};
        program.resize(slash);
    }
    return JoinPath(program, "share/tolka");
}

std::string CurrentDirectory() {
    char buffer[4096];
    return ::getcwd(buffer, sizeof buffer) ? std::string(buffer) : std::string{};
}

bool SetCurrentDirectory(const std::string& path) {
    return ::chdir(path.c_str()) == 0;
}

std::string FindFileNoCase(const std::string& path) {
    if (path.empty()) return {};
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) return path;
    std::string found = path[0] == '/' ? "/" : "";
    std::size_t pos = path[0] == '/' ? 1 : 0;
    while (pos <= path.size()) {
        std::size_t end = path.find('/', pos);
        if (end == std::string::npos) end = path.size();
        const std::string part = path.substr(pos, end - pos);
        pos = end + 1;
        if (part.empty()) continue;
        std::string candidate = found.empty() ? part : JoinPath(found, part);
        if (::lstat(candidate.c_str(), &st) != 0) {
            DIR* dir = ::opendir(found.empty() ? "." : found.c_str());
            if (!dir) return {};
            std::string match;
            while (const dirent* entry = ::readdir(dir)) {
                if (::strcasecmp(entry->d_name, part.c_str()) == 0) {
                    match = entry->d_name;
                    break;
                }
            }
            ::closedir(dir);
            if (match.empty()) return {};
            candidate = found.empty() ? match : JoinPath(found, match);
        }
        found = candidate;
    }
    return ::stat(found.c_str(), &st) == 0 ? found : std::string{};
}

bool ReadFile(const std::string& path, std::string& contents) {
    std::string error;
    return ReadInputFile(path, InputKind::Settings, contents, error);
}

bool WriteFileAtomically(const std::string& path, std::string_view contents) {
    return WriteOutputFile(path, contents, 0600).empty();
}

bool CopyFile(const std::string& from, const std::string& to) {
    std::string contents;
    return ReadFile(from, contents) && WriteFileAtomically(to, contents);
}

} // namespace platform
