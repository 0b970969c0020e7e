#include "platform/png.h"

#include <png.h>

#include <string_view>

#include "platform/paths.h"

namespace platform {
namespace {

void Append(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void Flush(png_structp) {}

// libpng reports errors by jumping back to the setjmp: nothing here may need a destructor.
bool Encode(png_structp png, png_infop info, const Frame& frame, const png_color* colours,
            std::vector<std::uint8_t>* out) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_write_fn(png, out, &Append, &Flush);
    png_set_IHDR(png, info, static_cast<png_uint_32>(frame.width), static_cast<png_uint_32>(frame.height), 8,
                 PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_set_PLTE(png, info, colours, 256);
    // Palette indices gain nothing from the row filters; the screen's large flat areas deflate well.
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_set_compression_level(png, 9);
    png_write_info(png, info);
    for (int y = 0; y < frame.height; ++y)
        png_write_row(png, frame.pixels + static_cast<std::ptrdiff_t>(y) * frame.rowBytes);
    png_write_end(png, info);
    return true;
}

} // namespace

std::string EncodePng(const Frame& frame, std::vector<std::uint8_t>& png) {
    png.clear();
    if (!frame.pixels || !frame.palette || frame.width <= 0 || frame.height <= 0 ||
        frame.rowBytes < frame.width)
        return "no frame to write";
    png_color colours[256];
    for (int i = 0; i < 256; ++i) {
        const std::uint32_t argb = frame.palette[i];
        colours[i] = {static_cast<png_byte>(argb >> 16), static_cast<png_byte>(argb >> 8),
                      static_cast<png_byte>(argb)};
    }
    png_structp writer = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = writer ? png_create_info_struct(writer) : nullptr;
    const bool ok = writer && info && Encode(writer, info, frame, colours, &png);
    png_destroy_write_struct(&writer, &info);
    if (!ok) {
        png.clear();
        return "cannot encode the PNG image";
    }
    return {};
}

std::string WritePng(const std::string& path, const Frame& frame) {
    std::vector<std::uint8_t> png;
    std::string error = EncodePng(frame, png);
    if (!error.empty()) return error;
    const std::string_view bytes(reinterpret_cast<const char*>(png.data()), png.size());
    return WriteFileAtomically(path, bytes) ? std::string{} : "cannot write " + path;
}

} // namespace platform
