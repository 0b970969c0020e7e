// The game's settings file (Tolka.cfg) from arbitrary text: whatever it reads is within the options'
// ranges, and written back and read again it gives the same options.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "game/settings_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    // Defaults other than the usual ones, so that a value left at its default is told from one read.
    tolka::GameSettings defaults;
    defaults.showCounts = 0;
    defaults.level = 2;
    defaults.rules = 1;
    const tolka::GameSettings read = tolka::ParseSettings(text, defaults);
    for (std::uint8_t flag :
         {read.showCounts, read.showDestination, read.soundOn, read.handAnimation, read.showMessages})
        FUZZ_CHECK(flag <= 1);
    FUZZ_CHECK(read.level >= 0 && read.level <= 3 && read.rules >= 0 && read.rules <= 1);
    FUZZ_CHECK(tolka::ParseSettings(tolka::FormatSettings(read), defaults) == read);
    return 0;
}
