#include <stdexcept>
#include <string>

#include "toolkit/graphics/strike_builder.h"
#include "tools/qiva-rsrc/converters.h"

namespace qiva_rsrc {

namespace {

int IntOption(const ConverterOptions& options, const std::string& key, int fallback, int lo, int hi) {
    const auto it = options.find(key);
    if (it == options.end()) return fallback;
    std::size_t used = 0;
    int value = 0;
    try {
        value = std::stoi(it->second, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used != it->second.size() || value < lo || value > hi)
        throw std::runtime_error("option '" + key + "' must be a number from " + std::to_string(lo) + " to " +
                                 std::to_string(hi));
    return value;
}

bool YesNoOption(const ConverterOptions& options, const std::string& key, bool fallback) {
    const auto it = options.find(key);
    if (it == options.end()) return fallback;
    if (it->second == "yes") return true;
    if (it->second == "no") return false;
    throw std::runtime_error("option '" + key + "' must be yes or no");
}

} // namespace

void ConvertTrueType(const std::string& path, const ConverterOptions& options, Bytes& out) {
    for (const auto& [key, value] : options)
        if (key != "size" && key != "first" && key != "last" && key != "embolden" && key != "commandkey")
            throw std::runtime_error("the truetype converter has no option '" + key + "'");
    if (options.find("size") == options.end())
        throw std::runtime_error("the truetype converter needs a size");
    qiva::FaceStrikeRequest request;
    request.path = path;
    request.size = IntOption(options, "size", 12, 1, 127);
    request.firstChar = IntOption(options, "first", 32, 0, 255);
    request.lastChar = IntOption(options, "last", 255, request.firstChar, 255);
    request.embolden = YesNoOption(options, "embolden", false);
    request.commandKey = YesNoOption(options, "commandkey", true);
    std::string error;
    const auto strike = qiva::StrikeFromFace(request, &error);
    if (strike.empty()) throw std::runtime_error(error);
    out.insert(out.end(), strike.begin(), strike.end());
}

} // namespace qiva_rsrc
