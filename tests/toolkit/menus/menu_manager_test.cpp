// The Menu Manager's calls: menus and items, the list and the bar, command keys, and tracking with
// the mouse through injected events.

#include <algorithm>
#include <cstring>

#include "tests/toolkit/menus/menu_fixture.h"
#include "toolkit/core/sound.h"
#include "toolkit/menus/menu_dump.h"
#include "toolkit/menus/menu_geometry.h"

namespace {

std::string MenuData(std::int16_t id, const std::string& title, const std::vector<std::string>& items,
                     std::uint32_t flags = 0xFFFFFFFF) {
    std::string d;
    auto word = [&](int v) {
        d += static_cast<char>((v >> 8) & 0xFF);
        d += static_cast<char>(v & 0xFF);
    };
    word(id);
    word(0);
    word(0);
    word(0);
    word(0);
    word(static_cast<int>(flags >> 16));
    word(static_cast<int>(flags & 0xFFFF));
    d += static_cast<char>(title.size());
    d += title;
    for (const std::string& item : items) {
        // "text/K": the key after a slash.
        const std::size_t slash = item.find('/');
        const std::string text = item.substr(0, slash);
        d += static_cast<char>(text.size());
        d += text;
        d += '\0';
        d += slash == std::string::npos ? '\0' : item[slash + 1];
        d += '\0';
        d += '\0';
    }
    d += '\0';
    return d;
}

std::string Text(MenuHandle menu, int item) {
    char buf[256];
    GetItem(menu, static_cast<std::int16_t>(item), buf);
    return buf;
}

std::vector<std::string> DumpLines(const std::string& prefix) {
    std::vector<std::string> lines;
    const std::string dump = qiva::StateDump();
    std::size_t at = 0;
    while (at < dump.size()) {
        const std::size_t end = dump.find('\n', at);
        const std::string line = dump.substr(at, end - at);
        if (line.rfind(prefix, 0) == 0) lines.push_back(line);
        at = end + 1;
    }
    return lines;
}

TEST_F(MenuTest, ItemStatesAboveThirtyOneAreAlwaysEnabled) {
    MenuHandle m = NewMenu(5, "Many");
    for (int i = 0; i < 40; ++i)
        AppendMenu(m, "x");
    const std::uint32_t before = (*m)->enableFlags;
    DisableItem(m, 40);
    DisableItem(m, 32);
    DisableItem(m, -1);
    EXPECT_EQ((*m)->enableFlags, before);
    DisableItem(m, 31);
    EXPECT_EQ((*m)->enableFlags, before & ~(1u << 31));
    InsertMenu(m, 0);
    MenuHandle other = NewMenu(6, "Keys");
    AppendMenu(other, "Far/K");
    InsertMenu(other, 0);
    // An item beyond 31 is found by its key even with every settable bit cleared.
    for (int i = 1; i < 40; ++i)
        SetItemCmd(m, static_cast<std::int16_t>(i), 0);
    SetItemCmd(m, 40, 'W');
    for (int i = 1; i <= 31; ++i)
        DisableItem(m, static_cast<std::int16_t>(i));
    EXPECT_EQ(MenuKey('w'), (5 << 16) + 40);
    DeleteMenu(5);
    DeleteMenu(6);
    DisposeMenu(m);
    DisposeMenu(other);
}

TEST_F(MenuTest, AppendedItemsKeepTheirTextsMarksStylesAndStates) {
    MenuHandle m = NewMenu(7, "Edit");
    AppendMenu(m, "(Undo/Z;-;Cut/X;Bold<B!\x12");
    AppendMenu(m, "Last");
    ASSERT_EQ(CountMItems(m), 5);
    EXPECT_EQ(Text(m, 1), "Undo");
    EXPECT_EQ(Text(m, 2), "-");
    EXPECT_EQ(Text(m, 5), "Last");
    EXPECT_EQ(Text(m, 6), "");
    EXPECT_EQ((*m)->enableFlags & 0x3E, 0x3Cu);
    std::int16_t key = 0, mark = 0;
    std::uint8_t style = 0;
    GetItemCmd(m, 3, &key);
    GetItemMark(m, 4, &mark);
    GetItemStyle(m, 4, &style);
    EXPECT_EQ(key, 'X');
    EXPECT_EQ(mark, 18);
    EXPECT_EQ(style, 1);
    CheckItem(m, 4, false);
    GetItemMark(m, 4, &mark);
    EXPECT_EQ(mark, 0);
    CheckItem(m, 3, true);
    GetItemMark(m, 3, &mark);
    EXPECT_EQ(mark, checkMark);
    SetItem(m, 5, "Renamed");
    EXPECT_EQ(Text(m, 5), "Renamed");
    DisposeMenu(m);
}

TEST_F(MenuTest, InsertMenuOrdersTheBarAndKeepsHierarchicalMenusOutOfIt) {
    MenuHandle a = NewMenu(1, "A"), b = NewMenu(2, "B"), c = NewMenu(3, "C"), h = NewMenu(50, "Sub");
    AppendMenu(h, "Deep/D");
    InsertMenu(a, 0);
    InsertMenu(b, 0);
    InsertMenu(c, 2); // before B
    InsertMenu(h, -1);
    InsertMenu(a, 0);  // already there: nothing
    InsertMenu(b, 99); // already there
    const auto menus = DumpLines("menu ");
    ASSERT_EQ(menus.size(), 3u);
    EXPECT_EQ(menus[0].substr(0, 15), "menu 1 title \"A");
    EXPECT_EQ(menus[1].substr(0, 15), "menu 3 title \"C");
    EXPECT_EQ(menus[2].substr(0, 15), "menu 2 title \"B");
    EXPECT_EQ(GetMenuHandle(50), h);
    EXPECT_EQ((*h)->hierarchical, 1);
    EXPECT_EQ(MenuKey('d'), (50 << 16) + 1);
    Handle list = GetMenuBar();
    ASSERT_TRUE(list);
    EXPECT_EQ(reinterpret_cast<MenuListHeader*>(*list)->lastMenu, 3);
    EXPECT_EQ(reinterpret_cast<MenuListHeader*>(*list)->lastHMenu, 1);
    DeleteMenu(3);
    DeleteMenu(50);
    EXPECT_EQ(GetMenuHandle(50), nullptr);
    EXPECT_EQ(MenuKey('d'), 0);
    EXPECT_EQ(DumpLines("menu ").size(), 2u);
    // The copy taken before puts everything back.
    ASSERT_EQ(SetMenuBar(list), noErr);
    DisposeHandle(list);
    EXPECT_EQ(DumpLines("menu ").size(), 3u);
    EXPECT_EQ(GetMenuHandle(50), h);
    ClearMenuBar();
    for (MenuHandle m : {a, b, c, h})
        DisposeMenu(m);
}

TEST_F(MenuTest, DrawMenuBarDrawsOnlyWhatChanged) {
    MenuHandle a = NewMenu(1, "File"), b = NewMenu(2, "Edit");
    AppendMenu(a, "Quit/Q");
    AppendMenu(b, "Copy/C");
    InsertMenu(a, 0);
    InsertMenu(b, 0);
    MenuHandle view = NewMenu(3, "View"), sub = NewMenu(4, "Sub");
    struct Step {
        const char* what;
        std::function<void()> change;
        bool draws;
    };
    const std::vector<Step> steps = {
        {"first", [] {}, true},
        {"again", [] {}, false},
        {"an item", [&] { DisableItem(a, 1); }, false},
        {"a whole menu", [&] { DisableItem(b, 0); }, true},
        {"the same again", [&] { DisableItem(b, 0); }, false},
        {"back on", [&] { EnableItem(b, 0); }, true},
        {"a new menu", [&] { InsertMenu(view, 0); }, true},
        {"a hierarchical menu", [&] { InsertMenu(sub, -1); }, false},
    };
    for (const Step& s : steps) {
        s.change();
        const std::size_t frames = window.frames.size();
        DrawMenuBar();
        EXPECT_EQ(window.frames.size() > frames, s.draws) << s.what;
    }
    HiliteMenu(1);
    const std::size_t frames = window.frames.size();
    DrawMenuBar();
    EXPECT_GT(window.frames.size(), frames) << "a highlighted title is drawn again";
    HiliteMenu(0);
    for (std::int16_t id : {3, 4}) {
        MenuHandle m = GetMenuHandle(id);
        DeleteMenu(id);
        DisposeMenu(m);
    }
    ClearMenuBar();
    DisposeMenu(a);
    DisposeMenu(b);
}

TEST_F(MenuTest, MenuKeyFoldsHighlightsAndSkipsDisabledMenus) {
    MenuHandle file = NewMenu(128, "File"), edit = NewMenu(129, "Edit"), neg = NewMenu(-3, "Neg");
    AppendMenu(file, "New/N;Quit/Q");
    AppendMenu(edit, "Copy/C;Paste/V");
    AppendMenu(neg, "Zap/Z");
    for (MenuHandle m : {file, edit, neg})
        InsertMenu(m, 0);
    DrawMenuBar();
    EXPECT_EQ(MenuKey('q'), (128 << 16) + 2);
    EXPECT_EQ(qiva::HilitedMenu(), 128);
    HiliteMenu(0);
    EXPECT_EQ(MenuKey('V'), (129 << 16) + 2);
    EXPECT_EQ(qiva::HilitedMenu(), 129);
    HiliteMenu(0);
    DisableItem(edit, 0);
    EXPECT_EQ(MenuKey('v'), 0);
    EXPECT_EQ(qiva::HilitedMenu(), 0);
    EXPECT_EQ(MenuKey('z'), 0); // a negative menu ID gives no choice
    ClearMenuBar();
    for (MenuHandle m : {file, edit, neg})
        DisposeMenu(m);
}

TEST_F(MenuTest, MenuKeyReadsAHierarchicalMenuFromItsResource) {
    OpenResources({qiva_test::MakeResource("MENU", 200, MenuData(200, "Sub", {"Deep/D", "Other/O"}))});
    MenuHandle top = NewMenu(128, "Top");
    AppendMenu(top, "Plain/P;More");
    SetItemCmd(top, 2, hMenuCmd);
    SetItemMark(top, 2, 200);
    InsertMenu(top, 0);
    EXPECT_EQ(MenuKey('o'), (200 << 16) + 2);
    EXPECT_EQ(qiva::HilitedMenu(), 128);
    EXPECT_EQ(GetMenuHandle(200), nullptr) << "the menu read for the search is not kept";
    ClearMenuBar();
    DisposeMenu(top);
}

TEST_F(MenuTest, GetNewMBarReadsMenusAndMovesTheLogoMenuToTheEnd) {
    OpenResources({
        qiva_test::MakeResource("MBAR", 128, std::string("\0\4\0\x80\0\x81\0\x85\0\x82", 10)),
        qiva_test::MakeResource("MENU", 128, MenuData(128, "\x14", {"About"})),
        qiva_test::MakeResource("MENU", 129, MenuData(129, "Game", {"New/N", "Quit/Q"}, 0xFFFFFFFB)),
        qiva_test::MakeResource("MENU", 130, MenuData(130, "Options", {"Fast"})),
        qiva_test::MakeResource("MBAR", 129, std::string("\0\5\0\x80", 4)), // cut short
    });
    EXPECT_EQ(GetNewMBar(129), nullptr);
    EXPECT_EQ(GetNewMBar(300), nullptr);
    Handle bar = GetNewMBar(128);
    ASSERT_TRUE(bar);
    ASSERT_EQ(SetMenuBar(bar), noErr);
    DisposeHandle(bar);
    const auto menus = DumpLines("menu ");
    // Menu 133 does not exist and is left out.
    ASSERT_EQ(menus.size(), 3u);
    EXPECT_EQ(menus[0].substr(0, 18), "menu 129 title \"Ga");
    EXPECT_EQ(menus[1].substr(0, 18), "menu 130 title \"Op");
    EXPECT_EQ(menus[2].substr(0, 19), "menu 128 title \"?\" ");
    MenuHandle game = GetMenuHandle(129);
    ASSERT_TRUE(game);
    EXPECT_EQ(CountMItems(game), 2);
    EXPECT_EQ(MenuKey('n'), (129 << 16) + 1);
    EXPECT_EQ(MenuKey('q'), 0) << "item 2's bit is clear in the resource";
    std::vector<MenuHandle> made;
    for (std::int16_t id : {128, 129, 130})
        made.push_back(GetMenuHandle(id));
    ClearMenuBar();
    for (MenuHandle m : made)
        DisposeMenu(m);
}

TEST_F(MenuTest, EnableStatesAreSavedAroundModalDialogsOnce) {
    MenuHandle a = NewMenu(1, "A"), b = NewMenu(2, "B");
    AppendMenu(a, "One/1");
    AppendMenu(b, "Two/2");
    InsertMenu(a, 0);
    InsertMenu(b, 0);
    DisableItem(b, 0);
    qiva::SaveMenuEnableStates();
    EXPECT_EQ(MenuKey('1'), 0);
    qiva::SaveMenuEnableStates(); // a second save keeps the first copy
    const std::size_t frames = window.frames.size();
    qiva::RestoreMenuEnableStates();
    EXPECT_GT(window.frames.size(), frames) << "restoring redraws the bar";
    EXPECT_EQ(MenuKey('1'), (1 << 16) + 1);
    EXPECT_EQ(MenuKey('2'), 0);
    HiliteMenu(0);
    ClearMenuBar();
    DisposeMenu(a);
    DisposeMenu(b);
}

TEST_F(MenuTest, AltLetterFindsTheFirstEnabledMenuWithThatLetter) {
    MenuHandle a = NewMenu(1, "game"), b = NewMenu(2, "Go"), c = NewMenu(3, "Help");
    for (MenuHandle m : {a, b, c})
        InsertMenu(m, 0);
    DrawMenuBar();
    ASSERT_TRUE(qiva::Shell().menuTitleCentre);
    Point centre{};
    ASSERT_TRUE(qiva::Shell().menuTitleCentre('G', &centre));
    EXPECT_EQ(centre.h, ((*a)->titleRect.left + (*a)->titleRect.right) / 2);
    EXPECT_EQ(centre.v, 9);
    DisableItem(a, 0);
    ASSERT_TRUE(qiva::Shell().menuTitleCentre('G', &centre));
    EXPECT_EQ(centre.h, ((*b)->titleRect.left + (*b)->titleRect.right) / 2);
    EXPECT_FALSE(qiva::Shell().menuTitleCentre('X', &centre));
    ClearMenuBar();
    for (MenuHandle m : {a, b, c})
        DisposeMenu(m);
}

TEST_F(MenuTest, FlashingTwiceLeavesTheBarAsItWas) {
    MenuHandle a = NewMenu(1, "File");
    InsertMenu(a, 0);
    DrawMenuBar();
    const std::vector<std::uint8_t> before = Screen();
    FlashMenuBar(0);
    EXPECT_NE(Screen(), before);
    FlashMenuBar(0);
    EXPECT_EQ(Screen(), before);
    // SysBeep at volume 0 flashes the bar through the hook InitMenus installs.
    SetSoundVol(0);
    window.frames.clear();
    SysBeep(2);
    EXPECT_GE(window.frames.size(), 2u);
    EXPECT_EQ(Screen(), before);
    SetSoundVol(1);
    ClearMenuBar();
    DisposeMenu(a);
}

// A screen whose every pixel differs from its neighbours, the transparent index among them.
void PaintNoise() {
    const qiva::BufferSlot* s = qiva::LookUpBuffer(qiva::ScreenBufferId());
    for (int v = 0; v < s->height; ++v)
        for (int h = 0; h < s->width; ++h)
            s->base[static_cast<std::size_t>(v) * s->rowBytes + h] =
                static_cast<std::uint8_t>((h * 7 + v * 13) % 256);
}

class TrackingTest : public MenuTest {
protected:
    MenuHandle file = nullptr, edit = nullptr, sub = nullptr;
    void SetUp() override {
        MenuTest::SetUp();
        file = NewMenu(128, "File");
        AppendMenu(file, "Open/O;(Close;-;More;Quit/Q");
        SetItemCmd(file, 4, hMenuCmd);
        SetItemMark(file, 4, 200);
        edit = NewMenu(129, "Edit");
        AppendMenu(edit, "Undo/Z;Cut/X;Copy/C;Paste/V");
        sub = NewMenu(200, "More");
        AppendMenu(sub, "Alpha;Beta");
        InsertMenu(file, 0);
        InsertMenu(edit, 0);
        InsertMenu(sub, -1);
        PaintNoise();
        DrawMenuBar();
    }
    void TearDown() override {
        ClearMenuBar();
        for (MenuHandle m : {file, edit, sub})
            DisposeMenu(m);
        MenuTest::TearDown();
    }
    Point Centre(MenuHandle m) const {
        const Rect r = (*m)->titleRect;
        return Point{static_cast<std::int16_t>((r.top + r.bottom) / 2),
                     static_cast<std::int16_t>((r.left + r.right) / 2)};
    }
};

TEST_F(TrackingTest, ChoosingAfterMovingBetweenTitlesPutsTheScreenBack) {
    const std::vector<std::uint8_t> before = Screen();
    const Point f = Centre(file), e = Centre(edit);
    // Down on File, over to Edit, back to File, down to item 1 (Open), released there.
    Press(f.h, f.v);
    MoveTo(f.h, 40);
    MoveTo(e.h, e.v);
    MoveTo(e.h, 50);
    MoveTo(f.h, f.v);
    MoveTo((*file)->titleRect.left + 20, 28);
    Release((*file)->titleRect.left + 20, 28);
    window.record = true;
    const std::int32_t choice = MenuSelect(f);
    window.record = false;
    EXPECT_EQ(choice, (128 << 16) + 1);
    EventRecord rest;
    EXPECT_FALSE(EventAvail(mUpMask, &rest)) << "the release that chose is the menu's";
    EXPECT_EQ(qiva::HilitedMenu(), 128) << "the title stays highlighted after a choice";
    // Below the bar the screen is exactly as before.
    const std::vector<std::uint8_t> after = Screen();
    const auto rowStart = static_cast<std::ptrdiff_t>(qiva::kBarHeight * kW);
    EXPECT_TRUE(std::equal(before.begin() + rowStart, before.end(), after.begin() + rowStart));
    // Both menus were shown on the way, and the dump followed them.
    bool sawFile = false, sawEdit = false;
    for (const auto& shot : window.shots) {
        sawFile |= shot.dump.find("open 128 rect") != std::string::npos;
        sawEdit |= shot.dump.find("open 129 rect") != std::string::npos;
    }
    EXPECT_TRUE(sawFile);
    EXPECT_TRUE(sawEdit);
    HiliteMenu(0);
    EXPECT_EQ(Screen(), before) << "and the bar is back too once the title is let go";
}

TEST_F(TrackingTest, ReleasingOnNothingChoosesNothing) {
    const Point f = Centre(file);
    struct Case {
        const char* what;
        int x, y;
    };
    // Item 2 is disabled, item 3 a separator, item 4 opens a menu; far away is outside every menu.
    const int left = (*file)->titleRect.left + 20;
    const std::vector<Case> cases = {
        {"disabled", left, 20 + 16 + 8}, {"separator", left, 20 + 32 + 8}, {"submenu", left, 20 + 48 + 8},
        {"outside", 300, 190},           {"the title", f.h, f.v},
    };
    for (const Case& c : cases) {
        Press(f.h, f.v);
        MoveTo(c.x, c.y);
        Release(c.x, c.y);
        EXPECT_EQ(MenuSelect(f), 0) << c.what;
        EXPECT_EQ(qiva::HilitedMenu(), 0) << c.what;
    }
}

TEST_F(TrackingTest, AHierarchicalItemOpensItsMenuBesideIt) {
    const std::vector<std::uint8_t> before = Screen();
    const Point f = Centre(file);
    const int left = (*file)->titleRect.left + 20;
    CalcMenuSize(file);
    Press(f.h, f.v);
    MoveTo(left, 20 + 48 + 8);
    window.record = true;
    // Into the submenu, to its second item.
    const int subLeft = (*file)->titleRect.left + (*file)->menuWidth + 10;
    MoveTo(subLeft, 20 + 48 + 16 + 8);
    Release(subLeft, 20 + 48 + 16 + 8);
    EXPECT_EQ(MenuSelect(f), (200 << 16) + 2);
    window.record = false;
    bool sawSub = false;
    for (const auto& shot : window.shots)
        sawSub |= shot.dump.find("open 200 rect") != std::string::npos &&
                  shot.dump.find("item 128 4 text \"More\" enabled 1 mark - key - rect") != std::string::npos;
    EXPECT_TRUE(sawSub);
    HiliteMenu(0);
    EXPECT_EQ(Screen(), before);
}

TEST_F(TrackingTest, PopUpsReturnTheItemUnderTheMouse) {
    const std::vector<std::uint8_t> before = Screen();
    // Item 3 (Copy) at the mouse; moving down one item chooses Paste.
    Press(100, 100);
    MoveTo(110, 100 + 16 + 4);
    Release(110, 100 + 16 + 4);
    EXPECT_EQ(PopUpMenuSelect(edit, 96, 90, 3), (129 << 16) + 4);
    EXPECT_EQ(Screen(), before);
    Press(100, 100);
    Release(5, 5);
    EXPECT_EQ(PopUpMenuSelect(edit, 96, 90, 3), 0);
    EXPECT_EQ(Screen(), before);
}

TEST_F(TrackingTest, TheDumpDescribesTheBarAndEveryItemOfAnOpenMenu) {
    const auto bar = DumpLines("menubar ");
    ASSERT_EQ(bar.size(), 1u);
    EXPECT_EQ(bar[0], "menubar 0 0 320 20");
    const auto menus = DumpLines("menu ");
    ASSERT_EQ(menus.size(), 2u);
    const Rect t = (*file)->titleRect;
    EXPECT_EQ(menus[0], "menu 128 title \"File\" rect " + qiva::DumpRect(t) + " enabled 1");
    EXPECT_TRUE(DumpLines("open ").empty());
    const Point f = Centre(file);
    Press(f.h, f.v);
    Release(300, 190);
    window.record = true;
    MenuSelect(f);
    window.record = false;
    const auto shot = std::find_if(window.shots.begin(), window.shots.end(), [](const auto& s) {
        return s.dump.find("open 128") != std::string::npos;
    });
    ASSERT_NE(shot, window.shots.end());
    const std::string& dump = shot->dump;
    const std::string l = std::to_string(t.left), r = std::to_string(t.left + (*file)->menuWidth);
    for (const std::string& line : {
             "open 128 rect " + l + " 20 " + r + " 100\n",
             "item 128 1 text \"Open\" enabled 1 mark - key O rect " + l + " 20 " + r + " 36\n",
             "item 128 2 text \"Close\" enabled 0 mark - key - rect " + l + " 36 " + r + " 52\n",
             "item 128 3 text \"-\" enabled 0 mark - key - rect " + l + " 52 " + r + " 68\n",
             "item 128 4 text \"More\" enabled 1 mark - key - rect " + l + " 68 " + r + " 84 submenu 200\n",
             "item 128 5 text \"Quit\" enabled 1 mark - key Q rect " + l + " 84 " + r + " 100\n",
         })
        EXPECT_NE(dump.find(line), std::string::npos) << line << "in\n" << dump;
    EXPECT_TRUE(DumpLines("open ").empty()) << "closed menus leave the dump";
}

TEST(MenuDumpWords, MarksAndKeysAreSingleWords) {
    EXPECT_EQ(qiva::MenuCharWord(0), "-");
    EXPECT_EQ(qiva::MenuCharWord(' '), "-");
    EXPECT_EQ(qiva::MenuCharWord('Q'), "Q");
    EXPECT_EQ(qiva::MenuCharWord(18), "\u2713");
    EXPECT_EQ(qiva::MenuCharWord(0xA5), "\u2022");
    EXPECT_EQ(qiva::MenuCharWord('"'), "\"");
}

} // namespace
