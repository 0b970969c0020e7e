#pragma once
// The contact sheet: every 'PICT' and 'cicn' of some resource files on one page, each at 1× and 2×
// under its type and number, on a neutral grey that shows an icon's mask.

#include <string>
#include <vector>

#include "toolkit/core/resource_format.h"

namespace qiva_rsrc {

// Writes the sheet as a PNG; returns an error text, empty on success. Pictures that do not play
// and icons that do not read are listed in `problems` (one line each) and drawn as a red square.
std::string WriteContactSheet(const std::vector<qiva::Resource>& resources, const std::string& path,
                              std::vector<std::string>& problems);

} // namespace qiva_rsrc
