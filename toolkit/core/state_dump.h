#pragma once
// The state dump: a text picture of the toolkit's state, one object a line, then a line "end".
// Each layer registers the writer of its own lines; a scripted run asks for the dump wherever the
// program waits for events, so other programs can follow a run as it goes.
// Words are separated by spaces, texts are quoted (UTF-8, with \" \\ \r \n escaped) and rectangles are
// written LEFT TOP RIGHT BOTTOM in global pixels.

#include <functional>
#include <string>
#include <string_view>

#include "toolkit/core/geometry.h"

namespace qiva {

// Appends zero or more whole lines, each ending in '\n'.
using StateDumpWriter = std::function<void(std::string& out)>;

// Registers the writer under KEY, replacing one already there (which keeps its place). Writers run
// in the order they were first registered, which is the order the layers start in.
void RegisterStateDump(std::string_view key, StateDumpWriter writer);
void UnregisterStateDump(std::string_view key);

// Every registered writer's lines, then "end\n".
std::string StateDump();

// A UTF-8 text in double quotes with \" \\ \r \n escaped.
std::string DumpQuoted(std::string_view utf8);
// The same for a text in the toolkit's (Macintosh) character set.
std::string DumpQuotedMac(std::string_view macText);
// "LEFT TOP RIGHT BOTTOM".
std::string DumpRect(const Rect& r);

} // namespace qiva
