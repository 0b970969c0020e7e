#include "platform/files.h"

#include <algorithm>
#include <dirent.h>
#include <sys/stat.h>

#include "platform/paths.h"

namespace platform {

std::vector<std::string> ListSubdirectories(const std::string& path) {
    std::vector<std::string> names;
    DIR* dir = ::opendir(path.c_str());
    if (!dir) return names;
    while (const dirent* entry = ::readdir(dir)) {
        if (entry->d_name[0] == '.') continue;
        struct stat st {};
        if (::lstat(JoinPath(path, entry->d_name).c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
            names.emplace_back(entry->d_name);
        }
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

std::FILE* OpenFileIgnoringCase(const std::string& path, const char* mode) {
    if (path.empty()) return nullptr;
    const std::string found = FindFileNoCase(path);
    if (!found.empty() && FileExists(found)) return std::fopen(found.c_str(), mode);
    if (!found.empty()) return nullptr; // a directory, say
    return mode[0] == 'w' || mode[0] == 'a' ? std::fopen(path.c_str(), mode) : nullptr;
}

} // namespace platform
