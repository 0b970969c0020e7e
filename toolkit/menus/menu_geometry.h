#pragma once
// Where the parts of the menu bar and of a pulled-down menu go. State-free: text widths and heights
// are measured by the caller and passed in.

#include <cstdint>
#include <span>
#include <vector>

#include "toolkit/core/geometry.h"

namespace qiva {

inline constexpr int kBarHeight = 20; // 19 rows of titles and the bottom line
inline constexpr int kTitleHeight = 19;
inline constexpr int kFirstTitleInset = 10; // from the bar's left edge to the first title
inline constexpr int kTitlePadding = 14;    // a title is its text plus 7 pixels each side
inline constexpr int kRightMargin = 8;      // a menu keeps this far from the screen's right edge
inline constexpr int kTextInset = 18;       // item text from the item's left edge
inline constexpr int kIconTextInset = 50;   // the same with an icon
inline constexpr int kIconInset = 16;       // icon from the item's left edge
inline constexpr int kIconSize = 32;
inline constexpr int kIconItemHeight = 36;
inline constexpr int kKeyColumn = 32;    // key equivalents start this far left of the right edge
inline constexpr int kTextRightPad = 12; // room after an item's text when it has no key

// Title rectangles from bar.left + 10, each 14 + its text width wide and 19 high.
std::vector<Rect> LayoutTitles(const Rect& bar, std::span<const int> textWidths);

// The index of the title holding `pt`, or -1.
int TitleAt(std::span<const Rect> titles, Point pt);

struct ItemMeasure {
    int textWidth = 0; // in the item's style
    bool icon = false;
    bool keyColumn = false; // a key equivalent or a hierarchical triangle
};

// The height of one item for the font's line height.
int ItemHeight(const ItemMeasure& item, int lineHeight);

struct MenuSize {
    int width = 0;
    int height = 0;
};
MenuSize MeasureMenu(std::span<const ItemMeasure> items, int lineHeight);

// Item rectangles of a menu whose items are laid out from menuRect's top.
std::vector<Rect> ItemRects(const Rect& menuRect, std::span<const ItemMeasure> items, int lineHeight);

// The item (from 1) whose rectangle holds pt, or 0.
int ItemAt(std::span<const Rect> itemRects, Point pt);

// A pulled-down menu of that size under its title: its left edge under the title's, moved left so
// that its right edge stays kRightMargin from the screen's right edge (and never past the screen's
// left edge).
Rect PlaceMenu(const Rect& title, int top, MenuSize size, const Rect& screen);

// A menu to the right of the item that opens it, its first item level with that item; moved to the
// item's left side when it would not fit, and up when it would pass the screen's bottom.
Rect PlaceSubmenu(const Rect& item, MenuSize size, const Rect& screen);

// A pop-up menu at `left` whose item `item` (from 1; 0 for none) has its top at `top`, kept inside the
// screen below `minTop`.
Rect PlacePopUp(int top, int left, int item, std::span<const ItemMeasure> items, int lineHeight,
                MenuSize size, const Rect& screen, int minTop);

// What a menu frame covers: its rectangle, a one-pixel frame, and a one-pixel shadow right and below.
Rect MenuFrameArea(const Rect& menuRect);

// The bar's enable image: bit n is bit 0 of the enable flags of bar menu n.
std::uint32_t EnableImage(std::span<const std::uint32_t> enableFlags);

} // namespace qiva
