// Compiles the input as resource source text: it is compiled or refused with a message naming a
// line, and what compiles dumps and compiles back to the same data.
#include <cstdint>
#include <cstdio>
#include <string>

#include "tools/qiva-rsrc/sources.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<qiva::Resource> resources;
    try {
        // Files and converters are looked up in a directory that does not exist.
        for (auto& r : qiva_rsrc::CompileSource(text, "fuzz.qrs", "/nonexistent")) {
            resources.push_back(std::move(r.resource));
        }
    } catch (const qiva_rsrc::SourceError& e) {
        if (std::string(e.what()).rfind("fuzz.qrs:", 0) != 0) __builtin_trap();
        return 0;
    }
    const std::string dump = qiva_rsrc::DumpResources(resources);
    try {
        const auto again = qiva_rsrc::CompileSource(dump, "dump", ".");
        if (again.size() != resources.size()) __builtin_trap();
        for (std::size_t i = 0; i < again.size(); ++i) {
            if (again[i].resource.data != resources[i].data || again[i].resource.name != resources[i].name) {
                __builtin_trap();
            }
        }
    } catch (const qiva_rsrc::SourceError& e) {
        std::fprintf(stderr, "the dump does not compile: %s\n%s", e.what(), dump.c_str());
        __builtin_trap();
    }
    return 0;
}
