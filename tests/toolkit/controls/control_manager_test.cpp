// Making, listing and disposing of controls, their values and titles, the 'CNTL' reader, the
// definition functions' answers to every message, and showing, hiding and moving.

#include <cstring>

#include "tests/toolkit/controls/controls_fixture.h"
#include "toolkit/controls/control_template.h"
#include "toolkit/core/big_endian.h"
#include "toolkit/core/memory.h"

namespace {

using Messages = std::vector<std::string>;

ControlHandle Head(WindowPtr w) {
    return static_cast<ControlHandle>(qiva::Peek(w)->controlList);
}

class ControlManager : public ControlsTest {
protected:
    ControlHandle Button(const char* title = "OK", bool visible = true) {
        const Rect r = R(10, 10, 70, 30);
        return NewControl(window, &r, title, visible, 0, 0, 1, pushButProc, 7);
    }
    ControlHandle Bar(int value, int min, int max) {
        const Rect r = R(200, 10, 216, 110);
        return NewControl(window, &r, "", true, static_cast<std::int16_t>(value),
                          static_cast<std::int16_t>(min), static_cast<std::int16_t>(max), scrollBarProc, 0);
    }
};

TEST_F(ControlManager, NewControlFillsTheRecordAndLinksNewestFirst) {
    const Rect r = R(10, 40, 110, 56);
    ControlHandle box = NewControl(window, &r, "Sound", true, 5, 0, 1, checkBoxProc, -3);
    ASSERT_NE(box, nullptr);
    const ControlRecord& c = **box;
    EXPECT_EQ(c.contrlOwner, window);
    EXPECT_TRUE(EqualRect(&c.contrlRect, &r));
    EXPECT_EQ(c.contrlVis, 255);
    EXPECT_EQ(c.contrlHilite, 0);
    EXPECT_EQ(c.contrlValue, 5); // not clamped at creation
    EXPECT_EQ(c.contrlMin, 0);
    EXPECT_EQ(c.contrlMax, 1);
    EXPECT_EQ(c.contrlRfCon, -3);
    EXPECT_EQ(c.procID, checkBoxProc);
    EXPECT_EQ(c.contrlData, 0);
    EXPECT_EQ(c.contrlAction, nullptr);
    EXPECT_STREQ(c.contrlTitle, "Sound");
    EXPECT_EQ(GetPtrSize(c.contrlTitle), 6);

    ControlHandle second = Button("Go", false);
    EXPECT_EQ((*second)->contrlVis, 0);
    EXPECT_EQ(Head(window), second);
    EXPECT_EQ((*second)->nextControl, box);
    EXPECT_EQ((*box)->nextControl, nullptr);
    EXPECT_TRUE(Errors().empty());
}

TEST_F(ControlManager, OutOfMemoryGivesNullAndLeavesTheListAlone) {
    ControlHandle first = Button();
    const std::size_t limit = qiva::HeapLimit();
    qiva::SetHeapLimit(1); // no record
    EXPECT_EQ(Button(), nullptr);
    // A record but no title: the record goes again.
    const std::string huge(1 << 20, 'x');
    const std::size_t used = qiva::HeapBytesInUse();
    qiva::SetHeapLimit(used + 4096);
    EXPECT_EQ(Button(huge.c_str()), nullptr);
    EXPECT_LE(qiva::HeapBytesInUse(), used);
    qiva::SetHeapLimit(limit);
    EXPECT_EQ(Head(window), first);
    EXPECT_EQ((*first)->nextControl, nullptr);
}

TEST_F(ControlManager, DisposeUnlinksAndAMissingControlIsReported) {
    ControlHandle a = Button("A"), b = Button("B"), c = Button("C");
    DisposeControl(b);
    EXPECT_EQ(Head(window), c);
    EXPECT_EQ((*c)->nextControl, a);

    // A control its owner's list does not hold is left as it is.
    qiva::Peek(window)->controlList = (*c)->nextControl; // c is no longer listed
    (*c)->nextControl = nullptr;
    DisposeControl(c);
    EXPECT_EQ(Errors(), Messages{"DISPOSECONTROL: Controle non trouvé associé à la fenetre "});
    EXPECT_STREQ((*c)->contrlTitle, "C");
    qiva::Peek(window)->controlList = c;
    (*c)->nextControl = a;

    KillControls(window);
    EXPECT_EQ(Head(window), nullptr);
    EXPECT_EQ(Errors().size(), 1u);
}

TEST_F(ControlManager, ClosingTheWindowDisposesOfItsControls) {
    WindowRecord storage{};
    const Rect bounds = R(40, 60, 200, 160);
    WindowPtr w = NewWindow(&storage, &bounds, "", true, documentProc, nullptr, false, 0);
    const Rect r = R(10, 10, 70, 30);
    NewControl(w, &r, "A", true, 0, 0, 1, pushButProc, 0);
    NewControl(w, &r, "B", true, 0, 0, 1, checkBoxProc, 0);
    const std::size_t before = qiva::HeapBytesInUse();
    CloseWindow(w);
    EXPECT_EQ(storage.controlList, nullptr);
    EXPECT_LT(qiva::HeapBytesInUse(), before);
}

TEST_F(ControlManager, ValuesAreClampedAndNullControlsReported) {
    ControlHandle bar = Bar(5, 0, 10);
    struct Step {
        void (*call)(ControlHandle, std::int16_t);
        int argument, value, min, max;
    } steps[] = {
        {SetCtlValue, 50, 10, 0, 10}, // above the maximum: the maximum
        {SetCtlValue, -3, 0, 0, 10},  // below the minimum: the minimum
        {SetCtlValue, 7, 7, 0, 10},
        {SetCtlMin, 9, 9, 9, 10}, // a minimum above the value raises it
        {SetCtlMin, 2, 9, 2, 10},
        {SetCtlMax, 4, 4, 2, 4}, // a maximum below the value lowers it
        {SetCtlMax, 20, 4, 2, 20},
        {SetCtlMin, 30, 30, 30, 20},   // min above max: the value follows the minimum
        {SetCtlValue, 25, 30, 30, 20}, // clamped to max first, then to min
    };
    for (const Step& s : steps) {
        s.call(bar, static_cast<std::int16_t>(s.argument));
        EXPECT_EQ(GetCtlValue(bar), s.value) << s.argument;
        EXPECT_EQ(GetCtlMin(bar), s.min) << s.argument;
        EXPECT_EQ(GetCtlMax(bar), s.max) << s.argument;
    }
    SetCRefCon(bar, 1234567);
    EXPECT_EQ(GetCRefCon(bar), 1234567);

    SetCtlValue(nullptr, 1);
    SetCtlMin(nullptr, 1);
    SetCtlMax(nullptr, 1);
    EXPECT_EQ(Errors(), (Messages{"SETCTLVALUE erreur", "SETCTLMIN erreur", "SETCTLMAX erreur"}));
    EXPECT_EQ(GetCtlValue(nullptr), 0);
}

TEST_F(ControlManager, TitlesAreCopied) {
    char title[] = "First";
    ControlHandle b = Button(title);
    title[0] = 'X';
    char out[256];
    GetCTitle(b, out);
    EXPECT_STREQ(out, "First");
    SetCTitle(b, "A longer second title");
    GetCTitle(b, out);
    EXPECT_STREQ(out, "A longer second title");
    SetCTitle(b, nullptr);
    GetCTitle(b, out);
    EXPECT_STREQ(out, "");
    ControlHandle untitled = Button(nullptr);
    GetCTitle(untitled, out);
    EXPECT_STREQ(out, "");
}

TEST_F(ControlManager, DefinitionFunctionsAnswerEveryMessage) {
    ControlHandle button = Button();
    const Rect r = R(10, 40, 110, 56);
    ControlHandle box = NewControl(window, &r, "Box", true, 0, 0, 1, radioButProc, 0);
    ControlHandle bar = Bar(0, 0, 9);
    ASSERT_TRUE(Errors().empty());
    for (std::int16_t message : {initCntl, dispCntl, posCntl, dragCntl, autoTrack}) {
        EXPECT_EQ((*button)->contrlDefProc(0, button, message, 0), 0) << message;
        EXPECT_EQ((*box)->contrlDefProc(0, box, message, 0), 0) << message;
    }
    EXPECT_EQ((*bar)->contrlDefProc(0, bar, initCntl, 0), 0);
    EXPECT_EQ((*bar)->contrlDefProc(0, bar, autoTrack, 0), 0);
    EXPECT_TRUE(Errors().empty());

    // calcCRgns: an error for a push button, nothing for a check box, the bar's own rectangle.
    RgnHandle rgn = NewRgn();
    EXPECT_EQ((*button)->contrlDefProc(0, button, calcCRgns, reinterpret_cast<std::intptr_t>(rgn)), 0);
    EXPECT_EQ((*box)->contrlDefProc(0, box, calcCRgns, reinterpret_cast<std::intptr_t>(rgn)), 0);
    EXPECT_EQ((*bar)->contrlDefProc(0, bar, calcCRgns, reinterpret_cast<std::intptr_t>(rgn)), 0);
    EXPECT_TRUE(EqualRect(&(*rgn)->rgnBBox, &(*bar)->contrlRect));
    DisposeRgn(rgn);
    EXPECT_EQ(Errors(), Messages{"Vect : Ctrl : Bad message"});
    qiva::ClearErrorBoxHistory();

    for (std::int16_t message : {std::int16_t{9}, std::int16_t{100}, std::int16_t{-1}}) {
        EXPECT_EQ((*button)->contrlDefProc(0, button, message, 0), 0);
        EXPECT_EQ((*box)->contrlDefProc(0, box, message, 0), 0);
        EXPECT_EQ((*bar)->contrlDefProc(0, bar, message, 0), 0);
    }
    EXPECT_EQ(Errors(), (Messages{"Vect : Ctrl : Bad message", "Vect Scroll Bar Code inconnu",
                                  "Vect : Ctrl : Bad message", "Vect Scroll Bar Code inconnu",
                                  "Vect : Ctrl : Bad message", "Vect Scroll Bar Code inconnu"}));
}

TEST_F(ControlManager, UnknownDefinitionNumberComplainsAtEveryMessage) {
    const Rect r = R(10, 10, 70, 30);
    ControlHandle odd = NewControl(window, &r, "?", true, 0, 0, 1, 7, 0);
    ASSERT_NE(odd, nullptr); // the control is made; drawing it complains
    EXPECT_EQ(Errors(), Messages{"Vecteur procedure Control non défini"});
    ControlHandle found = nullptr;
    EXPECT_EQ(FindControl(P(20, 20), window, &found), 0);
    EXPECT_EQ(found, nullptr);
    EXPECT_EQ(Errors().size(), 2u);
    DisposeControl(odd);
    EXPECT_EQ(Errors().size(), 3u);
    EXPECT_EQ(Head(window), nullptr);
}

TEST_F(ControlManager, FindControlAsksEveryControlNewestFirst) {
    ControlHandle older = Button("Older");
    ControlHandle hidden = Button("Hidden", false); // same place, newer
    const Rect r = R(10, 40, 110, 56);
    ControlHandle box = NewControl(window, &r, "Box", true, 0, 0, 1, checkBoxProc, 0);
    ControlHandle bar = Bar(0, 0, 9);
    ControlHandle found = nullptr;
    // A hidden button is still found (dialogs move hidden items out of reach instead).
    EXPECT_EQ(FindControl(P(20, 20), window, &found), inButton);
    EXPECT_EQ(found, hidden);
    HiliteControl(hidden, 255);
    EXPECT_EQ(FindControl(P(20, 20), window, &found), inButton);
    EXPECT_EQ(found, older);
    EXPECT_EQ(FindControl(P(50, 45), window, &found), inCheckBox);
    EXPECT_EQ(found, box);
    EXPECT_EQ(FindControl(P(205, 100), window, &found), inDownButton);
    EXPECT_EQ(found, bar);
    EXPECT_EQ(FindControl(P(150, 150), window, &found), 0);
    EXPECT_EQ(found, nullptr);
    EXPECT_EQ(TestControl(older, P(10, 10)), inButton);
    EXPECT_EQ(TestControl(older, P(70, 20)), 0);
    HiliteControl(box, 254);
    EXPECT_EQ(TestControl(box, P(50, 45)), 0);
}

TEST_F(ControlManager, EmptyRangeBarAnswersNothingAndKeepsItsThumbStill) {
    ControlHandle bar = Bar(3, 3, 3);
    for (int v = 0; v < 130; v += 3)
        EXPECT_EQ(TestControl(bar, P(205, v)), 0) << v;
    const auto before = Screen();
    (*bar)->contrlDefProc(0, bar, posCntl, 20 << 16);
    EXPECT_EQ(GetCtlValue(bar), 3);
    SetCtlValue(bar, 9);
    EXPECT_EQ(GetCtlValue(bar), 3);
    EXPECT_EQ(Screen(), before);
    EXPECT_EQ((*bar)->contrlHilite, 0); // the inactive look is only borrowed
}

TEST_F(ControlManager, HiddenControlsStayOffTheScreenWhenTheirValueChanges) {
    ControlHandle bar = Bar(0, 0, 9);
    const Rect r = R(10, 40, 110, 56);
    ControlHandle box = NewControl(window, &r, "Box", true, 0, 0, 1, checkBoxProc, 0);
    HideControl(bar);
    HideControl(box);
    const auto before = Screen();
    SetCtlValue(bar, 5);
    SetCtlMax(bar, 4);
    SetCtlValue(box, 1);
    EXPECT_EQ(Screen(), before);
    EXPECT_EQ(GetCtlValue(bar), 4);
    EXPECT_EQ(GetCtlValue(box), 1);
}

TEST_F(ControlManager, ThumbCntlAndPosCntl) {
    ControlHandle bar = Bar(0, 0, 9); // 100 pixels high
    ThumbDragRecord drag{};
    drag.limitRect.top = 30; // the point where the mouse went down: (205, 30)
    drag.limitRect.left = 205;
    EXPECT_EQ((*bar)->contrlDefProc(0, bar, thumbCntl, reinterpret_cast<std::intptr_t>(&drag)), 0);
    EXPECT_EQ(drag.axis, vAxisOnly);
    EXPECT_EQ(drag.limitRect.top, 30);
    EXPECT_EQ(drag.limitRect.bottom, 83); // thumb top 26 .. 78, grabbed 4 below it
    EXPECT_EQ(drag.slopRect.top, 10 - 120);
    // Ten pixels down from 0 gives 2.
    (*bar)->contrlDefProc(0, bar, posCntl, 10 << 16);
    EXPECT_EQ(GetCtlValue(bar), 2);
    (*bar)->contrlDefProc(0, bar, posCntl, 0);
    EXPECT_EQ(GetCtlValue(bar), 2);
}

TEST_F(ControlManager, HideShowMoveAndSize) {
    ControlHandle b = Button();
    EXPECT_EQ(LocalPixel(10, 10), qiva::kIndexBlack); // the frame
    BeginUpdate(window);
    EndUpdate(window);
    HideControl(b);
    EXPECT_EQ((*b)->contrlVis, 0);
    const std::uint8_t background = LocalPixel(10, 10);
    EXPECT_NE(background, qiva::kIndexBlack);
    EXPECT_EQ(LocalPixel(40, 20), background);
    EXPECT_FALSE(EmptyRgn(qiva::Peek(window)->updateRgn)); // left to the next update
    ShowControl(b);
    EXPECT_EQ((*b)->contrlVis, 255);
    EXPECT_EQ(LocalPixel(10, 10), qiva::kIndexBlack);

    MoveControl(b, 100, 120);
    const Rect moved = R(100, 120, 160, 140);
    EXPECT_TRUE(EqualRect(&(*b)->contrlRect, &moved));
    EXPECT_EQ(LocalPixel(100, 120), qiva::kIndexBlack);
    EXPECT_EQ(LocalPixel(10, 10), background);
    SizeControl(b, 80, 30);
    const Rect sized = R(100, 120, 180, 150);
    EXPECT_TRUE(EqualRect(&(*b)->contrlRect, &sized));
    EXPECT_EQ(LocalPixel(179, 149), qiva::kIndexBlack);

    HideControl(b);
    const std::uint8_t corner = LocalPixel(0, 0);
    MoveControl(b, 0, 0); // hidden: moved, nothing drawn
    EXPECT_EQ(LocalPixel(0, 0), corner);
    EXPECT_EQ((*b)->contrlRect.right, 80);
}

TEST_F(ControlManager, HiliteControlRedrawsOnlyOnChange) {
    ControlHandle b = Button();
    const std::uint8_t face = LocalPixel(40, 25);
    HiliteControl(b, inButton);
    EXPECT_EQ((*b)->contrlHilite, inButton);
    EXPECT_NE(LocalPixel(40, 25), face); // pressed: grey face
    HiliteControl(b, 255);
    EXPECT_EQ(LocalPixel(40, 25), face);
    EXPECT_EQ((*b)->contrlHilite, 255);
}

// A 'CNTL' as stored: rectangle, value, visible, max, min, procID, refCon, title.
std::string ControlResource(const std::string& title) {
    std::vector<std::uint8_t> out;
    qiva::BigEndianWriter w(out);
    for (int v : {20, 30, 36, 130}) // top, left, bottom, right
        w.S16(static_cast<std::int16_t>(v));
    w.S16(1);
    w.U8(1);
    w.U8(0);
    w.S16(1);
    w.S16(0);
    w.S16(checkBoxProc);
    w.S32(0x12345678);
    w.Pascal(title);
    return std::string(out.begin(), out.end());
}

TEST_F(ControlManager, GetNewControlReadsTheResourceAndRefusesDamagedOnes) {
    const std::string good = ControlResource("Music");
    std::vector<qiva::Resource> resources{qiva_test::MakeResource("CNTL", 128, good)};
    // Every cut of the record, and a title longer than what follows it.
    for (std::size_t n = 0; n < good.size(); ++n)
        resources.push_back(
            qiva_test::MakeResource("CNTL", static_cast<std::int16_t>(200 + n), good.substr(0, n)));
    std::string lying = good;
    lying[22] = 40;
    resources.push_back(qiva_test::MakeResource("CNTL", 300, lying));
    OpenResources(resources);

    ControlHandle c = GetNewControl(128, window);
    ASSERT_NE(c, nullptr);
    const Rect want = R(30, 20, 130, 36);
    EXPECT_TRUE(EqualRect(&(*c)->contrlRect, &want));
    EXPECT_EQ(GetCtlValue(c), 1);
    EXPECT_EQ((*c)->contrlVis, 255);
    EXPECT_EQ(GetCtlMax(c), 1);
    EXPECT_EQ((*c)->procID, checkBoxProc);
    EXPECT_EQ(GetCRefCon(c), 0x12345678);
    EXPECT_STREQ((*c)->contrlTitle, "Music");

    for (std::size_t n = 0; n < good.size(); ++n)
        EXPECT_EQ(GetNewControl(static_cast<std::int16_t>(200 + n), window), nullptr) << n << " bytes";
    EXPECT_EQ(GetNewControl(300, window), nullptr);
    EXPECT_EQ(GetNewControl(999, window), nullptr);
    EXPECT_EQ(Head(window), c);
}

TEST(ControlTemplate, ParsesTheStoredFields) {
    const std::uint8_t bytes[] = {0, 5,    0,    6, 0,  25,   0, 86, 0xFF, 0xFE, 0,   0,  0,
                                  9, 0xFF, 0xF6, 0, 16, 0x80, 0, 0,  1,    2,    'U', 'p'};
    const auto t = qiva::ParseControlTemplate(bytes);
    ASSERT_TRUE(t);
    EXPECT_EQ(t->bounds.top, 5);
    EXPECT_EQ(t->bounds.left, 6);
    EXPECT_EQ(t->bounds.bottom, 25);
    EXPECT_EQ(t->bounds.right, 86);
    EXPECT_EQ(t->value, -2);
    EXPECT_FALSE(t->visible);
    EXPECT_EQ(t->max, 9);
    EXPECT_EQ(t->min, -10);
    EXPECT_EQ(t->procID, scrollBarProc);
    EXPECT_EQ(t->refCon, static_cast<std::int32_t>(0x80000001u));
    EXPECT_EQ(t->title, "Up");
}

} // namespace
