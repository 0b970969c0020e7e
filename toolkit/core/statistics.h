#pragma once
// Usage statistics in WQIVA.INI, in the section named after the application: runs, incomplete runs,
// usage time and the main window's area.

#include <cstdint>
#include <string>

#include "toolkit/core/geometry.h"

namespace qiva {

struct SavedArea {
    std::int16_t left = 32, top = 32, right = 672, bottom = 482;
    bool maximized = false;
};

// Whether runs, their time and the window area are written (not for scripted runs); on by default.
void SetUsageRecorded(bool recorded);

// At main window creation: counts the run (and the last one if it was incomplete), marks this one
// incomplete, and returns the window area to use: the saved one clamped into `desktop`, else the default.
SavedArea StatisticsAtCreation(const Rect& desktop);
// At main window close: the area, the usage time and the completed run.
void StatisticsAtClose(const SavedArea& area);
// "%ld (%ldh %ldmn %ldsec d'utilisation)"
std::string FormatDuration(long totalSeconds);

} // namespace qiva
