// The standard menu definition procedure: sizes a menu, draws its items and highlights the one
// under the mouse.

#include <algorithm>
#include <cstring>

#include "toolkit/core/resources.h"
#include "toolkit/graphics/drawing_state.h"
#include "toolkit/graphics/quickdraw.h"
#include "toolkit/menus/menu_state.h"
#include "toolkit/menus/menus.h"

namespace qiva::menus {

namespace {

void Line(int h1, int v1, int h2, int v2) {
    MoveTo(h1, v1);
    LineTo(h2, v2);
}

void DrawMacText(const char* text, int h, int v) {
    MoveTo(h, v);
    DrawText(text, 0, static_cast<int>(std::strlen(text)));
}

// The check mark, drawn rather than taken from the font, which need not have one.
void DrawCheck(int h, int baseline) {
    for (int dx = 0; dx < 2; ++dx) {
        Line(h + dx, baseline - 5, h + 2 + dx, baseline - 2);
        Line(h + 2 + dx, baseline - 2, h + 7 + dx, baseline - 9);
    }
}

// 'ICON' iconNum + 256, a 32 × 32 one-bit image.
void PlotItemIcon(int iconNum, const Rect& where) {
    Handle h = GetResource(MakeResType("ICON"), static_cast<std::int16_t>(iconNum + 256));
    if (!h || !*h || GetHandleSize(h) < 128) return;
    BitMap bits{};
    bits.baseAddr = *h;
    bits.rowBytes = 4;
    bits.bounds = Rect{0, 0, 32, 32};
    const Rect src{0, 0, 32, 32};
    CopyBits(&bits, &qd.screenBits, &src, &where, srcCopy, nullptr);
}

} // namespace

void DrawItem(MenuHandle menu, int number, const Rect& r, bool hilited) {
    const MenuItemRec* item = ItemAtIndex(menu, number);
    if (!item) return;
    MenuPort port;
    const std::uint8_t back = hilited ? HighlightBlue() : LightGrey();
    const std::uint8_t fore = hilited ? kIndexWhite : kIndexBlack;
    SetColours(fore, back);
    EraseRect(&r);
    const MenuFont font = MeasureFont();
    const int width = r.right - r.left - 2;
    if (IsSeparator(*item)) {
        const int v = r.top + (font.ascent + 4) / 2;
        if (fore != kIndexWhite) {
            SetColours(kIndexWhite, back);
            Line(r.left, v, r.left + width - 1, v);
        }
        SetColours(Grey(), back);
        Line(r.left + width - 1, v - 1, r.left, v - 1);
        return;
    }
    const bool enabled = ItemEnabled(menu, number);
    if (!enabled) SetColours(Grey(), back);
    const int height = r.bottom - r.top;
    const int baseline = r.top + (height - font.lineHeight) / 2 + font.ascent;
    if (item->iconNum != 0) {
        const int top = r.top + (height - kIconSize) / 2;
        const Rect where{static_cast<std::int16_t>(top), static_cast<std::int16_t>(r.left + kIconInset),
                         static_cast<std::int16_t>(top + kIconSize),
                         static_cast<std::int16_t>(r.left + kIconInset + kIconSize)};
        PlotItemIcon(item->iconNum, where);
    }
    if (item->markChar != 0 && item->keyEquiv != hMenuCmd) {
        if (item->markChar == checkMark) {
            DrawCheck(r.left + 2, baseline);
        } else {
            MoveTo(r.left + 2, baseline);
            DrawChar(item->markChar);
        }
    }
    const int x = r.left + (item->iconNum != 0 ? kIconTextInset : kTextInset);
    TextFace(item->itemStyle);
    if (!enabled && fore != kIndexWhite) {
        SetColours(kIndexWhite, back);
        DrawMacText(item->itemText, x + 1, baseline + 1);
        SetColours(Grey(), back);
    }
    DrawMacText(item->itemText, x, baseline);
    TextFace(0);
    if (item->keyEquiv == hMenuCmd) {
        const int h = r.right - kKeyColumn + 10, v = baseline + 2 - font.ascent;
        for (int k = 0; k < 6; ++k)
            Line(h + k, v + k, h + k, v + k + 10 - 2 * k);
    } else if (item->keyEquiv != 0) {
        MoveTo(r.right - kKeyColumn, baseline);
        DrawChar(commandMark);
        DrawChar(item->keyEquiv);
    }
}

} // namespace qiva::menus

using namespace qiva::menus;

namespace qiva {

void StandardMenuDef(std::int16_t message, MenuHandle menu, Rect* menuRect, Point hitPt,
                     std::int16_t* whichItem) {
    if (!menu || !*menu) return;
    const std::vector<ItemMeasure> items = MeasureItems(menu);
    const int lineHeight = MeasureFont().lineHeight;
    switch (message) {
    case mSizeMsg: {
        const MenuSize size = MeasureMenu(items, lineHeight);
        (*menu)->menuWidth = static_cast<std::int16_t>(size.width);
        (*menu)->menuHeight = static_cast<std::int16_t>(size.height);
        break;
    }
    case mDrawMsg: {
        if (!menuRect) return;
        MenuPort port;
        qiva::BeginDrawing();
        const std::vector<Rect> rects = ItemRects(*menuRect, items, lineHeight);
        for (std::size_t i = 0; i < rects.size(); ++i)
            DrawItem(menu, static_cast<int>(i + 1), rects[i], false);
        qiva::EndDrawing();
        break;
    }
    case mChooseMsg: {
        if (!menuRect || !whichItem) return;
        const std::vector<Rect> rects = ItemRects(*menuRect, items, lineHeight);
        int hit = ItemAt(rects, hitPt);
        if (hit != 0 && !ItemEnabled(menu, hit)) hit = 0;
        if (hit == *whichItem) return;
        MenuPort port;
        qiva::BeginDrawing();
        if (*whichItem > 0 && *whichItem <= static_cast<int>(rects.size()))
            DrawItem(menu, *whichItem, rects[static_cast<std::size_t>(*whichItem - 1)], false);
        if (hit != 0) DrawItem(menu, hit, rects[static_cast<std::size_t>(hit - 1)], true);
        qiva::EndDrawing();
        *whichItem = static_cast<std::int16_t>(hit);
        break;
    }
    case mPopUpMsg: {
        if (!menuRect || !whichItem) return;
        const MenuSize size{(*menu)->menuWidth, (*menu)->menuHeight};
        *menuRect = PlacePopUp(hitPt.v, hitPt.h, *whichItem, items, lineHeight, size, S().port.portRect,
                               S().bar.bottom);
        break;
    }
    default:
        break;
    }
}

} // namespace qiva
