#include <gtest/gtest.h>

#include "toolkit/help/help_scroll.h"

namespace {

using qiva::help::Scroll;

struct ScrollCase {
    int top;
    Scroll request;
    int visible, lines;
    int expected;
};

TEST(HelpScroll, RequestsStayWithinTheText) {
    const ScrollCase cases[] = {
        {0, Scroll::LineDown, 20, 100, 1},
        {0, Scroll::LineUp, 20, 100, 0},
        {80, Scroll::LineDown, 20, 100, 80}, // the last page is already shown
        {0, Scroll::PageDown, 20, 100, 19},  // one line of the page before stays in view
        {19, Scroll::PageUp, 20, 100, 0},
        {70, Scroll::PageDown, 20, 100, 80},
        {5, Scroll::PageUp, 20, 100, 0},
        {40, Scroll::Home, 20, 100, 0},
        {3, Scroll::End, 20, 100, 80},
        {0, Scroll::End, 20, 10, 0}, // everything fits: nothing moves
        {0, Scroll::PageDown, 20, 10, 0},
        {0, Scroll::PageDown, 1, 100, 1},   // a one-line column still moves
        {0, Scroll::End, 0, 0, 0},          // an empty file
        {500, Scroll::LineUp, 20, 100, 80}, // a top past the end comes back
    };
    for (const ScrollCase& c : cases)
        EXPECT_EQ(qiva::help::ScrollTop(c.top, c.request, c.visible, c.lines), c.expected)
            << "top " << c.top << " request " << static_cast<int>(c.request) << " visible " << c.visible
            << " lines " << c.lines;
}

TEST(HelpScroll, WheelMovesThreeLinesANotchWithinTheText) {
    EXPECT_EQ(qiva::help::WheelTop(10, -1, 20, 100), 13);
    EXPECT_EQ(qiva::help::WheelTop(10, 2, 20, 100), 4);
    EXPECT_EQ(qiva::help::WheelTop(10, 5, 20, 100), 0);
    EXPECT_EQ(qiva::help::WheelTop(10, -100, 20, 100), 80);
    EXPECT_EQ(qiva::help::WheelTop(10, -2147483647, 20, 100), 80); // no overflow on the way
    EXPECT_EQ(qiva::help::WheelTop(0, -1, 20, 5), 0);
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
