#pragma once
// What the Resource Manager's file search needs beyond platform/paths.h: listing the subdirectories
// the depth-first search walks, and opening a file found without regard to case.

#include <cstdio>
#include <string>
#include <vector>

namespace platform {

// Names of the real subdirectories of `path` (no symbolic links, none beginning with '.'), sorted.
std::vector<std::string> ListSubdirectories(const std::string& path);

// Opens the regular file that FindFileNoCase finds for `path`. When none exists, a writing mode
// ("w", "a") makes it under the name as given; a reading mode gives null.
std::FILE* OpenFileIgnoringCase(const std::string& path, const char* mode);

} // namespace platform
