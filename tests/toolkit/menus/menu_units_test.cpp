// The Menu Manager's state-free units: item descriptions, the resource layouts, the command-key
// search and the geometry.

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "toolkit/menus/menu_geometry.h"
#include "toolkit/menus/menu_items_parse.h"
#include "toolkit/menus/menu_key_search.h"
#include "toolkit/menus/menu_resource.h"

namespace {

using qiva::ParsedItem;

TEST(MenuItemsParse, MetacharactersSetTheFieldsAndLeaveTheText) {
    struct Case {
        const char* data;
        std::vector<ParsedItem> items;
    };
    const std::vector<Case> cases = {
        {"", {}},
        {"Open", {{"Open", 0, 0, 0, 0, true}}},
        {"Quit/Q", {{"Quit", 0, 'Q', 0, 0, true}}},
        {"(Undo/Z;-", {{"Undo", 0, 'Z', 0, 0, false}, {"-", 0, 0, 0, 0, true}}},
        {"(-", {{"-", 0, 0, 0, 0, false}}},
        {"Bold<B<U;Icon^3", {{"Bold", 0, 0, 0, 5, true}, {"Icon", 3, 0, 0, 0, true}}},
        {"Check!\x12;Sub/\x1B!\xC8", {{"Check", 0, 0, 18, 0, true}, {"Sub", 0, 27, 0xC8, 0, true}}},
        {"A\rB;;C", {{"A"}, {"B"}, {""}, {"C"}}},
        // A metacharacter at the end of its piece has no argument and is dropped.
        {"Cut/;Paste^", {{"Cut"}, {"Paste"}}},
        // An unknown style letter adds nothing.
        {"Plain<X", {{"Plain"}}},
    };
    for (const Case& c : cases) {
        const std::vector<ParsedItem> got = qiva::ParseMenuItems(c.data);
        ASSERT_EQ(got.size(), c.items.size()) << c.data;
        for (std::size_t i = 0; i < got.size(); ++i) {
            EXPECT_EQ(got[i].text, c.items[i].text) << c.data << " item " << i;
            EXPECT_EQ(got[i].icon, c.items[i].icon) << c.data << " item " << i;
            EXPECT_EQ(got[i].key, c.items[i].key) << c.data << " item " << i;
            EXPECT_EQ(got[i].mark, c.items[i].mark) << c.data << " item " << i;
            EXPECT_EQ(got[i].style, c.items[i].style) << c.data << " item " << i;
            EXPECT_EQ(got[i].enabled, c.items[i].enabled) << c.data << " item " << i;
        }
    }
}

std::vector<std::uint8_t> Bytes(std::initializer_list<int> values) {
    std::vector<std::uint8_t> out;
    for (int v : values)
        out.push_back(static_cast<std::uint8_t>(v));
    return out;
}

void Append(std::vector<std::uint8_t>& out, const std::string& text) {
    out.push_back(static_cast<std::uint8_t>(text.size()));
    out.insert(out.end(), text.begin(), text.end());
}

// ID 130, enable flags with item 2 off, title "Game", items "New"/N and "Level" (bold, checked), end.
std::vector<std::uint8_t> GameMenu() {
    std::vector<std::uint8_t> d = Bytes({0, 130, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFB});
    Append(d, "Game");
    Append(d, "New");
    d.insert(d.end(), {0, 'N', 0, 0});
    Append(d, "Level");
    d.insert(d.end(), {2, 0, 18, 1});
    d.push_back(0);
    return d;
}

TEST(MenuResource, ReadsTheClassicLayout) {
    const auto menu = qiva::ParseMenuResource(GameMenu());
    ASSERT_TRUE(menu);
    EXPECT_EQ(menu->id, 130);
    EXPECT_EQ(menu->enableFlags, 0xFFFFFFFBu);
    EXPECT_EQ(menu->title, "Game");
    ASSERT_EQ(menu->items.size(), 2u);
    EXPECT_EQ(menu->items[0].text, "New");
    EXPECT_EQ(menu->items[0].key, 'N');
    EXPECT_TRUE(menu->items[0].enabled);
    EXPECT_EQ(menu->items[1].text, "Level");
    EXPECT_EQ(menu->items[1].icon, 2);
    EXPECT_EQ(menu->items[1].mark, 18);
    EXPECT_EQ(menu->items[1].style, 1);
    EXPECT_FALSE(menu->items[1].enabled);
}

TEST(MenuResource, DamagedResourcesAreRefusedAndAMissingEndIsTolerated) {
    const std::vector<std::uint8_t> whole = GameMenu();
    // Every cut inside a field is refused; a cut just before the end mark reads the two items.
    for (std::size_t n = 0; n + 1 < whole.size(); ++n) {
        const std::vector<std::uint8_t> cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(n));
        const auto menu = qiva::ParseMenuResource(cut);
        const bool itemBoundary = n == whole.size() - 1 || n == 19 || n == 27;
        if (itemBoundary)
            EXPECT_TRUE(menu) << n;
        else
            EXPECT_FALSE(menu) << n;
    }
}

TEST(MenuResource, MenuBarLayout) {
    const auto ok = qiva::ParseMenuBarResource(Bytes({0, 3, 0, 128, 0, 129, 0x27, 0x92}));
    ASSERT_TRUE(ok);
    EXPECT_EQ(*ok, (std::vector<std::int16_t>{128, 129, 10130}));
    EXPECT_FALSE(qiva::ParseMenuBarResource(Bytes({0, 3, 0, 128, 0, 129})));
    EXPECT_FALSE(qiva::ParseMenuBarResource(Bytes({0xFF, 0xFF})));
    EXPECT_FALSE(qiva::ParseMenuBarResource(Bytes({0})));
    const auto empty = qiva::ParseMenuBarResource(Bytes({0, 0}));
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->empty());
}

// Menus of a small program: File (Open O, Quit Q), Edit (disabled menu: Copy C), Tools (Sort S,
// a hierarchical item to 200, Find F disabled), and hierarchical 200 (Deep D, back to 200's parent 202).
struct KeyWorld {
    std::vector<qiva::KeyMenu> listed = {
        {1, true, {{'O'}, {'Q'}}},
        {2, false, {{'C'}}},
        {3, true, {{'S'}, {27, 200}, {'F', 0, false}}},
    };
    std::map<std::int16_t, qiva::KeyMenu> resources = {
        {200, {200, true, {{'D'}, {27, 201}}}},
        {201, {201, true, {{'E'}, {27, 200}}}}, // opens 200 again: the search must end
    };
    std::vector<std::int16_t> loads;
    qiva::KeyMenuLoader Loader() {
        return [this](std::int16_t id) -> std::optional<qiva::KeyMenu> {
            loads.push_back(id);
            const auto it = resources.find(id);
            if (it == resources.end()) return std::nullopt;
            return it->second;
        };
    }
};

TEST(MenuKeySearch, FindsFoldedKeysInEnabledMenusAndHierarchicalOnes) {
    struct Case {
        char ch;
        std::int16_t menu, item, title; // menu 0: not found
    };
    const std::vector<Case> cases = {
        {'q', 1, 2, 1},   {'Q', 1, 2, 1},   {'o', 1, 1, 1},
        {'S', 3, 1, 3},   {'c', 0, 0, 0}, // its menu is disabled
        {'f', 0, 0, 0},                   // its item is disabled
        {'d', 200, 1, 3}, {'e', 201, 1, 3}, {'x', 0, 0, 0},
        {0, 0, 0, 0},     {27, 0, 0, 0},
    };
    for (const Case& c : cases) {
        KeyWorld world;
        const auto hit = qiva::FindMenuKey(static_cast<std::uint8_t>(c.ch), world.listed, world.Loader());
        if (c.menu == 0) {
            EXPECT_FALSE(hit) << "key " << int(c.ch);
            continue;
        }
        ASSERT_TRUE(hit) << "key " << c.ch;
        EXPECT_EQ(hit->menuId, c.menu) << c.ch;
        EXPECT_EQ(hit->item, c.item) << c.ch;
        EXPECT_EQ(hit->titleId, c.title) << c.ch;
    }
}

TEST(MenuKeySearch, HierarchicalMenusThatOpenEachOtherAreSearchedOnce) {
    KeyWorld world;
    EXPECT_FALSE(qiva::FindMenuKey('z', world.listed, world.Loader()));
    EXPECT_EQ(world.loads, (std::vector<std::int16_t>{200, 201}));
}

TEST(MenuKeySearch, FoldingTouchesOnlyLowerCaseLetters) {
    EXPECT_EQ(qiva::FoldMenuKey('a'), 'A');
    EXPECT_EQ(qiva::FoldMenuKey('z'), 'Z');
    EXPECT_EQ(qiva::FoldMenuKey('{'), '{');
    EXPECT_EQ(qiva::FoldMenuKey('`'), '`');
    EXPECT_EQ(qiva::FoldMenuKey(0x8E), 0x8E);
    // An item keyed '{' is found by '{', not by '['.
    const std::vector<qiva::KeyMenu> listed = {{5, true, {{'['}, {'{'}}}};
    const auto hit = qiva::FindMenuKey('{', listed, nullptr);
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->item, 2);
}

TEST(MenuKeySearch, ResultPacksTheMenuAndTheItem) {
    EXPECT_EQ(qiva::MenuResult(129, 3), (129 << 16) + 3);
    EXPECT_EQ(qiva::MenuResult(10130, 31), (10130 << 16) + 31);
    EXPECT_EQ(qiva::MenuResult(-5, 2), 0);
}

Rect R(int l, int t, int r, int b) {
    return Rect{static_cast<std::int16_t>(t), static_cast<std::int16_t>(l), static_cast<std::int16_t>(b),
                static_cast<std::int16_t>(r)};
}

void ExpectRect(const Rect& got, const Rect& want, const std::string& what) {
    EXPECT_EQ(got.left, want.left) << what;
    EXPECT_EQ(got.top, want.top) << what;
    EXPECT_EQ(got.right, want.right) << what;
    EXPECT_EQ(got.bottom, want.bottom) << what;
}

TEST(MenuGeometry, TitlesFollowEachOtherFromTenPixelsIn) {
    const std::vector<int> widths = {30, 0, 51};
    const std::vector<Rect> titles = qiva::LayoutTitles(R(0, 0, 640, 20), widths);
    ASSERT_EQ(titles.size(), 3u);
    ExpectRect(titles[0], R(10, 0, 54, 19), "first");
    ExpectRect(titles[1], R(54, 0, 68, 19), "empty");
    ExpectRect(titles[2], R(68, 0, 133, 19), "third");
    EXPECT_EQ(qiva::TitleAt(titles, Point{5, 53}), 0);
    EXPECT_EQ(qiva::TitleAt(titles, Point{5, 54}), 1);
    EXPECT_EQ(qiva::TitleAt(titles, Point{19, 60}), -1);
    EXPECT_EQ(qiva::TitleAt(titles, Point{5, 9}), -1);
}

TEST(MenuGeometry, MenusKeepEightPixelsFromTheScreensRightEdge) {
    const Rect screen = R(0, 0, 640, 400);
    struct Case {
        int titleLeft, width;
        Rect want;
    };
    const std::vector<Case> cases = {
        {10, 100, R(10, 20, 110, 80)},
        {540, 200, R(432, 20, 632, 80)}, // 100 pixels from the edge, 200 wide
        {532, 100, R(532, 20, 632, 80)}, // exactly 8 pixels away: not moved
        {533, 100, R(532, 20, 632, 80)},
        {100, 700, R(0, 20, 700, 80)}, // wider than the screen: kept at its left edge
    };
    for (const Case& c : cases) {
        const Rect got = qiva::PlaceMenu(R(c.titleLeft, 0, c.titleLeft + 40, 19), 20, {c.width, 60}, screen);
        ExpectRect(got, c.want, "title at " + std::to_string(c.titleLeft));
    }
}

TEST(MenuGeometry, ItemsStackAndAreFoundUnderThePoint) {
    const std::vector<qiva::ItemMeasure> items = {{40, false, true}, {0, false, false}, {30, true, false}};
    const qiva::MenuSize size = qiva::MeasureMenu(items, 16);
    EXPECT_EQ(size.height, 16 + 16 + 36);
    // The widest: the key column (18 + 40 + 32 + 12) against the icon item (50 + 30 + 12).
    EXPECT_EQ(size.width, 102);
    const std::vector<Rect> rects = qiva::ItemRects(R(100, 20, 202, 88), items, 16);
    ExpectRect(rects[2], R(100, 52, 202, 88), "icon item");
    EXPECT_EQ(qiva::ItemAt(rects, Point{20, 100}), 1);
    EXPECT_EQ(qiva::ItemAt(rects, Point{36, 150}), 2);
    EXPECT_EQ(qiva::ItemAt(rects, Point{87, 201}), 3);
    EXPECT_EQ(qiva::ItemAt(rects, Point{88, 150}), 0);
    EXPECT_EQ(qiva::ItemAt(rects, Point{30, 202}), 0);
}

TEST(MenuGeometry, PopUpsPutTheirItemAtThePlaceAndStayOnScreen) {
    const std::vector<qiva::ItemMeasure> items(5);
    const qiva::MenuSize size{80, 80};
    const Rect screen = R(0, 0, 320, 200);
    ExpectRect(qiva::PlacePopUp(100, 50, 3, items, 16, size, screen, 20), R(50, 68, 130, 148), "item 3");
    ExpectRect(qiva::PlacePopUp(30, 50, 5, items, 16, size, screen, 20), R(50, 20, 130, 100),
               "below the bar");
    ExpectRect(qiva::PlacePopUp(190, 300, 1, items, 16, size, screen, 20), R(232, 120, 312, 200), "corner");
}

TEST(MenuGeometry, EnableImageHasOneBitPerBarMenu) {
    EXPECT_EQ(qiva::EnableImage(std::vector<std::uint32_t>{}), 0u);
    EXPECT_EQ(qiva::EnableImage(std::vector<std::uint32_t>{0xFFFFFFFF, 0xFFFFFFFE, 0x3}), 0b101u);
}

} // namespace
