#include "tests/toolkit/core/shell_fixture.h"

namespace {

using platform::EventKind;

using EventManager = ShellTest;

TEST_F(EventManager, TheTwentyFirstEventDropsTheOldest) {
    for (int i = 1; i <= 21; ++i)
        ASSERT_EQ(PostEvent(keyDown, static_cast<std::uintptr_t>(i)), noErr);
    const auto events = Take();
    ASSERT_EQ(events.size(), 20u);
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(events[i].message, static_cast<std::uintptr_t>(i + 2));
    EXPECT_EQ(GetEvQHdr()->qHead, nullptr);
    EXPECT_EQ(GetEvQHdr()->qTail, nullptr);
}

TEST_F(EventManager, DisabledCodesAreRefusedAndTheMaskSelects) {
    EXPECT_EQ(PostEvent(keyUp, 0), 1) << "keyUp is off by default";
    EXPECT_EQ(PostEvent(keyDown, 'a'), noErr);
    EXPECT_EQ(PostEvent(mouseDown, 0), noErr);
    EventRecord e;
    ASSERT_TRUE(GetNextEvent(mDownMask, &e));
    EXPECT_EQ(e.what, mouseDown) << "a later event of the mask is taken before an earlier one outside it";
    ASSERT_TRUE(GetNextEvent(everyEvent, &e));
    EXPECT_EQ(e.what, keyDown);
    EXPECT_FALSE(GetNextEvent(everyEvent, &e));
    EXPECT_EQ(e.what, nullEvent);
}

TEST_F(EventManager, FlushStopsAtTheFirstStopEvent) {
    PostEvent(keyDown, 1);
    PostEvent(mouseDown, 2);
    PostEvent(keyDown, 3);
    PostEvent(mouseUp, 4);
    PostEvent(keyDown, 5);
    FlushEvents(keyDownMask, mUpMask);
    const auto events = Take();
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0].message, 2u);
    EXPECT_EQ(events[1].message, 4u);
    EXPECT_EQ(events[2].message, 5u);
}

TEST_F(EventManager, EventAvailLeavesTheEventAndQueuedEventsKeepTheirStamps) {
    headless->AdvanceClock(1000000);
    PostEvent(keyDown, 'x');
    const std::uint32_t when = GetEvQHdr()->qHead->evtQWhen;
    headless->AdvanceClock(1000000);
    EventRecord e;
    ASSERT_TRUE(EventAvail(keyDownMask, &e));
    ASSERT_TRUE(EventAvail(keyDownMask, &e));
    ASSERT_TRUE(GetNextEvent(keyDownMask, &e));
    EXPECT_EQ(e.when, when);
    EXPECT_FALSE(GetNextEvent(keyDownMask, &e));
    EXPECT_GE(e.when, when + 60) << "a null event is stamped now";
}

TEST_F(EventManager, DeactivationThenActivationComeBeforeQueuedMouseEvents) {
    int front = 0, back = 0;
    Feed({Mouse(EventKind::MouseDown, 5, 5), Mouse(EventKind::MouseUp, 5, 5)});
    qiva::SetPendingActivation(&back, &front);
    PostEvent(activateEvt, reinterpret_cast<std::uintptr_t>(&back)); // a queued activation too
    const auto events = Take();
    ASSERT_EQ(events.size(), 5u);
    EXPECT_EQ(events[0].what, activateEvt);
    EXPECT_EQ(events[0].message, reinterpret_cast<std::uintptr_t>(&back));
    EXPECT_EQ(events[0].modifiers & activeFlag, 0);
    EXPECT_EQ(events[1].what, activateEvt);
    EXPECT_EQ(events[1].message, reinterpret_cast<std::uintptr_t>(&front));
    EXPECT_NE(events[1].modifiers & activeFlag, 0);
    EXPECT_EQ(events[2].what, activateEvt) << "queued activate events come before other queued events";
    EXPECT_EQ(events[3].what, mouseDown);
    EXPECT_EQ(events[4].what, mouseUp);
    EXPECT_EQ(qiva::PendingActivation(), nullptr);
    EXPECT_EQ(qiva::PendingDeactivation(), nullptr);

    // Without activate events in the mask the pending ones wait.
    qiva::SetPendingActivation(nullptr, &front);
    PostEvent(mouseDown, 0);
    EventRecord e;
    ASSERT_TRUE(GetNextEvent(mDownMask, &e));
    EXPECT_EQ(e.what, mouseDown);
    EXPECT_EQ(qiva::PendingActivation(), &front);
}

TEST_F(EventManager, UpdateEventsComeFromTheWindowManagerAfterQueuedEvents) {
    static int window;
    qiva::Hooks().windowNeedingUpdate = [] { return static_cast<void*>(&window); };
    PostEvent(keyDown, 'k');
    EventRecord e;
    ASSERT_TRUE(GetNextEvent(everyEvent, &e));
    EXPECT_EQ(e.what, keyDown);
    ASSERT_TRUE(GetNextEvent(everyEvent, &e));
    EXPECT_EQ(e.what, updateEvt);
    EXPECT_EQ(e.message, reinterpret_cast<std::uintptr_t>(&window));
    EXPECT_FALSE(GetNextEvent(keyDownMask, &e));
}

TEST_F(EventManager, DeskAccessoriesTakeTheirEventsButNotCommandKeys) {
    qiva::Hooks().deskAccessoryEvent = [](EventRecord& e) { return e.what == keyDown; };
    PostEvent(keyDown, 'a');
    PostEvent(mouseDown, 0);
    EventRecord e;
    ASSERT_TRUE(GetNextEvent(everyEvent, &e));
    EXPECT_EQ(e.what, mouseDown) << "the desk accessory took the key; the call fetched again";
    Key("ctrl+q");
    ASSERT_TRUE(GetNextEvent(everyEvent, &e));
    EXPECT_EQ(e.what, keyDown);
    EXPECT_EQ(e.message, static_cast<std::uintptr_t>('Q'));
}

TEST_F(EventManager, TimesInTicks) {
    EXPECT_EQ(GetDblTime(), 30u);
    EXPECT_EQ(GetCaretTime(), 31u);
}

} // namespace
