#include "toolkit/graphics/strike_builder.h"

#include <algorithm>

#include "platform/mac_roman.h"
#include "toolkit/core/big_endian.h"

namespace qiva {

using platform::GlyphImage;

namespace {

std::vector<std::uint8_t> Fail(std::string* error, const std::string& why) {
    if (error != nullptr) *error = why;
    return {};
}

// A hollow box, the classic missing-character shape, for faces whose own one is blank.
GlyphImage BoxGlyph(int ascent) {
    GlyphImage box;
    box.height = std::max(3, ascent * 3 / 4);
    box.width = std::max(3, box.height * 3 / 5);
    box.left = 1;
    box.top = box.height;
    box.advance = box.width + 2;
    box.bits.assign(static_cast<std::size_t>(box.width) * box.height, 0);
    for (int y = 0; y < box.height; ++y)
        for (int x = 0; x < box.width; ++x)
            if (y == 0 || y == box.height - 1 || x == 0 || x == box.width - 1)
                box.bits[y * box.width + x] = 1;
    return box;
}

} // namespace

std::vector<std::uint8_t> BuildStrike(std::span<const StrikeSource> glyphs, const GlyphImage& missing,
                                      StrikeLineMetrics metrics, std::string* error) {
    if (glyphs.empty()) return Fail(error, "no glyphs");
    for (std::size_t i = 1; i < glyphs.size(); ++i)
        if (glyphs[i].ch <= glyphs[i - 1].ch) return Fail(error, "glyphs out of order");
    const int first = glyphs.front().ch;
    const int last = glyphs.back().ch;
    const int count = last - first + 1; // characters; the missing glyph follows

    // The slot of each character (or null), then the missing glyph.
    std::vector<const GlyphImage*> slots(static_cast<std::size_t>(count) + 1, nullptr);
    for (const StrikeSource& g : glyphs)
        slots[g.ch - first] = &g.glyph;
    slots[count] = &missing;

    int ascent = metrics.ascent;
    int descent = metrics.descent;
    int kernMax = 0;
    int widMax = 0;
    int right = 0;
    int imageWidth = 0;
    for (const GlyphImage* g : slots) {
        if (g == nullptr) continue;
        if (g->advance < 0 || g->advance > 255) return Fail(error, "advance outside 0..255");
        if (g->width > 0) {
            ascent = std::max(ascent, g->top);
            descent = std::max(descent, g->height - g->top);
            kernMax = std::min(kernMax, g->left);
            right = std::max(right, g->left + g->width);
        }
        widMax = std::max(widMax, g->advance);
        imageWidth += g->width;
    }
    for (const GlyphImage* g : slots)
        if (g != nullptr && g->left - kernMax > 254) return Fail(error, "glyph offset above 254");
    if (imageWidth > 0x7FF0) return Fail(error, "bit image too wide");

    const int height = ascent + descent;
    const int rowWords = (imageWidth + 15) / 16;
    const int rowBytes = rowWords * 2;
    const int entries = count + 2;
    const std::size_t imageAt = 26;
    const std::size_t locAt = imageAt + static_cast<std::size_t>(rowBytes) * height;
    const std::size_t owAt = locAt + 2 * static_cast<std::size_t>(entries);
    std::vector<std::uint8_t> out(owAt + 2 * static_cast<std::size_t>(entries), 0);
    BigEndianWriter fields(out);
    const auto put = [&fields](std::size_t at, int value) {
        fields.Patch<std::uint16_t>(at, static_cast<std::uint16_t>(value));
    };

    // Proportional font, its conversion bit clear.
    const int header[13] = {0x1000,          first,   last,
                            widMax,          kernMax, -descent,
                            right - kernMax, height,  static_cast<int>((owAt - 16) / 2),
                            ascent,          descent, metrics.leading,
                            rowWords};
    for (int i = 0; i < 13; ++i)
        put(2 * i, header[i]);

    int column = 0;
    for (int i = 0; i < entries; ++i) {
        put(locAt + 2 * i, column);
        if (i == entries - 1) {
            put(owAt + 2 * i, 0xFFFF);
            break;
        }
        const GlyphImage* g = slots[i];
        if (g == nullptr) {
            put(owAt + 2 * i, 0xFFFF);
            continue;
        }
        const int offset = g->width > 0 ? g->left - kernMax : 0;
        put(owAt + 2 * i, offset << 8 | g->advance);
        for (int y = 0; y < g->height; ++y) {
            const int row = ascent - g->top + y;
            for (int x = 0; x < g->width; ++x) {
                if (!g->bits[static_cast<std::size_t>(y) * g->width + x]) continue;
                const int col = column + x;
                out[imageAt + static_cast<std::size_t>(row) * rowBytes + (col >> 3)] |=
                    static_cast<std::uint8_t>(0x80 >> (col & 7));
            }
        }
        column += g->width;
    }
    return out;
}

std::vector<std::uint8_t> StrikeFromFace(const FaceStrikeRequest& request, std::string* error) {
    using namespace platform;
    auto face =
        SizedFace::Open(request.path, request.faceIndex, request.size, request.embolden, false, error);
    if (!face) return {};
    std::vector<StrikeSource> glyphs;
    if (request.commandKey && request.firstChar > 17 && face->HasGlyph(U'\u2318'))
        glyphs.push_back({17, face->Glyph(U'\u2318')});
    for (int ch = std::max(0, request.firstChar); ch <= std::min(255, request.lastChar); ++ch) {
        const char32_t cp = MacRomanToUnicode(static_cast<std::uint8_t>(ch));
        // The space has no outline in most faces; it is always there.
        if (cp == U' ' || cp == 0xA0 || face->HasGlyph(cp))
            glyphs.push_back({static_cast<std::uint8_t>(ch), face->Glyph(cp)});
    }
    if (glyphs.empty()) {
        if (error != nullptr) *error = request.path + ": the face has none of the characters";
        return {};
    }
    const FaceMetrics& m = face->Metrics();
    GlyphImage missing = face->MissingGlyph();
    if (missing.width == 0 || missing.height == 0) missing = BoxGlyph(m.ascent);
    return BuildStrike(glyphs, missing, {m.ascent, m.descent, m.lineGap}, error);
}

} // namespace qiva
