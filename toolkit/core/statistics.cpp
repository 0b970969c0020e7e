#include "toolkit/core/statistics.h"

#include <algorithm>
#include <climits>
#include <cstdio>

#include "toolkit/core/application.h"
#include "toolkit/core/settings_file.h"
#include "toolkit/core/tick_count.h"

namespace qiva {
namespace {

std::uint32_t runStartTick = 0;
long totalSeconds = 0;
bool recorded = true;

// Counters stay at their limit rather than wrap into nonsense.
int Plus(int count, long more) {
    return static_cast<int>(std::clamp<long>(static_cast<long>(count) + more, 0, INT_MAX));
}

} // namespace

void SetUsageRecorded(bool on) {
    recorded = on;
}

std::string FormatDuration(long total) {
    char text[128];
    std::snprintf(text, sizeof text, "%ld (%ldh %ldmn %ldsec d'utilisation)", total, total / 3600,
                  (total % 3600) / 60, total % 60);
    return text;
}

SavedArea StatisticsAtCreation(const Rect& desktop) {
    const std::string& section = ApplicationName();
    runStartTick = TickCount();
    totalSeconds = ReadIniCount(section, "Duree");
    if (recorded) {
        const bool lastIncomplete = ReadIniCount(section, "Crash") != 0;
        const int crashes = ReadIniCount(section, "NbCrash");
        const std::string runs =
            std::to_string(Plus(ReadIniCount(section, "NbExec"), 1)) + " (executions de l'application)";
        const std::string incomplete = "1 (Derniere execution incomplete)";
        if (lastIncomplete)
            WriteIniStrings(section, {{"NbCrash", std::to_string(Plus(crashes, 1)) +
                                                      " (arrets illegaux de l'application)"},
                                      {"NbExec", runs},
                                      {"Crash", incomplete}});
        else
            WriteIniStrings(section, {{"NbExec", runs}, {"Crash", incomplete}});
    }

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
    if (!recorded) return;
    const std::string& section = ApplicationName();
    char text[96];
    std::snprintf(text, sizeof text, "%hd %hd %hd %hd %hd", area.left, area.top, area.right, area.bottom,
                  static_cast<short>(area.maximized ? 1 : 0));
    totalSeconds = Plus(static_cast<int>(totalSeconds), static_cast<long>((TickCount() - runStartTick) / 60));
    WriteIniStrings(section, {{"Aire", text},
                              {"Duree", FormatDuration(totalSeconds)},
                              {"Crash", "0 (Derniere execution complete)"}});
}

} // namespace qiva
