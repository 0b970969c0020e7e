#pragma once
// Resource sources: compiling them into resources, and writing resources back as source text.
//
//     resource 'STR#' 128 name "Messages" attributes 0x20 {
//         string "Bonjour"
//     }
//     resource 'PICT' 128 { file "board.pict" }       # any type, from a binary file
//     resource 'snd ' 1 { hex "0001 0001" }            # any type, as hexadecimal
//     resource 'TEXT' 2 { from text "help.txt" }       # through a converter
//
// The structured types (type_codecs.h) are spelled field by field; every other type is given by
// `file`, `hex` or `from`. File names are relative to the source file's directory.

#include <string>
#include <vector>

#include "toolkit/core/resource_format.h"
#include "tools/qiva-rsrc/source_text.h"

namespace qiva_rsrc {

struct SourceResource {
    qiva::Resource resource;
    std::string file;
    int line = 0;
};

// Compiles one source text. Throws SourceError naming the file and line.
std::vector<SourceResource> CompileSource(const std::string& text, const std::string& fileName,
                                          const std::string& baseDirectory);

// Compiles source files in order; a type and ID given twice is an error at the second one.
std::vector<qiva::Resource> CompileSourceFiles(const std::vector<std::string>& paths);

// Every resource as source text, structured types field by field where their data allows it,
// each preceded by a comment with its size. With an image folder, each colour icon that the cicn
// converter makes again byte for byte is written there as a PNG with alpha (cicnID.png) and dumped as
// `from cicn "FOLDER/cicnID.png" dither no`; the others stay hexadecimal. Files that cannot be
// written are named in `problems` and their icons dumped as hexadecimal.
std::string DumpResources(const std::vector<qiva::Resource>& resources, const std::string& imageFolder = {},
                          std::vector<std::string>* problems = nullptr);

} // namespace qiva_rsrc
