#include "toolkit/menus/menu_geometry.h"

#include <algorithm>

namespace qiva {

namespace {

Rect MakeRect(int left, int top, int right, int bottom) {
    return Rect{static_cast<std::int16_t>(top), static_cast<std::int16_t>(left),
                static_cast<std::int16_t>(bottom), static_cast<std::int16_t>(right)};
}

bool Contains(const Rect& r, Point pt) {
    return pt.h >= r.left && pt.h < r.right && pt.v >= r.top && pt.v < r.bottom;
}

} // namespace

std::vector<Rect> LayoutTitles(const Rect& bar, std::span<const int> textWidths) {
    std::vector<Rect> titles;
    int x = bar.left + kFirstTitleInset;
    for (int w : textWidths) {
        const int right = x + kTitlePadding + w;
        titles.push_back(MakeRect(x, bar.top, right, bar.top + kTitleHeight));
        x = right;
    }
    return titles;
}

int TitleAt(std::span<const Rect> titles, Point pt) {
    for (std::size_t i = 0; i < titles.size(); ++i)
        if (Contains(titles[i], pt)) return static_cast<int>(i);
    return -1;
}

int ItemHeight(const ItemMeasure& item, int lineHeight) {
    return item.icon ? std::max(kIconItemHeight, lineHeight) : lineHeight;
}

MenuSize MeasureMenu(std::span<const ItemMeasure> items, int lineHeight) {
    MenuSize size;
    for (const ItemMeasure& item : items) {
        const int inset = item.icon ? kIconTextInset : kTextInset;
        const int tail = item.keyColumn ? kKeyColumn + kTextRightPad : kTextRightPad;
        size.width = std::max(size.width, inset + item.textWidth + tail);
        size.height += ItemHeight(item, lineHeight);
    }
    return size;
}

std::vector<Rect> ItemRects(const Rect& menuRect, std::span<const ItemMeasure> items, int lineHeight) {
    std::vector<Rect> rects;
    int top = menuRect.top;
    for (const ItemMeasure& item : items) {
        const int h = ItemHeight(item, lineHeight);
        rects.push_back(MakeRect(menuRect.left, top, menuRect.right, top + h));
        top += h;
    }
    return rects;
}

int ItemAt(std::span<const Rect> itemRects, Point pt) {
    for (std::size_t i = 0; i < itemRects.size(); ++i)
        if (Contains(itemRects[i], pt)) return static_cast<int>(i + 1);
    return 0;
}

Rect PlaceMenu(const Rect& title, int top, MenuSize size, const Rect& screen) {
    int left = title.left;
    if (left + size.width > screen.right - kRightMargin) left = screen.right - kRightMargin - size.width;
    left = std::max<int>(left, screen.left);
    return MakeRect(left, top, left + size.width, top + size.height);
}

Rect PlaceSubmenu(const Rect& item, MenuSize size, const Rect& screen) {
    int left = item.right - 2;
    if (left + size.width > screen.right - kRightMargin) left = item.left - size.width + 2;
    left = std::max<int>(left, screen.left);
    int top = item.top;
    if (top + size.height > screen.bottom) top = screen.bottom - size.height;
    top = std::max<int>(top, screen.top);
    return MakeRect(left, top, left + size.width, top + size.height);
}

Rect PlacePopUp(int top, int left, int item, std::span<const ItemMeasure> items, int lineHeight,
                MenuSize size, const Rect& screen, int minTop) {
    int above = 0;
    for (int i = 1; i < item && i <= static_cast<int>(items.size()); ++i)
        above += ItemHeight(items[static_cast<std::size_t>(i - 1)], lineHeight);
    int menuTop = top - above;
    if (menuTop + size.height > screen.bottom) menuTop = screen.bottom - size.height;
    menuTop = std::max(menuTop, minTop);
    if (left + size.width > screen.right - kRightMargin) left = screen.right - kRightMargin - size.width;
    left = std::max<int>(left, screen.left);
    return MakeRect(left, menuTop, left + size.width, menuTop + size.height);
}

Rect MenuFrameArea(const Rect& menuRect) {
    return MakeRect(menuRect.left - 1, menuRect.top - 1, menuRect.right + 2, menuRect.bottom + 2);
}

std::uint32_t EnableImage(std::span<const std::uint32_t> enableFlags) {
    std::uint32_t image = 0;
    for (std::size_t i = 0; i < enableFlags.size() && i < 32; ++i)
        image |= (enableFlags[i] & 1u) << i;
    return image;
}

} // namespace qiva
