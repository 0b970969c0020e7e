#pragma once
// Finding files the way the toolkit always has: in the current directory, the program's directory
// and the toolkit's system directory (the directory holding WINIT.RSR), names matched without regard
// to case, extensions cut to three letters.

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

namespace qiva {

// The three directory slots. Everywhere tries the current directory, then (after locating the system
// directory if that is not done yet) the program's directory, then the system directory.
enum class SearchPlace { Everywhere, StartDirectory, ProgramDirectory, SystemDirectory };

std::FILE* OpenInSearchPath(std::string_view name, const char* mode, SearchPlace place);

// The name as a try uses it: empty when 80 characters or more, else with the last component's
// extension cut to three letters ("bgeneral.rsrc" -> "bgeneral.rsr").
std::string SearchName(std::string_view name);

// What locating the system directory starts from.
struct SystemSearchInputs {
    std::string startDirectory;
    std::string programFile;
    std::optional<std::string> qivaVariable; // the QIVA environment variable
    std::string settingsFile;                // WQIVA.INI, read for [Chemin] WQIVA
    std::string defaultDirectory;            // the installed data directory
    std::string searchRoot;                  // where the depth-first search starts
};

struct SystemDirectories {
    std::string start;   // slot 0
    std::string program; // slot 1
    std::string system;  // slot 2; empty when the search failed
};

// The search itself, free of global state; it changes no current directory.
SystemDirectories LocateSystemDirectory(const SystemSearchInputs& inputs);

// Locates the system directory once (qiva_init_path_ressource). When it cannot be found the reasons
// go to the message log and the program ends with status 1.
void InitResourcePaths();

// The slots as found (empty strings before InitResourcePaths); tests install their own.
const SystemDirectories& ResourcePaths();
void SetResourcePaths(const SystemDirectories& paths); // every slot empty: not yet located

// [Chemin] WQIVA of a settings file, or empty.
std::string ReadSystemPathSetting(const std::string& settingsFile);

} // namespace qiva
