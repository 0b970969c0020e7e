#pragma once
// The game's options kept from one run to the next in Tolka.cfg, a small text file beside the
// toolkit's WQIVA.INI: a signature word, then the seven options as numbers. The language is not kept;
// it is asked at every start.

#include <cstdint>
#include <string>
#include <string_view>

namespace tolka {

inline constexpr std::string_view kSettingsSignature = "TOLKA_1_0";
inline constexpr const char* kSettingsFileName = "Tolka.cfg";

// The seven options, with the values that hold when no file is read.
struct GameSettings {
    std::uint8_t showCounts = 1;
    std::uint8_t showDestination = 1;
    std::uint8_t soundOn = 1;
    std::uint8_t handAnimation = 1;
    std::uint8_t showMessages = 1;
    std::int16_t level = 0; // 0-3
    std::int16_t rules = 0; // 0 standard, 1 relay

    friend bool operator==(const GameSettings&, const GameSettings&) = default;
};

// The options a file's text gives, starting from `defaults`: a first word other than the signature
// gives the defaults; after it the numbers are read in order, separated by any blanks, and the first
// one missing or unreadable leaves it and the rest at their defaults. An on/off option is on for any
// non-zero value; a level outside 0-3 or rules other than 0 and 1 keep their defaults.
GameSettings ParseSettings(std::string_view text, const GameSettings& defaults = {});
// The file's text: the signature line, then the seven numbers, each after one blank.
std::string FormatSettings(const GameSettings& settings);

// Tolka.cfg in the directory of WQIVA.INI (whatever the case of its name on disk); empty when that
// directory cannot be had.
std::string SettingsPath();

// The options from a file; the defaults when it is missing, unreadable or not a settings file.
GameSettings ReadSettingsFile(const std::string& path);
// Replaces the file whole (a failed write leaves the old one); false when it could not be written.
bool WriteSettingsFile(const std::string& path, const GameSettings& settings);

// The game's options now (game/game_state.h), and setting them all at once.
GameSettings CurrentSettings();
void ApplySettings(const GameSettings& settings);

// The classic entries on the game's options: read once at start-up, written at every exit.
void ReadSettings();
void WriteSettings();

} // namespace tolka
