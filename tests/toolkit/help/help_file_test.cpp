#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "platform/mac_roman.h"
#include "toolkit/help/help_file.h"

namespace {

using qiva::help::BlockKind;
using qiva::help::Span;

std::string Plain(const qiva::help::Block& block) {
    std::string text;
    for (const Span& s : block.spans)
        text += s.bold ? "<" + s.text + ">" : s.text;
    return text;
}

TEST(HelpFile, TopicsKeywordsAndBlocks) {
    const auto file = qiva::help::ParseHelpFile("ignored before the first topic\r\n"
                                                "@topic  Keys \r\n"
                                                "@keywords keys, Keyboard ,,\r\n"
                                                "\r\n"
                                                "First line\n"
                                                "  joined   here.\n"
                                                "\n\n"
                                                "- *Space bar*: plays\n"
                                                "for you.\n"
                                                "- second item\n"
                                                "    board  [2]\n"
                                                "    row 2\n"
                                                "after the diagram\n"
                                                "@@topic is text\n"
                                                "@topic Rules\n"
                                                "\n"
                                                "@topic Empty title next\n");
    ASSERT_FALSE(file.error) << file.error->message;
    ASSERT_EQ(file.topics.size(), 3u);
    const auto& keys = file.topics[0];
    EXPECT_EQ(keys.title, "Keys");
    EXPECT_EQ(keys.line, 2);
    EXPECT_EQ(keys.keywords, (std::vector<std::string>{"keys", "Keyboard"}));
    ASSERT_EQ(keys.blocks.size(), 5u);
    EXPECT_EQ(keys.blocks[0].kind, BlockKind::Paragraph);
    EXPECT_EQ(Plain(keys.blocks[0]), "First line joined   here.");
    EXPECT_EQ(keys.blocks[1].kind, BlockKind::ListItem);
    EXPECT_EQ(Plain(keys.blocks[1]), "<Space bar>: plays for you.");
    EXPECT_EQ(keys.blocks[2].kind, BlockKind::ListItem);
    EXPECT_EQ(Plain(keys.blocks[2]), "second item");
    EXPECT_EQ(keys.blocks[3].kind, BlockKind::Fixed);
    EXPECT_EQ(keys.blocks[3].lines, (std::vector<std::string>{"board  [2]", "row 2"}));
    EXPECT_EQ(Plain(keys.blocks[4]), "after the diagram @topic is text");
    EXPECT_TRUE(file.topics[1].blocks.empty());
    EXPECT_TRUE(file.topics[1].keywords.empty());
}

TEST(HelpFile, TextIsConvertedToTheMacintoshSet) {
    const auto file = qiva::help::ParseHelpFile("@topic Règles\n@keywords règle\n\nL’été\tici\n");
    ASSERT_EQ(file.topics.size(), 1u);
    EXPECT_EQ(file.topics[0].title, "R\x8Fgles");
    EXPECT_EQ(file.topics[0].keywords[0], "r\x8Fgle");
    EXPECT_EQ(Plain(file.topics[0].blocks[0]), "L\xD5\x8Et\x8E ici");
}

TEST(HelpFile, ErrorsNameTheirLine) {
    struct Case {
        const char* text;
        int line;
        const char* fragment;
        std::size_t topicsKept;
    };
    const Case cases[] = {
        {"@topic A\ntext\n@see B\n", 3, "\"@see B\" is not a help directive", 1},
        {"@topic A\n\n@keywords a\n", 3, "must follow its @topic line", 1},
        {"@keywords a\n@topic A\n", 1, "must follow", 0},
        {"@topic\n", 1, "needs a title", 0},
        {"@topic   \n", 1, "needs a title", 0},
        {"@topicA\n", 1, "needs a title", 0},
        {"", 1, "no @topic", 0},
        {"just text\n\n", 1, "no @topic", 0},
        {"@topic A\n@topic B\n@x-very-long-directive-name-that-goes-on\n", 3, "...\" is not", 2},
        // The quote stops before a character it would cut in two, so the message stays UTF-8.
        {"@abcdefghijklmnopqrstuv\xC3\xA9t\n", 1, "\"@abcdefghijklmnopqrstuv...\" is not", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const auto file = qiva::help::ParseHelpFile(c.text);
        ASSERT_TRUE(file.error);
        EXPECT_EQ(file.error->line, c.line);
        EXPECT_NE(file.error->message.find(c.fragment), std::string::npos) << file.error->message;
        EXPECT_EQ(file.topics.size(), c.topicsKept);
    }
}

TEST(HelpFile, Emphasis) {
    struct Case {
        const char* text;
        std::vector<Span> spans;
    };
    const Case cases[] = {
        {"plain", {{"plain", false}}},
        {"a *b c* d", {{"a ", false}, {"b c", true}, {" d", false}}},
        {"*all*", {{"all", true}}},
        {"2 ** 3 = 8", {{"2 * 3 = 8", false}}},
        {"*x ** y*", {{"x * y", true}}},
        {"open *star here", {{"open *star here", false}}},
        {"*a* then *b", {{"a", true}, {" then *b", false}}},
        {"**", {{"*", false}}},
        {"*", {{"*", false}}},
        {"***", {{"**", false}}},
        {"", {}},
    };
    for (const Case& c : cases) {
        std::vector<Span> want = c.spans;
        std::erase_if(want, [](const Span& s) { return s.text.empty(); });
        EXPECT_EQ(qiva::help::ParseEmphasis(c.text), want) << c.text;
    }
}

TEST(HelpFile, KeywordLookUp) {
    const auto file = qiva::help::ParseHelpFile(
        "@topic A\n@keywords Tolka, help\n@topic B\n@keywords rules\n@topic C\n@keywords RULES, x\n");
    EXPECT_EQ(qiva::help::FindTopic(file, "tolka"), 0);
    EXPECT_EQ(qiva::help::FindTopic(file, "TOLKA"), 0);
    EXPECT_EQ(qiva::help::FindTopic(file, "Rules"), 1);
    EXPECT_EQ(qiva::help::FindTopic(file, "x"), 2);
    EXPECT_EQ(qiva::help::FindTopic(file, "tolk"), -1);
    EXPECT_EQ(qiva::help::FindTopic(file, ""), -1);
}

// The project's two help files read without error and both find the topic the game asks for first.
TEST(HelpFile, TheGamesHelpFilesRead) {
    for (const char* name : {"tolka.hlp", "tolka_gb.hlp"}) {
        SCOPED_TRACE(name);
        std::ifstream in(std::string(TOLKA_HELP_DIR) + "/" + name, std::ios::binary);
        ASSERT_TRUE(in);
        std::stringstream text;
        text << in.rdbuf();
        const auto file = qiva::help::ParseHelpFile(text.str());
        EXPECT_FALSE(file.error) << file.error->message;
        EXPECT_GE(file.topics.size(), 5u);
        EXPECT_EQ(qiva::help::FindTopic(file, "Tolka"), 0);
        EXPECT_EQ(platform::Utf8ToMacRoman(text.str(), '\0').find('\0'), std::string::npos)
            << "a character the Macintosh set lacks";
    }
}

} // namespace
