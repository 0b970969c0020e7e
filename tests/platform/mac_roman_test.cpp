#include <gtest/gtest.h>

#include "platform/mac_roman.h"

namespace {

using namespace platform;

TEST(MacRoman, EveryCharacterRoundTrips) {
    for (int ch = 0; ch < 256; ++ch) {
        const char32_t cp = MacRomanToUnicode(static_cast<std::uint8_t>(ch));
        ASSERT_EQ(UnicodeToMacRoman(cp), ch) << "character " << ch;
    }
}

TEST(MacRoman, KnownCharacters) {
    const struct {
        std::uint8_t ch;
        char32_t cp;
    } cases[] = {{'A', U'A'},  {0x80, U'Ä'}, {0x8E, U'é'},   {0x82, U'Ç'},   {0xA5, U'•'}, {0xCA, 0xA0},
                 {0xD5, U'’'}, {0xDB, U'€'}, {0xDE, 0xFB01}, {0xF0, 0xF8FF}, {0xFF, U'ˇ'}};
    for (const auto& c : cases)
        EXPECT_EQ(MacRomanToUnicode(c.ch), c.cp) << int(c.ch);
    EXPECT_EQ(UnicodeToMacRoman(U'→'), -1);
    EXPECT_EQ(UnicodeToMacRoman(0x1F600), -1);
}

TEST(MacRoman, Utf8BothWays) {
    const std::string mac = "\x83galit\x8E \xC7\xC8";
    EXPECT_EQ(MacRomanToUtf8(mac), "Égalité «»");
    EXPECT_EQ(Utf8ToMacRoman("Égalité «»"), mac);
}

TEST(MacRoman, UnknownAndMalformedUtf8BecomeTheReplacement) {
    const struct {
        std::string utf8;
        std::string mac;
    } cases[] = {
        {"a→b", "a?b"},  // no such character
        {"a\xC3", "a?"}, // truncated sequence
        {"\xC3"
         "b",
         "?b"},                    // continuation missing, the next byte kept
        {"\xC0\xAF", "??"},        // overlong form
        {"\xED\xA0\x80x", "???x"}, // surrogate
        {"\xFF\xFE", "??"},        // not a lead byte
        {"\xF0\x9F\x98\x80", "?"}, // outside the set, one character
    };
    for (const auto& c : cases)
        EXPECT_EQ(Utf8ToMacRoman(c.utf8), c.mac) << c.mac;
}

} // namespace
