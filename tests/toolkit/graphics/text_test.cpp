#include <algorithm>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "../core/resource_files.h"
#include "graphics_fixture.h"
#include "strike_fixture.h"
#include "toolkit/core/error_box.h"
#include "toolkit/core/message_log.h"
#include "toolkit/core/resources.h"
#include "toolkit/core/settings.h"
#include "toolkit/graphics/font_numbers.h"
#include "toolkit/graphics/font_strike.h"
#include "toolkit/graphics/strike_builder.h"

namespace {

using qiva::kIndexBlack;
using qiva::kIndexWhite;

std::string StrikeData(int size, bool bold) {
    qiva::FaceStrikeRequest request;
    request.path = bold ? TOLKA_FONT_DEJAVU_SANS_BOLD : TOLKA_FONT_DEJAVU_SANS;
    request.size = size;
    std::string error;
    const auto bytes = qiva::StrikeFromFace(request, &error);
    EXPECT_FALSE(bytes.empty()) << error;
    return std::string(bytes.begin(), bytes.end());
}

// A resource file of strikes: the system font (ID 12), family 3 in 9, 12 and 14 points, and the
// tiny hand-made strike as family 7 in 3 points.
class TextTest : public GraphicsTest {
protected:
    static constexpr int kW = 120, kH = 40;
    qiva_test::ScratchDirectory dir;
    GrafPort port;
    std::int16_t file = -1;

    void SetUp() override { SetUpWith(true); }
    void SetUpWith(bool withSystemFont) {
        GraphicsTest::SetUp();
        std::vector<qiva::Resource> resources = {
            qiva_test::MakeResource("FONT", 3 * 128 + 9, StrikeData(9, false)),
            qiva_test::MakeResource("FONT", 3 * 128 + 12, StrikeData(12, false)),
            qiva_test::MakeResource("FONT", 3 * 128 + 14, StrikeData(14, false)),
        };
        const auto tiny = TinyStrike();
        resources.push_back(
            qiva_test::MakeResource("FONT", 7 * 128 + 3, std::string(tiny.begin(), tiny.end())));
        if (withSystemFont) resources.push_back(qiva_test::MakeResource("FONT", 12, StrikeData(12, true)));
        file = OpenResFile(dir.Write("fonts.rsr", qiva_test::FileImage(resources)).c_str());
        ASSERT_GT(file, 0);
        // Faces numbered by their names' hash alone, whatever the user's settings hold.
        qiva::SetFontesLookup([](std::string_view) { return std::string("0"); });
        ASSERT_TRUE(NewBufferPort(&port, kW, kH));
        Rect all = R(0, 0, kW, kH);
        EraseRect(&all);
        qiva::ClearErrorBoxHistory();
    }
    void TearDown() override {
        DisposeBufferPort(&port);
        if (file > 0) CloseResFile(file);
        qiva::SetFontesLookup(nullptr);
        GraphicsTest::TearDown();
    }

    std::vector<std::string> Ink() { return Rows(kW, kH, static_cast<std::uint8_t>(port.fgIndex)); }
    void Clear() {
        Rect all = R(0, 0, kW, kH);
        EraseRect(&all);
    }
    static int InkCount(const std::vector<std::string>& rows) {
        int n = 0;
        for (const auto& r : rows)
            n += static_cast<int>(std::count(r.begin(), r.end(), '#'));
        return n;
    }
    // The columns and rows holding ink: left, top, right, bottom (exclusive); all 0 when none.
    static Rect InkBox(const std::vector<std::string>& rows) {
        int top = 9999, left = 9999, bottom = 0, right = 0;
        for (int v = 0; v < static_cast<int>(rows.size()); ++v)
            for (int h = 0; h < static_cast<int>(rows[v].size()); ++h)
                if (rows[v][h] == '#') {
                    top = std::min(top, v);
                    left = std::min(left, h);
                    bottom = std::max(bottom, v + 1);
                    right = std::max(right, h + 1);
                }
        return bottom == 0 ? R(0, 0, 0, 0) : R(left, top, right, bottom);
    }
    // Draws the text at (h, v) and returns how far the pen moved.
    int Draw(const char* text, int h = 2, int v = 20) {
        MoveTo(h, v);
        DrawText(text, 0, static_cast<int>(std::strlen(text)));
        return port.pnLoc.h - h;
    }
    std::int16_t Width(const char* text) { return TextWidth(text, 0, static_cast<int>(std::strlen(text))); }
};

TEST_F(TextTest, BitmapTextAdvancesByItsMeasuredWidth) {
    for (int size : {9, 12, 13, 14, 24}) {
        TextFont(3);
        TextSize(size);
        Clear();
        const char* text = "Tolka: 24 graines!";
        EXPECT_EQ(Draw(text), Width(text)) << size;
        EXPECT_GT(InkCount(Ink()), 20) << size;
        int sum = 0;
        for (const char* p = text; *p; ++p)
            sum += CharWidth(static_cast<unsigned char>(*p));
        EXPECT_EQ(sum, Width(text)) << size;
    }
    const unsigned char pascal[] = "\x05Tolka";
    EXPECT_EQ(StringWidth(pascal), Width("Tolka"));
}

TEST_F(TextTest, GetFontInfoBoundsWhatIsDrawn) {
    for (int size : {9, 12, 13, 20}) {
        TextFont(3);
        TextSize(size);
        Clear();
        FontInfo info{};
        GetFontInfo(&info);
        EXPECT_GT(info.ascent, 0);
        Draw("\x83gal bj\x8E", 2, 22); // "Égal bjé": an accented capital and descenders
        const Rect box = InkBox(Ink());
        EXPECT_GE(box.top, 22 - info.ascent) << size;
        EXPECT_LE(box.bottom, 22 + info.descent) << size;
        EXPECT_GT(box.bottom, 22) << size; // the descenders are drawn
        EXPECT_LE(info.widMax, 2 * size) << size;
    }
}

TEST_F(TextTest, SizeZeroIsTwelve) {
    TextFont(3);
    TextSize(12);
    Draw("Partie");
    const auto twelve = Ink();
    const auto width = Width("Partie");
    FontInfo twelveInfo{};
    GetFontInfo(&twelveInfo);
    Clear();
    TextSize(0);
    Draw("Partie");
    EXPECT_EQ(Ink(), twelve);
    EXPECT_EQ(Width("Partie"), width);
    FontInfo zeroInfo{};
    GetFontInfo(&zeroInfo);
    EXPECT_EQ(std::memcmp(&zeroInfo, &twelveInfo, sizeof zeroInfo), 0);
}

TEST_F(TextTest, ThirteenPointsScaleTheTwelvePointStrike) {
    TextFont(3);
    TextSize(12);
    FontInfo twelve{};
    GetFontInfo(&twelve);
    TextSize(13);
    FontInfo thirteen{};
    GetFontInfo(&thirteen);
    EXPECT_EQ(thirteen.ascent, twelve.ascent * 13 / 12);
    EXPECT_EQ(thirteen.descent, twelve.descent * 13 / 12);
    EXPECT_EQ(CharWidth('m'), [&] {
        TextSize(12);
        return CharWidth('m') * 13 / 12;
    }());
}

TEST_F(TextTest, MissingCharactersAndLineBreaks) {
    TextFont(7);
    TextSize(3);
    // 'B' has no glyph, 'Z' lies above lastChar: both are the missing glyph, as is lastChar + 1.
    EXPECT_EQ(Width("B"), 5);
    EXPECT_EQ(Width("Z"), 5);
    Draw("Z", 0, 2);
    EXPECT_EQ(Ink()[0].substr(0, 4), "###.");
    EXPECT_EQ(Ink()[1].substr(0, 4), "#.#.");
    EXPECT_EQ(Ink()[2].substr(0, 4), "###.");

    // A carriage return goes back to where the text began and one line down; a line feed only down.
    MoveTo(10, 10);
    DrawText("AA\rA\nA", 0, 6);
    const int line = 2 + 1 + 1; // ascent + descent + leading of the strike
    EXPECT_EQ(port.pnLoc.v, 10 + 2 * line);
    EXPECT_EQ(port.pnLoc.h, 10 + 4 + 4);
    Clear();
    MoveTo(10, 10);
    DrawText("A\rA", 0, 3);
    const auto rows = Ink();
    EXPECT_EQ(rows[8].substr(10, 3), ".#.");
    EXPECT_EQ(rows[8 + line].substr(10, 3), ".#.");
}

TEST_F(TextTest, CountsZeroAndNegative) {
    TextFont(3);
    EXPECT_EQ(TextWidth("abc", 0, 0), 0);
    EXPECT_TRUE(qiva::ErrorBoxHistory().empty());
    EXPECT_EQ(TextWidth("abc", 0, -1), 0);
    ASSERT_EQ(qiva::ErrorBoxHistory().size(), 1u);
    EXPECT_EQ(qiva::ErrorBoxHistory()[0], "TextWidth: taille illégale !");
    MoveTo(5, 20);
    DrawText("abc", 0, -3);
    DrawText("abc", 0, 0);
    EXPECT_EQ(port.pnLoc.h, 5);
    EXPECT_EQ(InkCount(Ink()), 0);
    EXPECT_EQ(TextWidth("abc", 1, 2), Width("bc"));
}

TEST_F(TextTest, XorTextInvertsAndRestores) {
    TextFont(3);
    TextSize(12);
    Rect band = R(0, 8, kW, 16);
    PaintRect(&band); // black under part of the text
    std::vector<std::uint8_t> before(kW * kH);
    for (int v = 0; v < kH; ++v)
        for (int h = 0; h < kW; ++h)
            before[v * kW + h] = Pixel(h, v);
    TextMode(srcXor);
    Draw("Xor Xor");
    EXPECT_EQ(Pixel(0, 0), kIndexWhite);
    bool changed = false;
    for (int v = 0; v < kH; ++v)
        for (int h = 0; h < kW; ++h)
            changed = changed || Pixel(h, v) != before[v * kW + h];
    EXPECT_TRUE(changed);
    Draw("Xor Xor");
    for (int v = 0; v < kH; ++v)
        for (int h = 0; h < kW; ++h)
            ASSERT_EQ(Pixel(h, v), before[v * kW + h]) << h << "," << v;
}

TEST_F(TextTest, TextTakesTheForegroundColourAndTheClip) {
    TextFont(3);
    ForeColor(redColor);
    Rect clip = R(0, 0, 20, kH);
    ClipRect(&clip);
    Draw("MMMMMMMM");
    const auto rows = Rows(kW, kH, static_cast<std::uint8_t>(port.fgIndex));
    EXPECT_GT(InkCount(rows), 10);
    EXPECT_LE(InkBox(rows).right, 20);
    EXPECT_EQ(InkCount(Rows(kW, kH, kIndexBlack)), 0);
}

TEST_F(TextTest, HiddenPenMovesWithoutDrawingForStrikes) {
    TextFont(3);
    HidePen();
    EXPECT_EQ(Draw("hidden"), Width("hidden"));
    ShowPen();
    EXPECT_EQ(InkCount(Ink()), 0);
}

TEST_F(TextTest, StrikesAreCachedAndInvalidated) {
    TextFont(3);
    TextSize(12);
    const int loads = qiva::StrikeLoadCount();
    Draw("a");
    Draw("b");
    EXPECT_EQ(qiva::StrikeLoadCount(), loads + 1);
    // Six sizes through five places: the first is loaded again.
    for (int size : {9, 10, 11, 13, 14}) {
        TextSize(size);
        Draw("c");
    }
    EXPECT_EQ(qiva::StrikeLoadCount(), loads + 6);
    TextSize(12);
    Draw("d");
    EXPECT_EQ(qiva::StrikeLoadCount(), loads + 7);
    // Still kept: 13 points. Opening a resource file forgets the strikes and the scaled glyphs.
    TextSize(13);
    Draw("eee");
    EXPECT_EQ(qiva::StrikeLoadCount(), loads + 7);
    EXPECT_GT(qiva::ScaledGlyphCount(), 0u);
    const std::int16_t other = OpenResFile(
        dir.Write("other.rsr", qiva_test::FileImage({qiva_test::MakeResource("STR ", 1, "x")})).c_str());
    EXPECT_EQ(qiva::ScaledGlyphCount(), 0u);
    Draw("e");
    EXPECT_EQ(qiva::StrikeLoadCount(), loads + 8);
    CloseResFile(other);
    // InitFonts starts afresh.
    Draw("eee");
    InitFonts();
    EXPECT_EQ(qiva::ScaledGlyphCount(), 0u);
    Draw("e");
    EXPECT_EQ(qiva::StrikeLoadCount(), loads + 10);
}

TEST_F(TextTest, ReleasedOrClosedFontsAreLetGo) {
    TextFont(3);
    TextSize(12);
    const int width = Width("abc");
    const int loads = qiva::StrikeLoadCount();
    // The strike's resource released by its user: loaded again on the next use.
    ReleaseResource(GetResource(MakeResType("FONT"), 3 * 128 + 12));
    EXPECT_EQ(Width("abc"), width);
    EXPECT_EQ(qiva::StrikeLoadCount(), loads + 1);
    // Its file closed: nothing is left to draw with (and nothing freed is read).
    CloseResFile(file);
    file = -1;
    EXPECT_EQ(Width("abc"), 0);
    Draw("abc");
    EXPECT_EQ(InkCount(Ink()), 0);
}

TEST_F(TextTest, AFamilyWithoutStrikesUsesTheSystemFont) {
    TextFont(40);
    TextSize(12);
    const int width = Width("Menu");
    TextFont(0);
    EXPECT_EQ(Width("Menu"), width);
    EXPECT_GT(Draw("Menu"), 0);
}

class NoSystemFont : public TextTest {
protected:
    void SetUp() override { SetUpWith(false); }
};

TEST_F(NoSystemFont, NothingToDrawWith) {
    TextFont(40);
    FontInfo info{1, 2, 3, 4};
    GetFontInfo(&info);
    EXPECT_EQ(info.ascent, 1);
    EXPECT_EQ(info.leading, 4);
    ASSERT_EQ(qiva::ErrorBoxHistory().size(), 1u);
    EXPECT_EQ(qiva::ErrorBoxHistory()[0], "GetFontInfo: erreur de fonte.");
    EXPECT_EQ(Width("abc"), 0);
    Draw("abc");
    EXPECT_EQ(InkCount(Ink()), 0);
}

TEST_F(TextTest, MalformedStrikeIsRefused) {
    auto broken = TinyStrike();
    broken[4 + 1] = 0xFF; // lastChar 255 and tables far past the end
    const std::int16_t bad = OpenResFile(
        dir.Write("bad.rsr", qiva_test::FileImage({qiva_test::MakeResource(
                                 "FONT", 9 * 128 + 3, std::string(broken.begin(), broken.end()))}))
            .c_str());
    ASSERT_GT(bad, 0);
    TextFont(9);
    TextSize(3);
    Draw("abc");
    EXPECT_EQ(InkCount(Ink()), 0);
    EXPECT_EQ(Width("abc"), 0);
    Draw("abc");
    const std::string log = qiva::MessageLogText();
    EXPECT_NE(log.find("FONT 1155 : fonte invalide"), std::string::npos);
    EXPECT_EQ(log.find("FONT 1155", log.find("FONT 1155") + 1), std::string::npos); // said once
    qiva::ClearMessageLog();
    CloseResFile(bad);
}

// ---- TrueType faces

TEST_F(TextTest, FaceTextAdvancesByItsMeasuredWidthInEveryStyle) {
    qiva::SetFontesLookup(
        [](std::string_view name) { return std::string(name == "DejaVu Sans" ? "E281" : "0"); });
    TextFont(21); // 0xE281
    TextSize(12);
    for (int face = 0; face < 32; ++face) {
        TextFace(face);
        Clear();
        const char* text = "Fen\x90tre";
        EXPECT_EQ(Draw(text), Width(text)) << face;
        EXPECT_GT(InkCount(Ink()), 20) << face;
        FontInfo info{};
        GetFontInfo(&info);
        const Rect box = InkBox(Ink());
        EXPECT_GE(box.top, 20 - info.ascent) << face;
        EXPECT_LE(box.bottom, 20 + info.descent) << face;
    }
}

TEST_F(TextTest, FaceTextIsTheFacesGlyphs) {
    qiva::SetFontesLookup(
        [](std::string_view name) { return std::string(name == "DejaVu Sans" ? "E281" : "0"); });
    TextFont(21);
    TextSize(12);
    Draw("l", 2, 20);
    auto face = platform::SizedFace::Open(TOLKA_FONT_DEJAVU_SANS, 0, 12, false, false);
    ASSERT_TRUE(face);
    const auto l = face->Glyph(U'l');
    EXPECT_EQ(InkCount(Ink()), l.width * l.height);
    const Rect box = InkBox(Ink());
    EXPECT_EQ(box.left, 2 + l.left);
    EXPECT_EQ(box.top, 20 - l.top);
    EXPECT_EQ(CharWidth('l'), face->Advance(U'l'));
    FontInfo info{};
    GetFontInfo(&info);
    EXPECT_EQ(info.ascent, face->Metrics().ascent);
    EXPECT_EQ(info.widMax, face->Metrics().maxAdvance);
    // The pen stays where it is while it is hidden.
    HidePen();
    EXPECT_EQ(Draw("hidden"), 0);
    ShowPen();
}

TEST_F(TextTest, UnknownFaceFallsBackToItsFamily) {
    // No face is numbered 0xE180: TextFont(20) draws with the default serif face.
    TextFont(20);
    TextSize(12);
    EXPECT_GT(Draw("Times"), 0);
    EXPECT_GT(InkCount(Ink()), 20);
    // A hash number no face has: its family's default face, never nothing.
    TextFont(qiva::FontNumberFromName("No Such Face", platform::kMonospace, "0"));
    EXPECT_EQ(Width("iiii"), Width("mmmm")); // monospace
    // With the section naming a face, that face draws it.
    qiva::SetFontesLookup(
        [](std::string_view name) { return std::string(name == "DejaVu Sans Mono" ? "E180" : "0"); });
    TextFont(20);
    EXPECT_EQ(Width("iiii"), Width("mmmm"));
}

TEST_F(TextTest, FontesSectionOfAnIniFile) {
    const std::string ini = dir.Path("wqiva.ini");
    std::ofstream(ini)
        << "[Couleurs]\nCouleurInvert=0 0 0\n[fontes]\nDejaVu Sans Mono = e180\nDejaVu Sans=\n";
    const auto fontes = qiva::FontesFromIni(ini);
    EXPECT_EQ(fontes("DejaVu Sans Mono"), "e180");
    EXPECT_EQ(fontes("dejavu sans"), "");
    EXPECT_EQ(fontes("DejaVu Serif"), "0");
    EXPECT_EQ(qiva::FontesFromIni(dir.Path("none.ini"))("DejaVu Sans"), "0");
    qiva::SetFontesLookup(fontes);
    const auto& table = qiva::FaceTable();
    const auto mono =
        std::find_if(table.begin(), table.end(), [](auto& e) { return e.name == "DejaVu Sans Mono"; });
    const auto sans =
        std::find_if(table.begin(), table.end(), [](auto& e) { return e.name == "DejaVu Sans"; });
    ASSERT_NE(mono, table.end());
    ASSERT_NE(sans, table.end());
    EXPECT_EQ(mono->number, 0xE180);
    // An empty value is hashed with b from its length, 0.
    EXPECT_EQ(sans->number, qiva::FontNumberFromName("DejaVu Sans", sans->familyCode, ""));
    TextFont(20);
    EXPECT_EQ(Width("iiii"), Width("mmmm"));

    // By default the section is WQIVA.INI's.
    qiva::SetFontesLookup([](std::string_view) { return std::string("0"); });
    EXPECT_EQ(qiva::FindFace(qiva::FaceTable(), 0xE180), -1);
    qiva::SetIniDirectory(dir.Root().string());
    qiva::SetFontesLookup(nullptr);
    const int index = qiva::FindFace(qiva::FaceTable(), 0xE180);
    ASSERT_GE(index, 0);
    EXPECT_EQ(qiva::FaceTable()[index].name, "DejaVu Sans Mono");
    qiva::SetIniDirectory("");
}

TEST_F(TextTest, SpaceExtraWidensEveryCharacterOfAFace) {
    TextFont(21);
    TextSize(12);
    const int plain = Width("abc");
    SpaceExtra(2);
    EXPECT_EQ(Width("abc"), plain + 6);
    EXPECT_EQ(Draw("abc"), plain + 6);
    SpaceExtra(0);
}

} // namespace
