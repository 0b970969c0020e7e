// Menus and their items: making, reading from 'MENU', appending, and the item calls.

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

#include "toolkit/core/memory.h"
#include "toolkit/core/resources.h"
#include "toolkit/graphics/face_table.h"
#include "toolkit/graphics/text.h"
#include "toolkit/menus/menu_items_parse.h"
#include "toolkit/menus/menu_resource.h"
#include "toolkit/menus/menu_state.h"
#include "toolkit/menus/menus.h"

using namespace qiva::menus;

namespace {

char* CopyText(std::string_view text) {
    Ptr p = NewPtr(static_cast<Size>(text.size() + 1));
    if (!p) return nullptr;
    std::memcpy(p, text.data(), text.size());
    p[text.size()] = 0;
    return p;
}

std::uint8_t KeyLetterOf(const char* title) {
    const auto c = static_cast<std::uint8_t>(title ? title[0] : 0);
    return c >= 'a' && c <= 'z' ? static_cast<std::uint8_t>(c & ~0x20) : c;
}

// Appends one item; false when memory runs out (the menu keeps the items it had).
bool AddItem(MenuHandle menu, const qiva::ParsedItem& parsed) {
    auto* item = reinterpret_cast<MenuItemRec*>(NewPtrClear(sizeof(MenuItemRec)));
    if (!item) return false;
    item->itemText = CopyText(parsed.text);
    if (!item->itemText) {
        DisposePtr(reinterpret_cast<Ptr>(item));
        return false;
    }
    item->iconNum = parsed.icon;
    item->keyEquiv = parsed.key;
    item->markChar = parsed.mark;
    item->itemStyle = parsed.style;
    item->reserved = -1;
    MenuItemRec** link = &(*menu)->firstItem;
    int number = 1;
    for (; *link; link = &(*link)->next)
        ++number;
    *link = item;
    if (number <= 31) {
        if (parsed.enabled)
            (*menu)->enableFlags |= 1u << number;
        else
            (*menu)->enableFlags &= ~(1u << number);
    }
    return true;
}

void FreeItems(MenuHandle menu) {
    for (MenuItemRec* it = (*menu)->firstItem; it;) {
        MenuItemRec* next = it->next;
        DisposePtr(it->itemText);
        DisposePtr(reinterpret_cast<Ptr>(it));
        it = next;
    }
    (*menu)->firstItem = nullptr;
}

bool ValidMenu(MenuHandle menu) {
    return menu && *menu;
}

bool HasItemNamed(MenuHandle menu, const std::string& name) {
    for (const MenuItemRec* it = (*menu)->firstItem; it; it = it->next)
        if (it->itemText && name == it->itemText) return true;
    return false;
}

// The bar's look depends on the menu's title and its enable bit: a change to a bar menu's makes the
// next DrawMenuBar draw.
void TouchBarMenu(MenuHandle menu) {
    const int at = FindInList((*menu)->menuID);
    if (at >= 0 && at < BarCount()) InvalidateBar();
}

} // namespace

MenuHandle NewMenu(std::int16_t menuID, const char* menuTitle) {
    auto menu = reinterpret_cast<MenuHandle>(NewHandleClear(sizeof(MenuInfo)));
    if (!menu) return nullptr;
    MenuInfo& m = **menu;
    m.menuID = menuID;
    m.menuProc = &qiva::StandardMenuDef;
    m.enableFlags = 0xFFFFFFFF;
    m.menuData = CopyText(menuTitle ? menuTitle : "");
    if (!m.menuData) {
        DisposeHandle(reinterpret_cast<Handle>(menu));
        return nullptr;
    }
    m.reserved = -1;
    m.keyLetter = KeyLetterOf(m.menuData);
    InvalidateBar();
    return menu;
}

MenuHandle GetMenu(std::int16_t resourceID) {
    Handle h = GetResource(MakeResType("MENU"), resourceID);
    if (!h || !*h) return nullptr;
    const auto parsed = qiva::ParseMenuResource(
        {reinterpret_cast<const std::uint8_t*>(*h), static_cast<std::size_t>(GetHandleSize(h))});
    if (!parsed) return nullptr;
    MenuHandle menu = NewMenu(parsed->id, parsed->title.c_str());
    if (!menu) return nullptr;
    for (const qiva::ParsedItem& item : parsed->items) {
        if (!AddItem(menu, item)) {
            DisposeMenu(menu);
            return nullptr;
        }
    }
    (*menu)->enableFlags = parsed->enableFlags;
    return menu;
}

void DisposeMenu(MenuHandle menu) {
    if (!ValidMenu(menu)) return;
    FreeItems(menu);
    DisposePtr((*menu)->menuData);
    DisposeHandle(reinterpret_cast<Handle>(menu));
}

void AppendMenu(MenuHandle menu, const char* data) {
    if (!ValidMenu(menu) || !data) return;
    for (const qiva::ParsedItem& item : qiva::ParseMenuItems(data))
        if (!AddItem(menu, item)) return;
}

void AddResMenu(MenuHandle menu, ResType type) {
    if (!ValidMenu(menu)) return;
    const std::int16_t count = CountResources(type);
    SetResLoad(false);
    for (std::int16_t i = 1; i <= count; ++i) {
        Handle h = GetIndResource(type, i);
        if (!h) continue;
        char name[256] = {};
        std::int16_t id = 0;
        ResType t = 0;
        GetResInfo(h, &id, &t, name);
        if (name[0] == 0) continue;
        qiva::ParsedItem item;
        item.text = name;
        if (!AddItem(menu, item)) break;
    }
    SetResLoad(true);
    if (type != MakeResType("FONT")) return;
    // The text layer's faces complete the list: those no font resource has named already.
    for (const qiva::FaceEntry& face : qiva::FaceTable()) {
        if (face.name.empty() || HasItemNamed(menu, face.name)) continue;
        qiva::ParsedItem item;
        item.text = face.name;
        if (!AddItem(menu, item)) return;
    }
}

void AppendResMenu(MenuHandle menu, ResType type) {
    AddResMenu(menu, type);
}

std::int16_t CountMItems(MenuHandle menu) {
    return static_cast<std::int16_t>(ItemCount(menu));
}

void GetItem(MenuHandle menu, std::int16_t item, char* itemString) {
    if (!itemString) return;
    itemString[0] = 0;
    const MenuItemRec* it = ItemAtIndex(menu, item);
    if (!it || !it->itemText) return;
    const std::size_t n = std::min<std::size_t>(std::strlen(it->itemText), 255);
    std::memcpy(itemString, it->itemText, n);
    itemString[n] = 0;
}

void SetItem(MenuHandle menu, std::int16_t item, const char* itemString) {
    MenuItemRec* it = ItemAtIndex(menu, item);
    if (!it || !itemString) return;
    char* text = CopyText(itemString);
    if (!text) return;
    DisposePtr(it->itemText);
    it->itemText = text;
}

void GetMenuItemText(MenuHandle menu, std::int16_t item, char* itemString) {
    GetItem(menu, item, itemString);
}

void SetMenuItemText(MenuHandle menu, std::int16_t item, const char* itemString) {
    SetItem(menu, item, itemString);
}

void EnableItem(MenuHandle menu, std::int16_t item) {
    if (!ValidMenu(menu) || item < 0 || item > 31) return;
    const std::uint32_t before = (*menu)->enableFlags;
    (*menu)->enableFlags |= 1u << item;
    if (item == 0 && before != (*menu)->enableFlags) TouchBarMenu(menu);
}

void DisableItem(MenuHandle menu, std::int16_t item) {
    if (!ValidMenu(menu) || item < 0 || item > 31) return;
    const std::uint32_t before = (*menu)->enableFlags;
    (*menu)->enableFlags &= ~(1u << item);
    if (item == 0 && before != (*menu)->enableFlags) TouchBarMenu(menu);
}

void CheckItem(MenuHandle menu, std::int16_t item, Boolean checked) {
    if (MenuItemRec* it = ItemAtIndex(menu, item)) it->markChar = checked ? checkMark : noMark;
}

void SetItemMark(MenuHandle menu, std::int16_t item, std::int16_t markChar) {
    if (MenuItemRec* it = ItemAtIndex(menu, item)) it->markChar = static_cast<std::uint8_t>(markChar);
}

void GetItemMark(MenuHandle menu, std::int16_t item, std::int16_t* markChar) {
    if (!markChar) return;
    const MenuItemRec* it = ItemAtIndex(menu, item);
    *markChar = it ? it->markChar : 0;
}

void SetItemStyle(MenuHandle menu, std::int16_t item, std::int16_t chStyle) {
    if (MenuItemRec* it = ItemAtIndex(menu, item)) it->itemStyle = static_cast<std::uint8_t>(chStyle);
}

void GetItemStyle(MenuHandle menu, std::int16_t item, std::uint8_t* chStyle) {
    if (!chStyle) return;
    const MenuItemRec* it = ItemAtIndex(menu, item);
    *chStyle = it ? it->itemStyle : 0;
}

void SetItemIcon(MenuHandle menu, std::int16_t item, std::int16_t iconIndex) {
    if (MenuItemRec* it = ItemAtIndex(menu, item)) it->iconNum = static_cast<std::uint8_t>(iconIndex);
}

void GetItemIcon(MenuHandle menu, std::int16_t item, std::int16_t* iconIndex) {
    if (!iconIndex) return;
    const MenuItemRec* it = ItemAtIndex(menu, item);
    *iconIndex = it ? it->iconNum : 0;
}

void SetItemCmd(MenuHandle menu, std::int16_t item, std::int16_t cmdChar) {
    if (MenuItemRec* it = ItemAtIndex(menu, item)) it->keyEquiv = static_cast<std::uint8_t>(cmdChar);
}

void GetItemCmd(MenuHandle menu, std::int16_t item, std::int16_t* cmdChar) {
    if (!cmdChar) return;
    const MenuItemRec* it = ItemAtIndex(menu, item);
    *cmdChar = it ? it->keyEquiv : 0;
}

void CalcMenuSize(MenuHandle menu) {
    if (!ValidMenu(menu) || !(*menu)->menuProc) return;
    Rect r{};
    std::int16_t item = 0;
    (*menu)->menuProc(mSizeMsg, menu, &r, Point{0, 0}, &item);
}
