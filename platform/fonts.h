#pragma once
// Scalable faces of the system: fontconfig lists and finds them, FreeType renders them monochrome
// and hinted, the crisp one-bit rendering the toolkit's 8-bit buffers want. Text arrives here as
// Unicode code points; the toolkit converts from its Macintosh character set first.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace platform {

// Family codes, as the toolkit's font numbers carry them (one less than the classic family values).
enum FaceFamily : int { kSerif = 0, kSans = 1, kMonospace = 2, kScript = 3, kDecorative = 4 };

struct InstalledFace {
    std::string name; // the family name, as fontconfig reports it
    int familyCode;   // FaceFamily
};

// The installed scalable faces, one entry per family name, sorted by name. Empty when fontconfig
// cannot be initialised.
std::vector<InstalledFace> ListInstalledFaces();

struct FaceFile {
    std::string path;
    int index = 0;       // face index inside the file
    std::string family;  // the family fontconfig actually chose
    bool bold = false;   // the file itself is bold (otherwise boldness must be synthesised)
    bool italic = false; // the file itself is italic or oblique
};

// The file fontconfig chooses for a family name ("serif", "sans-serif" and "monospace" are the
// generic ones) in the given style. Fontconfig substitutes a near face for a name that is not
// installed; `exact` asks for the named family only.
std::optional<FaceFile> MatchFace(std::string_view family, bool bold, bool italic, bool exact = false);

// The generic family name fontconfig knows for a family code.
const char* GenericFamilyName(int familyCode);

struct FaceMetrics {
    int ascent = 0;     // pixels above the baseline
    int descent = 0;    // pixels below it
    int maxAdvance = 0; // widest advance
    int lineGap = 0;    // extra space between lines
};

// One rendered glyph: `bits` holds width x height bytes, 1 where the glyph is inked.
struct GlyphImage {
    int width = 0;
    int height = 0;
    int left = 0;    // from the pen to the first column
    int top = 0;     // from the baseline up to the first row
    int advance = 0; // pen movement, whole pixels
    std::vector<std::uint8_t> bits;
};

// A face opened at a pixel size (the height of the em, as a GDI height of -size asks for), with
// rendered glyphs kept for the face's life.
class SizedFace {
public:
    // Null when the file cannot be opened as a scalable face; `error` then says why.
    static std::unique_ptr<SizedFace> Open(const std::string& path, int index, int pixelSize, bool embolden,
                                           bool oblique, std::string* error = nullptr);
    ~SizedFace();
    SizedFace(const SizedFace&) = delete;
    SizedFace& operator=(const SizedFace&) = delete;

    const FaceMetrics& Metrics() const { return metrics_; }
    bool HasGlyph(char32_t cp) const;
    // A character the face lacks renders as the face's missing-glyph shape, as GDI draws it. The
    // reference holds until the next call: rendered glyphs are kept up to a few megabytes, then
    // all forgotten at once.
    const GlyphImage& Glyph(char32_t cp);
    int Advance(char32_t cp) { return Glyph(cp).advance; }
    // The face's own missing-glyph shape.
    const GlyphImage& MissingGlyph();

private:
    struct Impl;
    explicit SizedFace(std::unique_ptr<Impl> impl);
    const GlyphImage& Render(unsigned glyphIndex);

    std::unique_ptr<Impl> impl_;
    FaceMetrics metrics_;
    std::unordered_map<unsigned, GlyphImage> glyphs_;
    std::size_t glyphBytes_ = 0;
};

} // namespace platform
