// Replays corpus files through a fuzz target's entry point without libFuzzer, so that the normal
// test suite runs every input the fuzzers kept: seeds, and the crashes and timeouts they once found.
// usage: replay_TARGET FILE_OR_FOLDER...   (a folder with no file in it is a failure: a lost corpus)

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
    std::vector<std::filesystem::path> files;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path place = argv[i];
        if (std::filesystem::is_directory(place)) {
            const std::size_t before = files.size();
            for (const auto& entry : std::filesystem::directory_iterator(place))
                if (entry.is_regular_file()) files.push_back(entry.path());
            if (files.size() == before) {
                std::fprintf(stderr, "%s: no corpus file\n", argv[i]);
                return 1;
            }
        } else {
            files.push_back(place);
        }
    }
    if (files.empty()) {
        std::fprintf(stderr, "usage: %s FILE_OR_FOLDER...\n", argv[0]);
        return 2;
    }
    std::sort(files.begin(), files.end());
    for (const auto& file : files) {
        std::ifstream in(file, std::ios::binary);
        const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), {});
        if (!in.eof() && in.fail()) {
            std::fprintf(stderr, "%s: cannot be read\n", file.c_str());
            return 1;
        }
        // An exact-size copy, as libFuzzer hands it over, so that a read past the end is caught under
        // the sanitizers.
        std::vector<std::uint8_t> data(bytes.begin(), bytes.end());
        LLVMFuzzerTestOneInput(data.data(), data.size());
    }
    std::printf("%zu inputs replayed\n", files.size());
    return 0;
}
