#include "tools/qiva-rsrc/converters.h"

#include <stdexcept>

#include "platform/file_io.h"
#include "platform/mac_roman.h"

namespace qiva_rsrc {

const std::vector<Converter>& Converters() {
    static const std::vector<Converter> table = {
        {"text", "UTF-8 text file -> Macintosh text with carriage returns (for 'TEXT')", ConvertText},
        {"truetype",
         "TrueType face -> bitmap strike, monochrome and hinted (for 'FONT'; size N, first/last C, "
         "embolden yes|no, commandkey yes|no)",
         ConvertTrueType},
        {"png",
         "PNG image -> PackBitsRect picture of 8-bit indices on the system palette, transparent pixels "
         "index 10 (for 'PICT'; dither yes|no, depth 8|1 for a one-bit mask)",
         ConvertPng},
        {"wav",
         "PCM WAV file, 8 or 16 bits, mono or stereo -> format-1 sound, standard header for 8-bit mono, "
         "extended header otherwise (for 'snd ')",
         ConvertWav},
        {"cicn",
         "PNG image with alpha -> colour icon: 8-bit pixels on the system palette (dithered unless dither "
         "no), "
         "mask where alpha is at least half, one-bit icon of the dark pixels (for 'cicn')",
         ConvertCicn},
    };
    return table;
}

const Converter* FindConverter(const std::string& name) {
    for (const Converter& c : Converters()) {
        if (name == c.name) return &c;
    }
    return nullptr;
}

void ConvertText(const std::string& path, const ConverterOptions& options, Bytes& out) {
    if (!options.empty()) throw std::runtime_error("the text converter takes no options");
    std::string text, error;
    if (!platform::ReadInputFile(path, platform::InputKind::Text, text, error))
        throw std::runtime_error(error);
    // Each line is checked on its own so that an error can name it.
    int line = 1;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        const bool last = end == std::string::npos;
        if (last) end = text.size();
        std::string content = text.substr(start, end - start);
        if (!content.empty() && content.back() == '\r') content.pop_back();
        const std::string mac = platform::Utf8ToMacRoman(content, '\0');
        if (mac.find('\0') != std::string::npos && content.find('\0') == std::string::npos) {
            throw std::runtime_error(path + ":" + std::to_string(line) +
                                     ": a character has no place in the Macintosh character set");
        }
        out.insert(out.end(), mac.begin(), mac.end());
        if (!last) out.push_back('\r');
        start = end + 1;
        ++line;
    }
}

} // namespace qiva_rsrc
