#pragma once
// The game's pictures and colour icons, each drawn from code into a canvas of its natural size.

#include <functional>
#include <string>
#include <vector>

#include "canvas.h"

namespace tolka_art {

struct Artwork {
    std::string file; // name of the PNG under the output folder
    bool hardAlpha;   // icons and masks: each pixel fully opaque or fully clear
    std::function<Canvas()> draw;
};

// Every picture and icon of the game, in a fixed order.
std::vector<Artwork> GameArtworks();
// The application's icon for the desktop at 48, 128 and 256 pixels (soft edges, full alpha).
std::vector<Artwork> AppIcons();
// The toolkit's desktop tile and its start-up signature.
std::vector<Artwork> ToolkitArtworks();

} // namespace tolka_art
