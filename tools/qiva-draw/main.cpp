// qiva-draw SCRIPT -o OUT.png [--size W H] [--indices OUT.txt]
// Runs a script of QuickDraw calls on a buffer port and writes the result as a paletted PNG and,
// on request, the palette index of every pixel as text.

#include <png.h>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "platform/paths.h"
#include "script.h"
#include "toolkit/core/resources.h"
#include "toolkit/graphics/buffers.h"
#include "toolkit/graphics/drawing_state.h"
#include "toolkit/graphics/palette.h"
#include "toolkit/graphics/quickdraw.h"

namespace {

void Usage(std::ostream& out) {
    out << "usage: qiva-draw SCRIPT -o OUT.png [--size WIDTH HEIGHT] [--indices OUT.txt] [--regions]\n"
           "Runs SCRIPT, one QuickDraw call per line ('#' starts a comment), on a buffer port named\n"
           "'main' (640 x 400 unless --size), erased to white, and writes it as a PNG through the\n"
           "palette; --indices also writes each pixel's palette index (one row per line); --regions\n"
           "prints the script's named regions: size, box, and each scanline record (ROW: X X ...).\n"
           "Rectangles are given in SetRect order: LEFT TOP RIGHT BOTTOM. Patterns: white black gray\n"
           "ltGray dkGray or 16 hex digits; modes by name (patCopy, srcXor, hilite ...) or number;\n"
           "colours by classic name (redColor ...) or number. Text calls take the rest of the line\n"
           "in UTF-8; WINIT.RSR, when found, provides the bitmap fonts, and the wqiva.ini beside the\n"
           "program numbers the TrueType faces (TextFont 20, 21 and 22 are Liberation Serif, Sans and\n"
           "Mono). Calls:\n";
    for (const std::string& s : qiva_draw::CommandSynopses())
        out << "  " << s << "\n";
}

struct Image {
    const std::uint8_t* base;
    int rowBytes, width, height;
};

bool WritePng(const std::string& path, const Image& image, std::string& error) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        error = "cannot write " + path;
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (png == nullptr || info == nullptr || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        error = "cannot encode " + path;
        return false;
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
    if (std::fclose(file) != 0) {
        error = "cannot write " + path;
        return false;
    }
    return true;
}

bool WriteIndices(const std::string& path, const Image& image, std::string& error) {
    std::ofstream out(path);
    for (int v = 0; v < image.height; ++v) {
        const std::uint8_t* row = image.base + static_cast<std::ptrdiff_t>(v) * image.rowBytes;
        for (int h = 0; h < image.width; ++h)
            out << (h ? " " : "") << static_cast<int>(row[h]);
        out << "\n";
    }
    if (!out) error = "cannot write " + path;
    return static_cast<bool>(out);
}

bool ParseSize(const char* text, int& out) {
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

} // namespace

int main(int argc, char** argv) {
    std::string scriptPath, pngPath, indicesPath;
    int width = 640, height = 400;
    bool printRegions = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            Usage(std::cout);
            return 0;
        } else if (arg == "-o" && i + 1 < argc) {
            pngPath = argv[++i];
        } else if (arg == "--regions") {
            printRegions = true;
        } else if (arg == "--indices" && i + 1 < argc) {
            indicesPath = argv[++i];
        } else if (arg == "--size" && i + 2 < argc) {
            if (!ParseSize(argv[i + 1], width) || !ParseSize(argv[i + 2], height)) {
                std::cerr << "qiva-draw: --size takes two numbers from 1 to 4096\n";
                return 2;
            }
            i += 2;
        } else if (!arg.empty() && arg[0] != '-' && scriptPath.empty()) {
            scriptPath = arg;
        } else {
            std::cerr << "qiva-draw: unexpected argument '" << arg << "'\n";
            Usage(std::cerr);
            return 2;
        }
    }
    if (scriptPath.empty() || pngPath.empty()) {
        Usage(std::cerr);
        return 2;
    }
    std::ifstream in(scriptPath);
    if (!in) {
        std::cerr << "qiva-draw: cannot read " << scriptPath << "\n";
        return 2;
    }
    std::stringstream text;
    text << in.rdbuf();

    qiva::SetScreenSize(width, height);
    InitGraf(nullptr);
    // The system fonts, when WINIT.RSR is found (beside the program, in the current or the system
    // directory); without it text in bitmap fonts draws nothing.
    const std::int16_t fonts = OpenResFile("WINIT.RSR");
    // TrueType faces are numbered by the default settings shipped beside the program (so that
    // TextFont 20 draws in the Times-like face), never by the user's own.
    const std::string program = platform::ProgramPath();
    qiva::SetFontesLookup(qiva::FontesFromIni(program.substr(0, program.rfind('/') + 1) + "wqiva.ini"));
    int status = 0;
    {
        qiva_draw::Session session;
        std::string error;
        GrafPtr canvas = session.NewCanvas("main", width, height, error);
        if (canvas == nullptr) {
            std::cerr << "qiva-draw: " << error << "\n";
            status = 1;
        } else if (!qiva_draw::RunScript(session, text.str(), error)) {
            std::cerr << scriptPath << ":" << error << "\n";
            status = 2;
        } else {
            const qiva::BufferSlot* slot = qiva::LookUpBuffer(qiva::BufferIdOf(canvas->portBits));
            const Image image{slot->base, slot->rowBytes, slot->width, slot->height};
            if (!WritePng(pngPath, image, error) ||
                (!indicesPath.empty() && !WriteIndices(indicesPath, image, error))) {
                std::cerr << "qiva-draw: " << error << "\n";
                status = 1;
            } else if (printRegions) {
                std::cout << qiva_draw::DescribeRegions(session);
            }
        }
    }
    if (fonts > 0) CloseResFile(fonts);
    qiva::CloseGraphics();
    return status;
}
