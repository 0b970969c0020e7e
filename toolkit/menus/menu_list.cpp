// The menu list: InitMenus, the bar's and the hierarchical menus, menu bars from 'MBAR', and the
// enable states saved around modal dialogs.

#include <algorithm>
#include <cstring>

#include "toolkit/core/events.h"
#include "toolkit/core/memory.h"
#include "toolkit/core/resources.h"
#include "toolkit/core/shell.h"
#include "toolkit/core/sound.h"
#include "toolkit/core/state_dump.h"
#include "toolkit/graphics/quickdraw.h"
#include "toolkit/menus/menu_dump.h"
#include "toolkit/menus/menu_resource.h"
#include "toolkit/menus/menu_state.h"
#include "toolkit/menus/menus.h"
#include "toolkit/windows/windows.h"

using namespace qiva::menus;

namespace {

constexpr Size kHeaderSize = sizeof(MenuListHeader);
constexpr Size kEntrySize = sizeof(MenuListEntry);
constexpr OSErr paramErr = -50;

MenuListHeader& HeaderOf(Handle list) {
    return *reinterpret_cast<MenuListHeader*>(*list);
}

Handle NewMenuList(int entries) {
    Handle list = NewHandleClear(kHeaderSize + entries * kEntrySize);
    return list;
}

// Puts an entry at `index`; false (the list unchanged) when memory runs out.
bool InsertEntry(int index, MenuHandle menu) {
    const int count = ListCount();
    SetHandleSize(S().list, kHeaderSize + (count + 1) * kEntrySize);
    if (MemError() != noErr) return false;
    MenuListEntry* e = Entries();
    std::memmove(e + index + 1, e + index, static_cast<std::size_t>(count - index) * kEntrySize);
    e[index] = MenuListEntry{menu, 0};
    return true;
}

bool TitleCentre(char letter, Point* centre) {
    if (!S().list || !S().portOpen) return false;
    LayOutTitles();
    for (int i = 0; i < BarCount(); ++i) {
        const MenuInfo& m = **Entries()[i].menuOH;
        if (m.keyLetter != static_cast<std::uint8_t>(letter) || (m.enableFlags & 1) == 0) continue;
        centre->h = static_cast<std::int16_t>((m.titleRect.left + m.titleRect.right) / 2);
        centre->v = static_cast<std::int16_t>((m.titleRect.top + m.titleRect.bottom) / 2);
        return true;
    }
    return false;
}

} // namespace

void InitMenus() {
    qiva::CloseMenus();
    S().list = NewMenuList(0);
    OpenPort(&S().port);
    S().portOpen = true;
    const Rect screen = S().port.portRect;
    S().bar =
        Rect{screen.top, screen.left, static_cast<std::int16_t>(screen.top + qiva::kBarHeight), screen.right};
    S().textHeight = static_cast<std::int16_t>(MeasureFont().lineHeight);
    InvalidateBar();
    // The Window Manager keeps its windows and desktop below the bar.
    qiva::SetMenuBarHeight(static_cast<short>(qiva::kBarHeight));
    qiva::Shell().menuTitleCentre = &TitleCentre;
    qiva::SetMenuBarFlashHook([] { FlashMenuBar(0); });
    qiva::RegisterStateDump("menus", [](std::string& out) { qiva::WriteMenuDump(out); });
}

void InsertMenu(MenuHandle menu, std::int16_t beforeID) {
    if (!S().list || !menu || !*menu || FindInList((*menu)->menuID) >= 0) return;
    if (beforeID == hierMenu) {
        if (!InsertEntry(ListCount(), menu)) return;
        HeaderOf(S().list).lastHMenu++;
        (*menu)->hierarchical = 1;
        return;
    }
    int at = BarCount();
    for (int i = 0; i < BarCount(); ++i)
        if (beforeID != 0 && (*Entries()[i].menuOH)->menuID == beforeID) at = i;
    if (!InsertEntry(at, menu)) return;
    HeaderOf(S().list).lastMenu++;
    (*menu)->hierarchical = 0;
    InvalidateBar();
}

void DeleteMenu(std::int16_t menuID) {
    const int at = FindInList(menuID);
    if (at < 0) return;
    const int count = ListCount();
    const bool bar = at < BarCount();
    MenuListEntry* e = Entries();
    std::memmove(e + at, e + at + 1, static_cast<std::size_t>(count - at - 1) * kEntrySize);
    SetHandleSize(S().list, kHeaderSize + (count - 1) * kEntrySize);
    if (bar) {
        HeaderOf(S().list).lastMenu--;
        if (S().hilited == menuID) S().hilited = 0;
        InvalidateBar();
    } else {
        HeaderOf(S().list).lastHMenu--;
    }
}

void ClearMenuBar() {
    if (!S().list) return;
    SetHandleSize(S().list, kHeaderSize);
    std::memset(*S().list, 0, kHeaderSize);
    S().hilited = 0;
    InvalidateBar();
}

MenuHandle GetMenuHandle(std::int16_t menuID) {
    const int at = FindInList(menuID);
    return at >= 0 ? Entries()[at].menuOH : nullptr;
}

MenuHandle GetMHandle(std::int16_t menuID) {
    return GetMenuHandle(menuID);
}

Handle GetNewMBar(std::int16_t menuBarID) {
    Handle res = GetResource(MakeResType("MBAR"), menuBarID);
    if (!res || !*res) return nullptr;
    const auto ids = qiva::ParseMenuBarResource(
        {reinterpret_cast<const std::uint8_t*>(*res), static_cast<std::size_t>(GetHandleSize(res))});
    if (!ids) return nullptr;
    std::vector<MenuHandle> menus;
    for (std::int16_t id : *ids)
        if (MenuHandle m = GetMenu(id)) menus.push_back(m);
    // A first menu titled with the logo character is shown as "?" at the bar's right end.
    if (!menus.empty() && static_cast<std::uint8_t>((*menus.front())->menuData[0]) == 20) {
        (*menus.front())->menuData[0] = '?';
        (*menus.front())->keyLetter = '?';
        menus.push_back(menus.front());
        menus.erase(menus.begin());
    }
    Handle list = NewMenuList(static_cast<int>(menus.size()));
    if (!list) {
        for (MenuHandle m : menus)
            DisposeMenu(m);
        return nullptr;
    }
    HeaderOf(list).lastMenu = static_cast<std::int16_t>(menus.size());
    HeaderOf(list).mbResID = menuBarID;
    auto* e = reinterpret_cast<MenuListEntry*>(*list + kHeaderSize);
    for (std::size_t i = 0; i < menus.size(); ++i)
        e[i] = MenuListEntry{menus[i], 0};
    return list;
}

Handle GetMenuBar() {
    if (!S().list) return nullptr;
    Handle copy = S().list;
    if (HandToHand(&copy) != noErr) return nullptr;
    return copy;
}

OSErr SetMenuBar(Handle menuList) {
    if (!menuList || !*menuList || GetHandleSize(menuList) < kHeaderSize) return paramErr;
    Handle copy = menuList;
    const OSErr err = HandToHand(&copy);
    if (err != noErr) return err;
    // A list whose counts claim more entries than it holds is cut to what it holds.
    MenuListHeader& h = HeaderOf(copy);
    const int room = static_cast<int>((GetHandleSize(copy) - kHeaderSize) / kEntrySize);
    h.lastMenu = static_cast<std::int16_t>(std::clamp<int>(h.lastMenu, 0, room));
    h.lastHMenu = static_cast<std::int16_t>(std::clamp<int>(h.lastHMenu, 0, room - h.lastMenu));
    if (S().list) DisposeHandle(S().list);
    S().list = copy;
    for (int i = 0; i < ListCount(); ++i)
        (*Entries()[i].menuOH)->hierarchical = i < BarCount() ? 0 : 1;
    S().hilited = 0;
    InvalidateBar();
    return noErr;
}

namespace qiva {

void SaveMenuEnableStates() {
    // A second save before the restore would save the disabled states: the first copy is kept.
    if (!S().list || S().savedFlags) return;
    const int n = BarCount();
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(n) * 6);
    for (int i = 0; i < n; ++i) {
        MenuInfo& m = **Entries()[i].menuOH;
        std::memcpy(&bytes[static_cast<std::size_t>(i) * 6], &m.menuID, 2);
        std::memcpy(&bytes[static_cast<std::size_t>(i) * 6 + 2], &m.enableFlags, 4);
    }
    Handle saved = nullptr;
    if (PtrToHand(bytes.data(), &saved, static_cast<Size>(bytes.size())) != noErr) return;
    S().savedFlags = saved;
    for (int i = 0; i < n; ++i)
        (*Entries()[i].menuOH)->enableFlags &= ~1u;
    InvalidateBar();
}

void RestoreMenuEnableStates() {
    if (!S().savedFlags) return;
    const Size size = GetHandleSize(S().savedFlags);
    for (Size at = 0; at + 6 <= size; at += 6) {
        std::int16_t id = 0;
        std::uint32_t flags = 0;
        std::memcpy(&id, *S().savedFlags + at, 2);
        std::memcpy(&flags, *S().savedFlags + at + 2, 4);
        if (MenuHandle m = GetMenuHandle(id)) (*m)->enableFlags = flags;
    }
    DisposeHandle(S().savedFlags);
    S().savedFlags = nullptr;
    InvalidateBar();
    DrawMenuBar();
}

Rect MenuBarRect() {
    return S().bar;
}

std::int16_t HilitedMenu() {
    return S().hilited;
}

void CloseMenus() {
    State& s = S();
    if (s.list) DisposeHandle(s.list);
    if (s.savedFlags) DisposeHandle(s.savedFlags);
    if (s.portOpen) ClosePort(&s.port);
    if (s.portOpen) SetMenuBarHeight(0);
    if (Shell().menuTitleCentre == &TitleCentre) Shell().menuTitleCentre = nullptr;
    SetMenuBarFlashHook(nullptr);
    UnregisterStateDump("menus");
    s = State{};
}

} // namespace qiva
