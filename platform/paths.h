#pragma once
// Directories and files as the toolkit sees them: the configuration directory (what Windows called
// its own directory), the program's path, the current directory, the installed data directory,
// file names matched without regard to case, and files replaced atomically.

#include <string>
#include <string_view>

namespace platform {

// $XDG_CONFIG_HOME/qiva, else ~/.config/qiva; created on first use. Empty if it cannot be made.
std::string ConfigDirectory();
// $XDG_RUNTIME_DIR, else a private directory under /tmp; empty if none can be had.
std::string RuntimeDirectory();
// The running program's file (/proc/self/exe).
std::string ProgramPath();
// <prefix>/share/tolka, where <prefix> is the directory above the program's bin directory.
std::string DataDirectory();

std::string CurrentDirectory();
bool SetCurrentDirectory(const std::string& path);

bool FileExists(const std::string& path);
bool IsDirectory(const std::string& path);
bool MakeDirectories(const std::string& path); // like mkdir -p, mode 0700

// Joins a directory and a name with one '/'.
std::string JoinPath(std::string_view directory, std::string_view name);

// Finds `path` the way Windows would: each component that does not exist as written is looked up in
// its directory without regard to ASCII case. Returns the path as it exists, or empty.
std::string FindFileNoCase(const std::string& path);

// Reads a whole settings-sized file (platform/files.h: ReadInputFile); false if it cannot be read.
bool ReadFile(const std::string& path, std::string& contents);
// Replaces the file with `contents` through a temporary file in the same directory and a rename,
// so a crash leaves either the old or the new file, never half of one (platform/files.h:
// WriteOutputFile; a link is followed, a device written in place). A new file is the user's alone.
bool WriteFileAtomically(const std::string& path, std::string_view contents);
// Copies a file byte for byte (atomically at the destination).
bool CopyFile(const std::string& from, const std::string& to);

} // namespace platform
