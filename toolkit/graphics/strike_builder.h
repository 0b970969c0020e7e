#pragma once
// Making 'FONT' strikes: from rendered glyph images (the system fonts are made this way at build
// time from TrueType faces), and from a TrueType face directly.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/fonts.h"

namespace qiva {

struct StrikeSource {
    std::uint8_t ch;
    platform::GlyphImage glyph;
};

struct StrikeLineMetrics {
    int ascent = 0; // at least these; glyphs reaching further enlarge them
    int descent = 0;
    int leading = 0;
};

// The big-endian bytes of a strike holding `glyphs` (in increasing character order, each character
// once) and `missing` as its missing-character glyph; characters between them that are not given
// get -1 entries. The first byte's conversion bit is clear. Empty, with `error` set, when a glyph
// cannot be expressed (an advance above 255, an offset outside 0..254, an image too wide).
std::vector<std::uint8_t> BuildStrike(std::span<const StrikeSource> glyphs,
                                      const platform::GlyphImage& missing, StrikeLineMetrics metrics,
                                      std::string* error = nullptr);

struct FaceStrikeRequest {
    std::string path; // the TrueType file
    int faceIndex = 0;
    int size = 12;         // pixels per em
    bool embolden = false; // synthesise bold from a regular face
    int firstChar = 32;    // the Macintosh characters wanted; those the face lacks are left out
    int lastChar = 255;
    bool commandKey = true; // character 17 as the command-key sign, when the face has one
};

// Renders the face monochrome and hinted and builds its strike. Empty, with `error` set, when the
// face cannot be opened or the strike cannot be built.
std::vector<std::uint8_t> StrikeFromFace(const FaceStrikeRequest& request, std::string* error = nullptr);

} // namespace qiva
