// The menu bar: its drawing, the enable-state cache behind DrawMenuBar, highlighting and flashing.

#include <algorithm>
#include <cstring>

#include "toolkit/graphics/drawing_state.h"
#include "toolkit/graphics/quickdraw.h"
#include "toolkit/menus/menu_state.h"
#include "toolkit/menus/menus.h"

namespace qiva::menus {

namespace {

void DrawTitleText(const char* text, int h, int v) {
    MoveTo(h, v);
    DrawText(text, 0, static_cast<int>(std::strlen(text)));
}

int BarIndexOf(std::int16_t menuID) {
    const int at = FindInList(menuID);
    return at >= 0 && at < BarCount() ? at : -1;
}

} // namespace

void DrawTitle(int index, bool hilited) {
    MenuPort port;
    const MenuInfo& m = **Entries()[index].menuOH;
    const Rect r = m.titleRect;
    const char* text = m.menuData ? m.menuData : "";
    const std::uint8_t blue = HighlightBlue();
    if (m.enableFlags & 1) {
        SetColours(hilited ? kIndexWhite : kIndexBlack, hilited ? blue : LightGrey());
        EraseRect(&r);
        DrawTitleText(text, r.left + 7, r.top + 14);
    } else if (hilited) {
        SetColours(Grey(), blue);
        EraseRect(&r);
        DrawTitleText(text, r.left + 7, r.top + 14);
    } else {
        // Engraved: a white copy one pixel right and down under the grey text.
        SetColours(kIndexWhite, LightGrey());
        EraseRect(&r);
        DrawTitleText(text, r.left + 8, r.top + 15);
        SetColours(Grey(), LightGrey());
        DrawTitleText(text, r.left + 7, r.top + 14);
    }
}

void DrawWholeBar() {
    MenuPort port;
    BeginDrawing();
    const Rect bar = S().bar;
    SetColours(kIndexBlack, LightGrey());
    MoveTo(bar.left, bar.bottom - 1);
    LineTo(bar.right - 1, bar.bottom - 1);
    const Rect head{bar.top, bar.left, static_cast<std::int16_t>(bar.bottom - 1),
                    static_cast<std::int16_t>(bar.left + kFirstTitleInset)};
    EraseRect(&head);
    const std::vector<Rect> titles = LayOutTitles();
    for (int i = 0; i < BarCount(); ++i)
        DrawTitle(i, (*Entries()[i].menuOH)->menuID == S().hilited);
    SetColours(kIndexBlack, LightGrey());
    const Rect rest{bar.top, titles.empty() ? head.right : titles.back().right,
                    static_cast<std::int16_t>(bar.bottom - 1), bar.right};
    EraseRect(&rest);
    EndDrawing();
}

} // namespace qiva::menus

using namespace qiva::menus;

void DrawMenuBar() {
    if (!S().list || !S().portOpen) return;
    std::vector<std::uint32_t> flags;
    for (int i = 0; i < BarCount(); ++i)
        flags.push_back((*Entries()[i].menuOH)->enableFlags);
    const std::uint32_t image = qiva::EnableImage(flags);
    if (!S().stale && image == S().image && S().hilited == 0 && S().flashed.empty()) return;
    DrawWholeBar();
    S().image = image;
    S().stale = false;
    S().flashed.clear();
}

void InvalMenuBar() {
    InvalidateBar();
}

void HiliteMenu(std::int16_t menuID) {
    if (!S().list || !S().portOpen || menuID == S().hilited) return;
    LayOutTitles();
    const int old = BarIndexOf(S().hilited);
    S().hilited = 0;
    if (old >= 0) DrawTitle(old, false);
    const int now = menuID ? BarIndexOf(menuID) : -1;
    if (now >= 0) {
        DrawTitle(now, true);
        S().hilited = menuID;
    }
}

void FlashMenuBar(std::int16_t menuID) {
    if (!S().portOpen) return;
    Rect r = S().bar;
    if (menuID != 0) {
        const int at = BarIndexOf(menuID);
        if (at < 0) return;
        LayOutTitles();
        r = (*Entries()[at].menuOH)->titleRect;
    }
    {
        MenuPort port;
        InvertRect(&r);
    }
    auto& flashed = S().flashed;
    if (const auto it = std::find(flashed.begin(), flashed.end(), menuID); it != flashed.end())
        flashed.erase(it);
    else
        flashed.push_back(menuID);
}
