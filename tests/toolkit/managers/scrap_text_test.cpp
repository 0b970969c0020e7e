#include "toolkit/managers/scrap_text.h"

#include <gtest/gtest.h>

namespace {

TEST(ScrapText, ClipboardLinesEndInCarriageReturns) {
    struct Case {
        const char* utf8;
        const char* mac;
    };
    for (const Case& c : {Case{"a\r\nb", "a\rb"}, Case{"a\nb", "a\rb"}, Case{"a\rb", "a\rb"},
                          Case{"\r\n\r\n", "\r\r"}, Case{"a\n\nb\n", "a\r\rb\r"}}) {
        EXPECT_EQ(qiva::ClipboardToScrapText(c.utf8), c.mac) << c.utf8;
    }
}

TEST(ScrapText, ImportGoesThroughTheCodePageAndTheTypedCharacterTable) {
    struct Case {
        const char* utf8;
        const char* mac;
    };
    for (const Case& c : {
             Case{"caf\xC3\xA9", "caf\x8E"},       // é
             Case{"\xC3\x80\xC3\xBC", "\xCB\x9F"}, // À ü
             Case{"\xC2\xA4", "\xB0"},             // ¤: code page 164, the table's own exception
             Case{"\xC2\xA6", "\x7F"},             // ¦: 166 -> 127
             Case{"\xE2\x82\xAC", "?"},            // €: code page 128, which the table refuses
             Case{"\xE6\xBC\xA2", "?"},            // not in the code page
             Case{"a\xC3", "a?"},                  // cut sequence: each malformed byte is one "?"
             Case{"\xC0\xAF", "??"},               // overlong
             Case{"\xED\xA0\x80z", "???z"},        // surrogate
         }) {
        EXPECT_EQ(qiva::ClipboardToScrapText(c.utf8), c.mac) << c.utf8;
    }
}

TEST(ScrapText, ExportUsesTheExportTableAndLineFeeds) {
    struct Case {
        const char* mac;
        const char* utf8;
    };
    for (const Case& c : {
             Case{"a\rb", "a\nb"}, Case{"caf\x8E", "caf\xC3\xA9"},
             Case{"\xDB", "\xC2\xA4"},                     // the currency sign
             Case{"\xA1", "\xC2\xBA"},                     // degree sign to its look-alike
             Case{"\x7F", "\xC2\xA6"}, Case{"\xAD", "="},  // not equal
             Case{"\xC5", "~"},                            // almost equal
             Case{"\xF0", "@"},                            // the logo character
             Case{"\xD0\xD1", "\xE2\x80\x93\xE2\x80\x94"}, // en and em dashes exist in the code page
         }) {
        EXPECT_EQ(qiva::ScrapTextToClipboard(c.mac), c.utf8) << c.mac;
    }
}

TEST(ScrapText, TextOfTheCodePageSurvivesTheRoundTrip) {
    const std::string utf8 =
        "\xC3\xA0\xC3\xA9\xC3\xAE\xC3\xB5\xC3\xBC \xC3\x80\xC3\x89\xC3\x8E\xC3\x95\xC3\x9C "
        "\xC3\xA7\xC3\x87 \xC5\x93\xC2\xAB\xC2\xBB \xE2\x80\xA6 1+1=2\nnext line";
    EXPECT_EQ(qiva::ScrapTextToClipboard(qiva::ClipboardToScrapText(utf8)), utf8);
    // Every character of the Macintosh set exports to one the import reads back as itself, save
    // those the tables map to look-alikes.
    int same = 0;
    for (int c = 32; c < 256; ++c) {
        const std::string one(1, static_cast<char>(c));
        same += qiva::ClipboardToScrapText(qiva::ScrapTextToClipboard(one)) == one;
    }
    EXPECT_GE(same, 190);
}

} // namespace
