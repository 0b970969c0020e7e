// qiva-draw SCRIPT -o OUT.png [--size W H] [--indices OUT.txt]
// Runs a script of QuickDraw calls on a buffer port and writes the result as a paletted PNG and,
// on request, the palette index of every pixel as text.

#include <iostream>
#include <string>

#include "platform/file_io.h"
#include "platform/paths.h"
#include "script.h"
#include "toolkit/core/resources.h"
#include "toolkit/graphics/buffers.h"
#include "toolkit/graphics/drawing_state.h"
#include "toolkit/graphics/palette.h"
#include "toolkit/graphics/quickdraw.h"
#include "tools/common/buffer_output.h"
#include "tools/common/standard_output.h"

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

} // namespace

int main(int argc, char** argv) {
    std::string scriptPath, pngPath, indicesPath;
    int width = 640, height = 400;
    bool printRegions = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            Usage(std::cout);
            return qiva_tools::FinishStandardOutput("qiva-draw", 0);
        } else if (arg == "-o" && i + 1 < argc) {
            pngPath = argv[++i];
        } else if (arg == "--regions") {
            printRegions = true;
        } else if (arg == "--indices" && i + 1 < argc) {
            indicesPath = argv[++i];
        } else if (arg == "--size" && i + 2 < argc) {
            if (!qiva_tools::ParseDimension(argv[i + 1], width) ||
                !qiva_tools::ParseDimension(argv[i + 2], height)) {
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
    for (const std::string& output : {pngPath, indicesPath}) {
        if (!output.empty() && platform::SameFile(scriptPath, output)) {
            std::cerr << "qiva-draw: " << output << " is the script itself; give another output\n";
            return 2;
        }
    }
    if (!indicesPath.empty() && (indicesPath == pngPath || platform::SameFile(indicesPath, pngPath))) {
        std::cerr << "qiva-draw: -o and --indices name the same file\n";
        return 2;
    }
    std::string text, readError;
    if (!platform::ReadInputFile(scriptPath, platform::InputKind::Script, text, readError)) {
        std::cerr << "qiva-draw: " << readError << "\n";
        return 1;
    }

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
        } else if (!qiva_draw::RunScript(session, text, error)) {
            std::cerr << scriptPath << ":" << error << "\n";
            status = 2;
        } else {
            const qiva::BufferSlot* slot = qiva::LookUpBuffer(qiva::BufferIdOf(canvas->portBits));
            const qiva_tools::IndexImage image = qiva_tools::ImageOf(*slot);
            error = qiva_tools::WritePalettedPng(pngPath, image);
            if (error.empty() && !indicesPath.empty()) error = qiva_tools::WriteIndexText(indicesPath, image);
            if (!error.empty()) {
                std::cerr << "qiva-draw: " << error << "\n";
                status = 1;
            } else if (printRegions) {
                std::cout << qiva_draw::DescribeRegions(session);
            }
        }
    }
    if (fonts > 0) CloseResFile(fonts);
    qiva::CloseGraphics();
    return qiva_tools::FinishStandardOutput("qiva-draw", status);
}
