// tolka-art: writes the game's pictures and icons (PNG) and sounds (WAV), and the toolkit's desktop
// tile and signature, into the resource source folders. The same program always writes the same bytes.
#include <cstdio>
#include <string>
#include <vector>

#include "control_pictures.h"
#include "pictures.h"
#include "sounds.h"

namespace {

bool WriteAll(const std::vector<tolka_art::Artwork>& list, const std::string& folder) {
    for (const tolka_art::Artwork& art : list) {
        const std::string error = art.draw().WritePng(folder + "/" + art.file, art.hardAlpha);
        if (!error.empty()) {
            std::fprintf(stderr, "tolka-art: %s\n", error.c_str());
            return false;
        }
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    const bool help = argc == 2 && std::string(argv[1]) == "--help";
    if (argc != 2 || help) {
        std::fprintf(help ? stdout : stderr,
                     "usage: tolka-art RESOURCES_FOLDER\n"
                     "Draws every picture and icon of the game as PNG into TOLKA/art, synthesises every\n"
                     "sound as an 8-bit mono WAV at 22050 Hz into TOLKA/sounds (printing each one's peak\n"
                     "level), draws the toolkit's desktop tile and control pictures into WINIT/art and its\n"
                     "signature into signatur/art, and the application's desktop icons into icons. The\n"
                     "folders must exist.\n");
        return help ? 0 : 2;
    }
    const std::string root = argv[1];
    const std::vector<tolka_art::Artwork> toolkit = tolka_art::ToolkitArtworks();
    if (!WriteAll(tolka_art::GameArtworks(), root + "/TOLKA/art") ||
        !WriteAll({toolkit[0]}, root + "/WINIT/art") ||
        !WriteAll(tolka_art::ControlArtworks(), root + "/WINIT/art") ||
        !WriteAll({toolkit[1]}, root + "/signatur/art") ||
        !WriteAll(tolka_art::AppIcons(), root + "/icons")) {
        return 1;
    }
    for (const tolka_art::SoundWork& s : tolka_art::GameSounds()) {
        const std::string error = tolka_art::WriteWav8(root + "/TOLKA/sounds/" + s.file, s.samples,
                                                       1000u + static_cast<unsigned>(s.number));
        if (!error.empty()) {
            std::fprintf(stderr, "tolka-art: %s\n", error.c_str());
            return 1;
        }
        std::printf("%-28s %6.2f s  peak %6.2f dBFS  first %+.4f  last %+.4f\n", s.file.c_str(),
                    static_cast<double>(s.samples.size()) / tolka_art::kSampleRate,
                    tolka_art::PeakDb(s.samples), s.samples.empty() ? 0.0 : s.samples.front(),
                    s.samples.empty() ? 0.0 : s.samples.back());
    }
    return 0;
}
