#pragma once
// The start-up panel: dialog -9999 with the signature picture of signatur.rsr under it, shown for up
// to seven seconds or until a click or a key.

namespace qiva {

// Shows the panel and waits; nothing happens without dialog -9999.
void ShowSplash();

} // namespace qiva
