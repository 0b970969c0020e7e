#pragma once
// Converters make a resource's data from a file of another format:
//     resource 'TEXT' 128 { from text "help.txt" }
// Fields after the file name (a word, then a number, string or word) reach the converter as options.
// To add one: write its function in a file of its own and add a line to the table in converters.cpp.

#include <map>
#include <string>
#include <vector>

#include "tools/qiva-rsrc/source_text.h"

namespace qiva_rsrc {

using ConverterOptions = std::map<std::string, std::string>;

struct Converter {
    const char* name;        // the word after 'from'
    const char* description; // for --help
    // Reads `path` and appends the resource's data; throws std::runtime_error with a message (the
    // tool adds the source file and line).
    void (*convert)(const std::string& path, const ConverterOptions& options, Bytes& out);
};

const std::vector<Converter>& Converters();
const Converter* FindConverter(const std::string& name);

// UTF-8 text to 'TEXT': Macintosh characters, line ends as carriage returns.
void ConvertText(const std::string& path, const ConverterOptions& options, Bytes& out);

// TrueType face to a 'FONT' strike of the Macintosh characters it has (toolkit/graphics/strike_builder.h).
void ConvertTrueType(const std::string& path, const ConverterOptions& options, Bytes& out);

// PNG image to a PackBitsRect 'PICT' on the system palette (tools/qiva-pict/pict_files.h).
void ConvertPng(const std::string& path, const ConverterOptions& options, Bytes& out);

// PCM WAV file (8 or 16 bits, mono or stereo) to a format-1 'snd ' (toolkit/core/sound.h).
void ConvertWav(const std::string& path, const ConverterOptions& options, Bytes& out);

// PNG image with alpha to a colour icon on the system palette (tools/qiva-rsrc/cicn.h).
void ConvertCicn(const std::string& path, const ConverterOptions& options, Bytes& out);

} // namespace qiva_rsrc
