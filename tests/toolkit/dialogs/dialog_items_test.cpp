// Dialog items of every kind: controls built from the list and from 'CNTL' resources, clicks through
// DialogSelect, a golden render of the whole dialog, and the modeless dialogues the toolkit routes.

#include <cstdlib>

#include "tests/toolkit/dialogs/dialog_fixture.h"
#include "toolkit/controls/controls.h"
#include "toolkit/core/memory.h"
#include "toolkit/graphics/palette.h"
#include "tools/common/buffer_output.h"
#include "tools/qiva-pict/pict_files.h"

namespace {

WindowPtr const kFront = reinterpret_cast<WindowPtr>(-1);

// Every item kind: two editable texts, a check box, three radio buttons, a scroll bar from 'CNTL',
// a colour icon, a picture, a user item, a disabled button, OK and Cancel.
const char* const kEveryKind = R"(
resource 'DLOG' 500 { bounds 32 20 282 380 proc 1 visible true goaway false refcon 0 title "" }
resource 'DITL' 500 {
    button rect 215 270 235 345 text "OK"
    button rect 215 180 235 255 text "Cancel"
    static rect 10 10 26 90 text "Name"
    edit rect 10 100 26 250 text "Ada"
    static rect 40 10 56 90 text "Town"
    edit rect 40 100 56 250 text "Paris"
    checkbox rect 70 10 86 150 text "Sound"
    radio rect 95 10 111 150 text "Slow"
    radio rect 115 10 131 150 text "Fast"
    radio rect 135 10 151 150 text "Never" disabled
    control rect 165 10 181 200 id 400
    icon rect 10 300 42 332 id 1
    picture rect 70 200 102 232 id -9996
    user rect 100 200 140 340
    button rect 215 10 235 90 text "Off" disabled
}
resource 'CNTL' 400 { bounds 165 10 181 200 value 3 min 0 max 10 proc 16 title "" }
)";

class DialogItemsTest : public DialogTest {
protected:
    DialogPtr OpenEveryKind() {
        Resources(kEveryKind);
        DialogPtr d = GetNewDialog(500, nullptr, kFront);
        EXPECT_NE(d, nullptr);
        return d;
    }
    static ControlHandle ControlOf(DialogPtr d, int item) {
        std::int16_t type = 0;
        Handle h = nullptr;
        Rect r{};
        GetDItem(d, static_cast<std::int16_t>(item), &type, &h, &r);
        return reinterpret_cast<ControlHandle>(h);
    }
};

TEST_F(DialogItemsTest, ControlsAreBuiltFromTheList) {
    DialogPtr d = OpenEveryKind();
    ASSERT_NE(d, nullptr);
    struct Expect {
        int item;
        std::int16_t proc, max, value;
        std::uint8_t hilite;
    } expected[] = {
        {1, pushButProc, 0, 0, 0},     {7, checkBoxProc, 1, 0, 0},    {8, radioButProc, 1, 0, 0},
        {10, radioButProc, 1, 0, 255}, {11, scrollBarProc, 10, 3, 0}, {15, pushButProc, 0, 0, 255},
    };
    for (const Expect& e : expected) {
        ControlHandle c = ControlOf(d, e.item);
        ASSERT_NE(c, nullptr) << e.item;
        EXPECT_EQ((*c)->procID, e.proc) << e.item;
        EXPECT_EQ((*c)->contrlMax, e.max) << e.item;
        EXPECT_EQ((*c)->contrlValue, e.value) << e.item;
        EXPECT_EQ((*c)->contrlHilite, e.hilite) << e.item;
        EXPECT_EQ((*c)->contrlOwner, d) << e.item;
    }
    std::int16_t type = 0;
    Handle h = nullptr;
    Rect r{};
    GetDItem(d, 12, &type, &h, &r);
    EXPECT_EQ(type, iconItem + 1); // a colour icon
    EXPECT_NE(h, nullptr);
    GetDItem(d, 13, &type, &h, &r);
    EXPECT_NE(h, nullptr);
    EXPECT_TRUE(QivaSetValBouton(d, 7, 1));
    EXPECT_EQ(QivaGetValBouton(d, 7), 1);
    EXPECT_FALSE(QivaSetValBouton(d, 3, 1));
    EXPECT_EQ(qiva::ErrorBoxHistory().back(), "QivaSetValBouton: l'item 3 n'est pas RadioBouton (8)");
    EXPECT_EQ(QivaGetValBouton(d, 12), 0);
    EXPECT_EQ(qiva::ErrorBoxHistory().back(), "QivaGetValBouton: l'item 12 n'est pas RadioBouton (33)");
    const auto lines = DumpLines("ditem ");
    ASSERT_EQ(lines.size(), 15u);
    EXPECT_NE(lines[10].find("ditem 11 type 7 "), std::string::npos) << lines[10];
    EXPECT_NE(lines[10].find("value 3 "), std::string::npos) << lines[10];
    EXPECT_NE(lines[6].find("value 1 text \"Sound\""), std::string::npos) << lines[6];
    EXPECT_NE(lines[14].find("enabled 0"), std::string::npos) << lines[14];
    EXPECT_NE(lines[11].find("type 32 "), std::string::npos) << lines[11];
    // SetIText given a control's handle leaves the control alone.
    const Size recordSize = GetHandleSize(reinterpret_cast<Handle>(ControlOf(d, 7)));
    SetIText(reinterpret_cast<Handle>(ControlOf(d, 7)), "x");
    EXPECT_EQ(GetHandleSize(reinterpret_cast<Handle>(ControlOf(d, 7))), recordSize);
    EXPECT_EQ((*ControlOf(d, 7))->procID, checkBoxProc);
    // Hiding a control hides it with the Control Manager; the dump keeps its place.
    HideDItem(d, 7);
    EXPECT_EQ((*ControlOf(d, 7))->contrlVis, 0);
    ShowDItem(d, 7);
    EXPECT_EQ((*ControlOf(d, 7))->contrlVis, 255);
}

TEST_F(DialogItemsTest, ClicksReportEnabledItemsOnly) {
    DialogPtr d = OpenEveryKind();
    ASSERT_NE(d, nullptr);
    ClickItem(d, 7);  // check box
    ClickItem(d, 10); // inactive radio button
    ClickItem(d, 15); // disabled button
    ClickItem(d, 6);  // the second editable text becomes active
    ClickItem(d, 12); // an enabled icon is reported at once
    ClickItem(d, 1);
    EXPECT_EQ(Drain(), (std::vector<int>{7, 6, 12, 1}));
    EXPECT_EQ(qiva::DPeek(d)->editField, 5);
}

// Draws a cross in the user item: the procedure the dialog calls with its item number.
int userCalls = 0;
void DrawUserItem(DialogPtr d, std::int16_t item) {
    ++userCalls;
    std::int16_t type = 0;
    Handle h = nullptr;
    Rect r{};
    GetDItem(d, item, &type, &h, &r);
    FrameRect(&r);
    MoveTo(r.left, r.top);
    LineTo(r.right - 1, r.bottom - 1);
}

TEST_F(DialogItemsTest, GoldenRenderOfEveryKind) {
    DialogPtr d = OpenEveryKind();
    ASSERT_NE(d, nullptr);
    std::int16_t type = 0;
    Handle h = nullptr;
    Rect r{};
    GetDItem(d, 14, &type, &h, &r);
    userCalls = 0;
    SetDItem(d, 14, userItem, reinterpret_cast<Handle>(&DrawUserItem), &r);
    QivaSetValBouton(d, 7, 1);
    QivaSetValBouton(d, 9, 1);
    DrawDialog(d);
    Drain();
    EXPECT_GE(userCalls, 1);
    const Rect s = (*qiva::Peek(d)->strucRgn)->rgnBBox;
    const qiva::BufferSlot* screen = qiva::LookUpBuffer(qiva::ScreenBufferId());
    const qiva_tools::IndexImage image{screen->base + s.top * screen->rowBytes + s.left, screen->rowBytes,
                                       s.right - s.left, s.bottom - s.top};
    const std::string path = std::string(TOLKA_DIALOGS_GOLDEN_DIR) + "/every_item_kind.png";
    if (const char* update = std::getenv("QIVA_UPDATE_GOLDEN"); update && *update == '1') {
        EXPECT_EQ(qiva_tools::WritePalettedPng(path, image), "");
        return;
    }
    qiva_pict::RgbaImage golden;
    std::string error;
    ASSERT_TRUE(qiva_pict::ReadPng(path, golden, error)) << error;
    ASSERT_EQ(golden.width, image.width);
    ASSERT_EQ(golden.height, image.height);
    const auto& entries = qiva::ThePalette().palette.entries;
    int differences = 0;
    std::string first;
    for (int v = 0; v < image.height; ++v)
        for (int x = 0; x < image.width; ++x) {
            const qiva::PaletteEntry& e = entries[image.base[v * image.rowBytes + x]];
            const std::uint8_t* g = &golden.rgba[static_cast<std::size_t>(v * image.width + x) * 4];
            if (g[0] != e.red || g[1] != e.green || g[2] != e.blue) {
                if (differences++ == 0) first = std::to_string(x) + "," + std::to_string(v);
            }
        }
    EXPECT_EQ(differences, 0) << "first at " << first << " (QIVA_UPDATE_GOLDEN=1 rewrites the image)";
}

TEST_F(DialogItemsTest, EveryCutOfTheItemListBuildsTheItemsThatFit) {
    Resources(kEveryKind);
    Handle full = GetResource(MakeResType("DITL"), 500);
    ASSERT_NE(full, nullptr);
    const std::vector<std::uint8_t> bytes(reinterpret_cast<std::uint8_t*>(*full),
                                          reinterpret_cast<std::uint8_t*>(*full) + GetHandleSize(full));
    const Rect bounds{32, 20, 282, 380};
    std::size_t previous = 0;
    for (std::size_t n = 0; n <= bytes.size(); ++n) {
        Handle list = NewHandle(static_cast<Size>(n));
        std::copy_n(bytes.begin(), n, *list);
        DialogPtr d = NewDialog(nullptr, &bounds, "", true, dBoxProc, kFront, false, 0, list);
        ASSERT_NE(d, nullptr) << n;
        const std::size_t items = DumpLines("ditem ").size();
        EXPECT_GE(items, previous) << n;
        EXPECT_LE(items, 15u) << n;
        previous = items;
        Drain();
        DisposeDialog(d);
    }
    EXPECT_EQ(previous, 15u);
}

// ---- Modeless dialogues ----

const char* const kDialogue = R"(
resource 'DLOG' 600 { bounds 60 60 160 260 proc 4 visible true goaway true refcon 0 title "Find" }
resource 'DITL' 600 {
    static rect 10 10 26 90 text "Look for"
    edit rect 10 100 26 190 text ""
    checkbox rect 40 10 56 150 text "Whole words"
}
)";

struct Calls {
    int opened = 0, closes = 0, updates = 0, activations = 0;
    std::vector<int> items;
    bool allowClose = false, drawOnUpdate = true;
} calls;

Boolean OnOpen(QivaDialogue*) {
    ++calls.opened;
    return true;
}
void OnItem(QivaDialogue* dialogue, std::int16_t item) {
    calls.items.push_back(item);
    if (item == 3) {
        DialogPtr d = &dialogue->dialog.window.port;
        QivaSetValBouton(d, 3, static_cast<std::int16_t>(!QivaGetValBouton(d, 3)));
    }
}
Boolean OnClose(QivaDialogue*) {
    ++calls.closes;
    return calls.allowClose;
}
Boolean OnUpdate(QivaDialogue*) {
    ++calls.updates;
    return calls.drawOnUpdate;
}
void OnActivate(QivaDialogue*, Boolean) {
    ++calls.activations;
}

TEST_F(DialogItemsTest, ModelessDialoguesAreRoutedByTheToolkit) {
    Resources(kDialogue);
    calls = Calls{};
    calls.drawOnUpdate = false;
    QivaDialogue* dialogue = QivaOuvreDialogueAcc(600, &OnOpen, &OnItem, &OnClose, &OnUpdate, nullptr,
                                                  nullptr, nullptr, &OnActivate);
    ASSERT_NE(dialogue, nullptr);
    DialogPtr d = &dialogue->dialog.window.port;
    EXPECT_EQ(calls.opened, 1);
    EXPECT_EQ(dialogue->marker, qiva::kDialogueMarker);
    EXPECT_EQ(DumpLines("dialog ").at(0), "dialog 600 kind modeless");
    // The application's loop sees none of the dialogue's events: clicks, keys, updates, activation.
    ClickItem(d, 3);
    Type("ab");
    int seen = 0;
    for (int i = 0; i < 100; ++i) {
        EventRecord e;
        if (GetNextEvent(everyEvent, &e) && e.what != mouseUp && e.what != keyUp && e.what != nullEvent)
            ++seen;
    }
    EXPECT_EQ(seen, 0);
    EXPECT_EQ(calls.items, (std::vector<int>{3, 2, 2}));
    EXPECT_EQ(QivaGetValBouton(d, 3), 1);
    EXPECT_EQ(ItemText(d, 2), "ab");
    // An update the callback declines still empties the update region.
    EXPECT_GE(calls.updates, 1);
    EXPECT_TRUE(EmptyRgn(qiva::Peek(d)->updateRgn));
    EXPECT_GE(calls.activations, 1);
    // A click on a window behind brings the dialogue's neighbour forward; then back to the dialogue.
    const Rect r{200, 200, 280, 380};
    WindowPtr w = NewWindow(nullptr, &r, "", true, documentProc, kFront, false, 0);
    ClickItem(d, 1);
    Drain();
    EXPECT_EQ(FrontWindow(), d);
    DisposeWindow(w);
    // Closing asks the close callback; refusing keeps the dialogue.
    EXPECT_FALSE(qiva_ferme_dialogue(dialogue));
    EXPECT_EQ(FrontWindow(), d);
    calls.allowClose = true;
    EXPECT_TRUE(qiva_ferme_dialogue(dialogue));
    EXPECT_EQ(calls.closes, 2);
    EXPECT_EQ(FrontWindow(), nullptr);
}

TEST_F(DialogItemsTest, DialogueCallsRefuseOtherWindows) {
    Resources(kDialogue);
    EXPECT_EQ(
        QivaOuvreDialogueAcc(601, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr),
        nullptr);
    EXPECT_EQ(qiva::ErrorBoxHistory().back(), "QivaOuvreDialogueAcc:Ressource non trouvée.");
    // A plain dialog is not a dialogue and is never read as one.
    DialogPtr plain = GetNewDialog(600, nullptr, kFront);
    ASSERT_NE(plain, nullptr);
    EXPECT_FALSE(qiva_ferme_dialogue(reinterpret_cast<QivaDialogue*>(plain)));
    EXPECT_EQ(qiva::ErrorBoxHistory().back(), "qiva_ferme_dialogue:Ce n'est pas une fenetre dialoGUE.");
    EventRecord e{};
    e.what = activateEvt;
    e.message = reinterpret_cast<std::uintptr_t>(plain);
    qiva_activate_dialogue(&e, true);
    EXPECT_EQ(qiva::ErrorBoxHistory().back(), "qiva_activate_dialogue:Ce n'est pas une fenetre dialoGUE.");
    EXPECT_TRUE(qiva_gere_dialogue(&e, nullptr));
    EXPECT_EQ(qiva::ErrorBoxHistory().back(), "qiva_gere_dialogue:Ce n'est pas une fenetre dialoGUE.");
}

} // namespace
