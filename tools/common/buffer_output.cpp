#include "tools/common/buffer_output.h"

#include <string>
#include <string_view>
#include <vector>

#include "platform/file_io.h"
#include "platform/png.h"
#include "toolkit/graphics/palette.h"

namespace qiva_tools {

IndexImage ImageOf(const qiva::BufferSlot& slot) {
    return {slot.base, slot.rowBytes, slot.width, slot.height};
}

// Encoded in memory and written through the platform's one output writer, so that a failure leaves
// the old file.
std::string WritePalettedPng(const std::string& path, const IndexImage& image) {
    std::uint32_t palette[256];
    const auto& entries = qiva::ThePalette().palette.entries;
    for (int i = 0; i < 256; ++i)
        palette[i] = 0xFF000000u | std::uint32_t{entries[i].red} << 16 |
                     std::uint32_t{entries[i].green} << 8 | entries[i].blue;
    std::vector<std::uint8_t> png;
    const std::string error =
        platform::EncodePng({image.base, image.rowBytes, image.width, image.height, palette}, png);
    if (!error.empty()) return error + " for " + path;
    const std::string_view bytes(reinterpret_cast<const char*>(png.data()), png.size());
    return platform::WriteOutputFile(path, bytes);
}

std::string WriteIndexText(const std::string& path, const IndexImage& image) {
    std::string text;
    for (int v = 0; v < image.height; ++v) {
        const std::uint8_t* row = image.base + static_cast<std::ptrdiff_t>(v) * image.rowBytes;
        for (int h = 0; h < image.width; ++h) {
            if (h) text += ' ';
            text += std::to_string(row[h]);
        }
        text += '\n';
    }
    return platform::WriteOutputFile(path, text);
}

bool ParseDimension(const char* text, int& out) {
    try {
        std::size_t used = 0;
        const long value = std::stol(text, &used);
        if (text[used] != '\0' || value < 1 || value > 4096) return false;
        out = static_cast<int>(value);
        return true;
    } catch (...) {
        return false;
    }
}

} // namespace qiva_tools
