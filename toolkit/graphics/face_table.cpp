#include "toolkit/graphics/face_table.h"

#include <algorithm>

#include "toolkit/graphics/font_numbers.h"

namespace qiva {

std::vector<FaceEntry> BuildFaceTable(std::span<const platform::InstalledFace> faces,
                                      const FontesLookup& fontes) {
    std::vector<FaceEntry> table;
    for (const auto& face : faces) {
        if (std::any_of(table.begin(), table.end(), [&](const FaceEntry& e) { return e.name == face.name; }))
            continue;
        const std::string value = fontes ? fontes(face.name) : std::string("0");
        table.push_back(
            {1, face.familyCode, FontNumberFromName(face.name, face.familyCode, value), face.name});
    }
    return table;
}

int FindFace(std::span<const FaceEntry> table, std::uint16_t number) {
    for (std::size_t i = 0; i < table.size(); ++i)
        if (table[i].number == number) return static_cast<int>(i);
    return -1;
}

} // namespace qiva
