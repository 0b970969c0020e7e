#include <gtest/gtest.h>

#include <array>

#include "platform/fonts.h"
#include "toolkit/graphics/face_table.h"
#include "toolkit/graphics/font_numbers.h"

namespace {

using namespace qiva;

TEST(FontNumbers, ClassicNumbersAndTheTwoRanges) {
    const std::pair<std::uint16_t, std::uint16_t> cases[] = {
        {2, 0xE100},  {5, 0xE480},      {6, 0xE400},      {12, 0xE201},    {20, 0xE180}, {21, 0xE281},
        {22, 0xE300}, {23, 0xE101},     {0, 0},           {3, 0},          {4, 0},       {24, 0},
        {0x1FFF, 0},  {0x2000, 0x2000}, {0x5A3C, 0x5A3C}, {0xE180, 0xE180}};
    for (auto [font, number] : cases)
        EXPECT_EQ(ClassicToFaceNumber(font), number) << font;
}

TEST(FontNumbers, FamilyCodeComesFromTheBitsOfEachRange) {
    EXPECT_EQ(FamilyCodeOfNumber(0xE180), 0); // Times-like: serif
    EXPECT_EQ(FamilyCodeOfNumber(0xE281), 1); // Helvetica-like: sans
    EXPECT_EQ(FamilyCodeOfNumber(0xE300), 2); // Courier-like: monospace
    EXPECT_EQ(FamilyCodeOfNumber(0x2ABC), 0);
    EXPECT_EQ(FamilyCodeOfNumber(0x5ABC), 1);
    EXPECT_EQ(FamilyCodeOfNumber(0xE0FF), -1);
}

TEST(FontNumbers, FontesValueOfE000AndAboveIsTheNumber) {
    EXPECT_EQ(FontNumberFromName("Liberation Serif", 0, "E180"), 0xE180);
    EXPECT_EQ(FontNumberFromName("Liberation Serif", 0, "0xe180"), 0xE180);
    EXPECT_EQ(FontNumberFromName("Anything", 3, "FFFF"), 0xFFFF);
    // Below 0xE000 the value is not a number of its own: only its length enters the hash.
    EXPECT_NE(FontNumberFromName("Liberation Serif", 0, "DFFF"), 0xDFFF);
}

TEST(FontNumbers, NameHash) {
    // Worked by hand: a starts as the name's length, b from the value's length; digits count 1-10,
    // letters 11-36 in either case, anything else is skipped.
    EXPECT_EQ(FontNumberFromName("A1", 1, "0"), 0x4717);
    // 'Z' three times: the 7-bit rotation carries at the third letter, b passes 0x3F at the first.
    EXPECT_EQ(FontNumberFromName("ZZZ", 0, ""), 0x397F);
    EXPECT_EQ(FontNumberFromName("zzz", 0, ""), 0x397F);
    // Punctuation only: a = its length, b from the value's length, untouched by the characters.
    EXPECT_EQ(FontNumberFromName("-- !", 2, "0"), (1 ^ 0x3F) | 4 << 6 | 3 << 13);
    EXPECT_EQ(FontNumberFromName("-- !", 2, "0000"), (4 ^ 0x3F) | 4 << 6 | 3 << 13);
    // The family code lands in bits 13-15 and keeps the number below the explicit range.
    for (int family = 0; family <= 4; ++family) {
        const std::uint16_t n = FontNumberFromName("DejaVu Sans", family, "0");
        EXPECT_EQ(FamilyCodeOfNumber(n), family);
        EXPECT_GE(n, 0x2000);
        EXPECT_LT(n, 0xE000);
    }
}

TEST(FontNumbers, StrikeChoicePrefersSmallerSizes) {
    const std::array<std::int16_t, 4> family3 = {3 * 128 + 9, 3 * 128 + 12, 3 * 128 + 14, 12};
    EXPECT_EQ(ChooseStrikeId(3, 13, family3), 3 * 128 + 12); // distance 1 beats 100 + 1
    EXPECT_EQ(ChooseStrikeId(3, 15, family3), 3 * 128 + 14);
    EXPECT_EQ(ChooseStrikeId(3, 11, family3), 3 * 128 + 9); // 2 beats 100 + 1
    EXPECT_EQ(ChooseStrikeId(3, 8, family3), 3 * 128 + 9);  // only larger ones: the nearest
    EXPECT_EQ(ChooseStrikeId(3, 12, family3), 3 * 128 + 12);
    EXPECT_EQ(ChooseStrikeId(4, 12, family3), 12); // no strike of the family: the last resort
    EXPECT_EQ(ChooseStrikeId(0, 9, family3), 12);  // family 0's own strike
    const std::array<std::int16_t, 3> noResort = {3 * 128 + 12, 4 * 128, -5};
    EXPECT_FALSE(ChooseStrikeId(4, 12, noResort)); // 4 * 128 is the family's name, not a strike
    EXPECT_FALSE(ChooseStrikeId(0, 12, noResort)); // a negative ID is no family 0 strike
    EXPECT_EQ(StrikeId(3, 12), 3 * 128 + 12);
    EXPECT_EQ(StrikeId(3, 128), -1);
    EXPECT_EQ(StrikeId(300, 12), -1);
}

TEST(FaceTable, NumbersFacesOnceThroughFontesOrTheHash) {
    const platform::InstalledFace faces[] = {
        {"Liberation Serif", 0}, {"DejaVu Sans", 1}, {"Liberation Serif", 0}};
    const FontesLookup fontes = [](std::string_view name) {
        return name == "Liberation Serif" ? std::string("E180") : std::string("0");
    };
    const auto table = BuildFaceTable(faces, fontes);
    ASSERT_EQ(table.size(), 2u);
    EXPECT_EQ(table[0].number, 0xE180);
    EXPECT_EQ(table[1].number, FontNumberFromName("DejaVu Sans", 1, "0"));
    EXPECT_EQ(table[1].source, 1);
    EXPECT_EQ(FindFace(table, 0xE180), 0);
    EXPECT_EQ(FindFace(table, table[1].number), 1);
    EXPECT_EQ(FindFace(table, 0xE281), -1);
}

} // namespace
