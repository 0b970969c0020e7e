// Opens the input as a resource file and loads every resource in it, then reads the same bytes as a
// plain and as a scrambled file and dumps them as source text, which must compile back.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "toolkit/core/error_box.h"
#include "toolkit/core/file_search.h"
#include "toolkit/core/memory.h"
#include "toolkit/core/resource_format.h"
#include "toolkit/core/resources.h"
#include "tools/qiva-rsrc/sources.h"

namespace {

void Silent(const std::string&) {}

// The scratch folder goes when the fuzzer ends normally (libFuzzer leaves through exit()).
struct ScratchFolder {
    std::string path;
    ~ScratchFolder() {
        std::error_code ignored;
        if (!path.empty()) std::filesystem::remove_all(path, ignored);
    }
};

std::string Setup() {
    static ScratchFolder scratch;
    qiva::SetErrorBoxSink(&Silent);
    // Small enough that a huge length in the data reaches the out-of-memory paths quickly.
    qiva::SetHeapLimit(std::size_t{64} << 20);
    // In memory when the machine has /dev/shm: every input is written to a file and opened from there.
    const std::string base = std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : "/tmp";
    const std::string dir = base + "/qiva-fuzz-" + std::to_string(::getpid());
    std::remove((dir + "/F.RSR").c_str());
    std::filesystem::create_directories(dir);
    scratch.path = dir;
    qiva::SetResourcePaths({dir, dir, dir});
    return dir + "/F.RSR";
}

void LoadEverything(const std::string& path) {
    const std::int16_t ref = OpenResFile(path.c_str());
    if (ref <= 0) return;
    // Every resource of every type the file names, by index, by ID and by name.
    for (int round = 0; round < 2; ++round) {
        SetResLoad(round == 1);
        for (std::int16_t i = 1;; ++i) {
            bool any = false;
            for (ResType type : {MakeResType("TEXT"), MakeResType("STR#"), MakeResType("FONT"),
                                 MakeResType("DRVR"), MakeResType("PICT")}) {
                if (i > CountResources(type)) continue;
                any = true;
                Handle h = GetIndResource(type, i);
                if (!h) continue;
                std::int16_t id = 0;
                ResType got = 0;
                char name[256];
                GetResInfo(h, &id, &got, name);
                GetResource(got, id);
                GetNamedResource(got, name);
                if (i % 2) ReleaseResource(h);
            }
            if (!any || i > 64) break;
        }
    }
    SetResLoad(true);
    qiva::ReleaseResourcesOfType(MakeResType("FONT"));
    CloseResFile(ref);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = Setup();
    if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    LoadEverything(path);

    const std::vector<std::uint8_t> image(data, data + size);
    for (qiva::MapLayout layout : {qiva::MapLayout::Scrambled, qiva::MapLayout::Classic}) {
        std::vector<qiva::Resource> resources;
        std::string error;
        if (!qiva::ReadResourceFile(image, layout, resources, error)) continue;
        const std::string text = qiva_rsrc::DumpResources(resources);
        std::vector<qiva_rsrc::SourceResource> again;
        try {
            again = qiva_rsrc::CompileSource(text, "dump", ".");
        } catch (const qiva_rsrc::SourceError& e) {
            std::fprintf(stderr, "the dump does not compile: %s\n%s", e.what(), text.c_str());
            __builtin_trap();
        }
        if (again.size() != resources.size()) __builtin_trap();
        for (std::size_t i = 0; i < again.size(); ++i) {
            const qiva::Resource& a = again[i].resource;
            const qiva::Resource& b = resources[i];
            if (a.type != b.type || a.id != b.id || a.name != b.name || a.attributes != b.attributes ||
                a.data != b.data) {
                std::fprintf(stderr, "resource %zu differs after dump and build\n%s", i, text.c_str());
                __builtin_trap();
            }
        }
    }
    return 0;
}
