#pragma once
// The toolkit's message log: lines kept in a text handle and written to standard output when the
// program ends. Texts are UTF-8.

#include <cstdio>
#include <string>
#include <string_view>

namespace qiva {

// Appends one line to the message log. The first append registers the log's output at exit.
void AppendToMessageLog(std::string_view line);

// The log as stored: every line followed by a carriage return and a line feed.
std::string MessageLogText();

// Writes the log to `out` with plain line feeds and frees it (the exit handler does this with stdout).
void WriteMessageLog(std::FILE* out);

// Drops the log without writing it.
void ClearMessageLog();

} // namespace qiva
