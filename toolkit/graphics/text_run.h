#pragma once
// Composing a run of text into one block of palette indices, ready for the masked copy: from a
// bitmap strike (scaled through the resampler when the strike's size is not the one asked for) or
// from a TrueType face with its styles. Free of global state: the text calls own the caches.

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "platform/fonts.h"
#include "toolkit/graphics/font_strike.h"

namespace qiva {

// A block placed relative to the pen: (left, top) is its top-left corner measured from the pen's
// position at the start of the run, top from the baseline (negative: above it). Pixels nothing
// was drawn on hold the transparent index.
struct TextBlock {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;

    void Reset(int l, int t, int w, int h);
    std::uint8_t& At(int x, int y) { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// A strike's measures taken to the requested size.
struct StrikeScale {
    int strikeSize = 12;
    int size = 12;
    bool Scaled() const { return strikeSize != size && strikeSize > 0; }
    int operator()(int v) const { return Scaled() ? v * size / strikeSize : v; }
};

// Scaled glyph images, kept between calls: 0 where the glyph is set, the transparent index
// elsewhere. Keyed by the strike's resource ID, the size asked for and the character. The count is
// in kilobytes of images, so that large sizes cannot hoard memory: all are released together once
// more than kLimit are kept.
class GlyphCache {
public:
    static constexpr std::size_t kLimit = 2500;
    struct Glyph {
        int width = 0;
        int height = 0;
        std::vector<std::uint8_t> pixels;
    };
    const Glyph& Get(const FontStrike& strike, std::uint16_t strikeId, StrikeScale scale, std::uint8_t ch);
    void Clear() {
        glyphs_.clear();
        bytes_ = 0;
    }
    std::size_t Count() const { return bytes_ / 1024; } // kilobytes kept
    std::size_t Glyphs() const { return glyphs_.size(); }

private:
    std::unordered_map<std::uint64_t, Glyph> glyphs_;
    std::size_t bytes_ = 0;
};

// The width of characters in a strike: the sum of their width-table entries, each scaled.
int StrikeTextWidth(const FontStrike& strike, StrikeScale scale, const std::uint8_t* text, int count);

// Composes characters (no line breaks among them) drawn in `ink` into `block`; returns the pen's
// advance. `cache` holds the scaled glyphs (unscaled ones are read from the strike directly).
int ComposeStrikeRun(const FontStrike& strike, std::uint16_t strikeId, StrikeScale scale, GlyphCache& cache,
                     const std::uint8_t* text, int count, std::uint8_t ink, TextBlock& block);

// The styles a TrueType run draws itself; bold and italic come with the face.
struct FaceRunStyle {
    bool underline = false;
    bool outline = false; // hollow letters: a one-pixel ring in the text's colour, white inside
    bool shadow = false;  // hollow letters whose ring is two pixels wide on the right and below
    int extra = 0;        // pixels added to every character's advance
};

// The room the outline and shadow renderings add to a run's width, above it and below it.
int FaceStyleMargin(const FaceRunStyle& style);
int FaceStyleAscent(const FaceRunStyle& style);
int FaceStyleDescent(const FaceRunStyle& style);

// The width of Macintosh characters in a face: the advances, the extra per character and the margin.
int FaceTextWidth(platform::SizedFace& face, const std::uint8_t* text, int count, const FaceRunStyle& style);

// Composes Macintosh characters in a face, monochrome, in `ink` (hollow insides in `white`); returns the
// advance, equal to FaceTextWidth.
int ComposeFaceRun(platform::SizedFace& face, const std::uint8_t* text, int count, const FaceRunStyle& style,
                   std::uint8_t ink, std::uint8_t white, TextBlock& block);

} // namespace qiva
