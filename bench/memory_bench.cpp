// The Memory Manager and the Resource Manager on the paths the toolkit takes all the time: a handle
// made and disposed, a handle grown byte by byte (regions and pictures grow this way), a size read,
// and a resource found that is already loaded, and one read from its file.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <vector>

#include "tests/support/temp_dir.h"
#include "toolkit/core/file_search.h"
#include "toolkit/core/memory.h"
#include "toolkit/core/resource_format.h"
#include "toolkit/core/resources.h"

namespace {

void NewAndDispose(benchmark::State& state) {
    const auto size = static_cast<Size>(state.range(0));
    for (auto _ : state) {
        Handle h = NewHandle(size);
        benchmark::DoNotOptimize(h);
        DisposeHandle(h);
    }
}
BENCHMARK(NewAndDispose)->Arg(0)->Arg(64)->Arg(4096);

// With this many other handles live, so that the record checks walk several master pointer blocks.
void GrowByAppending(benchmark::State& state) {
    std::vector<Handle> others;
    for (int i = 0; i < state.range(0); ++i)
        others.push_back(NewHandle(8));
    for (auto _ : state) {
        Handle h = NewHandle(0);
        for (int i = 0; i < 256; ++i)
            PtrAndHand("abcd", h, 4);
        benchmark::DoNotOptimize(GetHandleSize(h));
        DisposeHandle(h);
    }
    state.SetItemsProcessed(state.iterations() * 256);
    for (Handle h : others)
        DisposeHandle(h);
}
BENCHMARK(GrowByAppending)->Arg(0)->Arg(2000);

class ResourceFile {
public:
    ResourceFile() {
        qiva::SetResourcePaths({dir_.Path(), dir_.Path(), dir_.Path()});
        std::vector<qiva::Resource> resources;
        for (int i = 0; i < 200; ++i) {
            qiva::Resource r;
            r.type = MakeResType(i % 2 ? "PICT" : "STR#");
            r.id = static_cast<std::int16_t>(i);
            r.data.assign(2000, static_cast<std::uint8_t>(i));
            resources.push_back(r);
        }
        std::vector<std::uint8_t> image;
        std::string error;
        qiva::WriteResourceFile(resources, qiva::MapLayout::Scrambled, image, error);
        const std::string file =
            dir_.Write("BENCH.RSR", {reinterpret_cast<const char*>(image.data()), image.size()});
        ref_ = OpenResFile(file.c_str());
    }
    ~ResourceFile() {
        CloseResFile(ref_);
        qiva::SetResourcePaths({});
    }

private:
    TempDir dir_{"qb"};
    std::int16_t ref_ = 0;
};

void GetLoadedResource(benchmark::State& state) {
    ResourceFile file;
    for (auto _ : state)
        benchmark::DoNotOptimize(GetResource(MakeResType("PICT"), 199));
}
BENCHMARK(GetLoadedResource);

void ReadResourceFromItsFile(benchmark::State& state) {
    ResourceFile file;
    for (auto _ : state) {
        Handle h = GetResource(MakeResType("PICT"), 199);
        benchmark::DoNotOptimize(h);
        ReleaseResource(h);
    }
    state.SetBytesProcessed(state.iterations() * 2000);
}
BENCHMARK(ReadResourceFromItsFile);

} // namespace
