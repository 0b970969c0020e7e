// TrackControl driven by scripted mouse events: buttons pressed and left, arrows held with an
// action procedure, the thumb dragged with its outline.

#include <vector>

#include "tests/toolkit/controls/controls_fixture.h"

namespace {

struct Pass {
    std::int16_t part;
    std::uint8_t hilite;
};
std::vector<Pass> passes;

void RecordPass(ControlHandle c, std::int16_t part) {
    passes.push_back({part, (*c)->contrlHilite});
}

class ControlTracking : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        passes.clear();
    }
    ControlHandle Button() {
        const Rect r = R(10, 10, 70, 30);
        return NewControl(window, &r, "OK", true, 0, 0, 1, pushButProc, 0);
    }
    ControlHandle Bar(int value, int min, int max) {
        const Rect r = R(200, 10, 216, 110);
        return NewControl(window, &r, "", true, static_cast<std::int16_t>(value),
                          static_cast<std::int16_t>(min), static_cast<std::int16_t>(max), scrollBarProc, 0);
    }
};

TEST_F(ControlTracking, ButtonLeftAndReleasedOutsideGivesNothing) {
    ControlHandle b = Button();
    const auto normal = LocalPixel(40, 25);
    PressAt(40, 20);
    MoveMouse(45, 22);
    MoveMouse(120, 80);
    MoveMouse(130, 90);
    ReleaseAt(130, 90);
    EXPECT_EQ(TrackControl(b, P(40, 20), &RecordPass), 0);
    EXPECT_EQ((*b)->contrlHilite, 0);
    EXPECT_EQ(LocalPixel(40, 25), normal);
    // Pressed while on it, released as soon as the pointer left; the action ran on every pass.
    ASSERT_GE(passes.size(), 4u);
    EXPECT_EQ(passes.front().part, inButton);
    EXPECT_EQ(passes.front().hilite, inButton);
    EXPECT_EQ(passes.back().part, 0);
    EXPECT_EQ(passes.back().hilite, 0);
}

TEST_F(ControlTracking, ButtonReleasedInsideGivesItsPart) {
    ControlHandle b = Button();
    PressAt(40, 20);
    MoveMouse(120, 80); // out and back in
    MoveMouse(50, 15);
    ReleaseAt(50, 15);
    EXPECT_EQ(TrackControl(b, P(40, 20), nullptr), inButton);
    EXPECT_EQ((*b)->contrlHilite, 0);

    // A click whose release is already waiting counts too.
    PressAt(40, 20);
    ReleaseAt(40, 20);
    EXPECT_EQ(TrackControl(b, P(40, 20), nullptr), inButton);

    // Released outside after a press inside gives 0 even when the pointer ends on another control.
    const Rect r = R(10, 40, 110, 56);
    NewControl(window, &r, "Box", true, 0, 0, 1, checkBoxProc, 0);
    PressAt(40, 20);
    MoveMouse(50, 45);
    ReleaseAt(50, 45);
    EXPECT_EQ(TrackControl(b, P(40, 20), nullptr), 0);
}

TEST_F(ControlTracking, InactiveControlsAreNotTracked) {
    ControlHandle b = Button();
    HiliteControl(b, 255);
    PressAt(40, 20);
    ReleaseAt(40, 20);
    EXPECT_EQ(TrackControl(b, P(40, 20), &RecordPass), 0);
    EXPECT_TRUE(passes.empty());
    EXPECT_EQ((*b)->contrlHilite, 255);
}

TEST_F(ControlTracking, ArrowHeldCallsTheActionAndAnotherPartIsPassedOver) {
    ControlHandle bar = Bar(0, 0, 9);
    PressAt(205, 100); // down arrow
    MoveMouse(205, 101);
    MoveMouse(205, 15); // the up arrow: another part of the same control
    MoveMouse(205, 102);
    ReleaseAt(205, 102);
    EXPECT_EQ(TrackControl(bar, P(205, 100), &RecordPass), inDownButton);
    EXPECT_EQ((*bar)->contrlHilite, 0);
    ASSERT_FALSE(passes.empty());
    for (const Pass& p : passes) {
        EXPECT_EQ(p.part, inDownButton);
        EXPECT_EQ(p.hilite, inDownButton);
    }

    // Released over the other arrow: not the part pressed, so nothing.
    PressAt(205, 100);
    MoveMouse(205, 15);
    ReleaseAt(205, 15);
    EXPECT_EQ(TrackControl(bar, P(205, 100), nullptr), 0);
    EXPECT_EQ((*bar)->contrlHilite, 0);
}

TEST_F(ControlTracking, ControlsOwnActionIsUsedOnRequest) {
    ControlHandle bar = Bar(0, 0, 9);
    SetCtlAction(bar, &RecordPass);
    PressAt(205, 50); // page down
    ReleaseAt(205, 50);
    EXPECT_EQ(TrackControl(bar, P(205, 50), qiva::kUseControlAction), inPageDown);
    ASSERT_FALSE(passes.empty());
    EXPECT_EQ(passes.front().part, inPageDown);
}

TEST_F(ControlTracking, ThumbDraggedTenPixelsDownGivesTwo) {
    ControlHandle bar = Bar(0, 0, 9); // 100 pixels high: thumb from 26 to 42
    PressAt(205, 30);
    MoveMouse(205, 35);
    MoveMouse(205, 40);
    ReleaseAt(205, 40);
    EXPECT_EQ(TrackControl(bar, P(205, 30), nullptr), inThumb);
    EXPECT_EQ(GetCtlValue(bar), 2);
    EXPECT_EQ((*bar)->contrlHilite, 0);
}

TEST_F(ControlTracking, ThumbDraggedToTheEndsGivesMinAndMax) {
    ControlHandle bar = Bar(15, 10, 20);
    const Point thumb = P(205, 10 + 16 + 27 + 3); // value 15: place 27 on 54
    PressAt(thumb.h, thumb.v);
    MoveMouse(205, 0); // beyond the top, inside the slop
    ReleaseAt(205, 0);
    TrackControl(bar, thumb, nullptr);
    EXPECT_EQ(GetCtlValue(bar), 10);

    PressAt(205, 29);
    MoveMouse(205, 140);
    ReleaseAt(205, 140);
    TrackControl(bar, P(205, 29), nullptr);
    EXPECT_EQ(GetCtlValue(bar), 20);

    // Released far outside the slop: the drag is abandoned.
    const int v = 10 + 16 + 51 + 2; // value 20: the thumb's last place
    PressAt(205, v);
    MoveMouse(205, 60);
    MoveMouse(300, 60);
    ReleaseAt(300, 60);
    TrackControl(bar, P(205, v), nullptr);
    EXPECT_EQ(GetCtlValue(bar), 20);
}

TEST_F(ControlTracking, EmptyRangeBarIsNotMovedByADrag) {
    ControlHandle bar = Bar(4, 4, 4);
    const auto before = Screen();
    PressAt(205, 30);
    MoveMouse(205, 70);
    ReleaseAt(205, 70);
    EXPECT_EQ(TrackControl(bar, P(205, 30), &RecordPass), 0);
    EXPECT_EQ(GetCtlValue(bar), 4);
    EXPECT_EQ(Screen(), before);
}

} // namespace
