#pragma once
// What the game answers the toolkit's shell: whether the program may end, and whether the scrap may
// be exchanged with the system clipboard.

namespace tolka {

// Whether the program may end (the main window's close and the system's shutdown ask): always
// between games, during one only when the player confirms ('ALRT' 128, item 1). A yes closes the
// help first.
bool MayQuit();

// Whether the toolkit may take the system clipboard into its scrap (activation) or give its scrap
// to it (deactivation): always.
bool MayImportClipboard();
bool MayExportClipboard();

} // namespace tolka
