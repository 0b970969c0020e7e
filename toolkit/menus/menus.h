#pragma once
// The Menu Manager: menus built in memory or read from 'MENU' resources, the menu bar at the top of
// the screen (read from 'MBAR'), pull-down, hierarchical and pop-up menus chosen with the mouse,
// command keys, item states, marks and styles. Texts are zero-terminated, in the Macintosh set.

#include <cstdint>

#include "toolkit/core/geometry.h"
#include "toolkit/core/mac_types.h"

struct MenuInfo;
using MenuPtr = MenuInfo*;
using MenuHandle = MenuPtr*;

// Messages of a menu definition procedure.
enum : std::int16_t { mDrawMsg = 0, mChooseMsg = 1, mSizeMsg = 2, mPopUpMsg = 3 };

// mDrawMsg: draw the items in *menuRect. mChooseMsg: *whichItem is the highlighted item; highlight the
// enabled item under hitPt instead (0 for none). mSizeMsg: set menuWidth and menuHeight. mPopUpMsg:
// *menuRect becomes the menu's place with item *whichItem's top at hitPt.v and its left at hitPt.h.
using MenuDefProcPtr = void (*)(std::int16_t message, MenuHandle menu, Rect* menuRect, Point hitPt,
                                std::int16_t* whichItem);
// Draws a pop-up menu in place of the definition procedure's mDrawMsg.
using MenuDrawProcPtr = void (*)(MenuHandle menu, const Rect* menuRect);

// One item, in a singly linked list in item order.
struct MenuItemRec {
    char* itemText; // zero-terminated copy
    std::uint8_t iconNum;
    std::uint8_t keyEquiv; // 27: the item opens the hierarchical menu whose ID is in markChar
    std::uint8_t markChar; // 18 is the check mark
    std::uint8_t itemStyle;
    std::int16_t reserved; // -1
    MenuItemRec* next;
};

struct MenuInfo {
    std::int16_t menuID;
    std::int16_t menuWidth;
    std::int16_t menuHeight;
    MenuDefProcPtr menuProc;
    std::uint32_t enableFlags; // bit 0: the whole menu; bit n: item n (1 to 31)
    char* menuData;            // the title, zero-terminated
    MenuItemRec* firstItem;
    std::int16_t hierarchical; // 1 for a menu inserted as hierarchical, 0 for a bar menu
    Rect titleRect;            // in the bar, once laid out
    std::int16_t reserved;     // -1
    std::uint8_t keyLetter;    // Alt with this letter opens the menu
    MenuDrawProcPtr drawProc;
};

// The menu list: this header, then one entry per menu, the bar's in bar order, then the
// hierarchical ones. The header is aligned as a handle, so that the entries after it are too.
struct alignas(MenuHandle) MenuListHeader {
    std::int16_t lastMenu; // menus in the bar
    std::int16_t lastRight;
    std::int16_t mbResID;
    std::int16_t lastHMenu; // hierarchical menus
    std::int16_t reserved[2];
};
struct MenuListEntry {
    MenuHandle menuOH;
    std::int16_t menuLeft;
};

constexpr std::int16_t hierMenu = -1; // InsertMenu's beforeID for a hierarchical menu
constexpr std::uint8_t checkMark = 18;
constexpr std::uint8_t commandMark = 17;
constexpr std::uint8_t noMark = 0;
constexpr std::uint8_t hMenuCmd = 27;

void InitMenus();
MenuHandle NewMenu(std::int16_t menuID, const char* menuTitle);
MenuHandle GetMenu(std::int16_t resourceID);
void DisposeMenu(MenuHandle menu);
void AppendMenu(MenuHandle menu, const char* data);
void AddResMenu(MenuHandle menu, ResType type);
void AppendResMenu(MenuHandle menu, ResType type);
void InsertMenu(MenuHandle menu, std::int16_t beforeID);
void DeleteMenu(std::int16_t menuID);
void ClearMenuBar();
void DrawMenuBar();
void InvalMenuBar();
Handle GetNewMBar(std::int16_t menuBarID);
Handle GetMenuBar();
OSErr SetMenuBar(Handle menuList);
MenuHandle GetMenuHandle(std::int16_t menuID);
MenuHandle GetMHandle(std::int16_t menuID);

std::int16_t CountMItems(MenuHandle menu);
void GetItem(MenuHandle menu, std::int16_t item, char* itemString); // room for 256 bytes
void SetItem(MenuHandle menu, std::int16_t item, const char* itemString);
void GetMenuItemText(MenuHandle menu, std::int16_t item, char* itemString);
void SetMenuItemText(MenuHandle menu, std::int16_t item, const char* itemString);
void EnableItem(MenuHandle menu, std::int16_t item);
void DisableItem(MenuHandle menu, std::int16_t item);
void CheckItem(MenuHandle menu, std::int16_t item, Boolean checked);
void SetItemMark(MenuHandle menu, std::int16_t item, std::int16_t markChar);
void GetItemMark(MenuHandle menu, std::int16_t item, std::int16_t* markChar);
void SetItemStyle(MenuHandle menu, std::int16_t item, std::int16_t chStyle);
void GetItemStyle(MenuHandle menu, std::int16_t item, std::uint8_t* chStyle);
void SetItemIcon(MenuHandle menu, std::int16_t item, std::int16_t iconIndex);
void GetItemIcon(MenuHandle menu, std::int16_t item, std::int16_t* iconIndex);
void SetItemCmd(MenuHandle menu, std::int16_t item, std::int16_t cmdChar);
void GetItemCmd(MenuHandle menu, std::int16_t item, std::int16_t* cmdChar);

void HiliteMenu(std::int16_t menuID);
void FlashMenuBar(std::int16_t menuID);
std::int32_t MenuSelect(Point startPt);
std::int32_t MenuKey(std::int16_t ch);
std::int32_t PopUpMenuSelect(MenuHandle menu, std::int16_t top, std::int16_t left, std::int16_t popUpItem);
void CalcMenuSize(MenuHandle menu);

namespace qiva {

// The standard menu definition procedure every menu starts with.
void StandardMenuDef(std::int16_t message, MenuHandle menu, Rect* menuRect, Point hitPt,
                     std::int16_t* whichItem);

// Around modal dialogs: saves every bar menu's enable flags and disables the menus; restoring puts
// the saved flags back (of the menus still in the bar), frees the copy and redraws the bar.
void SaveMenuEnableStates();
void RestoreMenuEnableStates();

// The menu bar's rectangle (the strip at the top of the screen) and the highlighted menu.
Rect MenuBarRect();
std::int16_t HilitedMenu();

// Ends the Menu Manager: disposes the list (not the menus, which are the application's) and its port
// (tests, before the graphics layer ends).
void CloseMenus();

} // namespace qiva
