#include "toolkit/core/settings_file.h"

#include "platform/paths.h"
#include "platform/profile.h"

#include "toolkit/core/error_box.h"
#include <vector>

namespace qiva {
namespace {

std::string iniDirectory;

std::string Directory() {
    return iniDirectory.empty() ? platform::ConfigDirectory() : iniDirectory;
}

std::string FileIn(const char* name) {
    const std::string dir = Directory();
    if (dir.empty()) return {};
    const std::string path = platform::JoinPath(dir, name);
    const std::string found = platform::FindFileNoCase(path);
    return found.empty() ? path : found;
}

} // namespace

std::string IniPath() {
    return FileIn("wqiva.ini");
}
std::string WinIniPath() {
    return FileIn("win.ini");
}
void SetIniDirectory(const std::string& directory) {
    iniDirectory = directory;
}

void PrepareIniFile() {
    const std::string dir = Directory();
    if (dir.empty() || dir.size() >= 255) {
        ShowErrorBox(
            "Impossible d'initialiser les fichiers necessaires a Wqiva. L'application risque de ne pas "
            "fonctionner.");
        return;
    }
    if (!platform::FindFileNoCase(platform::JoinPath(dir, "wqiva.ini")).empty()) return;
    // The defaults: a copy in the current directory, else the one shipped beside the program or in
    // the installed data directory.
    const std::string program = platform::ProgramPath();
    const std::string programDir = program.substr(0, program.find_last_of('/') + 1);
    for (const std::string& folder : {std::string("."), programDir, platform::DataDirectory()}) {
        if (folder.empty()) continue;
        const std::string source = platform::FindFileNoCase(platform::JoinPath(folder, "wqiva.ini"));
        if (!source.empty()) {
            platform::CopyFile(source, platform::JoinPath(dir, "wqiva.ini"));
            return;
        }
    }
}

int ReadIniInt(const std::string& section, const char* key, int defaultValue) {
    const std::string path = IniPath();
    return path.empty() ? defaultValue : platform::ReadProfileInt(path, section, key, defaultValue);
}

std::string ReadIniString(const std::string& section, const char* key, const std::string& defaultValue) {
    const std::string path = IniPath();
    return path.empty() ? defaultValue : platform::ReadProfileString(path, section, key, defaultValue);
}

std::optional<std::string> ReadIniValue(const std::string& section, const char* key) {
    const std::string path = IniPath();
    if (path.empty()) return std::nullopt;
    return platform::ReadProfileValue(path, section, key);
}

int ReadIniCount(const std::string& section, const char* key) {
    const std::string path = IniPath();
    return path.empty() ? 0 : platform::ReadProfileCount(path, section, key);
}

void WriteIniStrings(const std::string& section, std::initializer_list<IniSetting> settings) {
    const std::string path = IniPath();
    if (path.empty()) return;
    std::vector<platform::ProfileSetting> changes;
    changes.reserve(settings.size());
    for (const IniSetting& s : settings)
        changes.push_back({s.key, std::string_view(s.value)});
    platform::WriteProfileStrings(path, section, changes);
}

void WriteIniString(const std::string& section, const char* key, const std::string& value) {
    const std::string path = IniPath();
    // A missing or unwritable file only loses the setting.
    if (!path.empty()) platform::WriteProfileString(path, section, key, value);
}

} // namespace qiva
