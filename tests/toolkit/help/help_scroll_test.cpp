#include <gtest/gtest.h>

#include "toolkit/help/help_scroll.h"

namespace {

using qiva::help::Scroll;

TEST(HelpScroll, TheLastTopFillsTheColumnOrShowsTheLastTopic) {
    EXPECT_EQ(qiva::help::LastTop(100, 20), 80);
    EXPECT_EQ(qiva::help::LastTop(100, 20, 60), 80); // the last topic is longer than a page
    EXPECT_EQ(qiva::help::LastTop(100, 20, 90), 90); // a short last topic can still head the column
    EXPECT_EQ(qiva::help::LastTop(10, 20), 0);       // everything fits
    EXPECT_EQ(qiva::help::LastTop(10, 20, 4), 4);
    EXPECT_EQ(qiva::help::LastTop(0, 0), 0);
}

struct ScrollCase {
    int top;
    Scroll request;
    int visible, last;
    int expected;
};

TEST(HelpScroll, RequestsStayWithinTheText) {
    const ScrollCase cases[] = {
        {0, Scroll::LineDown, 20, 80, 1},   {0, Scroll::LineUp, 20, 80, 0},
        {80, Scroll::LineDown, 20, 80, 80}, // already at the end
        {0, Scroll::PageDown, 20, 80, 19},  // one line of the page before stays in view
        {19, Scroll::PageUp, 20, 80, 0},    {70, Scroll::PageDown, 20, 80, 80},
        {5, Scroll::PageUp, 20, 80, 0},     {40, Scroll::Home, 20, 80, 0},
        {3, Scroll::End, 20, 80, 80},       {0, Scroll::End, 20, 0, 0},      // everything fits: nothing moves
        {0, Scroll::PageDown, 20, 0, 0},    {0, Scroll::PageDown, 1, 99, 1}, // a one-line column still moves
        {0, Scroll::End, 0, -1, 0},                                          // an empty file
        {500, Scroll::LineUp, 20, 80, 80},                                   // a top past the end comes back
    };
    for (const ScrollCase& c : cases)
        EXPECT_EQ(qiva::help::ScrollTop(c.top, c.request, c.visible, c.last), c.expected)
            << "top " << c.top << " request " << static_cast<int>(c.request) << " visible " << c.visible
            << " last " << c.last;
}

TEST(HelpScroll, WheelMovesThreeLinesANotchWithinTheText) {
    EXPECT_EQ(qiva::help::WheelTop(10, -1, 80), 13);
    EXPECT_EQ(qiva::help::WheelTop(10, 2, 80), 4);
    EXPECT_EQ(qiva::help::WheelTop(10, 5, 80), 0);
    EXPECT_EQ(qiva::help::WheelTop(10, -100, 80), 80);
    EXPECT_EQ(qiva::help::WheelTop(10, -2147483647, 80), 80); // no overflow on the way
    EXPECT_EQ(qiva::help::WheelTop(0, -1, 0), 0);
}

TEST(HelpScroll, KeysNameTheirRequests) {
    EXPECT_EQ(qiva::help::ScrollForKey(11), Scroll::PageUp);
    EXPECT_EQ(qiva::help::ScrollForKey(12), Scroll::PageDown);
    EXPECT_EQ(qiva::help::ScrollForKey(1), Scroll::Home);
    EXPECT_EQ(qiva::help::ScrollForKey(4), Scroll::End);
    EXPECT_EQ(qiva::help::ScrollForKey(30), Scroll::LineUp);
    EXPECT_EQ(qiva::help::ScrollForKey(31), Scroll::LineDown);
    EXPECT_FALSE(qiva::help::ScrollForKey('a'));
    EXPECT_FALSE(qiva::help::ScrollForKey(28)); // left arrow
}

} // namespace
