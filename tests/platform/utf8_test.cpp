#include "platform/utf8.h"

#include <gtest/gtest.h>

namespace {

// Whole texts: every valid sequence length, and each way a sequence can be malformed. A malformed
// sequence costs its first byte only, so what follows it is still read.
TEST(Utf8, DecodesValidSequencesAndReplacesTheFirstByteOfEachMalformedOne) {
    const struct {
        std::string text;
        std::u32string decoded;
    } cases[] = {
        {"a", U"a"},
        {"\xC3\xA9", U"\u00E9"},             // two bytes
        {"\xE2\x82\xAC", U"\u20AC"},         // three bytes
        {"\xF0\x9F\x98\x80", U"\U0001F600"}, // four bytes
        {"\xF4\x8F\xBF\xBF", U"\U0010FFFF"}, // the last code point
        {"a\xC3", U"a?"},                    // truncated at the end
        {"\xC3"
         "b",
         U"?b"},                       // continuation missing, the next byte kept
        {"\xC0\xAF", U"??"},           // overlong two-byte form
        {"\xE0\x80\xAF", U"???"},      // overlong three-byte form
        {"\xED\xA0\x80x", U"???x"},    // surrogate
        {"\xF4\x90\x80\x80", U"????"}, // above U+10FFFF
        {"\xFF\xFE\x80", U"???"},      // bytes that cannot lead
        {"\xE2\x82"
         "\xE2\x82\xAC",
         U"??\u20AC"}, // a cut sequence before a whole one
    };
    for (const auto& c : cases)
        EXPECT_EQ(platform::DecodeUtf8Text(c.text, U'?'), c.decoded) << c.text;
}

TEST(Utf8, StepsOverOneSequenceAtATime) {
    const std::string text = "\xC3\xA9\xFFz";
    std::size_t i = 0;
    EXPECT_EQ(platform::DecodeUtf8(text, i), U'\u00E9');
    EXPECT_EQ(i, 2u);
    EXPECT_EQ(platform::DecodeUtf8(text, i), std::nullopt);
    EXPECT_EQ(i, 3u);
    EXPECT_EQ(platform::DecodeUtf8(text, i), U'z');
    EXPECT_EQ(i, 4u);
}

TEST(Utf8, EncodingRoundTripsAtEachLengthBoundary) {
    for (char32_t cp : {0x0u, 0x7Fu, 0x80u, 0x7FFu, 0x800u, 0xFFFFu, 0x10000u, 0x10FFFFu}) {
        std::string text;
        platform::AppendUtf8(text, cp);
        EXPECT_EQ(text.size(), cp < 0x80 ? 1u : cp < 0x800 ? 2u : cp < 0x10000 ? 3u : 4u) << static_cast<unsigned>(cp);
        EXPECT_EQ(platform::DecodeUtf8Text(text), std::u32string(1, cp)) << static_cast<unsigned>(cp);
    }
}

} // namespace
