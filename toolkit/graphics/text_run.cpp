#include "toolkit/graphics/text_run.h"

#include <algorithm>
#include <climits>

#include "platform/mac_roman.h"
#include "toolkit/graphics/quickdraw_types.h"
#include "toolkit/graphics/resample.h"

namespace qiva {

void TextBlock::Reset(int l, int t, int w, int h) {
    left = l;
    top = t;
    width = std::max(0, w);
    height = std::max(0, h);
    pixels.assign(static_cast<std::size_t>(width) * height, kTransparentIndex);
}

const GlyphCache::Glyph& GlyphCache::Get(const FontStrike& strike, std::uint16_t strikeId, StrikeScale scale,
                                         std::uint8_t ch) {
    const std::uint64_t key = std::uint64_t{strikeId} << 24 | std::uint64_t(scale.size & 0xFFFF) << 8 | ch;
    if (const auto it = glyphs_.find(key); it != glyphs_.end()) return it->second;
    if (Count() > kLimit) Clear();
    Glyph& glyph = glyphs_[key];
    const StrikeGlyph g = GlyphFor(strike, ch);
    glyph.width = scale(g.width);
    glyph.height = scale(strike.fRectHeight);
    if (!g.present || glyph.width <= 0 || glyph.height <= 0) {
        glyph.width = glyph.height = 0;
        return glyph;
    }
    glyph.pixels.resize(static_cast<std::size_t>(glyph.width) * glyph.height);
    bytes_ += glyph.pixels.size() + sizeof(Glyph);
    TransferSource source;
    source.base = strike.image;
    source.rowBytes = strike.RowBytes();
    source.pixelSize = 1;
    source.width = strike.rowWords * 16;
    source.height = strike.fRectHeight;
    // Read through the index map, not the one-bit fetch: its edge smoothing rounds isolated pixels
    // away, and the dots of i and j and the full stops would vanish.
    source.map.fill(kTransparentIndex);
    source.map[1] = 0;
    const Rect glyphRect{0, static_cast<std::int16_t>(g.column), strike.fRectHeight,
                         static_cast<std::int16_t>(g.column + g.width)};
    if (!Resample(source, glyphRect, glyph.width, glyph.height, FetchMapped, glyph.pixels.data())) {
        glyph.width = glyph.height = 0;
        glyph.pixels.clear();
    }
    return glyph;
}

int StrikeTextWidth(const FontStrike& strike, StrikeScale scale, const std::uint8_t* text, int count) {
    int width = 0;
    for (int i = 0; i < count; ++i)
        width += scale(CharAdvance(strike, text[i]));
    return width;
}

int ComposeStrikeRun(const FontStrike& strike, std::uint16_t strikeId, StrikeScale scale, GlyphCache& cache,
                     const std::uint8_t* text, int count, std::uint8_t ink, TextBlock& block) {
    // First the extent of the ink, then the glyphs.
    int pen = 0;
    int inkLeft = INT_MAX;
    int inkRight = INT_MIN;
    for (int i = 0; i < count; ++i) {
        const StrikeGlyph g = GlyphFor(strike, text[i]);
        if (g.present && g.width > 0) {
            inkLeft = std::min(inkLeft, pen + scale(g.origin));
            inkRight = std::max(inkRight, pen + scale(g.origin) + scale(g.width));
        }
        pen += scale(g.advance);
    }
    const int advance = pen;
    if (inkLeft >= inkRight) {
        block.Reset(0, 0, 0, 0);
        return advance;
    }
    block.Reset(inkLeft, -scale(strike.ascent), inkRight - inkLeft, scale(strike.fRectHeight));
    pen = 0;
    for (int i = 0; i < count; ++i) {
        const StrikeGlyph g = GlyphFor(strike, text[i]);
        const int x0 = pen + scale(g.origin) - inkLeft;
        pen += scale(g.advance);
        if (!g.present || g.width <= 0) continue;
        if (!scale.Scaled()) {
            for (int y = 0; y < strike.fRectHeight; ++y)
                for (int x = 0; x < g.width; ++x)
                    if (StrikePixel(strike, g.column + x, y)) block.At(x0 + x, y) = ink;
            continue;
        }
        const GlyphCache::Glyph& scaled = cache.Get(strike, strikeId, scale, text[i]);
        const int rows = std::min(scaled.height, block.height);
        for (int y = 0; y < rows; ++y)
            for (int x = 0; x < scaled.width && x0 + x < block.width; ++x)
                if (scaled.pixels[static_cast<std::size_t>(y) * scaled.width + x] != kTransparentIndex)
                    block.At(x0 + x, y) = ink;
    }
    return advance;
}

namespace {

// Outlined and shadowed letters are hollow: drawn in the text colour around the glyph and white
// inside. The ring is one pixel wide on the left and top; on the right and bottom it is one pixel
// for an outline and two for a shadow, which drops the letters' edge down and right.
int Lead(const FaceRunStyle& style) {
    return style.outline || style.shadow ? 1 : 0;
}
int Tail(const FaceRunStyle& style) {
    return style.shadow ? 2 : style.outline ? 1 : 0;
}

} // namespace

int FaceStyleMargin(const FaceRunStyle& style) {
    return Lead(style) + Tail(style);
}
int FaceStyleAscent(const FaceRunStyle& style) {
    return Lead(style);
}
int FaceStyleDescent(const FaceRunStyle& style) {
    return Tail(style);
}

int FaceTextWidth(platform::SizedFace& face, const std::uint8_t* text, int count, const FaceRunStyle& style) {
    if (count <= 0) return 0;
    int width = 0;
    for (int i = 0; i < count; ++i)
        width += face.Advance(platform::MacRomanToUnicode(text[i])) + style.extra;
    return width + FaceStyleMargin(style);
}

int ComposeFaceRun(platform::SizedFace& face, const std::uint8_t* text, int count, const FaceRunStyle& style,
                   std::uint8_t ink, std::uint8_t white, TextBlock& block) {
    if (count <= 0) {
        block.Reset(0, 0, 0, 0);
        return 0;
    }
    const platform::FaceMetrics& m = face.Metrics();
    const int advance = FaceTextWidth(face, text, count, style);
    const int shift = Lead(style); // the ring's room on the left

    // The extent of the plain text: the cell, widened to any glyph reaching outside it.
    int left = 0, right = advance, top = -m.ascent, bottom = m.descent;
    int pen = shift;
    for (int i = 0; i < count; ++i) {
        const platform::GlyphImage& g = face.Glyph(platform::MacRomanToUnicode(text[i]));
        if (g.width > 0 && g.height > 0) {
            left = std::min(left, pen + g.left);
            right = std::max(right, pen + g.left + g.width);
            top = std::min(top, -g.top);
            bottom = std::max(bottom, g.height - g.top);
        }
        pen += g.advance + style.extra;
    }
    const int underlineRow = std::min(bottom - 1, std::max(1, m.descent / 2));
    // Room for the ring all round.
    const int lead = Lead(style), tail = Tail(style);
    block.Reset(left - lead, top - lead, right - left + lead + tail, bottom - top + lead + tail);

    // The plain text as a mask, then the renderings over one another.
    std::vector<std::uint8_t> mask(block.pixels.size(), 0);
    auto maskAt = [&](int x, int y) -> std::uint8_t& {
        return mask[static_cast<std::size_t>(y) * block.width + x];
    };
    pen = shift;
    for (int i = 0; i < count; ++i) {
        const platform::GlyphImage& g = face.Glyph(platform::MacRomanToUnicode(text[i]));
        const int x0 = pen + g.left - block.left;
        const int y0 = -g.top - block.top;
        for (int y = 0; y < g.height; ++y)
            for (int x = 0; x < g.width; ++x)
                if (g.bits[static_cast<std::size_t>(y) * g.width + x]) maskAt(x0 + x, y0 + y) = 1;
        pen += g.advance + style.extra;
    }
    if (style.underline) {
        const int y = underlineRow - block.top;
        for (int x = shift - block.left; x < advance - FaceStyleMargin(style) + shift - block.left; ++x)
            maskAt(x, y) = 1;
    }
    const bool hollow = style.outline || style.shadow;
    if (hollow)
        for (int y = 0; y < block.height; ++y)
            for (int x = 0; x < block.width; ++x) {
                if (!maskAt(x, y)) continue;
                for (int dy = -lead; dy <= tail; ++dy)
                    for (int dx = -lead; dx <= tail; ++dx)
                        block.At(x + dx, y + dy) = ink;
            }
    for (std::size_t i = 0; i < mask.size(); ++i)
        if (mask[i]) block.pixels[i] = hollow ? white : ink;
    return advance;
}

} // namespace qiva
