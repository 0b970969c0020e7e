// qiva-pict render FILE -o OUT.png [--size W H]
// qiva-pict from-png IN.png -o OUT.pict [--no-dither] [--mask]

#include <iostream>
#include <string>

#include "platform/file_io.h"
#include "toolkit/core/memory.h"
#include "toolkit/graphics/buffers.h"
#include "toolkit/graphics/palette.h"
#include "toolkit/graphics/pict_player.h"
#include "toolkit/graphics/quickdraw.h"
#include "tools/common/buffer_output.h"
#include "tools/common/standard_output.h"
#include "tools/qiva-pict/pict_files.h"

namespace {

void Usage(std::ostream& out) {
    out << "usage: qiva-pict render FILE -o OUT.png [--size WIDTH HEIGHT] [--indices OUT.txt]\n"
           "       qiva-pict from-png IN.png -o OUT.pict [--no-dither] [--mask]\n"
           "render draws a picture (bare, or a picture file with its 512-byte header) into a buffer of\n"
           "its frame's size, or scaled to WIDTH x HEIGHT, and writes it as a PNG; the toolkit's\n"
           "messages go to standard error and a picture that is refused exits with status 1;\n"
           "--indices also writes each pixel's palette index (one row per line).\n"
           "from-png makes a PackBitsRect picture of 8-bit indices on the system palette, dithered\n"
           "unless --no-dither, fully transparent pixels taking the transparent index 10; --mask\n"
           "makes a one-bit picture instead, 1 where the image is opaque (or dark, without alpha).\n";
}

// Why a picture was not drawn, for the one line the program prints.
const char* Reason(qiva::pict::Status status) {
    using qiva::pict::Status;
    switch (status) {
    case Status::Ok:
    case Status::End:
        return "drawn";
    case Status::EmptyPicture:
        return "the picture is empty";
    case Status::TooShort:
        return "the picture is shorter than its header";
    case Status::BadVersion:
        return "the picture has an unknown version";
    case Status::UnknownType:
        return "the file is not a picture";
    case Status::EmptyFrame:
        return "the picture's frame has no width or height";
    case Status::UnknownOpcode:
        return "the picture holds an unknown operation";
    case Status::Truncated:
        return "the picture ends inside an operation";
    case Status::BadOperand:
        return "the picture holds a damaged region, polygon or image";
    }
    return "the picture is damaged";
}

int Render(const std::string& path, const std::string& outPath, int width, int height,
           const std::string& indicesPath) {
    qiva_pict::Bytes file;
    std::string readError;
    if (!platform::ReadInputFile(path, platform::InputKind::Picture, file, readError)) {
        std::cerr << "qiva-pict: " << readError << "\n";
        return 1;
    }
    const qiva_pict::Bytes bytes = qiva_pict::PictureOfFile(file);
    qiva::pict::Header header;
    const qiva::pict::Status st = qiva::pict::ReadHeader(bytes, header);
    if (width == 0 && st == qiva::pict::Status::Ok) {
        width = header.frame.right - header.frame.left;
        height = header.frame.bottom - header.frame.top;
        if (width > 4096 || height > 4096) {
            std::cerr << "qiva-pict: the frame is " << width << " x " << height << "; give --size\n";
            return 1;
        }
    }
    qiva::SetScreenSize(std::max(width, 1), std::max(height, 1));
    InitGraf(nullptr);
    int status = 0;
    {
        GrafPort port{};
        if (!NewBufferPort(&port, std::max(width, 1), std::max(height, 1))) {
            std::cerr << "qiva-pict: cannot make a buffer of " << width << " x " << height << "\n";
            qiva::CloseGraphics();
            return 1;
        }
        EraseRect(&port.portRect);
        Handle h = nullptr;
        PtrToHand(bytes.data(), &h, static_cast<Size>(bytes.size()));
        const qiva::pict::Status played = h ? qiva::PlayPicture(reinterpret_cast<PicHandle>(h), port.portRect)
                                            : qiva::pict::Status::TooShort;
        if (h) DisposeHandle(h);
        if (played != qiva::pict::Status::Ok || st != qiva::pict::Status::Ok) {
            std::cerr << "qiva-pict: " << path << ": " << Reason(st != qiva::pict::Status::Ok ? st : played)
                      << "\n";
            status = 1;
        } else {
            const qiva::BufferSlot* slot = qiva::LookUpBuffer(qiva::BufferIdOf(port.portBits));
            const qiva_tools::IndexImage image = qiva_tools::ImageOf(*slot);
            std::string error = qiva_tools::WritePalettedPng(outPath, image);
            if (error.empty() && !indicesPath.empty()) error = qiva_tools::WriteIndexText(indicesPath, image);
            if (!error.empty()) {
                std::cerr << "qiva-pict: " << error << "\n";
                status = 1;
            }
        }
        DisposeBufferPort(&port);
    }
    qiva::CloseGraphics();
    return status;
}

int FromPng(const std::string& path, const std::string& outPath, const qiva_pict::PictOptions& options) {
    qiva_pict::RgbaImage image;
    std::string error;
    if (!qiva_pict::ReadPng(path, image, error)) {
        std::cerr << "qiva-pict: " << error << "\n";
        return 1;
    }
    const qiva_pict::Bytes pict = qiva_pict::PictFromImage(image, qiva::BuildPalette(0, 0, 0), options);
    error = platform::WriteOutputFile(outPath, {reinterpret_cast<const char*>(pict.data()), pict.size()});
    if (!error.empty()) {
        std::cerr << "qiva-pict: " << error << "\n";
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        Usage(std::cerr);
        return 2;
    }
    const std::string verb = argv[1];
    if (verb == "--help" || verb == "-h") {
        Usage(std::cout);
        return qiva_tools::FinishStandardOutput("qiva-pict", 0);
    }
    std::string in, out, indices;
    int width = 0, height = 0;
    qiva_pict::PictOptions options;
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "-o" && i + 1 < argc) {
            out = argv[++i];
        } else if (arg == "--size" && verb == "render" && i + 2 < argc) {
            if (!qiva_tools::ParseDimension(argv[i + 1], width) ||
                !qiva_tools::ParseDimension(argv[i + 2], height)) {
                std::cerr << "qiva-pict: --size takes two numbers from 1 to 4096\n";
                return 2;
            }
            i += 2;
        } else if (arg == "--indices" && verb == "render" && i + 1 < argc) {
            indices = argv[++i];
        } else if (arg == "--no-dither" && verb == "from-png") {
            options.dither = false;
        } else if (arg == "--mask" && verb == "from-png") {
            options.mask = true;
        } else if (!arg.empty() && arg[0] != '-' && in.empty()) {
            in = arg;
        } else {
            std::cerr << "qiva-pict: unexpected argument '" << arg << "'\n";
            Usage(std::cerr);
            return 2;
        }
    }
    if (in.empty() || out.empty() || (verb != "render" && verb != "from-png")) {
        Usage(std::cerr);
        return 2;
    }
    for (const std::string& output : {out, indices}) {
        if (!output.empty() && platform::SameFile(in, output)) {
            std::cerr << "qiva-pict: " << output << " is also the input; give another output\n";
            return 2;
        }
    }
    if (!indices.empty() && (indices == out || platform::SameFile(indices, out))) {
        std::cerr << "qiva-pict: -o and --indices name the same file\n";
        return 2;
    }
    const int status = verb == "render" ? Render(in, out, width, height, indices) : FromPng(in, out, options);
    return qiva_tools::FinishStandardOutput("qiva-pict", status);
}
