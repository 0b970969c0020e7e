#include "toolkit/menus/menu_state.h"

#include <algorithm>
#include <cstring>

#include "toolkit/graphics/quickdraw.h"

namespace qiva::menus {

State& S() {
    static State state;
    return state;
}

namespace {
MenuListHeader* Header() {
    return S().list ? reinterpret_cast<MenuListHeader*>(*S().list) : nullptr;
}
} // namespace

int BarCount() {
    return Header() ? Header()->lastMenu : 0;
}

int ListCount() {
    return Header() ? Header()->lastMenu + Header()->lastHMenu : 0;
}

MenuListEntry* Entries() {
    return S().list ? reinterpret_cast<MenuListEntry*>(*S().list + sizeof(MenuListHeader)) : nullptr;
}

int FindInList(std::int16_t menuID) {
    const int n = ListCount();
    for (int i = 0; i < n; ++i)
        if ((*Entries()[i].menuOH)->menuID == menuID) return i;
    return -1;
}

void InvalidateBar() {
    S().image = kStaleImage;
    S().stale = true;
}

MenuPort::MenuPort() {
    GetPort(&saved_);
    SetPort(&S().port);
    TextFont(0);
    TextFace(0);
    TextSize(12);
    TextMode(srcOr);
}

MenuPort::~MenuPort() {
    SetPort(saved_);
}

// Greys of the palette's ramp (227 + j holds grey j + 2 tenths), whose xor inversions are greys again,
// so that a flashed bar comes back exactly; the nearest lookup would give a static colour.
std::uint8_t LightGrey() {
    return 245; // 208 on each component
}

std::uint8_t Grey() {
    return 240; // 161
}

std::uint8_t HighlightBlue() {
    const RGBColor blue{0, 0, 0xD000};
    return static_cast<std::uint8_t>(Color2Index(&blue));
}

void SetColours(std::uint8_t fore, std::uint8_t back) {
    // The menu port is ours alone and records nothing, so its indices are set directly: a colour
    // looked up by value could land on another index holding the same colour.
    S().port.fgIndex = fore;
    S().port.bkIndex = back;
}

MenuItemRec* ItemAtIndex(MenuHandle menu, int item) {
    if (!menu || !*menu || item < 1) return nullptr;
    MenuItemRec* it = (*menu)->firstItem;
    for (int i = 1; it && i < item; ++i)
        it = it->next;
    return it;
}

int ItemCount(MenuHandle menu) {
    int n = 0;
    if (menu && *menu)
        for (MenuItemRec* it = (*menu)->firstItem; it; it = it->next)
            ++n;
    return n;
}

bool IsSeparator(const MenuItemRec& item) {
    return item.itemText && item.itemText[0] == '-';
}

bool ItemEnabled(MenuHandle menu, int item) {
    const MenuItemRec* it = ItemAtIndex(menu, item);
    if (!it || IsSeparator(*it)) return false;
    const std::uint32_t flags = (*menu)->enableFlags;
    if ((flags & 1) == 0) return false;
    return item > 31 || ((flags >> item) & 1) != 0;
}

MenuFont MeasureFont() {
    MenuPort port;
    FontInfo info{};
    GetFontInfo(&info);
    return {info.ascent, std::max(16, info.ascent + info.descent + info.leading)};
}

namespace {
int MacTextWidth(const char* text) {
    return text ? TextWidth(text, 0, static_cast<int>(std::strlen(text))) : 0;
}
} // namespace

std::vector<Rect> LayOutTitles() {
    MenuPort port;
    std::vector<int> widths;
    for (int i = 0; i < BarCount(); ++i)
        widths.push_back(MacTextWidth((*Entries()[i].menuOH)->menuData));
    std::vector<Rect> titles = LayoutTitles(S().bar, widths);
    for (int i = 0; i < BarCount(); ++i) {
        (*Entries()[i].menuOH)->titleRect = titles[static_cast<std::size_t>(i)];
        Entries()[i].menuLeft = titles[static_cast<std::size_t>(i)].left;
    }
    if (MenuListHeader* h = Header()) h->lastRight = titles.empty() ? S().bar.left : titles.back().right;
    return titles;
}

std::vector<ItemMeasure> MeasureItems(MenuHandle menu) {
    MenuPort port;
    std::vector<ItemMeasure> items;
    for (MenuItemRec* it = (*menu)->firstItem; it; it = it->next) {
        ItemMeasure m;
        if (!IsSeparator(*it)) {
            TextFace(it->itemStyle);
            m.textWidth = MacTextWidth(it->itemText);
            TextFace(0);
        }
        m.icon = it->iconNum != 0;
        m.keyColumn = it->keyEquiv != 0;
        items.push_back(m);
    }
    return items;
}

} // namespace qiva::menus
