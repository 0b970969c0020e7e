#include "toolkit/core/settings.h"

#include <cstdio>

#include "platform/profile.h"
#include "toolkit/core/sound.h"

namespace qiva {
namespace {

std::int16_t borderWidth = 4;
std::int16_t desktopPicture = -9996;
SettingsHooks settingsHooks;

std::int16_t ReadBorderWidth() {
    const std::string path = WinIniPath();
    return static_cast<std::int16_t>(
        path.empty() ? 4 : platform::ReadProfileInt(path, "Windows", "BorderWidth", 4));
}

} // namespace

std::string SystemDirectorySetting() {
    std::string value = ReadIniString("Chemin", "WQIVA", "");
    if (value.size() > 255) value.resize(255);
    return value;
}

void GetInverseColour(std::int16_t rgb[3]) {
    const std::string value = ReadIniString("Couleurs", "CouleurInvert", "0 0 0");
    short r = 0, g = 0, b = 0;
    if (std::sscanf(value.c_str(), "%hd %hd %hd", &r, &g, &b) != 3) r = g = b = 0;
    rgb[0] = r;
    rgb[1] = g;
    rgb[2] = b;
}

void SetInverseColour(const std::int16_t rgb[3]) {
    char text[64];
    std::snprintf(text, sizeof text, "%hd %hd %hd", rgb[0], rgb[1], rgb[2]);
    WriteIniString("Couleurs", "CouleurInvert", text);
    if (settingsHooks.inverseColourChanged) settingsHooks.inverseColourChanged();
}

std::int16_t DesktopPicture() {
    return desktopPicture;
}

void SetDesktopPicture(std::int16_t id) {
    if (id == desktopPicture) return;
    desktopPicture = id;
    WriteIniString("Bureau", "PICT", std::to_string(id));
    if (settingsHooks.desktopPictureChanged) settingsHooks.desktopPictureChanged();
}

std::int16_t IniVolume() {
    return static_cast<std::int16_t>(ReadIniInt("Audio", "Volume", 1));
}

void SetIniVolume(std::int16_t volume) {
    WriteIniString("Audio", "Volume", std::to_string(volume));
    SetSoundVol(volume);
}

std::int16_t PrintFontMode() {
    return static_cast<std::int16_t>(ReadIniInt("Impression", "ModeFonteSysteme", 0));
}

void SetPrintFontMode(std::int16_t mode) {
    WriteIniString("Impression", "ModeFonteSysteme", std::to_string(mode));
}

std::int16_t BorderWidth() {
    return borderWidth;
}

bool RereadSettingsAtActivation() {
    const std::int16_t width = ReadBorderWidth();
    const bool changed = width != borderWidth;
    borderWidth = width;
    desktopPicture = static_cast<std::int16_t>(ReadIniInt("Bureau", "PICT", -9996));
    SetSoundVol(IniVolume());
    return changed;
}

SettingsHooks& SettingsApply() {
    return settingsHooks;
}

void ResetSettings() {
    settingsHooks = SettingsHooks{};
    borderWidth = 4;
    desktopPicture = -9996;
}

} // namespace qiva
