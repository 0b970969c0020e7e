// The Dialog Manager on a headless screen: dialogs built from their resources, the item calls, the
// active text item, ModalDialog with the standard filter, alerts, and the state dump's lines.

#include <algorithm>

#include "tests/toolkit/dialogs/dialog_fixture.h"
#include "toolkit/core/memory.h"

namespace {

WindowPtr const kFront = reinterpret_cast<WindowPtr>(-1);

// Two editable texts (items 2 and 4), static texts around them, and a disabled static text.
const char* const kForm = R"(
resource 'DLOG' 200 { bounds 20 20 180 300 proc 1 visible true goaway false refcon 0 title "" }
resource 'DITL' 200 {
    static rect 10 10 26 100 text "Hello"
    edit rect 10 110 26 260 text "first"
    static rect 40 10 56 100 text "^0 and ^1^9!"
    edit rect 40 110 56 260 text "second"
    static rect 70 10 86 100 text "off" disabled
}
resource 'DLOG' 201 { bounds 0 0 100 200 proc 1 visible false goaway false refcon 0 title "Odd" position 0x3000 }
resource 'DITL' 201 { static rect 10 10 30 190 text "Third of the way" }
resource 'DLOG' 202 { bounds 20 20 100 200 proc 1 visible true goaway false refcon 0 title "" items 999 }
)";

class DialogManagerTest : public DialogTest {
protected:
    DialogPtr Open(std::int16_t id) {
        DialogPtr d = GetNewDialog(id, nullptr, kFront);
        EXPECT_NE(d, nullptr);
        return d;
    }
    // A dialog from a list given as source text (its DITL 300), shown.
    DialogPtr FromItems(const std::string& items) {
        Resources("resource 'DITL' 300 {\n" + items + "\n}\n");
        Handle list = GetResource(MakeResType("DITL"), 300);
        EXPECT_NE(list, nullptr);
        DetachResource(list);
        const Rect bounds{40, 40, 200, 320};
        DialogPtr d = NewDialog(nullptr, &bounds, "", true, dBoxProc, kFront, false, 0, list);
        EXPECT_NE(d, nullptr);
        return d;
    }
};

TEST_F(DialogManagerTest, BuildsTextItemsAndAnswersGetDItem) {
    Resources(kForm);
    DialogPtr d = Open(200);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(qiva::Peek(d)->windowKind, dialogKind);
    EXPECT_EQ(qiva::Peek(d)->contentColor, 224);
    // The 5-character text: a handle of exactly its bytes, and the list's length byte raised to 6.
    std::int16_t type = -7;
    Handle h = nullptr;
    Rect box{};
    GetDItem(d, 1, &type, &h, &box);
    EXPECT_EQ(type, statText);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(GetHandleSize(h), 5);
    EXPECT_EQ(std::string(*h, 5), "Hello");
    EXPECT_EQ(reinterpret_cast<std::uint8_t*>(*qiva::DPeek(d)->items)[2 + 13], 6);
    EXPECT_EQ(box.left, 10);
    EXPECT_EQ(box.right, 100);
    // Item 0 and negative numbers answer for item 1.
    for (std::int16_t n : {0, -1, -300}) {
        Handle other = nullptr;
        GetDItem(d, n, &type, &other, &box);
        EXPECT_EQ(other, h) << n;
    }
    // Beyond the count: a null handle, the type and box untouched.
    type = -7;
    box = Rect{1, 2, 3, 4};
    Handle none = h;
    GetDItem(d, 6, &type, &none, &box);
    EXPECT_EQ(none, nullptr);
    EXPECT_EQ(type, -7);
    EXPECT_EQ(box.left, 2);
    GetDItem(d, 5, &type, &none, &box);
    EXPECT_EQ(type, statText + itemDisable);
    // SetDItem beyond the list changes nothing; within it, all three.
    const Rect moved{100, 10, 120, 60};
    SetDItem(d, 9, userItem, nullptr, &moved);
    SetDItem(d, 5, userItem, nullptr, &moved);
    GetDItem(d, 5, &type, &none, &box);
    EXPECT_EQ(type, userItem);
    EXPECT_EQ(none, nullptr);
    EXPECT_EQ(box.top, 100);
    EXPECT_EQ(FindDItem(d, Point{15, 50}), 0);
    EXPECT_EQ(FindDItem(d, Point{110, 30}), 4);
    EXPECT_EQ(FindDItem(d, Point{150, 5}), -1);
    EXPECT_EQ(GetNbItemInDialog(200), 5);
    EXPECT_EQ(GetNbItemInDialog(555), -1);
    EXPECT_EQ(qiva::ErrorBoxHistory().back(), "GetNbItemInDialog:Ressource non trouvée.");
}

TEST_F(DialogManagerTest, MissingTemplatesAndLists) {
    Resources(kForm);
    EXPECT_EQ(GetNewDialog(404, nullptr, kFront), nullptr);
    EXPECT_TRUE(qiva::ErrorBoxHistory().empty()); // no 'DLOG': null and no message
    EXPECT_EQ(GetNewDialog(202, nullptr, kFront), nullptr);
    ASSERT_FALSE(qiva::ErrorBoxHistory().empty());
    EXPECT_EQ(qiva::ErrorBoxHistory().back(), "ALRT: DITL inconnu");
    const Rect bounds{10, 10, 50, 50};
    EXPECT_EQ(NewDialog(nullptr, &bounds, "", true, dBoxProc, kFront, false, 0, nullptr), nullptr);
    EXPECT_EQ(qiva::ErrorBoxHistory().back(), "DLOG: DITL inconnu");
    EXPECT_EQ(FrontWindow(), nullptr); // the window made for it is gone again
    EXPECT_EQ(NewDialog(nullptr, &bounds, "", true, 77, kFront, false, 0, NewHandle(2)), nullptr);
    EXPECT_EQ(qiva::ErrorBoxHistory().back(), "NEWDIALOG : fenetre non cree");
}

TEST_F(DialogManagerTest, PositionWordPlacesAThirdOfTheWayDown) {
    Resources(kForm);
    DialogPtr d = Open(201);
    const Rect content = qiva::GlobalContentRect(qiva::Peek(d));
    const int bar = GetMBarHeight();
    EXPECT_EQ(content.left, (kW - 200) / 2);
    EXPECT_EQ(content.top, bar + (kH - bar) / 3 - 50);
    EXPECT_EQ(content.bottom - content.top, 100);
}

TEST_F(DialogManagerTest, ParamTextIsExpandedWhenDrawn) {
    Resources(kForm);
    ParamText("3", "5", nullptr, "unused");
    DialogPtr d = Open(200);
    const auto lines = DumpLines("ditem 3 ");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("text \"3 and 5!\""), std::string::npos) << lines[0];
    EXPECT_EQ(ItemText(d, 3), "^0 and ^1^9!"); // the item keeps its own text
    EXPECT_STREQ(qiva::ParamTextString(2), "");
    InitDialogs(nullptr);
    EXPECT_STREQ(qiva::ParamTextString(0), "");
}

TEST_F(DialogManagerTest, ActiveTextItemOnCreation) {
    struct Case {
        const char* items;
        int editField; // −1: none active
    } cases[] = {
        {"edit rect 10 10 26 100 text \"a\"", 0},
        {"edit rect 10 10 26 100 text \"a\"\nstatic rect 30 10 46 100 text \"b\"\nedit rect 50 10 66 100 "
         "text \"c\"",
         2},
        {"static rect 10 10 26 100 text \"a\"", -1},
        {"edit rect 10 10 26 100 text \"a\" disabled", -1},
    };
    for (const Case& c : cases) {
        DialogPtr d = FromItems(c.items);
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(qiva::DPeek(d)->editField, c.editField) << c.items;
        DisposeDialog(d);
        CloseResFile(file);
        file = -1;
    }
}

TEST_F(DialogManagerTest, TabCyclesThroughTheEditableTexts) {
    Resources(kForm);
    DialogPtr d = Open(200);
    // Creation starts the search at item 2: the first editable text.
    EXPECT_EQ(qiva::DPeek(d)->editField, 1);
    Key(platform::Key::Tab);
    Type("X");
    Drain();
    EXPECT_EQ(qiva::DPeek(d)->editField, 3);
    EXPECT_EQ(ItemText(d, 4), "X"); // Tab selected all of it
    Key(platform::Key::Tab);
    Drain();
    EXPECT_EQ(qiva::DPeek(d)->editField, 1);
    const TEHandle te = qiva::DPeek(d)->textH;
    EXPECT_EQ((*te)->selStart, 0);
    EXPECT_EQ((*te)->selEnd, 5);
    Type("ab");
    Drain();
    EXPECT_EQ(ItemText(d, 2), "ab");
    // Typing over the selection leaves the text where the field is, not scrolled away.
    EXPECT_EQ((*te)->destRect.left, 110);
    const auto lines = DumpLines("ditem 2 ");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("type 16 "), std::string::npos);
    EXPECT_NE(lines[0].find("text \"ab\""), std::string::npos);
}

TEST_F(DialogManagerTest, HiddenItems) {
    Resources(kForm);
    DialogPtr d = Open(200);
    HideDItem(d, 1);
    std::int16_t type = 0;
    Handle h = nullptr;
    Rect box{};
    GetDItem(d, 1, &type, &h, &box);
    EXPECT_EQ(box.left, 10 + 16384);
    EXPECT_EQ(FindDItem(d, Point{15, 50}), -1);
    auto lines = DumpLines("ditem 1 ");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("visible 0"), std::string::npos);
    HideDItem(d, 1); // twice is once
    ShowDItem(d, 1);
    GetDItem(d, 1, &type, &h, &box);
    EXPECT_EQ(box.left, 10);
    // Hiding the active text item moves the activity on to the next one.
    HideDItem(d, 2);
    EXPECT_EQ(qiva::DPeek(d)->editField, 3);
    HideDItem(d, 4);
    EXPECT_EQ(qiva::DPeek(d)->editField, -1);
    // With none active, typing goes nowhere and changes nothing.
    Type("zz");
    Drain();
    EXPECT_EQ(ItemText(d, 2), "first");
    EXPECT_EQ(ItemText(d, 4), "second");
}

TEST_F(DialogManagerTest, DamagedItemListKeepsTheItemsThatFit) {
    Resources(kForm);
    // Three items announced, one and a half there.
    std::vector<std::uint8_t> bytes{0, 2, 0,   0,   0,   0, 0, 10, 0, 10, 0, 30, 0, 90,
                                    8, 3, 'a', 'b', 'c', 0, 0, 0,  0, 0,  0, 40, 0};
    Handle list = NewHandle(static_cast<Size>(bytes.size()));
    std::copy(bytes.begin(), bytes.end(), *list);
    const Rect bounds{40, 40, 200, 320};
    DialogPtr d = NewDialog(nullptr, &bounds, "", true, dBoxProc, kFront, false, 0, list);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(ItemText(d, 1), "abc");
    Handle h = reinterpret_cast<Handle>(1);
    GetDItem(d, 2, nullptr, &h, nullptr);
    EXPECT_EQ(h, nullptr);
    EXPECT_EQ(DumpLines("ditem ").size(), 1u);
    // A list too short for its count word is an empty list.
    Handle empty = NewHandle(1);
    DialogPtr e = NewDialog(nullptr, &bounds, "", true, dBoxProc, kFront, false, 0, empty);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(DumpLines("ditem ").size(), 0u);
    DrawDialog(e);
    DisposeDialog(e);
}

TEST_F(DialogManagerTest, SetITextRedrawsAStaticTextOnTheFace) {
    Resources(kForm);
    DialogPtr d = Open(200);
    std::int16_t type = 0;
    Handle h = nullptr;
    Rect box{};
    GetDItem(d, 1, &type, &h, &box);
    SetIText(h, "A much longer text");
    EXPECT_EQ(ItemText(d, 1), "A much longer text");
    // The item's corner shows the dialog grey, not white.
    const Rect content = qiva::GlobalContentRect(qiva::Peek(d));
    GrafPtr saved;
    GetPort(&saved);
    SetPort(d);
    BackColor(224);
    const std::uint8_t grey = d->bkIndex;
    SetPort(saved);
    EXPECT_EQ(ScreenPixel(content.left + box.right - 1, content.top + box.bottom - 1), grey);
    // The active item's text goes through TextEdit.
    GetDItem(d, 2, &type, &h, &box);
    SetIText(h, "new");
    EXPECT_EQ((*qiva::DPeek(d)->textH)->teLength, 3);
    char text[300];
    std::string longText(300, 'x');
    SetIText(h, longText.c_str());
    GetIText(h, text);
    EXPECT_EQ(std::string(text).size(), 255u);
    SelIText(d, 4, 1, 3);
    EXPECT_EQ(qiva::DPeek(d)->editField, 3);
    EXPECT_EQ((*qiva::DPeek(d)->textH)->selStart, 1);
    EXPECT_EQ((*qiva::DPeek(d)->textH)->selEnd, 3);
    SelIText(d, 1, 0, 1); // not an editable text
    EXPECT_EQ(qiva::DPeek(d)->editField, 3);
}

TEST_F(DialogManagerTest, StandardFilterKeys) {
    struct Case {
        std::uintptr_t message;
        std::uint16_t modifiers;
        bool taken;
        std::int16_t item;
    } cases[] = {
        {0x2400 | 13, 0, true, 1}, {0x4C00 | 3, 0, true, 1}, {0x2400, 0, true, 1},
        {13, 0, true, 1},          {3, 0, true, 1},          {27, 0, true, 2},
        {'a', 0, false, 0},        {'Q', cmdKey, false, 0},  {0x2400 | 13, cmdKey, true, 1},
    };
    for (const Case& c : cases) {
        EventRecord e{};
        e.what = keyDown;
        e.message = c.message;
        e.modifiers = c.modifiers;
        std::int16_t item = 0;
        EXPECT_EQ(qiva::StandardFilter(nullptr, &e, &item), c.taken) << c.message;
        if (c.taken) EXPECT_EQ(item, c.item) << c.message;
    }
    EventRecord click{};
    click.what = mouseDown;
    std::int16_t item = 0;
    EXPECT_FALSE(qiva::StandardFilter(nullptr, &click, &item));
}

TEST_F(DialogManagerTest, ReturnAndEscapeEndModalDialogEvenWhenDisabled) {
    DialogPtr d = FromItems("static rect 10 10 26 100 text \"one\" disabled\n"
                            "static rect 30 10 46 100 text \"two\" disabled\n"
                            "edit rect 50 10 66 100 text \"t\"");
    ASSERT_NE(d, nullptr);
    SetPort(d);
    std::int16_t item = 0;
    Key(platform::Key::Return);
    ModalDialog(nullptr, &item);
    EXPECT_EQ(item, 1);
    Key(platform::Key::Escape);
    ModalDialog(nullptr, &item);
    EXPECT_EQ(item, 2);
    // Typed characters go to the text item and are reported as it.
    Type("q");
    ModalDialog(nullptr, &item);
    EXPECT_EQ(item, 3);
    EXPECT_EQ(ItemText(d, 3), "q");
    // A click outside the dialog sounds; a click on a disabled item is not reported.
    Click(5, 250);
    ClickItem(d, 1);
    Key(platform::Key::Escape);
    ModalDialog(nullptr, &item);
    EXPECT_EQ(item, 2);
    EXPECT_EQ(beeps, 1);
}

TEST_F(DialogManagerTest, ModalDialogWithoutADialogInFront) {
    std::int16_t item = 5;
    ModalDialog(nullptr, &item);
    EXPECT_EQ(item, -1);
    EXPECT_EQ(qiva::ErrorBoxHistory().back(), "Modal Dialog : pas de fenetre");
    const Rect r{40, 40, 100, 100};
    WindowPtr w = NewWindow(nullptr, &r, "", true, documentProc, kFront, false, 0);
    ModalDialog(nullptr, &item);
    EXPECT_EQ(item, -1);
    EXPECT_EQ(qiva::ErrorBoxHistory().back(), "Modal Dialog :ce n'est pas un dialog");
    DisposeWindow(w);
}

TEST_F(DialogManagerTest, CommandKeysEditTheActiveText) {
    Resources(kForm);
    DialogPtr d = Open(200);
    SetPort(d);
    std::int16_t item = 0;
    Key(platform::Key('x'), 0, true); // all of "first" selected: cut
    ModalDialog(nullptr, &item);
    EXPECT_EQ(item, 2);
    EXPECT_EQ(ItemText(d, 2), "");
    Key(platform::Key('v'), 0, true);
    Key(platform::Key('v'), 0, true);
    ModalDialog(nullptr, &item);
    ModalDialog(nullptr, &item);
    EXPECT_EQ(ItemText(d, 2), "firstfirst");
}

const char* const kAlerts = R"(
resource 'ALRT' 300 { bounds 0 0 100 260 stages 0x5555 }
resource 'ALRT' 301 { bounds 0 0 100 260 items 300 stages 0x8000 position 0 }
resource 'ALRT' 302 { bounds 0 0 100 260 items 999 stages 0x5555 }
resource 'ALRT' 303 { bounds 0 0 100 260 stages 0x5555 }
resource 'DITL' 303 { }
resource 'DITL' 300 {
    button rect 70 170 90 250 text "OK"
    button rect 70 80 90 160 text "Cancel"
    static rect 10 60 50 250 text "Sure about ^0?"
}
)";

// Records the alert's dump lines the first time it is asked, then lets the standard filter decide.
std::vector<std::string> seenLines;
Boolean RecordingFilter(DialogPtr dialog, EventRecord* event, std::int16_t* itemHit) {
    if (seenLines.empty()) {
        const std::string dump = qiva::StateDump();
        std::size_t at = 0;
        while ((at = dump.find("\n", at)) != std::string::npos && at + 1 < dump.size()) {
            const std::size_t end = dump.find('\n', at + 1);
            const std::string line = dump.substr(at + 1, end - at - 1);
            if (line.rfind("dialog ", 0) == 0 || line.rfind("ditem ", 0) == 0) seenLines.push_back(line);
            at = end;
        }
    }
    return qiva::StandardFilter(dialog, event, itemHit);
}

std::vector<std::uint8_t> framePixels;
Boolean FramePixelFilter(DialogPtr dialog, EventRecord* event, std::int16_t* itemHit) {
    if (framePixels.empty()) {
        const qiva::BufferSlot* s = qiva::LookUpBuffer(qiva::ScreenBufferId());
        for (Point p : {Point{190, 146}, Point{190, 147}, Point{190, 236}})
            framePixels.push_back(s->base[p.v * s->rowBytes + p.h]);
    }
    return qiva::StandardFilter(dialog, event, itemHit);
}

TEST_F(DialogManagerTest, AlertsRunUntilAnItemIsChosen) {
    Resources(kAlerts);
    ParamText("this", nullptr, nullptr, nullptr);
    seenLines.clear();
    Key(platform::Key::Escape);
    EXPECT_EQ(CautionAlert(300, &RecordingFilter), 2);
    EXPECT_EQ(FrontWindow(), nullptr); // disposed
    ASSERT_EQ(seenLines.size(), 5u);
    EXPECT_EQ(seenLines[0], "dialog 300 kind alert");
    EXPECT_NE(seenLines[1].find("ditem 1 type 4 "), std::string::npos) << seenLines[1];
    EXPECT_NE(seenLines[1].find("text \"OK\""), std::string::npos) << seenLines[1];
    EXPECT_NE(seenLines[3].find("text \"Sure about this?\""), std::string::npos) << seenLines[3];
    // The caution icon appended at (20, 10): a colour icon from the system file, reported as 32.
    EXPECT_NE(seenLines[4].find("ditem 4 type 32 "), std::string::npos) << seenLines[4];
    // Clicking the Cancel button ends a plain alert with item 2.
    Key(platform::Key::Tab); // ignored: no text item
    // Alert 301 is centred below the bar: content at (70, 110); its default item is 2 (the stages'
    // top bit), framed 4 pixels outside: a black line, then the light bevel.
    framePixels.clear();
    Click(70 + 120, 110 + 85);
    EXPECT_EQ(Alert(301, &FramePixelFilter), 2);
    GrafPtr port = nullptr;
    GetPort(&port);
    ForeColor(blackColor);
    const std::uint8_t black = port->fgIndex;
    ForeColor(whiteColor);
    const std::uint8_t white = port->fgIndex;
    ASSERT_EQ(framePixels.size(), 3u);
    EXPECT_EQ(framePixels[0], black);
    EXPECT_EQ(framePixels[1], white);
    EXPECT_NE(framePixels[2], black); // item 1 has no frame
    Key(platform::Key::Return);
    EXPECT_EQ(NoteAlert(301, nullptr), 1);
}

TEST_F(DialogManagerTest, AlertsWithoutTheirResources) {
    Resources(kAlerts);
    // An alert without items ends on the first answer instead of waiting for an item that cannot come.
    Key(platform::Key::Return);
    EXPECT_EQ(Alert(303, nullptr), 1);
    EXPECT_EQ(Alert(404, nullptr), -1);
    EXPECT_EQ(qiva::ErrorBoxHistory().back(), "Ressource id 404 non trouvée");
    EXPECT_EQ(StopAlert(302, nullptr), 0);
    EXPECT_EQ(qiva::ErrorBoxHistory().back(), "ALRT: DITL inconnu");
    EXPECT_EQ(FrontWindow(), nullptr);
}

// A filter that puts a plain window in front of the alert and reports no item: the next round of
// ModalDialog finds no dialog in front.
WindowPtr intruder = nullptr;
Boolean IntrudingFilter(DialogPtr, EventRecord*, std::int16_t* itemHit) {
    if (!intruder) {
        const Rect r{30, 30, 90, 90};
        intruder = NewWindow(nullptr, &r, "", true, documentProc, kFront, false, 0);
    }
    *itemHit = 0;
    return true;
}

TEST_F(DialogManagerTest, AnAlertEndsWhenModalDialogFails) {
    Resources(kAlerts);
    intruder = nullptr;
    EXPECT_EQ(Alert(300, &IntrudingFilter), -1);
    EXPECT_EQ(qiva::ErrorBoxHistory().back(), "Modal Dialog :ce n'est pas un dialog");
    EXPECT_EQ(FrontWindow(), intruder);
}

TEST_F(DialogManagerTest, TheEditMenuWorksDuringAModalDialog) {
    MenuHandle edit = NewMenu(140, "Edit");
    AppendMenu(edit, "Undo/Z;-;Cut/X;Copy/C;Paste/V");
    MenuHandle other = NewMenu(141, "Other");
    AppendMenu(other, "One;Two");
    InsertMenu(edit, 0);
    InsertMenu(other, 0);
    DisableItem(other, 2);
    DrawMenuBar();
    const std::uint32_t editFlags = (*edit)->enableFlags, otherFlags = (*other)->enableFlags;
    Resources(kForm);
    DialogPtr d = Open(200);
    SetPort(d);
    // Edit, then Cut (item 3, the fourth row: rows are 16 pixels from the bar's bottom).
    const Rect title = (*edit)->titleRect;
    const int h = (title.left + title.right) / 2;
    platform::Event e;
    e.kind = platform::EventKind::MouseMove;
    e.x = h;
    e.y = 10;
    Inject(e);
    e.kind = platform::EventKind::MouseDown;
    e.button = platform::LeftButton;
    Inject(e);
    e.kind = platform::EventKind::MouseMove;
    e.buttons = 1;
    e.y = GetMBarHeight() + 2 * 16 + 8;
    Inject(e);
    e.kind = platform::EventKind::MouseUp;
    e.buttons = 0;
    Inject(e);
    Key(platform::Key::Escape);
    std::int16_t item = 0;
    ModalDialog(nullptr, &item);
    EXPECT_EQ(item, 2);
    EXPECT_EQ(ItemText(d, 2), ""); // "first" was selected: cut
    // Meanwhile the other menus were disabled and the Edit menu's editing items enabled.
    EXPECT_EQ((*other)->enableFlags & 1u, 0u);
    EXPECT_EQ((*edit)->enableFlags & 0x39u, 0x39u);
    DisposeDialog(d);
    EXPECT_EQ((*edit)->enableFlags, editFlags);
    EXPECT_EQ((*other)->enableFlags, otherFlags);
}

TEST_F(DialogManagerTest, ItemsWhoseResourcesAreMissingStayEmpty) {
    DialogPtr d = FromItems("control rect 10 10 26 200 id 999\nicon rect 30 10 62 42 id 998\n"
                            "picture rect 30 50 62 82 id 997\nbutton rect 70 10 90 80 text \"OK\"");
    ASSERT_NE(d, nullptr);
    const std::vector<std::string> expected{"Ressource id 999 non trouvée", "Ressource id 998 non trouvée",
                                            "Ressource id 997 non trouvée"};
    EXPECT_EQ(qiva::ErrorBoxHistory(), expected);
    for (std::int16_t item : {1, 2, 3}) {
        Handle h = reinterpret_cast<Handle>(1);
        GetDItem(d, item, nullptr, &h, nullptr);
        EXPECT_EQ(h, nullptr) << item;
    }
    DrawDialog(d);
    ClickItem(d, 1);
    ClickItem(d, 2);
    EXPECT_EQ(Drain(), (std::vector<int>{2})); // a control item without its control is never hit
}

} // namespace
