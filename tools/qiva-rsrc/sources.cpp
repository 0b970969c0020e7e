#include "tools/qiva-rsrc/sources.h"

#include <map>
#include <sstream>

#include "platform/file_io.h"

#include "platform/png.h"
#include "toolkit/graphics/palette.h"
#include "tools/qiva-rsrc/cicn.h"
#include "tools/qiva-rsrc/converters.h"
#include "tools/qiva-rsrc/type_codecs.h"

namespace qiva_rsrc {
namespace {

std::string ReadWholeFile(const std::string& path, platform::InputKind kind, std::string& error) {
    std::string contents;
    platform::ReadInputFile(path, kind, contents, error);
    return contents;
}

std::string JoinPath(const std::string& directory, const std::string& name) {
    if (name.empty() || name[0] == '/' || directory.empty()) return name;
    return directory + "/" + name;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The data of a type without a text form, or given raw: hex strings, a file, or a converter.
void CompileRaw(Parser& p, const std::string& baseDirectory, Bytes& out) {
    bool fromFile = false;
    while (!p.AtClose()) {
        const Token at = p.Peek();
        if (p.AcceptWord("hex")) {
            const std::string digits = p.String("hex");
            int pending = -1;
            for (char c : digits) {
                if (c == ' ' || c == '\t' || c == '\n') continue;
                const int d = HexDigit(c);
                if (d < 0) p.FailAt(at.line, "hex data holds '" + std::string(1, c) + "'");
                if (pending < 0) {
                    pending = d;
                } else {
                    out.push_back(static_cast<std::uint8_t>(pending * 16 + d));
                    pending = -1;
                }
            }
            if (pending >= 0) p.FailAt(at.line, "hex data has an odd number of digits");
        } else if (p.AcceptWord("file") || p.AtWord("from")) {
            const bool converted = p.AcceptWord("from");
            if (fromFile || !out.empty()) p.FailAt(at.line, "a resource takes one file or converter, alone");
            fromFile = true;
            const Converter* converter = nullptr;
            if (converted) {
                const Token name = p.Peek();
                const std::string word = p.Word("a converter name");
                converter = FindConverter(word);
                if (!converter) p.FailAt(name.line, "no converter named '" + word + "'");
            }
            const std::string path = JoinPath(baseDirectory, p.String("file name"));
            if (converter) {
                ConverterOptions options;
                while (p.Peek().kind == Token::Word) {
                    const std::string key = p.Next().text;
                    const Token value = p.Next();
                    if (value.kind != Token::Word && value.kind != Token::Number &&
                        value.kind != Token::String) {
                        p.FailAt(value.line, "option '" + key + "' needs a value");
                    }
                    options[key] = value.text;
                }
                try {
                    converter->convert(path, options, out);
                } catch (const std::exception& e) {
                    p.FailAt(at.line, e.what());
                }
            } else {
                std::string error;
                const std::string data = ReadWholeFile(path, platform::InputKind::ResourceFile, error);
                if (!error.empty()) p.FailAt(at.line, "cannot read " + error);
                out.insert(out.end(), data.begin(), data.end());
            }
        } else {
            p.Fail("expected hex, file or from");
        }
        if (fromFile && !p.AtClose()) p.Fail("a resource takes one file or converter, alone");
    }
}

std::string Indent(const std::string& body) {
    std::string out;
    std::size_t start = 0;
    while (start < body.size()) {
        const std::size_t end = body.find('\n', start);
        out += "    " + body.substr(start, end - start) + "\n";
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return out;
}

std::string HexBody(const std::vector<std::uint8_t>& data) {
    static const char digits[] = "0123456789ABCDEF";
    // Even empty data is spelled: an empty body would ask a structured type for its fields.
    if (data.empty()) return "hex \"\"\n";
    std::string body;
    for (std::size_t i = 0; i < data.size(); i += 32) {
        body += "hex \"";
        for (std::size_t j = i; j < data.size() && j < i + 32; ++j) {
            if (j > i && (j - i) % 4 == 0) body += ' ';
            body += digits[data[j] >> 4];
            body += digits[data[j] & 15];
        }
        body += "\"\n";
    }
    return body;
}

} // namespace

std::vector<SourceResource> CompileSource(const std::string& text, const std::string& fileName,
                                          const std::string& baseDirectory) {
    Parser p(Tokenize(text, fileName), fileName);
    std::vector<SourceResource> resources;
    while (!p.AtEnd()) {
        const int line = p.Peek().line;
        if (!p.AcceptWord("resource")) p.Fail("expected 'resource'");
        SourceResource r;
        r.file = fileName;
        r.line = line;
        r.resource.type = p.Type();
        r.resource.id = static_cast<std::int16_t>(p.Number(-32768, 32767, "resource ID"));
        while (p.Peek().kind == Token::Word) {
            if (p.AcceptWord("name")) {
                r.resource.name = p.String("name");
                if (r.resource.name->size() > 255) p.Fail("a name is at most 255 characters");
            } else if (p.AcceptWord("attributes")) {
                r.resource.attributes = static_cast<std::uint8_t>(p.Number(0, 255, "attributes"));
            } else {
                p.Fail("unknown resource field '" + p.Peek().text + "' (name, attributes)");
            }
        }
        p.ExpectOpen();
        const TypeCodec* codec = FindCodec(r.resource.type);
        if (p.AtWord("hex") || p.AtWord("file") || p.AtWord("from") || (!codec && !p.AtClose())) {
            if (!p.AtWord("hex") && !p.AtWord("file") && !p.AtWord("from")) {
                p.Fail("type '" + qiva::ResTypeText(r.resource.type) +
                       "' has no fields of its own: give its data with hex, file or from");
            }
            CompileRaw(p, baseDirectory, r.resource.data);
        } else if (codec) {
            codec->compile(p, r.resource.id, r.resource.data);
        }
        p.ExpectClose();
        resources.push_back(std::move(r));
    }
    return resources;
}

std::vector<qiva::Resource> CompileSourceFiles(const std::vector<std::string>& paths) {
    std::vector<qiva::Resource> resources;
    std::map<std::pair<ResType, std::int16_t>, std::string> seen;
    for (const std::string& path : paths) {
        std::string error;
        const std::string text = ReadWholeFile(path, platform::InputKind::ResourceSource, error);
        if (!error.empty()) throw SourceError(error);
        const auto slash = path.rfind('/');
        const std::string base = slash == std::string::npos ? "." : path.substr(0, slash == 0 ? 1 : slash);
        for (SourceResource& r : CompileSource(text, path, base)) {
            const std::string here = r.file + ":" + std::to_string(r.line);
            const auto [it, added] = seen.emplace(std::make_pair(r.resource.type, r.resource.id), here);
            if (!added) {
                throw SourceError(here + ": '" + qiva::ResTypeText(r.resource.type) + "' " +
                                  std::to_string(r.resource.id) + " is already defined at " + it->second);
            }
            resources.push_back(std::move(r.resource));
        }
    }
    return resources;
}

namespace {

// The colour icon as a PNG in `folder` and its source line, when the converter makes the same bytes
// from that image; empty otherwise.
std::string CicnAsImage(const qiva::Resource& r, const std::string& folder,
                        std::vector<std::string>* problems) {
    qiva_pict::RgbaImage image;
    std::string error;
    if (!ImageFromCicn(r.data, image, error)) return {};
    if (CicnFromImage(image, qiva::BuildPalette(0, 0, 0), false) != r.data) return {};
    std::vector<std::uint8_t> png;
    if (!platform::EncodeTrueColourPng(image.width, image.height, 4, image.rgba, png).empty()) return {};
    const std::string path = JoinPath(folder, "cicn" + std::to_string(r.id) + ".png");
    if (const std::string problem =
            platform::WriteOutputFile(path, {reinterpret_cast<const char*>(png.data()), png.size()});
        !problem.empty()) {
        if (problems) problems->push_back(problem);
        return {};
    }
    return "from cicn " + Quote(path) + " dither no\n";
}

} // namespace

std::string DumpResources(const std::vector<qiva::Resource>& resources, const std::string& imageFolder,
                          std::vector<std::string>* problems) {
    std::string out;
    for (const qiva::Resource& r : resources) {
        const std::string type = qiva::ResTypeText(r.type);
        out += "# '" + type + "' " + std::to_string(r.id) + ": " + std::to_string(r.data.size()) + " bytes\n";
        out += "resource '" + type + "' " + std::to_string(r.id);
        if (r.name) out += " name " + Quote(*r.name);
        if (r.attributes) {
            char buffer[8];
            std::snprintf(buffer, sizeof buffer, "0x%02X", r.attributes);
            out += std::string(" attributes ") + buffer;
        }
        // The text form is used only when it compiles back to the very same bytes.
        std::string body;
        bool exact = false;
        if (const TypeCodec* codec = FindCodec(r.type); codec && codec->decompile(r.data, r.id, body)) {
            try {
                Parser p(Tokenize(body + "}", "dump"), "dump");
                Bytes again;
                codec->compile(p, r.id, again);
                exact = again == r.data;
            } catch (const SourceError&) {
                exact = false;
            }
        }
        if (!exact && !imageFolder.empty() && r.type == MakeResType("cicn")) {
            body = CicnAsImage(r, imageFolder, problems);
            exact = !body.empty();
        }
        if (!exact) body = HexBody(r.data);
        out += " {\n" + Indent(body) + "}\n\n";
    }
    return out;
}

} // namespace qiva_rsrc
