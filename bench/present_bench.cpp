// The cost of presenting the screen: the palette conversion of a 640 x 400 dirty rectangle, and the
// whole present through SDL (conversion into the streaming texture, clear, copy, present) with the
// 1/60 s pacing off. The SDL case runs on SDL's offscreen video driver, so it needs no display; it
// is skipped where that driver is missing.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <vector>

#include "platform/present_convert.h"
#include "platform/sdl_backend.h"

namespace {

struct Screen {
    std::vector<std::uint8_t> pixels = std::vector<std::uint8_t>(640 * 450);
    std::uint32_t palette[256];
    Screen() {
        for (int i = 0; i < 256; ++i)
            palette[i] = 0xFF000000u | static_cast<std::uint32_t>(i * 0x010203);
        for (std::size_t i = 0; i < pixels.size(); ++i)
            pixels[i] = static_cast<std::uint8_t>(i * 7 + i / 640);
    }
    platform::Frame Frame() const { return {pixels.data(), 640, 640, 450, palette}; }
};

void BM_ConvertDirtyRect640x400(benchmark::State& state) {
    const Screen screen;
    std::vector<std::uint32_t> texture(640 * 400);
    for (auto _ : state) {
        platform::ConvertRect(screen.Frame(), {0, 0, 640, 400}, texture.data(), 640 * 4);
        benchmark::DoNotOptimize(texture.data());
    }
    state.SetItemsProcessed(state.iterations() * 640 * 400);
}
BENCHMARK(BM_ConvertDirtyRect640x400);

void BM_SdlPresent640x400(benchmark::State& state) {
    ::setenv("SDL_VIDEODRIVER", "offscreen", 0);
    ::setenv("SDL_AUDIODRIVER", "none", 0);
    std::string error;
    auto backend = platform::MakeSdlBackend(1, error);
    if (!backend || !backend->OpenWindow("bench", {0, 0, 640, 450, false})) {
        state.SkipWithError(("no SDL offscreen window: " + error).c_str());
        return;
    }
    backend->SetPacing(false);
    const Screen screen;
    for (auto _ : state)
        backend->Present(screen.Frame(), {0, 0, 640, 400});
    state.SetItemsProcessed(state.iterations() * 640 * 400);
}
BENCHMARK(BM_SdlPresent640x400)->Unit(benchmark::kMicrosecond);

} // namespace
