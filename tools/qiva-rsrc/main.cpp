// qiva-rsrc: makes and inspects the toolkit's resource files.
#include <filesystem>
#include <iostream>
#include <span>
#include <string>
#include <vector>

#include "platform/file_io.h"
#include "toolkit/core/resource_format.h"
#include "tools/common/standard_output.h"
#include "tools/qiva-rsrc/contact_sheet.h"
#include "tools/qiva-rsrc/converters.h"
#include "tools/qiva-rsrc/sources.h"

namespace {

const char* const kUsage = R"(usage:
  qiva-rsrc build SOURCE... -o FILE.RSR    compile resource sources into a resource file
  qiva-rsrc dump FILE.RSR [--classic] [--images DIR]
                                           print every resource as source text; with --images,
                                           colour icons become PNG files in DIR named by the dump
  qiva-rsrc import CLASSIC -o FILE.RSR     classic (plain map) resource file -> ours
  qiva-rsrc export FILE.RSR -o CLASSIC     ours -> classic resource file
  qiva-rsrc sheet FILE.RSR... -o OUT.png   contact sheet: every 'PICT' and 'cicn' at 1x and 2x

Source text: one 'resource' block per resource,
  resource 'TYPE' ID [name "..."] [attributes N] { fields }
with fields for STR#, TEXT, MBAR, MENU, WIND, DLOG, ALRT, DITL, CNTL, CURS, KCHR, wicn and wcic,
and for any type:  hex "0123 ABCD"  |  file "data.bin"  |  from CONVERTER "input" [option value]...
Strings are UTF-8 and stored in the Macintosh character set. Exit status: 0 done, 1 bad input
(nothing written), 2 bad usage.
)";

int Usage(const std::string& problem) {
    std::cerr << "qiva-rsrc: " << problem << "\n" << kUsage;
    return 2;
}

int Fail(const std::string& message) {
    std::cerr << "qiva-rsrc: " << message << "\n";
    return 1;
}

int Write(const std::vector<qiva::Resource>& resources, qiva::MapLayout layout, const std::string& output) {
    std::vector<std::uint8_t> image;
    std::string error;
    if (!qiva::WriteResourceFile(resources, layout, image, error)) return Fail(output + ": " + error);
    if (std::string problem =
            platform::WriteOutputFile(output, {reinterpret_cast<const char*>(image.data()), image.size()});
        !problem.empty()) {
        return Fail(problem);
    }
    return 0;
}

int Read(const std::string& path, qiva::MapLayout layout, std::vector<qiva::Resource>& resources) {
    std::vector<std::uint8_t> image;
    std::string error;
    // The header must place the map inside the file: a file that only claims to be a resource file
    // (a huge run of zeros, say) is refused before the rest of it is read.
    const platform::HeadCheck header{
        qiva::kResourceHeaderSize, [](std::span<const std::uint8_t> head, std::uint64_t size) -> std::string {
            if (head.size() < qiva::kResourceHeaderSize) return {};
            const qiva::ResourceHeader h = qiva::ReadResourceHeader(head.data());
            if (h.mapOffset > size || h.mapLength > size - h.mapOffset)
                return "the map lies outside the file";
            if (h.mapLength < qiva::kMapHeaderSize) return "the map is shorter than its header";
            return {};
        }};
    if (!platform::ReadInputFile(path, platform::InputKind::ResourceFile, image, error, header))
        return Fail(error);
    if (!qiva::ReadResourceFile(image, layout, resources, error)) return Fail(path + ": " + error);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) return Usage("no command");
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        std::cout << kUsage << "\nconverters:\n";
        for (const qiva_rsrc::Converter& c : qiva_rsrc::Converters()) {
            std::cout << "  " << c.name << ": " << c.description << "\n";
        }
        return qiva_tools::FinishStandardOutput("qiva-rsrc", 0);
    }
    const std::string command = args[0];
    std::vector<std::string> inputs;
    std::string output;
    bool classic = false;
    std::string images;
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "-o") {
            if (i + 1 >= args.size()) return Usage("-o needs a file name");
            output = args[++i];
        } else if (args[i] == "--classic" && command == "dump") {
            classic = true;
        } else if (args[i] == "--images" && command == "dump") {
            if (i + 1 >= args.size()) return Usage("--images needs a folder");
            images = args[++i];
        } else if (!args[i].empty() && args[i][0] == '-') {
            return Usage("unknown option " + args[i]);
        } else {
            inputs.push_back(args[i]);
        }
    }

    if (command == "build") {
        if (inputs.empty() || output.empty()) return Usage("build needs sources and -o FILE");
        for (const std::string& input : inputs) {
            if (platform::SameFile(input, output))
                return Usage(output + " is also a source; give another output");
        }
        std::vector<qiva::Resource> resources;
        try {
            resources = qiva_rsrc::CompileSourceFiles(inputs);
        } catch (const qiva_rsrc::SourceError& e) {
            return Fail(e.what());
        }
        return Write(resources, qiva::MapLayout::Scrambled, output);
    }
    if (command == "dump") {
        if (inputs.size() != 1 || !output.empty()) return Usage("dump takes one resource file");
        std::vector<qiva::Resource> resources;
        if (int status =
                Read(inputs[0], classic ? qiva::MapLayout::Classic : qiva::MapLayout::Scrambled, resources)) {
            return status;
        }
        std::vector<std::string> problems;
        if (!images.empty()) {
            std::error_code ec;
            std::filesystem::create_directories(images, ec);
            if (ec) return Fail(images + ": " + ec.message());
        }
        const std::string text = qiva_rsrc::DumpResources(resources, images, &problems);
        if (!problems.empty()) {
            for (const std::string& p : problems)
                std::cerr << "qiva-rsrc: " << p << "\n";
            return 1;
        }
        std::cout << text;
        return qiva_tools::FinishStandardOutput("qiva-rsrc", 0);
    }
    if (command == "import" || command == "export") {
        if (inputs.size() != 1 || output.empty()) return Usage(command + " takes one file and -o FILE");
        if (platform::SameFile(inputs[0], output))
            return Usage(output + " is also the input; give another output");
        const bool importing = command == "import";
        std::vector<qiva::Resource> resources;
        if (int status = Read(inputs[0], importing ? qiva::MapLayout::Classic : qiva::MapLayout::Scrambled,
                              resources)) {
            return status;
        }
        return Write(resources, importing ? qiva::MapLayout::Scrambled : qiva::MapLayout::Classic, output);
    }
    if (command == "sheet") {
        if (inputs.empty() || output.empty()) return Usage("sheet needs resource files and -o OUT.png");
        std::vector<qiva::Resource> all;
        for (const std::string& input : inputs) {
            std::vector<qiva::Resource> resources;
            if (int status = Read(input, qiva::MapLayout::Scrambled, resources)) return status;
            all.insert(all.end(), resources.begin(), resources.end());
        }
        std::vector<std::string> problems;
        const std::string error = qiva_rsrc::WriteContactSheet(all, output, problems);
        for (const std::string& p : problems)
            std::cerr << "qiva-rsrc: " << p << "\n";
        if (!error.empty()) return Fail(error);
        return problems.empty() ? 0 : 1;
    }
    return Usage("unknown command " + command);
}
