#pragma once
// The toolkit's error box: a modal message the user closes. Its other diagnostic outlet, the message
// log, is toolkit/core/message_log.h. Texts are UTF-8.

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

} // namespace qiva
