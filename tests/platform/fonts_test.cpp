#include <gtest/gtest.h>

#include <algorithm>

#include "platform/fonts.h"

namespace {

using namespace platform;

TEST(Fonts, RendersAPinnedFaceMonochrome) {
    std::string error;
    auto face = SizedFace::Open(TOLKA_FONT_DEJAVU_SANS, 0, 12, false, false, &error);
    ASSERT_TRUE(face) << error;
    const FaceMetrics& m = face->Metrics();
    EXPECT_GT(m.ascent, 8);
    EXPECT_GT(m.descent, 1);
    EXPECT_GE(m.maxAdvance, face->Advance(U'W'));

    const GlyphImage l = face->Glyph(U'l');
    EXPECT_EQ(l.width, 1); // a crisp one-pixel stem, not a grey smear
    EXPECT_EQ(l.top, l.height);
    EXPECT_TRUE(std::all_of(l.bits.begin(), l.bits.end(), [](auto b) { return b == 1; }));
    EXPECT_EQ(face->Advance(U' '), face->Glyph(U' ').advance);
    EXPECT_GT(face->Advance(U' '), 0);

    // A character the face lacks is drawn as its missing-glyph shape.
    EXPECT_FALSE(face->HasGlyph(0xE000));
    EXPECT_EQ(face->Glyph(0xE000).bits, face->MissingGlyph().bits);
    EXPECT_GT(face->MissingGlyph().width, 0);
}

TEST(Fonts, SyntheticBoldIsOnePixelWider) {
    auto regular = SizedFace::Open(TOLKA_FONT_DEJAVU_SANS, 0, 12, false, false);
    auto bold = SizedFace::Open(TOLKA_FONT_DEJAVU_SANS, 0, 12, true, false);
    ASSERT_TRUE(regular && bold);
    for (char32_t cp : {U'a', U'M', U'é'})
        EXPECT_EQ(bold->Advance(cp), regular->Advance(cp) + 1);
}

TEST(Fonts, HugeSizesDoNotHoardGlyphs) {
    auto face = SizedFace::Open(TOLKA_FONT_DEJAVU_SANS, 0, 600, false, false);
    ASSERT_TRUE(face);
    const GlyphImage first = face->Glyph(U'W');
    EXPECT_GT(first.width * first.height, 100000);
    for (char32_t cp = U'A'; cp <= U'Z'; ++cp)
        face->Glyph(cp); // well past the few megabytes kept
    const GlyphImage again = face->Glyph(U'W');
    EXPECT_EQ(again.bits, first.bits);
    EXPECT_EQ(again.advance, first.advance);
}

TEST(Fonts, RefusesWhatIsNotAScalableFace) {
    std::string error;
    EXPECT_FALSE(SizedFace::Open(__FILE__, 0, 12, false, false, &error));
    EXPECT_NE(error.find("not a font file"), std::string::npos);
    EXPECT_FALSE(SizedFace::Open(TOLKA_FONT_DEJAVU_SANS, 0, 0, false, false));
    EXPECT_FALSE(SizedFace::Open("/nonexistent/face.ttf", 0, 12, false, false));
}

TEST(Fonts, ListsAndMatchesInstalledFaces) {
    const auto faces = ListInstalledFaces();
    auto code = [&](std::string_view name) {
        for (const auto& f : faces)
            if (f.name == name) return f.familyCode;
        return -1;
    };
    EXPECT_EQ(code("DejaVu Sans"), kSans);
    EXPECT_EQ(code("DejaVu Serif"), kSerif);
    EXPECT_EQ(code("DejaVu Sans Mono"), kMonospace);
    EXPECT_TRUE(std::is_sorted(faces.begin(), faces.end(), [](auto& a, auto& b) { return a.name < b.name; }));

    const auto bold = MatchFace("DejaVu Sans", true, false, true);
    ASSERT_TRUE(bold);
    EXPECT_EQ(bold->path, TOLKA_FONT_DEJAVU_SANS_BOLD);
    EXPECT_TRUE(bold->bold);
    EXPECT_FALSE(bold->italic);

    EXPECT_FALSE(MatchFace("No Such Face Anywhere", false, false, true));
    const auto substitute = MatchFace(GenericFamilyName(kMonospace), false, false);
    ASSERT_TRUE(substitute);
    EXPECT_FALSE(substitute->path.empty());
}

} // namespace
