#pragma once
// The toolkit's settings, edited by the user: a right click on the desktop pops up the settings menu
// ('MENU' -9998), whose items open four modal panels (dialogs -9998 to -9995) for the desktop
// picture, the selection colour, the sound and the print font. A panel writes WQIVA.INI and applies
// the change when it is closed with OK; Cancel leaves everything as it was.

#include <cstdint>
#include <optional>
#include <string_view>

#include "toolkit/core/geometry.h"
#include "toolkit/core/mac_types.h"

namespace qiva {

inline constexpr std::int16_t kSettingsMenu = -9998;
inline constexpr std::int16_t kDesktopPanel = -9998;
inline constexpr std::int16_t kSelectionColourPanel = -9997;
inline constexpr std::int16_t kSoundPanel = -9996;
inline constexpr std::int16_t kPrintFontPanel = -9995;

// The desktop pictures the panel offers: the straw mat, or none (the plain pattern).
inline constexpr std::int16_t kStrawMatPicture = -9996;
inline constexpr std::int16_t kNoDesktopPicture = -32768;

// Pops up the settings menu at `where` (global) and runs the panel chosen.
void SettingsPopup(Point where);

// Runs one panel; true when it was closed with OK.
bool RunSettingsPanel(std::int16_t panelID);

// A colour component as typed: decimal digits, surrounding spaces allowed, 0 to 255.
std::optional<std::int16_t> ParseColourComponent(std::string_view text);

} // namespace qiva
