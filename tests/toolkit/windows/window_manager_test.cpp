// The window list: creation, activation and its events, visibility, order, FindWindow, updates.

#include <cstring>
#include <string>

#include "tests/toolkit/windows/windows_fixture.h"
#include "toolkit/windows/desk_accessory.h"

namespace {

WindowPtr const kFront = reinterpret_cast<WindowPtr>(-1);

class WindowManagerTest : public WindowsTest {
protected:
    WindowPtr Doc(int left, int top, int right, int bottom, const char* title = "W", std::int16_t proc = 0,
                  bool visible = true, WindowPtr behind = kFront, std::int32_t refCon = 0) {
        const Rect r = R(left, top, right, bottom);
        return NewWindow(nullptr, &r, title, visible, proc, behind, true, refCon);
    }
    // The list front to back, as titles.
    static std::string Order() {
        std::string out;
        for (WindowPeek w = GetWindowList(); w; w = w->nextWindow)
            out += w->titleText;
        return out;
    }
    struct Activation {
        WindowPtr window;
        bool active;
    };
    // Activate events as GetNextEvent delivers them.
    static std::vector<Activation> Activations() {
        std::vector<Activation> out;
        EventRecord e;
        while (GetNextEvent(activMask, &e))
            out.push_back({reinterpret_cast<WindowPtr>(e.message), (e.modifiers & activeFlag) != 0});
        return out;
    }
};

TEST_F(WindowManagerTest, DesktopAndMenuBarClicks) {
    qiva::SetMenuBarHeight(20);
    WindowPtr w = reinterpret_cast<WindowPtr>(1);
    EXPECT_EQ(FindWindow(P(100, 100), &w), inSysWindow);
    EXPECT_EQ(w, nullptr);
    Doc(20, 50, 120, 120);
    EXPECT_EQ(FindWindow(P(200, 160), &w), inSysWindow);
    EXPECT_EQ(w, nullptr);
    EXPECT_EQ(FindWindow(P(5, 10), &w), inMenuBar);
    EXPECT_EQ(w, nullptr);
    EXPECT_EQ(GetMBarHeight(), 20);
}

TEST_F(WindowManagerTest, FindWindowPartsOfADocumentWindow) {
    // Content 40..200 × 60..150, border 4: title bar 41..60, close box 42..58, zoom box 164..180.
    WindowPtr w = Doc(40, 60, 200, 150, "Z", zoomDocProc);
    struct Case {
        int h, v;
        std::int16_t part;
    } cases[] = {
        {100, 100, inContent},  {100, 50, inDrag},  {45, 50, inGoAway},      {170, 50, inZoomOut},
        {195, 145, inGrow},     {38, 100, inGrow},  {100, 152, inGrow},      {35, 100, inSysWindow},
        {100, 36, inSysWindow}, {201, 100, inGrow}, {204, 100, inSysWindow},
    };
    for (const Case& c : cases) {
        WindowPtr found = nullptr;
        EXPECT_EQ(FindWindow(P(c.h, c.v), &found), c.part) << c.h << "," << c.v;
        EXPECT_EQ(found, c.part == inSysWindow ? nullptr : w) << c.h << "," << c.v;
    }
}

TEST_F(WindowManagerTest, BoxesAnswerOnlyWhileActiveAndFrameOfFixedWindowDrags) {
    WindowPtr back = Doc(20, 40, 120, 120, "B", noGrowDocProc);
    WindowPtr front = Doc(140, 40, 230, 120, "F");
    WindowPtr found;
    EXPECT_EQ(FindWindow(P(25, 30), &found), inDrag); // close box of the inactive window
    EXPECT_EQ(found, back);
    EXPECT_EQ(FindWindow(P(18, 80), &found), inDrag); // frame of a window without grow box
    EXPECT_EQ(FindWindow(P(145, 30), &found), inGoAway);
    EXPECT_EQ(found, front);
}

TEST_F(WindowManagerTest, InvisibleWindowsAreNeitherFrontNorFound) {
    WindowPtr shown = Doc(20, 40, 120, 120, "A");
    WindowPtr hidden = Doc(10, 30, 200, 160, "H", 0, false);
    EXPECT_EQ(Order(), "HA");
    EXPECT_EQ(FrontWindow(), shown);
    WindowPtr found = nullptr;
    EXPECT_EQ(FindWindow(P(60, 80), &found), inContent);
    EXPECT_EQ(found, shown);
    EXPECT_EQ(FindWindow(P(180, 150), &found), inSysWindow);
    EXPECT_TRUE(EmptyRgn(qiva::Peek(hidden)->strucRgn));
    ShowWindow(hidden);
    EXPECT_EQ(FrontWindow(), hidden);
    EXPECT_EQ(FindWindow(P(60, 80), &found), inContent);
    EXPECT_EQ(found, hidden);
    EXPECT_TRUE(qiva::Peek(hidden)->hilited);
    EXPECT_FALSE(qiva::Peek(shown)->hilited);
}

TEST_F(WindowManagerTest, SelectWindowBringsForwardAndDeactivatesFirst) {
    WindowPtr a = Doc(20, 40, 120, 120, "A");
    Activations();
    WindowPtr b = Doc(60, 60, 180, 150, "B");
    ASSERT_EQ(Order(), "BA");
    Activations();
    PostEvent(mouseDown, 0);
    SelectWindow(a);
    EXPECT_EQ(Order(), "AB");
    EXPECT_TRUE(qiva::Peek(a)->hilited);
    EXPECT_FALSE(qiva::Peek(b)->hilited);
    EventRecord e;
    ASSERT_TRUE(GetNextEvent(everyEvent, &e));
    EXPECT_EQ(e.what, activateEvt);
    EXPECT_EQ(reinterpret_cast<WindowPtr>(e.message), b);
    EXPECT_FALSE(e.modifiers & activeFlag);
    ASSERT_TRUE(GetNextEvent(everyEvent, &e));
    EXPECT_EQ(e.what, activateEvt);
    EXPECT_EQ(reinterpret_cast<WindowPtr>(e.message), a);
    EXPECT_TRUE(e.modifiers & activeFlag);
    ASSERT_TRUE(GetNextEvent(mDownMask, &e));
    EXPECT_EQ(e.what, mouseDown);
    // Selecting the active window again tells nothing.
    SelectWindow(a);
    EXPECT_TRUE(Activations().empty());
}

TEST_F(WindowManagerTest, TypeCodes) {
    struct Case {
        std::int16_t proc;
        bool made;
        int structureWidth; // for a content 100 wide
    } cases[] = {
        {documentProc, true, 108},
        {noGrowDocProc, true, 108},
        {zoomDocProc, true, 108},
        {zoomNoGrow, true, 108},
        {dBoxProc, true, 116},
        {plainDBox, true, 102},
        {altDBoxProc, true, 104},
        {rDocProc, true, 108},
        {5, false, 0},
        {6, false, 0},
        {7, false, 0},
        {20, false, 0},
    };
    for (const Case& c : cases) {
        qiva::ClearErrorBoxHistory();
        WindowPtr w = Doc(50, 60, 150, 120, "T", c.proc);
        ASSERT_EQ(w != nullptr, c.made) << c.proc;
        if (!c.made) {
            ASSERT_EQ(qiva::ErrorBoxHistory().size(), 1u);
            EXPECT_EQ(qiva::ErrorBoxHistory()[0],
                      "NEW WINDOW: Type (" + std::to_string(c.proc) + ") non implémenté");
            continue;
        }
        EXPECT_TRUE(qiva::ErrorBoxHistory().empty());
        const Rect s = (*qiva::Peek(w)->strucRgn)->rgnBBox;
        EXPECT_EQ(s.right - s.left, c.structureWidth) << c.proc;
        EXPECT_EQ(qiva::Peek(w)->windowKind, userKind);
        DisposeWindow(w);
    }
    // procID 8 is a document window with grow box (resizable by its frame) and a zoom box.
    WindowPtr z = Doc(50, 60, 150, 120, "Z", zoomDocProc);
    EXPECT_TRUE(qiva::Peek(z)->spareFlag & qiva::kResizableByFrame);
    WindowPtr found;
    EXPECT_EQ(FindWindow(P(140, 115), &found), inGrow);
}

TEST_F(WindowManagerTest, UpdateEventsUntilBeginAndEndUpdate) {
    WindowPtr a = Doc(20, 40, 120, 120, "A");
    EventRecord e;
    ASSERT_TRUE(GetNextEvent(updateMask, &e));
    EXPECT_EQ(e.what, updateEvt);
    EXPECT_EQ(reinterpret_cast<WindowPtr>(e.message), a);
    // The newly shown content is what needs drawing, in global coordinates.
    const Rect box = (*qiva::Peek(a)->updateRgn)->rgnBBox;
    EXPECT_EQ(box.left, 20);
    EXPECT_EQ(box.top, 40);
    EXPECT_EQ(box.right, 120);
    EXPECT_EQ(box.bottom, 120);
    BeginUpdate(a);
    const Rect vis = (*a->visRgn)->rgnBBox; // limited to the update region, local
    EXPECT_EQ(vis.right - vis.left, 100);
    EndUpdate(a);
    EXPECT_TRUE(EmptyRgn(qiva::Peek(a)->updateRgn));
    EXPECT_FALSE(GetNextEvent(updateMask, &e));
    // InvalRect in the window's local coordinates asks again; ValidRect takes it back.
    SetPort(a);
    const Rect bad = R(10, 10, 30, 20);
    InvalRect(&bad);
    ASSERT_TRUE(EventAvail(updateMask, &e));
    const Rect inval = (*qiva::Peek(a)->updateRgn)->rgnBBox;
    EXPECT_EQ(inval.left, 30);
    EXPECT_EQ(inval.top, 50);
    ValidRect(&bad);
    EXPECT_FALSE(EventAvail(updateMask, &e));
}

TEST_F(WindowManagerTest, UpdateRegionLimitsDrawingBetweenBeginAndEnd) {
    WindowPtr a = Doc(20, 40, 120, 120, "A");
    EventRecord e;
    while (GetNextEvent(updateMask, &e)) {
        BeginUpdate(reinterpret_cast<WindowPtr>(e.message));
        EndUpdate(reinterpret_cast<WindowPtr>(e.message));
    }
    SetPort(a);
    const Rect bad = R(0, 0, 10, 10);
    InvalRect(&bad);
    BeginUpdate(a);
    ForeColor(redColor);
    const Rect all = a->portRect;
    PaintRect(&all);
    EndUpdate(a);
    const std::uint8_t red = static_cast<std::uint8_t>(a->fgIndex);
    EXPECT_EQ(ScreenPixel(25, 45), red);
    EXPECT_NE(ScreenPixel(35, 45), red);
    // After EndUpdate the whole content can be drawn again.
    PaintRect(&all);
    EXPECT_EQ(ScreenPixel(35, 45), red);
}

TEST_F(WindowManagerTest, OrderBehindSendBehindAndBringToFront) {
    WindowPtr a = Doc(10, 30, 60, 60, "A");
    WindowPtr b = Doc(20, 40, 70, 70, "B", 0, true, a);
    WindowPtr c = Doc(30, 50, 80, 80, "C", 0, true, nullptr);
    EXPECT_EQ(Order(), "ABC");
    EXPECT_EQ(FrontWindow(), a);
    EXPECT_TRUE(qiva::Peek(a)->hilited);
    EXPECT_FALSE(qiva::Peek(b)->hilited);
    BringToFront(c);
    EXPECT_EQ(Order(), "CAB");
    EXPECT_TRUE(qiva::Peek(a)->hilited); // reordering alone does not change the active window
    SendBehind(c, b);
    EXPECT_EQ(Order(), "ABC");
    Activations();
    SendBehind(a, nullptr);
    EXPECT_EQ(Order(), "BCA");
    EXPECT_TRUE(qiva::Peek(b)->hilited);
    EXPECT_FALSE(qiva::Peek(a)->hilited);
    const auto events = Activations();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].window, a);
    EXPECT_FALSE(events[0].active);
    EXPECT_EQ(events[1].window, b);
    EXPECT_TRUE(events[1].active);
}

TEST_F(WindowManagerTest, ClosingTheActiveWindowActivatesTheNextAndForgetsItsEvents) {
    WindowPtr a = Doc(10, 30, 100, 100, "A");
    WindowPtr b = Doc(50, 60, 150, 150, "B");
    // B's activation and A's deactivation are pending; closing B drops what names it.
    CloseWindow(b);
    EXPECT_EQ(Order(), "A");
    EXPECT_TRUE(qiva::Peek(a)->hilited);
    for (const Activation& act : Activations())
        EXPECT_NE(act.window, b);
    EXPECT_EQ(FrontWindow(), a);
    HideWindow(a);
    EXPECT_EQ(FrontWindow(), nullptr);
    EXPECT_FALSE(qiva::Peek(a)->hilited);
    DisposeWindow(a);
    EXPECT_EQ(GetWindowList(), nullptr);
}

TEST_F(WindowManagerTest, TitlesAndReferenceConstants) {
    WindowPtr a = Doc(10, 30, 100, 100, "Premier");
    char title[256];
    GetWTitle(a, title);
    EXPECT_STREQ(title, "Premier");
    const std::string longTitle(300, 'x');
    SetWTitle(a, longTitle.c_str());
    GetWTitle(a, title);
    EXPECT_EQ(std::string(title), std::string(255, 'x'));
    SetWRefCon(a, -42);
    EXPECT_EQ(GetWRefCon(a), -42);
    WindowPtr found;
    EXPECT_EQ(FindWindow(P(50, 50), &found), inSysWindow); // a desk accessory window now
    EXPECT_EQ(found, a);
}

TEST_F(WindowManagerTest, CallerStorageIsUsedAndLeftToTheCaller) {
    WindowRecord record;
    std::memset(&record, 0xA5, sizeof record);
    const Rect r = R(10, 30, 100, 100);
    WindowPtr w = NewWindow(&record, &r, "S", true, documentProc, kFront, false, 7);
    ASSERT_EQ(w, &record.port);
    EXPECT_EQ(record.refCon, 7);
    EXPECT_EQ(record.contentColor, whiteColor);
    EXPECT_EQ(record.iconID, qiva::kNoWindowIcon);
    EXPECT_EQ(record.colorIconID, qiva::kNoColorIcon);
    CloseWindow(w);
    EXPECT_EQ(GetWindowList(), nullptr);
}

class Accessory : public qiva::DeskAccessory {
public:
    std::vector<std::int16_t> seen;
    int closes = 0;
    int closed = 0;
    void Event(WindowPtr, const EventRecord& e) override { seen.push_back(e.what); }
    void Close(WindowPtr window) override {
        ++closes;
        CloseWindow(window);
    }
    void Closed(WindowPtr) override { ++closed; }
};

TEST_F(WindowManagerTest, DeskAccessoryTakesItsKeysUpdatesAndActivations) {
    Accessory da;
    WindowPtr app = Doc(10, 30, 100, 100, "A");
    WindowPtr acc = Doc(120, 30, 220, 120, "D", 0, true, kFront, -1);
    qiva::SetDeskAccessory(acc, &da);
    PostEvent(keyDown, 'x');
    PostEvent(keyDown, 'y' | 0);
    EventRecord e;
    std::vector<std::int16_t> app_events;
    while (GetNextEvent(everyEvent, &e)) {
        app_events.push_back(e.what);
        if (e.what == updateEvt) {
            BeginUpdate(reinterpret_cast<WindowPtr>(e.message));
            EndUpdate(reinterpret_cast<WindowPtr>(e.message));
        }
    }
    // The application hears of its own window only: A's deactivation and update.
    EXPECT_EQ(app_events, (std::vector<std::int16_t>{activateEvt, updateEvt}));
    EXPECT_EQ(da.seen, (std::vector<std::int16_t>{activateEvt, keyDown, keyDown, updateEvt}));
    EXPECT_TRUE(EmptyRgn(qiva::Peek(acc)->updateRgn));
    // Closed by the program, the window is taken from its handler, which hears of it once.
    DisposeWindow(acc);
    EXPECT_EQ(da.closed, 1);
    EXPECT_EQ(qiva::DeskAccessoryOf(acc), nullptr);
    DisposeWindow(app);
    EXPECT_EQ(da.closed, 1);
}

TEST_F(WindowManagerTest, SystemClickOnADeskAccessoryCloseBox) {
    Accessory da;
    WindowPtr acc = Doc(120, 30, 220, 120, "D", 0, true, kFront, -1);
    qiva::SetDeskAccessory(acc, &da);
    PressAt(125, 20);
    MouseUp(125, 20);
    EventRecord e{mouseDown, 0, 0, P(125, 20), 0};
    WindowPtr found;
    ASSERT_EQ(FindWindow(e.where, &found), inSysWindow);
    SystemClick(&e, found);
    EXPECT_EQ(da.closes, 1);
    EXPECT_EQ(GetWindowList(), nullptr);
    // In the content the click goes to the accessory.
    WindowPtr again = Doc(120, 30, 220, 120, "D", 0, true, kFront, -1);
    qiva::SetDeskAccessory(again, &da);
    EventRecord inside{mouseDown, 0, 0, P(150, 60), 0};
    SystemClick(&inside, again);
    EXPECT_EQ(da.seen.back(), mouseDown);
    // A handler must outlive its registration: the window goes before it does.
    CloseWindow(again);
    EXPECT_EQ(da.closed, 2);
}

TEST_F(WindowManagerTest, RightClickOnTheDesktopOpensTheSettingsPopup) {
    static int opened = 0;
    opened = 0;
    qiva::WindowManagerHooks().settingsPopup = [](Point) { ++opened; };
    EventRecord e{mouseDown, 0, 0, P(100, 100), 0};
    SystemClick(&e, nullptr);
    EXPECT_EQ(opened, 0);
    Inject(platform::EventKind::MouseDown, 100, 100, platform::RightButton);
    qiva::PumpStep();
    SystemClick(&e, nullptr);
    EXPECT_EQ(opened, 1);
}

} // namespace
