#pragma once
// The toolkit's two diagnostic outlets: the error box, a modal message the user closes, and the
// message log, lines kept in a text handle and written to standard output when the program ends.
// Texts are UTF-8.

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace qiva {

inline constexpr const char* kErrorBoxCaption = "Erreur systeme W-QIVA";

// Shows the message and returns when the user has closed the box. A message that arrives while a
// box is showing is dropped: boxes never stack.
void ShowErrorBox(std::string_view message);

// Where the box goes. The default (headless) sink records the message and writes it to standard
// error; the platform installs a real message box. nullptr restores the default.
using ErrorBoxSink = void (*)(const std::string& message);
void SetErrorBoxSink(ErrorBoxSink sink);

// Messages the default sink received, oldest first (tests read and clear them).
const std::vector<std::string>& ErrorBoxHistory();
void ClearErrorBoxHistory();

// Appends one line to the message log. The first append registers the log's output at exit.
void AppendToMessageLog(std::string_view line);

// The log as stored: every line followed by a carriage return and a line feed.
std::string MessageLogText();

// Writes the log to `out` with plain line feeds and frees it (the exit handler does this with stdout).
void WriteMessageLog(std::FILE* out);

// Drops the log without writing it.
void ClearMessageLog();

} // namespace qiva
