#pragma once
// The qiva-draw interpreter: a script of QuickDraw calls, one per line, run on named buffer ports.
// Each call is one row of the command table (script.cpp), which later drawing calls extend.

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/graphics/pict_player.h"
#include "toolkit/graphics/polygons.h"
#include "toolkit/graphics/quickdraw_types.h"

namespace qiva_draw {

// The ports a script draws into ("main" is the canvas that is written out), and its named regions
// and polygons.
struct Session {
    std::map<std::string, std::unique_ptr<GrafPort>> ports;
    std::map<std::string, RgnHandle> regions;
    std::map<std::string, PolyHandle> polygons;
    std::map<std::string, PicHandle> pictures;
    std::string error; // left by a call that fails
    GrafPtr NewCanvas(const std::string& name, int width, int height, std::string& failure);
    ~Session();
};

// The named regions' records as text: per region its size and box (in SetRect order), then one
// line per scanline record, "ROW: X X ...".
std::string DescribeRegions(const Session& session);

// Runs the script text; on failure returns false with "LINE: message" in error.
bool RunScript(Session& session, const std::string& text, std::string& error);

// The names the script accepts, for --help.
std::vector<std::string> CommandSynopses();

} // namespace qiva_draw
