#pragma once
// The help viewer: a desk-accessory window showing a help file (docs/help-format.md) with the list of
// its topics on the left, the topics laid out in a text column and a vertical scroll bar. It stays
// open beside the application's windows until its close box or a quit command closes it. Programs
// reach it through WinHelp, the call they made to the system's help viewer.

#include <cstdint>

#include "toolkit/windows/windows.h"

// WinHelp commands.
constexpr std::uint16_t HELP_QUIT = 2;     // close the viewer if it shows the file
constexpr std::uint16_t HELP_CONTENTS = 3; // show the file's first topic
constexpr std::uint16_t HELP_KEY = 257;    // data: a zero-terminated keyword; show its topic

// Opens the viewer on `file` (found like the toolkit's other files: the current, the program's and
// the system directory) or brings it forward, scrolled to the topic the command names; a keyword no
// topic lists shows the first topic. `owner` is the application's window (the viewer is not tied
// to it). False when the file cannot be read (qiva::HelpError tells the system's error code) or
// the command is unknown; the viewer then stays as it was.
Boolean WinHelp(WindowPtr owner, const char* file, std::uint16_t command, std::uintptr_t data);

namespace qiva {

// The error code of the last WinHelp that failed (an errno value; 0 after a success).
int HelpError();

// The viewer's window, or null while it is closed.
WindowPtr HelpWindow();

// Closes the viewer if it is open (the close box and HELP_QUIT come here).
void CloseHelpViewer();

// The first visible line of the text column, the number of lines of the laid-out file, and the
// lines the column shows at once.
int HelpTopLine();
int HelpLineCount();
int HelpVisibleLines();

} // namespace qiva
