#pragma once
// The toolkit's settings in WQIVA.INI and the border width from WIN.INI: one accessor pair per key
// (read returns the value or its default; write stores it and applies it), and the re-read done at
// each activation.

#include <cstdint>
#include <string>

#include "toolkit/core/settings_file.h"

namespace qiva {

std::string SystemDirectorySetting(); // [Chemin] WQIVA
void GetInverseColour(std::int16_t rgb[3]);
void SetInverseColour(const std::int16_t rgb[3]);
std::int16_t DesktopPicture();
void SetDesktopPicture(std::int16_t id);
std::int16_t IniVolume();
void SetIniVolume(std::int16_t volume);
std::int16_t PrintFontMode();
void SetPrintFontMode(std::int16_t mode);
std::int16_t BorderWidth(); // the value read at start-up or the last activation

// Re-reads what may have changed while the application was away (border width, desktop picture,
// volume); returns whether the border width changed.
bool RereadSettingsAtActivation();

// What the settings apply to in the layers above (the palette, the desktop), which a settings panel
// changes at any time; each may be null.
struct SettingsHooks {
    void (*inverseColourChanged)() = nullptr;  // rebuild and realize the palette
    void (*desktopPictureChanged)() = nullptr; // redraw the desktop
};
SettingsHooks& SettingsApply();

// Forgets the hooks and the values read (tests).
void ResetSettings();

} // namespace qiva
