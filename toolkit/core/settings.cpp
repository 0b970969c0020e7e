#include "toolkit/core/settings.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/paths.h"
#include "platform/profile.h"
#include "toolkit/core/cursor.h"
#include "toolkit/core/error_box.h"
#include "toolkit/core/events.h"
#include "toolkit/core/file_search.h"
#include "toolkit/core/memory.h"
#include "toolkit/core/resources.h"
#include "toolkit/core/shell.h"
#include "toolkit/core/sound.h"
#include "toolkit/core/tick_count.h"

namespace qiva {
namespace {

std::string iniDirectory;
std::int16_t borderWidth = 4;
std::int16_t desktopPicture = -9996;
SettingsHooks settingsHooks;
StartupHooks startupHooks;
bool started = false;
std::uint32_t runStartTick = 0;
long totalSeconds = 0;
std::string startDirectory;
Handle keyboardLayout = nullptr;

std::string Directory() {
    return iniDirectory.empty() ? platform::ConfigDirectory() : iniDirectory;
}

std::string FileIn(const char* name) {
    const std::string dir = Directory();
    if (dir.empty()) return {};
    const std::string path = platform::JoinPath(dir, name);
    const std::string found = platform::FindFileNoCase(path);
    return found.empty() ? path : found;
}

int ReadInt(const char* section, const char* key, int defaultValue) {
    const std::string path = IniPath();
    return path.empty() ? defaultValue : platform::ReadProfileInt(path, section, key, defaultValue);
}

void Write(const std::string& section, const char* key, const std::string& value) {
    const std::string path = IniPath();
    // A missing or unwritable file only loses the setting.
    if (!path.empty()) platform::WriteProfileString(path, section, key, value);
}

std::int16_t ReadBorderWidth() {
    const std::string path = WinIniPath();
    return static_cast<std::int16_t>(
        path.empty() ? 4 : platform::ReadProfileInt(path, "Windows", "BorderWidth", 4));
}

void RestoreStartDirectory() {
    if (!startDirectory.empty()) platform::SetCurrentDirectory(startDirectory);
}

void CloseMainWindowAtExit() {
    CloseMainWindow();
}

void OpenSystemFiles() {
    InitResourcePaths();
    OpenSystemResourceFiles();
}

void LoadCursorAndLayout() {
    if (Handle arrow = GetResource(MakeResType("CURS"), 0); arrow && *arrow && GetHandleSize(arrow) >= 68) {
        Cursor cursor;
        std::memcpy(&cursor, *arrow, 68);
        SetArrowCursor(cursor);
        SetCursor(&ArrowCursor());
    }
    if (Handle layout = GetResource(MakeResType("KCHR"), 1)) {
        DetachResource(layout);
        if (keyboardLayout) DisposeHandle(keyboardLayout);
        keyboardLayout = layout;
    }
}

void WriteLogAtExit() {
    WriteMessageLog(stdout);
}

} // namespace

std::string IniPath() {
    return FileIn("wqiva.ini");
}
std::string WinIniPath() {
    return FileIn("win.ini");
}
void SetIniDirectory(const std::string& directory) {
    iniDirectory = directory;
}

void PrepareIniFile() {
    const std::string dir = Directory();
    if (dir.empty() || dir.size() >= 255) {
        ShowErrorBox(
            "Impossible d'initialiser les fichiers necessaires a Wqiva. L'application risque de ne pas "
            "fonctionner.");
        return;
    }
    if (platform::FindFileNoCase(platform::JoinPath(dir, "wqiva.ini")).empty()) {
        const std::string source = platform::FindFileNoCase("wqiva.ini");
        if (!source.empty()) platform::CopyFile(source, platform::JoinPath(dir, "wqiva.ini"));
    }
}

std::string SystemDirectorySetting() {
    const std::string path = IniPath();
    std::string value =
        path.empty() ? std::string{} : platform::ReadProfileString(path, "Chemin", "WQIVA", "");
    if (value.size() > 255) value.resize(255);
    return value;
}

void GetInverseColour(std::int16_t rgb[3]) {
    const std::string path = IniPath();
    const std::string value =
        path.empty() ? "0 0 0" : platform::ReadProfileString(path, "Couleurs", "CouleurInvert", "0 0 0");
    short r = 0, g = 0, b = 0;
    if (std::sscanf(value.c_str(), "%hd %hd %hd", &r, &g, &b) != 3) r = g = b = 0;
    rgb[0] = r;
    rgb[1] = g;
    rgb[2] = b;
}

void SetInverseColour(const std::int16_t rgb[3]) {
    char text[64];
    std::snprintf(text, sizeof text, "%hd %hd %hd", rgb[0], rgb[1], rgb[2]);
    Write("Couleurs", "CouleurInvert", text);
    if (settingsHooks.inverseColourChanged) settingsHooks.inverseColourChanged();
}

std::int16_t DesktopPicture() {
    return desktopPicture;
}

void SetDesktopPicture(std::int16_t id) {
    if (id == desktopPicture) return;
    desktopPicture = id;
    Write("Bureau", "PICT", std::to_string(id));
    if (settingsHooks.desktopPictureChanged) settingsHooks.desktopPictureChanged();
}

std::int16_t IniVolume() {
    return static_cast<std::int16_t>(ReadInt("Audio", "Volume", 1));
}

void SetIniVolume(std::int16_t volume) {
    Write("Audio", "Volume", std::to_string(volume));
    SetSoundVol(volume);
}

std::int16_t PrintFontMode() {
    return static_cast<std::int16_t>(ReadInt("Impression", "ModeFonteSysteme", 0));
}

void SetPrintFontMode(std::int16_t mode) {
    Write("Impression", "ModeFonteSysteme", std::to_string(mode));
}

std::int16_t BorderWidth() {
    return borderWidth;
}

bool RereadSettingsAtActivation() {
    const std::int16_t width = ReadBorderWidth();
    const bool changed = width != borderWidth;
    borderWidth = width;
    desktopPicture = static_cast<std::int16_t>(ReadInt("Bureau", "PICT", -9996));
    SetSoundVol(IniVolume());
    return changed;
}

SettingsHooks& SettingsApply() {
    return settingsHooks;
}

std::string FormatDuration(long total) {
    char text[128];
    std::snprintf(text, sizeof text, "%ld (%ldh %ldmn %ldsec d'utilisation)", total, total / 3600,
                  (total % 3600) / 60, total % 60);
    return text;
}

SavedArea StatisticsAtCreation(const Rect& desktop) {
    const std::string section = ApplicationName();
    runStartTick = TickCount();
    totalSeconds = ReadInt(section.c_str(), "Duree", 0);
    if (ReadInt(section.c_str(), "Crash", 0) != 0)
        Write(section, "NbCrash",
              std::to_string(ReadInt(section.c_str(), "NbCrash", 0) + 1) +
                  " (arrets illegaux de l'application)");
    Write(section, "NbExec",
          std::to_string(ReadInt(section.c_str(), "NbExec", 0) + 1) + " (executions de l'application)");
    Write(section, "Crash", "1 (Derniere execution incomplete)");

    SavedArea area;
    const std::string path = IniPath();
    const auto saved = path.empty() ? std::nullopt : platform::ReadProfileValue(path, section, "Aire");
    short l = 0, t = 0, r = 0, b = 0, m = 0;
    const int fields = saved ? std::sscanf(saved->c_str(), "%hd %hd %hd %hd %hd", &l, &t, &r, &b, &m) : 0;
    // A broken value is ignored rather than trusted: the default area is used.
    if (fields >= 4 && r > l && b > t) {
        area.left = std::max(l, desktop.left);
        area.top = std::max(t, desktop.top);
        area.right = std::min(r, desktop.right);
        area.bottom = std::min(b, desktop.bottom);
        area.maximized = fields == 5 && m != 0;
        if (area.right <= area.left || area.bottom <= area.top) area = SavedArea{};
    }
    return area;
}

void StatisticsAtClose(const SavedArea& area) {
    const std::string section = ApplicationName();
    char text[96];
    std::snprintf(text, sizeof text, "%hd %hd %hd %hd %hd", area.left, area.top, area.right, area.bottom,
                  static_cast<short>(area.maximized ? 1 : 0));
    Write(section, "Aire", text);
    totalSeconds += static_cast<long>((TickCount() - runStartTick) / 60);
    Write(section, "Duree", FormatDuration(totalSeconds));
    Write(section, "Crash", "0 (Derniere execution complete)");
}

StartupHooks& Startup() {
    return startupHooks;
}

Handle KeyboardLayout() {
    return keyboardLayout;
}

void ResetStartup() {
    started = false;
    startupHooks = StartupHooks{};
    settingsHooks = SettingsHooks{};
    borderWidth = 4;
    desktopPicture = -9996;
}

bool ToolkitStarted() {
    return started;
}

void ToolkitStartup() {
    if (started) return;
    started = true;
    // 1. The message log is written after every other exit step.
    std::atexit(&WriteLogAtExit);
    // 2. Graphics; the start-up directory is made current again at exit.
    if (startupHooks.setUpGraphics) startupHooks.setUpGraphics();
    startDirectory = platform::CurrentDirectory();
    std::atexit(&RestoreStartDirectory);
    // 3. Event positions come from GetMouse.
    Point mouse;
    GetMouse(&mouse);
    // 4-6. System files, the arrow cursor and the keyboard layout. A program on the shell reads them
    // from the system's resource files; tests install their own steps.
    if (startupHooks.openSystemFiles)
        startupHooks.openSystemFiles();
    else if (ShellRunning())
        OpenSystemFiles();
    if (startupHooks.loadCursorAndLayout)
        startupHooks.loadCursorAndLayout();
    else if (ShellRunning())
        LoadCursorAndLayout();
    // 7. The sound volume.
    SetSoundVol(IniVolume());
    // 8. The window manager's regions.
    if (startupHooks.createWindowRegions) startupHooks.createWindowRegions();
    // 9. Finish the graphics, re-read the settings as at activation; the main window closes at exit.
    if (startupHooks.finishGraphics) startupHooks.finishGraphics();
    RereadSettingsAtActivation();
    std::atexit(&CloseMainWindowAtExit);
}

} // namespace qiva
