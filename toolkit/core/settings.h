#pragma once
// The toolkit's settings and usage statistics in WQIVA.INI (in the configuration directory), the
// border width from WIN.INI beside it, and the toolkit start-up routine.

#include <cstdint>
#include <string>

#include "toolkit/core/geometry.h"
#include "toolkit/core/mac_types.h"

namespace qiva {

// WQIVA.INI in the configuration directory (whatever the case of its name on disk); empty when the
// directory cannot be had.
std::string IniPath();
std::string WinIniPath();
// Overrides the directory of both files (tests); empty restores the configuration directory.
void SetIniDirectory(const std::string& directory);

// Makes sure WQIVA.INI exists: copies "wqiva.ini" from the current directory when it does not.
void PrepareIniFile();

// Settings accessors: read returns the value or its default; write stores it and applies it.
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

// What the settings apply to, in the layers above; each may be null.
struct SettingsHooks {
    void (*inverseColourChanged)() = nullptr;  // rebuild and realize the palette
    void (*desktopPictureChanged)() = nullptr; // redraw the desktop
};
SettingsHooks& SettingsApply();

// Usage statistics, in the section named after the application.
struct SavedArea {
    std::int16_t left = 32, top = 32, right = 672, bottom = 482;
    bool maximized = false;
};
// At main window creation: counts the run (and the last one if it was incomplete), marks this one
// incomplete, and returns the window area to use: the saved one clamped into `desktop`, else the default.
SavedArea StatisticsAtCreation(const Rect& desktop);
// At main window close: the area, the usage time and the completed run.
void StatisticsAtClose(const SavedArea& area);
// "%ld (%ldh %ldmn %ldsec d'utilisation)"
std::string FormatDuration(long totalSeconds);

// The toolkit start-up routine; does its work on the first call only.
void ToolkitStartup();
bool ToolkitStarted();
// The steps that belong to upper layers; each may be null.
struct StartupHooks {
    void (*setUpGraphics)() = nullptr;       // colour tables and the graphics layer
    void (*openSystemFiles)() = nullptr;     // the system directory, WLANG.RSR and WINIT.RSR
    void (*loadCursorAndLayout)() = nullptr; // 'CURS' 0 and 'KCHR' 1
    void (*createWindowRegions)() = nullptr; // the window manager's regions
    void (*finishGraphics)() = nullptr;      // what the graphics set-up leaves to the end
};
StartupHooks& Startup();
void ResetStartup(); // tests

// The keyboard layout 'KCHR' 1, detached at start-up (null when the system files have none).
Handle KeyboardLayout();

} // namespace qiva
