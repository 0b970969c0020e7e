#include "toolkit/core/statistics.h"

#include <algorithm>
#include <cstdio>

#include "toolkit/core/application.h"
#include "toolkit/core/settings_file.h"
#include "toolkit/core/tick_count.h"

namespace qiva {
namespace {

std::uint32_t runStartTick = 0;
long totalSeconds = 0;

} // namespace

std::string FormatDuration(long total) {
    char text[128];
    std::snprintf(text, sizeof text, "%ld (%ldh %ldmn %ldsec d'utilisation)", total, total / 3600,
                  (total % 3600) / 60, total % 60);
    return text;
}

SavedArea StatisticsAtCreation(const Rect& desktop) {
    const std::string& section = ApplicationName();
    runStartTick = TickCount();
    totalSeconds = ReadIniInt(section, "Duree", 0);
    if (ReadIniInt(section, "Crash", 0) != 0)
        WriteIniString(section, "NbCrash",
                       std::to_string(ReadIniInt(section, "NbCrash", 0) + 1) +
                           " (arrets illegaux de l'application)");
    WriteIniString(section, "NbExec",
                   std::to_string(ReadIniInt(section, "NbExec", 0) + 1) + " (executions de l'application)");
    WriteIniString(section, "Crash", "1 (Derniere execution incomplete)");

    SavedArea area;
    const auto saved = ReadIniValue(section, "Aire");
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
    const std::string& section = ApplicationName();
    char text[96];
    std::snprintf(text, sizeof text, "%hd %hd %hd %hd %hd", area.left, area.top, area.right, area.bottom,
                  static_cast<short>(area.maximized ? 1 : 0));
    WriteIniString(section, "Aire", text);
    totalSeconds += static_cast<long>((TickCount() - runStartTick) / 60);
    WriteIniString(section, "Duree", FormatDuration(totalSeconds));
    WriteIniString(section, "Crash", "0 (Derniere execution complete)");
}

} // namespace qiva
