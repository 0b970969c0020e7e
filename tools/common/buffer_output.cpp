#include "tools/common/buffer_output.h"

#include <png.h>

#include <cstdio>
#include <fstream>

#include "toolkit/graphics/palette.h"

namespace qiva_tools {

IndexImage ImageOf(const qiva::BufferSlot& slot) {
    return {slot.base, slot.rowBytes, slot.width, slot.height};
}

std::string WritePalettedPng(const std::string& path, const IndexImage& image) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return "cannot write " + path;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (png == nullptr || info == nullptr || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        return "cannot encode " + path;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width), static_cast<png_uint_32>(image.height), 8,
                 PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_color colours[256];
    const auto& entries = qiva::ThePalette().palette.entries;
    for (int i = 0; i < 256; ++i)
        colours[i] = {entries[i].red, entries[i].green, entries[i].blue};
    png_set_PLTE(png, info, colours, 256);
    png_write_info(png, info);
    for (int v = 0; v < image.height; ++v)
        png_write_row(png,
                      const_cast<png_bytep>(image.base + static_cast<std::ptrdiff_t>(v) * image.rowBytes));
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0 ? std::string{} : "cannot write " + path;
}

std::string WriteIndexText(const std::string& path, const IndexImage& image) {
    std::ofstream out(path);
    for (int v = 0; v < image.height; ++v) {
        const std::uint8_t* row = image.base + static_cast<std::ptrdiff_t>(v) * image.rowBytes;
        for (int h = 0; h < image.width; ++h)
            out << (h ? " " : "") << static_cast<int>(row[h]);
        out << "\n";
    }
    return out ? std::string{} : "cannot write " + path;
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
