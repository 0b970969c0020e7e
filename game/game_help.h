#pragma once
// The game's help: the help viewer on the file of the chosen language, opened at the game's topic
// (the keyword "Tolka"), and closed when the game ends.

#include <string>

namespace tolka {

constexpr const char* kHelpKeyword = "Tolka";

// "tolka.hlp" in French, "tolka_gb.hlp" in English.
const char* HelpFileName(bool english);

// What the player is told when the help file cannot be read, with the system's error code.
std::string HelpFailureMessage(bool english, long error);

// Opens the viewer (or brings it forward) at the game's topic; a file that cannot be read is
// reported with the message alert, and the game goes on.
void ShowHelp();
// Closes the viewer if it shows the game's help.
void QuitHelp();

} // namespace tolka
