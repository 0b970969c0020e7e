// Mouse tracking: dragging, growing, the close box, the sizing cursors, and the state dump taken
// while a drag is under way.

#include <string>

#include "tests/toolkit/windows/windows_fixture.h"
#include "toolkit/core/state_dump.h"
#include "toolkit/windows/wm_state.h"

namespace {

WindowPtr const kFront = reinterpret_cast<WindowPtr>(-1);

// A present sink that also takes the state dump at every present, as a scripted run would.
class DumpingPresent : public qiva::PresentSink {
public:
    std::vector<std::string> dumps;
    void Present(const qiva::ScreenImage&, const Rect&, Point) override {
        dumps.push_back(qiva::StateDump());
    }
};

class TrackingTest : public WindowsTest {
protected:
    WindowPtr Doc(int left, int top, int right, int bottom, const char* title,
                  std::int16_t proc = documentProc) {
        const Rect r = R(left, top, right, bottom);
        return NewWindow(nullptr, &r, title, true, proc, kFront, true, 0);
    }
    static Rect Content(WindowPtr w) { return qiva::GlobalContentRect(qiva::Peek(w)); }
    const Rect limit = R(0, 20, kWidth, kHeight);
};

TEST_F(TrackingTest, DragByTheTitleBarMovesAndDumpsMeanwhile) {
    WindowPtr back = Doc(120, 80, 220, 160, "One");
    WindowPtr w = Doc(40, 60, 140, 130, "Two");
    EXPECT_EQ(qiva::StateDump(), "screen 240 180\n"
                                 "window 0 title \"Two\" kind 8 proc 0 refcon 0 visible 1 hilited 1 content "
                                 "40 60 140 130 struct 36 37 144 134\n"
                                 "window 1 title \"One\" kind 8 proc 0 refcon 0 visible 1 hilited 0 content "
                                 "120 80 220 160 struct 116 57 224 164\n"
                                 "end\n");
    DumpingPresent sink;
    qiva::SetPresentSink(&sink);
    PressAt(90, 50);
    MouseMove(100, 55);
    MouseMove(120, 70);
    MouseUp(120, 70);
    DragWindow(w, P(90, 50), &limit);
    qiva::SetPresentSink(&present);
    EXPECT_EQ(Content(w).left, 70);
    EXPECT_EQ(Content(w).top, 80);
    ASSERT_FALSE(sink.dumps.empty());
    // While the outline moved, the window stayed where it was.
    EXPECT_NE(sink.dumps.front().find("content 40 60 140 130 struct 36 37 144 134"), std::string::npos);
    EXPECT_NE(qiva::StateDump().find(
                  "window 0 title \"Two\" kind 8 proc 0 refcon 0 visible 1 hilited 1 content 70 80 170 150"),
              std::string::npos);
    (void)back;
}

TEST_F(TrackingTest, OutlineLeavesNoTraceAndDragOutsideTheLimitsIsRefused) {
    WindowPtr w = Doc(40, 60, 140, 130, "");
    const std::vector<std::uint8_t> before = Screen();
    PressAt(90, 50);
    MouseMove(95, 52);
    MouseMove(90, 10); // above the limit: outside the slop rectangle
    MouseUp(90, 10);
    DragWindow(w, P(90, 50), &limit);
    EXPECT_EQ(Content(w).left, 40);
    EXPECT_EQ(Content(w).top, 60);
    EXPECT_EQ(Screen(), before);
}

TEST_F(TrackingTest, DragGrayRgnKeepsToItsAxis) {
    RgnHandle shape = NewRgn();
    const Rect r = R(50, 50, 80, 70);
    RectRgn(shape, &r);
    const Rect everywhere = R(0, 0, kWidth, kHeight);
    struct Case {
        std::int16_t axis;
        std::int32_t expected;
    } cases[] = {{noConstraint, (7 << 16) | 12}, {hAxisOnly, 12}, {vAxisOnly, 7 << 16}};
    for (const Case& c : cases) {
        PressAt(60, 60);
        MouseMove(72, 67);
        MouseUp(72, 67);
        EXPECT_EQ(DragGrayRgn(shape, P(60, 60), &everywhere, &everywhere, c.axis, nullptr), c.expected)
            << c.axis;
    }
    DisposeRgn(shape);
}

TEST_F(TrackingTest, CloseBoxCountsOnlyAReleaseInside) {
    WindowPtr w = Doc(40, 60, 140, 130, "");
    struct Case {
        std::vector<std::pair<int, int>> path; // moves with the button down, then release at the last
        bool closes;
    } cases[] = {
        {{{46, 50}}, true},
        {{{46, 50}, {100, 100}}, false},
        {{{100, 100}, {47, 51}}, true},
    };
    for (const Case& c : cases) {
        PressAt(45, 50);
        for (const auto& [x, y] : c.path)
            MouseMove(x, y);
        MouseUp(c.path.back().first, c.path.back().second);
        EXPECT_EQ(TrackGoAway(w, P(45, 50)), c.closes);
        EXPECT_FALSE(qiva::Peek(w)->spareFlag & qiva::kBoxPressed);
    }
}

TEST_F(TrackingTest, GrowFromTheGrowBoxAndFromTheLeftEdge) {
    WindowPtr w = Doc(40, 60, 140, 130, "");
    const Rect sizes = R(40, 30, 400, 400);
    PressAt(135, 125);
    MouseMove(155, 135);
    MouseUp(155, 135);
    std::int32_t size = GrowWindow(w, P(135, 125), &sizes);
    EXPECT_EQ(size, (80 << 16) | 120);
    SizeWindow(w, static_cast<std::int16_t>(size & 0xFFFF), static_cast<std::int16_t>(size >> 16), true);
    EXPECT_EQ(Content(w).right, 160);
    EXPECT_EQ(Content(w).bottom, 140);
    // The left edge: the window moves left and grows by as much.
    PressAt(37, 100);
    MouseMove(27, 100);
    MouseUp(27, 100);
    size = GrowWindow(w, P(37, 100), &sizes);
    EXPECT_EQ(size, (80 << 16) | 130);
    EXPECT_EQ(Content(w).left, 30);
    SizeWindow(w, static_cast<std::int16_t>(size & 0xFFFF), static_cast<std::int16_t>(size >> 16), true);
    EXPECT_EQ(Content(w).right, 160);
    // Below the minimum width the size stops at it; a release where it started changes nothing.
    PressAt(155, 135);
    MouseMove(20, 135);
    MouseUp(20, 135);
    EXPECT_EQ(GrowWindow(w, P(155, 135), &sizes), (80 << 16) | 40);
    PressAt(155, 135);
    MouseUp(155, 135);
    EXPECT_EQ(GrowWindow(w, P(155, 135), &sizes), 0);
}

TEST_F(TrackingTest, SizingCursorsFollowTheFrameZones) {
    Doc(40, 60, 140, 130, "");
    struct Case {
        int h, v;
        qiva::FrameCursor cursor;
    } cases[] = {
        {90, 100, qiva::FrameCursor::None},        {37, 100, qiva::FrameCursor::Horizontal},
        {142, 100, qiva::FrameCursor::Horizontal}, {90, 132, qiva::FrameCursor::Vertical},
        {90, 38, qiva::FrameCursor::Vertical},     {37, 38, qiva::FrameCursor::Falling},
        {135, 125, qiva::FrameCursor::Falling},    {142, 38, qiva::FrameCursor::Rising},
        {37, 132, qiva::FrameCursor::Rising},
    };
    for (const Case& c : cases)
        EXPECT_EQ(qiva::FrameCursorFor(P(c.h, c.v)), c.cursor) << c.h << "," << c.v;
    // A window that cannot be resized by its frame gives none.
    Doc(40, 60, 140, 130, "", noGrowDocProc);
    EXPECT_EQ(qiva::FrameCursorFor(P(37, 100)), qiva::FrameCursor::None);
}

TEST_F(TrackingTest, ZoomOutAndBackIn) {
    WindowPtr w = Doc(40, 60, 140, 130, "", zoomDocProc);
    PressAt(110, 50);
    MouseUp(110, 50);
    WindowPtr found;
    ASSERT_EQ(FindWindow(P(110, 50), &found), inZoomOut);
    ASSERT_TRUE(TrackBox(w, P(110, 50), inZoomOut));
    ZoomWindow(w, inZoomOut, false);
    EXPECT_EQ(Content(w).left, 4);
    EXPECT_EQ(Content(w).top, 23);
    EXPECT_EQ(Content(w).right, kWidth - 4);
    EXPECT_EQ(Content(w).bottom, kHeight - 4);
    const Point zoomBox = P(kWidth - 4 - 30, 12);
    ASSERT_EQ(FindWindow(zoomBox, &found), inZoomIn);
    ZoomWindow(w, inZoomIn, false);
    EXPECT_EQ(Content(w).left, 40);
    EXPECT_EQ(Content(w).top, 60);
    EXPECT_EQ(Content(w).right, 140);
    EXPECT_EQ(Content(w).bottom, 130);
}

} // namespace
