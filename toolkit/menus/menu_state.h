#pragma once
// The Menu Manager's state, shared by its units: the menu list, the bar, the port menus draw in, and
// the menus open while one is tracked (for the state dump).

#include <cstdint>
#include <vector>

#include "toolkit/graphics/quickdraw_types.h"
#include "toolkit/menus/menu_geometry.h"
#include "toolkit/menus/menus.h"

namespace qiva::menus {

inline constexpr std::uint32_t kStaleImage = 0xAAAAAAAA;

struct OpenMenu {
    MenuHandle menu = nullptr;
    Rect rect{};
    std::int16_t hilited = 0;
};

struct State {
    Handle list = nullptr; // MenuListHeader + MenuListEntry[]
    Rect bar{};
    std::int16_t hilited = 0;
    std::int16_t textHeight = 16;
    std::uint32_t image = kStaleImage;
    bool stale = true;
    std::vector<std::int16_t> flashed; // titles (0: the whole bar) inverted an odd number of times
    GrafPort port{};
    bool portOpen = false;
    std::vector<OpenMenu> open;
    Handle savedFlags = nullptr;
};
State& S();

// The list's entries: the bar's first, then the hierarchical ones.
int BarCount();
int ListCount();
MenuListEntry* Entries();
// Index of the menu with that ID in the list, or -1.
int FindInList(std::int16_t menuID);
void InvalidateBar();

// Makes the menu port current with font 0, plain, 12 points; puts back the caller's port.
class MenuPort {
public:
    MenuPort();
    ~MenuPort();
    MenuPort(const MenuPort&) = delete;
    MenuPort& operator=(const MenuPort&) = delete;

private:
    GrafPtr saved_ = nullptr;
};

// Palette indices of the menus' colours: the bar's and the menus' light grey, the grey of disabled
// text and separators, and the highlight blue.
std::uint8_t LightGrey();
std::uint8_t Grey();
std::uint8_t HighlightBlue();
void SetColours(std::uint8_t fore, std::uint8_t back);

// Items of a menu, from 1.
MenuItemRec* ItemAtIndex(MenuHandle menu, int item);
int ItemCount(MenuHandle menu);
bool ItemEnabled(MenuHandle menu, int item);
bool IsSeparator(const MenuItemRec& item);

// Title rectangles of the bar menus, laid out in the menu port's font; stored in each menu too.
std::vector<Rect> LayOutTitles();

// Ascent and line height of the menu font.
struct MenuFont {
    int ascent;
    int lineHeight;
};
MenuFont MeasureFont();

// Per-item sizes for the geometry units.
std::vector<ItemMeasure> MeasureItems(MenuHandle menu);

void DrawTitle(int index, bool hilited);
// One item of a pulled-down menu in its rectangle, highlighted or not.
void DrawItem(MenuHandle menu, int number, const Rect& r, bool hilited);
void DrawWholeBar();

} // namespace qiva::menus
