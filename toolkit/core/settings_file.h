#pragma once
// The toolkit's settings file, WQIVA.INI in the configuration directory, and WIN.INI beside it: where
// they are and how values are read and written. A missing or unwritable file only loses settings.

#include <initializer_list>
#include <optional>
#include <string>

namespace qiva {

// WQIVA.INI in the configuration directory (whatever the case of its name on disk); empty when the
// directory cannot be had.
std::string IniPath();
std::string WinIniPath();
// Overrides the directory of both files (tests); empty restores the configuration directory.
void SetIniDirectory(const std::string& directory);

// Makes sure WQIVA.INI exists: when it does not, copies the default "wqiva.ini" from the current
// directory, else from beside the program, else from the installed data directory.
void PrepareIniFile();

// Values of WQIVA.INI: the leading integer of a value, the value as text, or nothing when absent.
int ReadIniInt(const std::string& section, const char* key, int defaultValue);
std::string ReadIniString(const std::string& section, const char* key, const std::string& defaultValue);
std::optional<std::string> ReadIniValue(const std::string& section, const char* key);
// Several keys of one section in one write of the file.
struct IniSetting {
    const char* key;
    std::string value;
};
void WriteIniStrings(const std::string& section, std::initializer_list<IniSetting> settings);
// A counter of WQIVA.INI: its leading number held at the limits of int, 0 when absent.
int ReadIniCount(const std::string& section, const char* key);
void WriteIniString(const std::string& section, const char* key, const std::string& value);

} // namespace qiva
