// The Dialog Manager's state-free units: item lists, templates and placement, the active text item
// rule, ParamText expansion and the 'cicn' reader.

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "toolkit/core/big_endian.h"
#include "toolkit/dialogs/cicn_format.h"
#include "toolkit/dialogs/dialog_templates.h"
#include "toolkit/dialogs/item_list.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

struct Item {
    Rect rect;
    std::uint8_t type;
    std::string data;
};

Bytes Ditl(const std::vector<Item>& items, int countWord) {
    Bytes out;
    qiva::BigEndianWriter w(out);
    w.Write<std::int16_t>(static_cast<std::int16_t>(countWord));
    for (const Item& it : items) {
        w.U32(0);
        w.Write<std::int16_t>(it.rect.top);
        w.Write<std::int16_t>(it.rect.left);
        w.Write<std::int16_t>(it.rect.bottom);
        w.Write<std::int16_t>(it.rect.right);
        w.U8(it.type);
        w.U8(static_cast<std::uint8_t>(it.data.size()));
        out.insert(out.end(), it.data.begin(), it.data.end());
    }
    return out;
}

bool SameRect(const Rect& a, const Rect& b) {
    return a.top == b.top && a.left == b.left && a.bottom == b.bottom && a.right == b.right;
}

TEST(ItemListTest, FiveCharacterTextTakesItsPadByte) {
    // The 5-character text has its pad byte in the resource; the length byte becomes 6.
    Bytes list = Ditl({{{10, 20, 30, 120}, 8, std::string("Hello\0", 6)}, {{40, 20, 60, 80}, 4, "OK"}}, 1);
    list[2 + 13] = 5;
    const qiva::BuiltList built = qiva::BuildItemList(list);
    ASSERT_EQ(built.count, 2);
    EXPECT_EQ(built.lengths, (std::vector<std::uint8_t>{5, 2}));
    const auto first = qiva::ItemAt(list, 1), second = qiva::ItemAt(list, 2);
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->length, 6);
    EXPECT_EQ(second->offset - first->offset, 14u + 6u);
    EXPECT_TRUE(SameRect(first->rect, Rect{10, 20, 30, 120}));
    EXPECT_TRUE(SameRect(second->rect, Rect{40, 20, 60, 80}));
    EXPECT_EQ(second->type, 4);
    EXPECT_EQ(std::string(list.begin() + static_cast<long>(second->dataOffset),
                          list.begin() + static_cast<long>(second->dataOffset) + 2),
              "OK");
    EXPECT_FALSE(qiva::ItemAt(list, 0));
    EXPECT_FALSE(qiva::ItemAt(list, 3));
}

TEST(ItemListTest, LongestTextKeepsTheItemsAfterIt) {
    // 255 bytes cannot be raised to even in a length byte: the pad byte stays outside the length and
    // the item after it is still found where it is.
    const std::string longest(255, 'x');
    Bytes list = Ditl({{{0, 0, 10, 200}, 8, longest + '\0'}, {{20, 0, 40, 60}, 4, "OK"}}, 1);
    list[2 + 13] = 255;
    const qiva::BuiltList built = qiva::BuildItemList(list);
    ASSERT_EQ(built.count, 2);
    EXPECT_EQ(built.lengths, (std::vector<std::uint8_t>{255, 2}));
    const std::vector<qiva::ItemEntry> items = qiva::AllItems(list);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].length, 255);
    EXPECT_EQ(items[1].offset, 2u + 14u + 256u);
    EXPECT_EQ(items[1].type, 4);
    EXPECT_TRUE(SameRect(items[1].rect, Rect{20, 0, 40, 60}));
    const auto second = qiva::ItemAt(list, 2);
    ASSERT_TRUE(second);
    EXPECT_EQ(second->offset, items[1].offset);

    // As the last item without its pad byte, it gets one.
    Bytes last = Ditl({{{0, 0, 10, 200}, 8, longest}}, 0);
    const std::size_t before = last.size();
    ASSERT_EQ(qiva::BuildItemList(last).count, 1);
    EXPECT_EQ(last.size(), before + 1);
}

TEST(ItemListTest, DamagedListsKeepWhatFits) {
    struct Case {
        const char* name;
        Bytes bytes;
        int count, dropped;
    };
    Bytes oddLast = Ditl({{{0, 0, 10, 10}, 8, "abc"}}, 0); // no pad byte after the odd text
    Bytes claimsMore = Ditl({{{0, 0, 10, 10}, 8, "ab"}}, 4);
    Bytes cut = Ditl({{{0, 0, 10, 10}, 8, "ab"}, {{0, 0, 10, 10}, 8, "abcd"}}, 1);
    cut.resize(cut.size() - 2);
    const std::vector<Case> cases = {
        {"odd last item grows", oddLast, 1, 0},  {"count beyond the items", claimsMore, 1, 4},
        {"last item cut short", cut, 1, 1},      {"no count word", Bytes{0x00}, 0, 0},
        {"empty list", Bytes{0xFF, 0xFF}, 0, 0},
    };
    for (const Case& c : cases) {
        Bytes list = c.bytes;
        const qiva::BuiltList built = qiva::BuildItemList(list);
        EXPECT_EQ(built.count, c.count) << c.name;
        EXPECT_EQ(built.dropped, c.dropped) << c.name;
        EXPECT_EQ(qiva::ItemCount(list), c.count) << c.name;
        EXPECT_EQ(qiva::AllItems(list).size(), static_cast<std::size_t>(c.count)) << c.name;
        for (const qiva::ItemEntry& e : qiva::AllItems(list))
            EXPECT_LE(e.dataOffset + e.length, list.size()) << c.name;
    }
}

TEST(ItemListTest, NextActiveTextItem) {
    const Rect shown{0, 0, 10, 10}, hidden{0, 16384, 10, 16394};
    auto items = [&](std::vector<std::pair<std::uint8_t, bool>> kinds) {
        std::vector<qiva::ItemEntry> out;
        for (auto [type, isHidden] : kinds) {
            qiva::ItemEntry e;
            e.type = type;
            e.rect = isHidden ? hidden : shown;
            out.push_back(e);
        }
        return out;
    };
    struct Case {
        const char* name;
        std::vector<qiva::ItemEntry> items;
        int from, want;
    };
    const std::vector<Case> cases = {
        {"only item 1 edits, found last", items({{16, false}, {4, false}, {8, false}}), 0, 0},
        {"items 1 and 3 edit: 3 first", items({{16, false}, {4, false}, {16, false}}), 0, 2},
        {"wraps to the first", items({{16, false}, {4, false}, {16, false}}), 2, 0},
        {"disabled text is passed over", items({{16, false}, {16 | 128, false}}), 0, 0},
        {"hidden text is passed over", items({{16, false}, {16, true}}), 0, 0},
        {"static text never", items({{8, false}, {4, false}}), 0, -1},
        {"empty list", {}, 0, -1},
        {"the one active, hidden", items({{16, true}, {4, false}}), 0, -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(qiva::NextEditField(c.items, c.from), c.want) << c.name;
}

TEST(ItemListTest, ParamTextExpansion) {
    const std::array<std::string, 4> params = {"3", "5", "", "long"};
    struct Case {
        std::string text, want;
    };
    const std::vector<Case> cases = {
        {"^0 seeds and ^1 pits", "3 seeds and 5 pits"},
        {"a^9b", "ab"},
        {"^2^3!", "long!"},
        {"end^", "end"},
        {"^^0", "0"},
        {"plain", "plain"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(qiva::ExpandParamText(c.text, params), c.want) << c.text;
    const std::array<std::string, 4> big = {std::string(200, 'x'), std::string(200, 'y'), "", ""};
    const std::string expanded = qiva::ExpandParamText("^0^1^0", big);
    EXPECT_EQ(expanded.size(), qiva::kExpandedTextLimit);
    EXPECT_EQ(expanded.substr(198, 4), "xxyy");
}

Bytes Dlog(const std::string& title, int position, bool pad) {
    Bytes out;
    qiva::BigEndianWriter w(out);
    for (std::int16_t v : {40, 30, 140, 230})
        w.Write<std::int16_t>(v);
    w.Write<std::int16_t>(1);
    w.Write<std::uint16_t>(0x0100);
    w.Write<std::uint16_t>(0);
    w.Write<std::int32_t>(77);
    w.Write<std::int16_t>(300);
    w.U8(static_cast<std::uint8_t>(title.size()));
    out.insert(out.end(), title.begin(), title.end());
    if (pad) w.U8(0);
    if (position >= 0) w.Write<std::uint16_t>(static_cast<std::uint16_t>(position));
    return out;
}

TEST(TemplateTest, DialogTemplates) {
    // One byte follows the title whatever its length; the position word comes after it.
    for (const std::string title : {"", "Odd", "Even"}) {
        const auto t = qiva::ParseDialogTemplate(Dlog(title, 0x3000, true));
        ASSERT_TRUE(t) << title;
        EXPECT_EQ(t->title, title);
        EXPECT_TRUE(SameRect(t->bounds, Rect{40, 30, 140, 230}));
        EXPECT_EQ(t->procID, 1);
        EXPECT_TRUE(t->visible);
        EXPECT_FALSE(t->goAway);
        EXPECT_EQ(t->refCon, 77);
        EXPECT_EQ(t->itemsID, 300);
        EXPECT_EQ(t->position, std::optional<std::uint16_t>(0x3000)) << title;
    }
    EXPECT_FALSE(qiva::ParseDialogTemplate(Dlog("Title", -1, false))->position);
    EXPECT_FALSE(qiva::ParseDialogTemplate(Dlog("Title", -1, true))->position);
    Bytes cut = Dlog("Title", -1, false);
    cut.resize(cut.size() - 2);
    EXPECT_FALSE(qiva::ParseDialogTemplate(cut));
    EXPECT_FALSE(qiva::ParseDialogTemplate(Bytes(10, 0)));
}

TEST(TemplateTest, AlertTemplates) {
    Bytes alrt;
    qiva::BigEndianWriter w(alrt);
    for (std::int16_t v : {0, 0, 100, 300, 128})
        w.Write<std::int16_t>(v);
    w.Write<std::uint16_t>(0xD555);
    auto t = qiva::ParseAlertTemplate(alrt);
    ASSERT_TRUE(t);
    EXPECT_EQ(t->itemsID, 128);
    EXPECT_FALSE(t->position);
    EXPECT_EQ(qiva::DefaultItemOfStages(t->stages), 2);
    EXPECT_EQ(qiva::DefaultItemOfStages(0x5555), 1);
    w.Write<std::uint16_t>(0x300A);
    t = qiva::ParseAlertTemplate(alrt);
    ASSERT_TRUE(t);
    EXPECT_EQ(t->position, std::optional<std::uint16_t>(0x300A));
    EXPECT_FALSE(qiva::ParseAlertTemplate(Bytes(11, 0)));
}

TEST(TemplateTest, PlacementByPositionWord) {
    const Rect screen{20, 0, 450, 640}; // below a 20-pixel menu bar
    const Rect bounds{5, 7, 105, 207};  // 200 × 100
    struct Case {
        std::uint16_t position;
        Rect want;
    };
    const std::vector<Case> cases = {
        {0x0000, {185, 220, 285, 420}}, // centred
        {0x0800, {185, 220, 285, 420}}, // key 8: also centred
        {0x3000, {113, 220, 213, 420}}, // key 48: middle a third of the way down: 20 + 143 − 50
        {0x300A, {113, 220, 213, 420}}, // the low byte does not count
        {0x1800, {20, 0, 120, 200}},    // key 24: top left
        {0xB000, {113, 220, 213, 420}}, // key 176: over the front window, same placement
    };
    for (const Case& c : cases)
        EXPECT_TRUE(SameRect(qiva::PlaceByPosition(bounds, c.position, screen), c.want)) << c.position;
    EXPECT_TRUE(qiva::PositionOverFrontWindow(0xB000));
    EXPECT_FALSE(qiva::PositionOverFrontWindow(0x3000));
}

// A 2 × 2 'cicn' of 8-bit pixels with a two-entry colour table.
Bytes TinyCicn() {
    Bytes out;
    qiva::BigEndianWriter w(out);
    w.U32(0);
    w.Write<std::uint16_t>(0x8000 | 2);
    for (std::int16_t v : {0, 0, 2, 2})
        w.Write<std::int16_t>(v);
    while (out.size() < 32)
        w.U8(0);
    w.Write<std::int16_t>(8); // pixel size
    while (out.size() < 50)
        w.U8(0);
    for (int map = 0; map < 2; ++map) {
        w.U32(0);
        w.Write<std::int16_t>(2);
        for (std::int16_t v : {0, 0, 2, 2})
            w.Write<std::int16_t>(v);
    }
    w.U32(0);
    for (std::uint16_t v : {0x8000, 0x4000}) // mask: top left, bottom right... of the left column
        w.Write<std::uint16_t>(v);
    for (std::uint16_t v : {0x0000, 0x4000})
        w.Write<std::uint16_t>(v);
    w.U32(0);
    w.Write<std::int16_t>(0);
    w.Write<std::int16_t>(1);
    for (std::uint16_t v : {0, 0xFFFF, 0, 0, 1, 0, 0, 0xFFFF})
        w.Write<std::uint16_t>(v);
    for (std::uint8_t v : {1, 0, 0, 1})
        w.U8(v);
    return out;
}

TEST(ColorIconFormatTest, ReadsThePublishedLayout) {
    const Bytes data = TinyCicn();
    std::string error;
    const auto icon = qiva::ParseColorIcon(data, error);
    ASSERT_TRUE(icon) << error;
    EXPECT_EQ(icon->width, 2);
    EXPECT_EQ(icon->height, 2);
    EXPECT_EQ(icon->pixelSize, 8);
    ASSERT_EQ(icon->colours.size(), 2u);
    EXPECT_EQ(icon->colours[1].value, 1);
    EXPECT_EQ(icon->colours[1].rgb.blue, 0xFFFF);
    EXPECT_EQ(icon->mask[0], 0x80);
    EXPECT_EQ(icon->pixels[3], 1);
    // Every shorter copy is refused with a reason, never read past its end.
    for (std::size_t n = 0; n < data.size(); ++n) {
        std::string why;
        EXPECT_FALSE(qiva::ParseColorIcon(std::span(data).first(n), why)) << n;
        EXPECT_FALSE(why.empty()) << n;
    }
    Bytes deep = data;
    deep[33] = 16;
    EXPECT_FALSE(qiva::ParseColorIcon(deep, error));
    Bytes mismatched = data;
    mismatched[50 + 4 + 2 + 6 + 1] = 3; // the mask's right edge
    EXPECT_FALSE(qiva::ParseColorIcon(mismatched, error));
}

} // namespace
