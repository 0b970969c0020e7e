#include "toolkit/core/file_search.h"

#include <cstdlib>
#include <vector>

#include "platform/files.h"
#include "platform/paths.h"
#include "platform/profile.h"
#include "toolkit/core/error_box.h"
#include "toolkit/core/message_log.h"

namespace qiva {
namespace {

constexpr const char* kSystemFile = "WINIT.RSR";
constexpr std::size_t kLongestName = 79;
constexpr std::size_t kLongestSearchPath = 79;

SystemDirectories paths;

std::string Join(const std::string& directory, const std::string& name) {
    if (name.empty() || name[0] == '/' || directory.empty()) return name;
    return directory.back() == '/' ? directory + name : directory + "/" + name;
}

bool CanOpen(const std::string& path) {
    std::FILE* f = platform::OpenFileIgnoringCase(path, "rb");
    if (!f) return false;
    std::fclose(f);
    return true;
}

enum class Search { Found, NotFound, Stopped };

// Depth first: the file in this directory, then each subdirectory in turn. A path that would grow
// past the limit stops the whole search.
Search SearchBelow(const std::string& directory, std::string& found) {
    if (CanOpen(Join(directory, kSystemFile))) {
        found = directory;
        return Search::Found;
    }
    for (const std::string& entry : platform::ListSubdirectories(directory)) {
        if (directory.size() + entry.size() + std::char_traits<char>::length(kSystemFile) + 1 >
            kLongestSearchPath) {
            return Search::Stopped;
        }
        const Search result = SearchBelow(Join(directory, entry), found);
        if (result != Search::NotFound) return result;
    }
    return Search::NotFound;
}

const char* const kNotFoundLines[] = {
    "Impossible de trouver le répertoire QIVASYS contenant les fichiers du système",
    "Vérifiez votre configuration :",
    " * Présence d'un répertoire contenant les fichiers QIVA",
    " * Commande SET QIVA=nom du path dans votre autoexec.bat",
    "A défaut, reinstallez le logiciel",
    "",
    "Impossible to find the path containing the system files",
    "Verify your software configuration. Check :",
    " * if a subdirectory containing the QIVA system files exists",
    " * if the command SET QIVA=path name is present in your autoexec.bat file.",
    "If all seems correct, reinstall the software",
};

} // namespace

std::string SearchName(std::string_view name) {
    if (name.empty() || name.size() > kLongestName) return {};
    std::string result(name);
    const auto slash = result.rfind('/');
    const std::size_t start = slash == std::string::npos ? 0 : slash + 1;
    const auto dot = result.rfind('.');
    if (dot != std::string::npos && dot > start && result.size() - dot - 1 > 3) result.resize(dot + 4);
    return result;
}

std::FILE* OpenInSearchPath(std::string_view name, const char* mode, SearchPlace place) {
    const std::string tried = SearchName(name);
    if (tried.empty()) return nullptr;
    if (place == SearchPlace::Everywhere) {
        if (std::FILE* f = platform::OpenFileIgnoringCase(tried, mode)) return f;
    }
    InitResourcePaths();
    switch (place) {
    case SearchPlace::Everywhere:
        if (std::FILE* f = platform::OpenFileIgnoringCase(Join(paths.program, tried), mode)) return f;
        return platform::OpenFileIgnoringCase(Join(paths.system, tried), mode);
    case SearchPlace::StartDirectory:
        return platform::OpenFileIgnoringCase(Join(paths.start, tried), mode);
    case SearchPlace::ProgramDirectory:
        return platform::OpenFileIgnoringCase(Join(paths.program, tried), mode);
    case SearchPlace::SystemDirectory:
        return platform::OpenFileIgnoringCase(Join(paths.system, tried), mode);
    }
    return nullptr;
}

SystemDirectories LocateSystemDirectory(const SystemSearchInputs& in) {
    SystemDirectories found;
    found.start = in.startDirectory;

    // The program's directory; a file in the root gives the root.
    const auto slash = in.programFile.rfind('/');
    found.program =
        slash == std::string::npos ? std::string() : in.programFile.substr(0, slash == 0 ? 1 : slash);
    if (!platform::IsDirectory(found.program)) {
        ShowErrorBox("qiva_init_path_ressource, erreur 1");
        found.program = found.start;
    }

    // Relative directories are taken from the program's directory, which is current at this point.
    if (in.qivaVariable && !in.qivaVariable->empty()) {
        const std::string dir = Join(found.program, *in.qivaVariable);
        found.system = platform::IsDirectory(dir) ? dir : found.program;
        return found;
    }
    if (CanOpen(Join(found.program, kSystemFile))) {
        found.system = found.program;
        return found;
    }
    std::string configured = ReadSystemPathSetting(in.settingsFile);
    if (configured.empty()) configured = in.defaultDirectory;
    configured = Join(found.program, configured);
    if (platform::IsDirectory(configured) && CanOpen(Join(configured, kSystemFile))) {
        found.system = configured;
        return found;
    }
    std::string below;
    if (!in.searchRoot.empty() && SearchBelow(in.searchRoot, below) == Search::Found) found.system = below;
    return found;
}

void InitResourcePaths() {
    if (!paths.system.empty()) return;
    SystemSearchInputs in;
    in.startDirectory = platform::CurrentDirectory();
    in.programFile = platform::ProgramPath();
    if (const char* qiva = std::getenv("QIVA")) in.qivaVariable = qiva;
    const std::string windows = platform::ConfigDirectory();
    if (!windows.empty()) in.settingsFile = Join(windows, "WQIVA.INI");
    // The installed data directory, and the share directory above it for the last-resort search.
    in.defaultDirectory = platform::DataDirectory();
    const auto slash = in.defaultDirectory.rfind('/');
    if (slash != std::string::npos && slash > 0) in.searchRoot = in.defaultDirectory.substr(0, slash);
    const SystemDirectories found = LocateSystemDirectory(in);
    if (found.system.empty()) {
        for (const char* line : kNotFoundLines)
            AppendToMessageLog(line);
        std::exit(1);
    }
    paths = found;
}

const SystemDirectories& ResourcePaths() {
    return paths;
}

void SetResourcePaths(const SystemDirectories& newPaths) {
    paths = newPaths;
}

std::string ReadSystemPathSetting(const std::string& settingsFile) {
    if (settingsFile.empty()) return {};
    std::string value = platform::ReadProfileValue(settingsFile, "Chemin", "WQIVA").value_or("");
    if (value.size() > 255) value.resize(255);
    return value;
}

} // namespace qiva
