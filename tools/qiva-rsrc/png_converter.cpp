#include <stdexcept>
#include <string>

#include "toolkit/graphics/palette.h"
#include "tools/qiva-pict/pict_files.h"
#include "tools/qiva-rsrc/converters.h"

namespace qiva_rsrc {

void ConvertPng(const std::string& path, const ConverterOptions& options, Bytes& out) {
    qiva_pict::PictOptions settings;
    for (const auto& [key, value] : options) {
        if (key == "dither" && (value == "yes" || value == "no"))
            settings.dither = value == "yes";
        else if (key == "depth" && (value == "8" || value == "1"))
            settings.mask = value == "1";
        else
            throw std::runtime_error("the png converter takes dither yes|no and depth 8|1, not '" + key +
                                     " " + value + "'");
    }
    qiva_pict::RgbaImage image;
    std::string error;
    if (!qiva_pict::ReadPng(path, image, error)) throw std::runtime_error(error);
    const qiva_pict::Bytes pict = qiva_pict::PictFromImage(image, qiva::BuildPalette(0, 0, 0), settings);
    out.insert(out.end(), pict.begin(), pict.end());
}

} // namespace qiva_rsrc
