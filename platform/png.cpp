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

// What one encoding writes: the rows and, for a paletted image, its colours.
struct Image {
    int width = 0;
    int height = 0;
    int colourType = PNG_COLOR_TYPE_PALETTE;
    const std::uint8_t* pixels = nullptr;
    std::ptrdiff_t rowBytes = 0;
    const png_color* colours = nullptr; // paletted images only
};

// libpng reports errors by jumping back to the setjmp: nothing here may need a destructor.
bool Encode(png_structp png, png_infop info, const Image& image, std::vector<std::uint8_t>* out) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_write_fn(png, out, &Append, &Flush);
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width), static_cast<png_uint_32>(image.height), 8,
                 image.colourType, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (image.colours) {
        png_set_PLTE(png, info, image.colours, 256);
        // Palette indices gain nothing from the row filters; the screen's large flat areas deflate well.
        png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    }
    png_set_compression_level(png, 9);
    png_write_info(png, info);
    for (int y = 0; y < image.height; ++y)
        png_write_row(png, const_cast<png_bytep>(image.pixels + y * image.rowBytes));
    png_write_end(png, info);
    return true;
}

std::string EncodeImage(const Image& image, std::vector<std::uint8_t>& png) {
    png_structp writer = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = writer ? png_create_info_struct(writer) : nullptr;
    const bool ok = writer && info && Encode(writer, info, image, &png);
    png_destroy_write_struct(&writer, &info);
    if (!ok) {
        png.clear();
        return "cannot encode the PNG image";
    }
    return {};
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
    return EncodeImage(
        {frame.width, frame.height, PNG_COLOR_TYPE_PALETTE, frame.pixels, frame.rowBytes, colours}, png);
}

std::string EncodeTrueColourPng(int width, int height, int channels, std::span<const std::uint8_t> pixels,
                                std::vector<std::uint8_t>& png) {
    png.clear();
    if (width <= 0 || height <= 0 || (channels != 3 && channels != 4) ||
        pixels.size() < std::size_t(width) * std::size_t(height) * std::size_t(channels))
        return "no image to write";
    const int type = channels == 3 ? PNG_COLOR_TYPE_RGB : PNG_COLOR_TYPE_RGB_ALPHA;
    return EncodeImage({width, height, type, pixels.data(), std::ptrdiff_t(width) * channels, nullptr}, png);
}

std::string WritePng(const std::string& path, const Frame& frame) {
    std::vector<std::uint8_t> png;
    std::string error = EncodePng(frame, png);
    if (!error.empty()) return error;
    const std::string_view bytes(reinterpret_cast<const char*>(png.data()), png.size());
    return WriteFileAtomically(path, bytes) ? std::string{} : "cannot write " + path;
}

} // namespace platform
