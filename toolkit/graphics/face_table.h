#pragma once
// The table of TrueType faces the toolkit can draw with: every installed scalable face, numbered
// through the "Fontes" section or the name hash. There is no printer, so every face is a screen
// face (source 1).

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/fonts.h"

namespace qiva {

struct FaceEntry {
    int source = 1;
    int familyCode = 0;
    std::uint16_t number = 0;
    std::string name;
};

// What the "Fontes" section holds for a face name, "0" when nothing.
using FontesLookup = std::function<std::string(std::string_view faceName)>;

// One entry per face name, in the order given; a name already entered is not entered again.
std::vector<FaceEntry> BuildFaceTable(std::span<const platform::InstalledFace> faces,
                                      const FontesLookup& fontes);

// The index of the first entry with that number, or -1.
int FindFace(std::span<const FaceEntry> table, std::uint16_t number);

} // namespace qiva
