#pragma once
// What the toolkit knows of the program it serves: its name and whether it runs on the shell.

#include <string>

namespace qiva {

// The application's name: the window's title, the single-instance name, the statistics' section.
const std::string& ApplicationName();
void SetApplicationName(const std::string& name);

// True inside ShellMain: the program runs on the shell (a window, the toolkit start-up), not in a test.
bool ShellRunning();
void SetShellRunning(bool running);

} // namespace qiva
