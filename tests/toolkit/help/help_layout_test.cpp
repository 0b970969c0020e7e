#include <gtest/gtest.h>

#include "toolkit/help/help_layout.h"

namespace {

using qiva::help::Face;
using qiva::help::Layout;
using qiva::help::Run;

// Widths per character: plain 5, bold 6, fixed 7, title 8.
int Measure(std::string_view text, Face face) {
    const int per[] = {5, 6, 7, 8};
    return static_cast<int>(text.size()) * per[static_cast<int>(face)];
}

Layout LayOut(const char* text, int width) {
    const auto file = qiva::help::ParseHelpFile(text);
    EXPECT_FALSE(file.error);
    return qiva::help::LayOutHelp(file, width, Measure);
}

// A line as text: runs joined at their positions, faces marked (<bold> [fixed] {title}).
std::string Show(const qiva::help::Line& line) {
    std::string out;
    for (const Run& r : line.runs) {
        const char* marks[] = {"", "<>", "[]", "{}"};
        const char* m = marks[static_cast<int>(r.face)];
        out += std::to_string(r.h) + ":" + (*m ? std::string(1, m[0]) + r.text + m[1] : r.text) + " ";
    }
    return out;
}

std::vector<std::string> Lines(const Layout& layout) {
    std::vector<std::string> lines;
    for (const auto& line : layout.lines)
        lines.push_back(Show(line));
    return lines;
}

TEST(HelpLayout, ParagraphsWrapAtSpacesWithinTheWidth) {
    // 60 pixels: twelve plain characters a line.
    const Layout layout = LayOut("@topic Ab\n\none two three four five\n\nsix\n", 60);
    EXPECT_EQ(Lines(layout), (std::vector<std::string>{
                                 "0:{Ab} ",
                                 "",
                                 "0:one two ",
                                 "0:three four ",
                                 "0:five ",
                                 "",
                                 "0:six ",
                             }));
}

TEST(HelpLayout, EmphasisKeepsPositionsAcrossFaces) {
    const Layout layout = LayOut("@topic T\n\nab *cd ef* gh\n", 200);
    ASSERT_EQ(layout.lines.size(), 3u);
    // "ab" 10, space 5 (plain), "cd ef" bold 30, space measured in plain, "gh".
    EXPECT_EQ(Show(layout.lines[2]), "0:ab 15:<cd ef> 50:gh ");
}

TEST(HelpLayout, ListItemsHangAfterTheirBullet) {
    const Layout layout = LayOut("@topic T\n\n- aaaa bbbb cccc\n- d\n", 14 + 50);
    EXPECT_EQ(Lines(layout), (std::vector<std::string>{
                                 "0:{T} ",
                                 "",
                                 "0:\xA5 14:aaaa bbbb ",
                                 "14:cccc ",
                                 "",
                                 "0:\xA5 14:d ",
                             }));
}

TEST(HelpLayout, FixedLinesAreNeverWrappedAndLongWordsAreBroken) {
    const Layout layout = LayOut("@topic T\n\n    a wide diagram line\n\nabcdefghijklmn xy\n", 30);
    EXPECT_EQ(Lines(layout), (std::vector<std::string>{
                                 "0:{T} ",
                                 "",
                                 "0:[a wide diagram line] ",
                                 "",
                                 "0:abcdef ",
                                 "0:ghijkl ",
                                 "0:mn xy ",
                             }));
    // A column narrower than a character still takes one a line and ends.
    const Layout narrow = LayOut("@topic T\n\nabc\n", 2);
    EXPECT_EQ(narrow.lines.size(), 2u + 3u);
}

TEST(HelpLayout, TopicsStartOnTheirTitleLine) {
    const Layout layout = LayOut("@topic A\n\nx\n@topic B\n\ny\n\nz\n@topic C\n", 100);
    EXPECT_EQ(layout.topicLines, (std::vector<int>{0, 4, 10}));
    EXPECT_EQ(Show(layout.lines[4]), "0:{B} ");
    EXPECT_EQ(qiva::help::TopicOfLine(layout, 3), 0) << "the blank line before a topic is its predecessor's";
    EXPECT_EQ(qiva::help::TopicOfLine(layout, 4), 1);
    EXPECT_EQ(qiva::help::TopicOfLine(layout, 9), 1);
    EXPECT_EQ(qiva::help::TopicOfLine(layout, 99), 2);
    EXPECT_EQ(qiva::help::TopicOfLine(layout, -5), 0);
    EXPECT_EQ(qiva::help::TopicOfLine(Layout{}, 3), 0);
}

TEST(HelpLayout, ScrollingStaysWithinTheText) {
    const Layout layout = LayOut("@topic A\n\n1\n\n2\n\n3\n\n4\n", 100); // 9 lines
    ASSERT_EQ(layout.lines.size(), 9u);
    struct Case {
        int top, visible, want;
    };
    const Case cases[] = {{-3, 4, 0},  {0, 4, 0},  {5, 4, 5}, {6, 4, 5},
                          {100, 4, 5}, {3, 20, 0}, {3, 0, 3}, {9, 1, 8}};
    for (const Case& c : cases)
        EXPECT_EQ(qiva::help::ClampTop(layout, c.top, c.visible), c.want) << c.top << " " << c.visible;
}

} // namespace
