#pragma once
// The state dump's TextEdit lines: one per record drawing in a given port (the front window's),
//   te INDEX text "TEXT" sel START END caret H V lines COUNT view L T R B active 0|1
// START END in characters of the toolkit's set, the text in UTF-8, H V the global pixel just right
// of the insertion point at the middle of its line, the view in global pixels.

#include <string>

#include "toolkit/managers/textedit.h"

namespace qiva {

void AppendTEDumpLines(std::string& out, GrafPtr port);

} // namespace qiva
