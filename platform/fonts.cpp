#include "platform/fonts.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_SYNTHESIS_H

namespace platform {

namespace {

// One FreeType library and one fontconfig configuration for the process, made on first use.
FT_Library Library() {
    static FT_Library library = [] {
        FT_Library lib = nullptr;
        if (FT_Init_FreeType(&lib) != 0) lib = nullptr;
        return lib;
    }();
    return library;
}

FcConfig* Config() {
    static FcConfig* config = [] {
        FcConfig* c = FcInitLoadConfigAndFonts();
        // Fontconfig keeps caches until FcFini; freeing them at exit keeps leak checkers quiet.
        if (c != nullptr)
            std::atexit([] {
                FcConfigDestroy(config);
                FcFini();
            });
        return c;
    }();
    return config;
}

bool Contains(std::string_view haystack, std::string_view needle) {
    const auto it = std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end(),
                                [](char a, char b) { return std::tolower(a) == std::tolower(b); });
    return it != haystack.end();
}

bool EqualNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && Contains(a, b);
}

int ClassifyFamily(std::string_view name, int spacing) {
    if (spacing == FC_MONO || Contains(name, "mono") || Contains(name, "courier")) return kMonospace;
    if (Contains(name, "sans")) return kSans;
    if (Contains(name, "serif") || Contains(name, "times") || Contains(name, "roman")) return kSerif;
    if (Contains(name, "script")) return kScript;
    return kSans;
}

int Pixels(FT_Pos value26_6) {
    return static_cast<int>((value26_6 + 32) >> 6);
}

} // namespace

const char* GenericFamilyName(int familyCode) {
    switch (familyCode) {
    case kSerif:
    case kScript:
        return "serif";
    case kMonospace:
        return "monospace";
    default:
        return "sans-serif";
    }
}

std::vector<InstalledFace> ListInstalledFaces() {
    std::vector<InstalledFace> faces;
    FcConfig* config = Config();
    if (config == nullptr) return faces;
    FcPattern* pattern = FcPatternBuild(nullptr, FC_OUTLINE, FcTypeBool, FcTrue, nullptr);
    FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, FC_SPACING, FC_FONTFORMAT, nullptr);
    FcFontSet* set = FcFontList(config, pattern, objects);
    if (set != nullptr) {
        for (int i = 0; i < set->nfont; ++i) {
            FcChar8* family = nullptr;
            if (FcPatternGetString(set->fonts[i], FC_FAMILY, 0, &family) != FcResultMatch) continue;
            FcChar8* format = nullptr;
            // TrueType and OpenType outlines only: Type 1 and the like are not what the toolkit draws.
            if (FcPatternGetString(set->fonts[i], FC_FONTFORMAT, 0, &format) == FcResultMatch &&
                std::string_view(reinterpret_cast<const char*>(format)) != "TrueType" &&
                std::string_view(reinterpret_cast<const char*>(format)) != "CFF")
                continue;
            int spacing = FC_PROPORTIONAL;
            FcPatternGetInteger(set->fonts[i], FC_SPACING, 0, &spacing);
            std::string name(reinterpret_cast<const char*>(family));
            faces.push_back({name, ClassifyFamily(name, spacing)});
        }
        FcFontSetDestroy(set);
    }
    FcObjectSetDestroy(objects);
    FcPatternDestroy(pattern);
    std::sort(faces.begin(), faces.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
    // One entry per family name: a monospace style of a family marks the whole family so.
    std::vector<InstalledFace> unique;
    for (auto& face : faces) {
        if (!unique.empty() && unique.back().name == face.name) {
            if (face.familyCode == kMonospace) unique.back().familyCode = kMonospace;
            continue;
        }
        unique.push_back(std::move(face));
    }
    return unique;
}

std::optional<FaceFile> MatchFace(std::string_view family, bool bold, bool italic, bool exact) {
    FcConfig* config = Config();
    if (config == nullptr) return std::nullopt;
    const std::string name(family);
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(name.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_OUTLINE, FcTrue);
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(config, pattern, &result);
    FcPatternDestroy(pattern);
    if (match == nullptr) return std::nullopt;
    std::optional<FaceFile> file;
    FcChar8* path = nullptr;
    FcChar8* chosen = nullptr;
    if (FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch &&
        FcPatternGetString(match, FC_FAMILY, 0, &chosen) == FcResultMatch) {
        FaceFile f;
        f.path = reinterpret_cast<const char*>(path);
        f.family = reinterpret_cast<const char*>(chosen);
        FcPatternGetInteger(match, FC_INDEX, 0, &f.index);
        int weight = FC_WEIGHT_REGULAR;
        int slant = FC_SLANT_ROMAN;
        FcPatternGetInteger(match, FC_WEIGHT, 0, &weight);
        FcPatternGetInteger(match, FC_SLANT, 0, &slant);
        f.bold = weight >= FC_WEIGHT_DEMIBOLD;
        f.italic = slant != FC_SLANT_ROMAN;
        bool sameFamily = false;
        for (int i = 0; FcPatternGetString(match, FC_FAMILY, i, &chosen) == FcResultMatch; ++i)
            sameFamily = sameFamily || EqualNoCase(reinterpret_cast<const char*>(chosen), name);
        if (!exact || sameFamily) file = std::move(f);
    }
    FcPatternDestroy(match);
    return file;
}

struct SizedFace::Impl {
    FT_Face face = nullptr;
    bool embolden = false;
    bool oblique = false;
    ~Impl() {
        if (face != nullptr) FT_Done_Face(face);
    }
};

SizedFace::SizedFace(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
SizedFace::~SizedFace() = default;

std::unique_ptr<SizedFace> SizedFace::Open(const std::string& path, int index, int pixelSize, bool embolden,
                                           bool oblique, std::string* error) {
    auto fail = [&](const char* why) {
        if (error != nullptr) *error = path + ": " + why;
        return nullptr;
    };
    FT_Library library = Library();
    if (library == nullptr) return fail("FreeType cannot be initialised");
    if (pixelSize < 1 || pixelSize > 1000) return fail("size out of range");
    auto impl = std::make_unique<Impl>();
    if (FT_New_Face(library, path.c_str(), index, &impl->face) != 0) {
        impl->face = nullptr;
        return fail("not a font file");
    }
    if (!FT_IS_SCALABLE(impl->face)) return fail("not a scalable face");
    if (FT_Set_Pixel_Sizes(impl->face, 0, static_cast<FT_UInt>(pixelSize)) != 0) return fail("size refused");
    FT_Select_Charmap(impl->face, FT_ENCODING_UNICODE);
    impl->embolden = embolden;
    impl->oblique = oblique;
    const FT_Size_Metrics& m = impl->face->size->metrics;
    std::unique_ptr<SizedFace> sized(new SizedFace(std::move(impl)));
    FaceMetrics& metrics = sized->metrics_;
    metrics.ascent = Pixels(m.ascender);
    metrics.descent = -Pixels(m.descender);
    metrics.maxAdvance = Pixels(m.max_advance) + (embolden ? 1 : 0);
    metrics.lineGap = std::max(0, Pixels(m.height) - metrics.ascent - metrics.descent);
    return sized;
}

bool SizedFace::HasGlyph(char32_t cp) const {
    return FT_Get_Char_Index(impl_->face, cp) != 0;
}

const GlyphImage& SizedFace::Glyph(char32_t cp) {
    return Render(FT_Get_Char_Index(impl_->face, cp));
}

const GlyphImage& SizedFace::MissingGlyph() {
    return Render(0);
}

const GlyphImage& SizedFace::Render(unsigned glyphIndex) {
    if (const auto it = glyphs_.find(glyphIndex); it != glyphs_.end()) return it->second;
    // Huge sizes must not hoard memory: past 4 MB of images the face starts again.
    if (glyphBytes_ > (std::size_t{4} << 20)) {
        glyphs_.clear();
        glyphBytes_ = 0;
    }
    GlyphImage& image = glyphs_[glyphIndex];
    FT_Face face = impl_->face;
    if (FT_Load_Glyph(face, glyphIndex, FT_LOAD_TARGET_MONO | FT_LOAD_NO_BITMAP) != 0) return image;
    FT_GlyphSlot slot = face->glyph;
    if (impl_->oblique) FT_GlyphSlot_Oblique(slot);
    if (impl_->embolden) {
        // One pixel wider, as GDI's synthetic bold is: FreeType's own emboldening grows by a fraction.
        if (slot->format == FT_GLYPH_FORMAT_OUTLINE) FT_Outline_EmboldenXY(&slot->outline, 64, 0);
        if (slot->advance.x != 0) slot->advance.x += 64;
    }
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_MONO) != 0) return image;
    const FT_Bitmap& bitmap = slot->bitmap;
    image.advance = Pixels(slot->advance.x);
    image.left = slot->bitmap_left;
    image.top = slot->bitmap_top;
    image.width = static_cast<int>(bitmap.width);
    image.height = static_cast<int>(bitmap.rows);
    image.bits.assign(static_cast<std::size_t>(image.width) * image.height, 0);
    glyphBytes_ += image.bits.size() + sizeof(GlyphImage);
    if (bitmap.pixel_mode != FT_PIXEL_MODE_MONO) {
        image.width = image.height = 0;
        image.bits.clear();
        return image;
    }
    for (int y = 0; y < image.height; ++y) {
        const unsigned char* row = bitmap.buffer + static_cast<std::ptrdiff_t>(y) * bitmap.pitch;
        for (int x = 0; x < image.width; ++x)
            image.bits[static_cast<std::size_t>(y) * image.width + x] = (row[x >> 3] >> (7 - (x & 7))) & 1;
    }
    return image;
}

} // namespace platform
