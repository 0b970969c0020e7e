// Colour icons ('cicn') from arbitrary bytes: read by the format reader, whose pieces must lie inside
// the data, then stored as a resource in a file of their own and loaded with GetCIcon, plotted at
// their size, larger and smaller (the mask scaled), and disposed.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "fuzz/headless_toolbox.h"
#include "toolkit/core/resource_format.h"
#include "toolkit/core/resources.h"
#include "toolkit/dialogs/cicn_format.h"
#include "toolkit/dialogs/dialogs.h"
#include "toolkit/graphics/quickdraw.h"

namespace {

constexpr std::int16_t kIconID = 32000;

bool Inside(std::span<const std::uint8_t> piece, const std::uint8_t* data, std::size_t size) {
    return piece.empty() || (piece.data() >= data && piece.data() + piece.size() <= data + size);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static fuzz::HeadlessToolbox toolbox("cicn");
    static const std::string path = toolbox.Folder() + "/ICON.RSR";

    std::string error;
    const auto parsed = qiva::ParseColorIcon({data, size}, error);
    if (parsed) {
        FUZZ_CHECK(Inside(parsed->mask, data, size) && Inside(parsed->icon, data, size) &&
                   Inside(parsed->pixels, data, size));
        FUZZ_CHECK(parsed->colours.size() <= 256);
    } else {
        FUZZ_CHECK(!error.empty());
    }

    std::vector<qiva::Resource> resources(1);
    resources[0].type = MakeResType("cicn");
    resources[0].id = kIconID;
    resources[0].data.assign(data, data + size);
    std::vector<std::uint8_t> image;
    if (!qiva::WriteResourceFile(resources, qiva::MapLayout::Scrambled, image, error)) return 0;
    if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(image.data(), 1, image.size(), f);
        std::fclose(f);
    }
    const std::int16_t ref = OpenResFile(path.c_str());
    FUZZ_CHECK(ref > 0);
    CIconHandle icon = GetCIcon(kIconID);
    FUZZ_CHECK((icon != nullptr) == parsed.has_value());
    if (icon) {
        const int w = parsed->width, h = parsed->height;
        const Rect places[] = {{10, 10, static_cast<std::int16_t>(10 + h), static_cast<std::int16_t>(10 + w)},
                               {0, 0, static_cast<std::int16_t>(2 * h), static_cast<std::int16_t>(2 * w)},
                               {5, 5, 12, 9},
                               {290, 390, 330, 440}};
        for (const Rect& r : places)
            PlotCIcon(&r, icon);
        DisposeCIcon(icon);
    }
    CloseResFile(ref);
    fuzz::HeadlessToolbox::EndInput();
    return 0;
}
