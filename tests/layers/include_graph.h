#pragma once
// The layer rules of the source tree, checked from the include lines of its files.
//
// Layers, lowest first: platform, core, graphics, windows, {menus, managers, controls}, dialogs, game.
// A file may include headers of its own layer and of the layers below; menus, managers and controls
// do not include each other; no layer includes tools, tests, benchmarks or fuzz targets; above the
// platform, angle-bracket includes are the C++ standard library's. Within a layer the units (a .cpp
// and its own .h count as one) must not include each other in a loop. The layers' libraries link the
// same way: each only to libraries of the layers below it.

#include <filesystem>
#include <string>
#include <vector>

namespace layer_check {

// Units of one layer that are known to include each other in a loop and may for now, named by their
// path from the root without extension ("toolkit/graphics/ports"). A loop passes when all its units
// are in one allowance of its layer; a unit listed that is no longer in a loop is reported, so that
// the list only shrinks.
struct LoopAllowance {
    std::string layer;
    std::vector<std::string> units;
};

// Every breach of the rules in the tree under `root`, one readable line each; empty when it keeps them.
std::vector<std::string> CheckTree(const std::filesystem::path& root,
                                   const std::vector<LoopAllowance>& allowed);

} // namespace layer_check
