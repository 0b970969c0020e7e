#include "tools/qiva-demo/demo_menus.h"

#include <cstdio>
#include <cstring>
#include <map>

#include "toolkit/core/shell.h"
#include "toolkit/core/sound.h"
#include "toolkit/graphics/quickdraw.h"

namespace demo {

namespace {

enum : std::int16_t { kDemoMenu = 128, kShapesMenu = 129, kOptionsMenu = 130, kColourMenu = 200 };

void (*reportLine)(const std::string&) = nullptr;
std::map<std::int16_t, MenuAction> actions;
MenuHandle colourMenu = nullptr;
std::int16_t colour = 1;

const Rect kPopUpBox{60, 440, 80, 600};

void Report(const std::string& text) {
    if (reportLine) reportLine(text);
}

std::string ItemText(std::int16_t menuID, std::int16_t item) {
    char text[256] = {};
    GetMenuItemText(GetMenuHandle(menuID), item, text);
    return text;
}

void Choose(std::int32_t choice) {
    if (choice == 0) return;
    const auto menuID = static_cast<std::int16_t>(choice >> 16),
               item = static_cast<std::int16_t>(choice & 0xFFFF);
    std::printf("choice %d %d\n", menuID, item);
    std::fflush(stdout);
    Report("Menu " + std::to_string(menuID) + ", item " + std::to_string(item) + ": " +
           ItemText(menuID, item));
    if (const auto it = actions.find(menuID); it != actions.end() && it->second) it->second(item);
    HiliteMenu(0);
}

void SetColour(std::int16_t item) {
    CheckItem(colourMenu, colour, false);
    colour = item;
    CheckItem(colourMenu, colour, true);
    DrawMenuParts();
}

MenuHandle MakeMenu(std::int16_t id, const char* title, const char* items) {
    MenuHandle menu = NewMenu(id, title);
    AppendMenu(menu, items);
    return menu;
}

} // namespace

void AddMenu(MenuHandle menu, MenuAction action, std::int16_t beforeID) {
    if (!menu) return;
    actions[(*menu)->menuID] = std::move(action);
    InsertMenu(menu, beforeID);
    DrawMenuBar();
}

void InstallMenus(void (*report)(const std::string& text)) {
    reportLine = report;
    InitMenus();
    AddMenu(MakeMenu(kDemoMenu, "Demo", "About the demo;-;Beep/B;Quit/Q"), [](std::int16_t item) {
        if (item == 3) SysBeep(10);
        if (item == 4) ExitToShell();
    });
    MenuHandle shapes = MakeMenu(kShapesMenu, "Shapes", "Circle/C;Square/R;(Triangle/T;-;Colour");
    SetItemCmd(shapes, 5, hMenuCmd);
    SetItemMark(shapes, 5, kColourMenu);
    AddMenu(shapes, nullptr);
    MenuHandle options = MakeMenu(kOptionsMenu, "Options", "Large/L;Small;-;Bold titles<B;(Not available");
    CheckItem(options, 1, true);
    AddMenu(options, [options](std::int16_t item) {
        if (item > 2) return;
        CheckItem(options, 1, item == 1);
        CheckItem(options, 2, item == 2);
    });
    colourMenu = MakeMenu(kColourMenu, "Colour", "Red;Green;Blue");
    CheckItem(colourMenu, colour, true);
    actions[kColourMenu] = &SetColour;
    InsertMenu(colourMenu, hierMenu);
    DrawMenuBar();
}

void DrawMenuParts() {
    GrafPtr saved = nullptr;
    GetPort(&saved);
    SetPort(qiva::TemplatePort());
    const RGBColor grey{0xE000, 0xE000, 0xE000}, black{0, 0, 0};
    RGBForeColor(&grey);
    PaintRect(&kPopUpBox);
    RGBForeColor(&black);
    FrameRect(&kPopUpBox);
    TextFont(0);
    TextSize(12);
    const std::string label = "Colour: " + ItemText(kColourMenu, colour);
    MoveTo(kPopUpBox.left + 8, kPopUpBox.top + 15);
    DrawText(label.data(), 0, static_cast<int>(label.size()));
    // The pop-up's mark: a small triangle pointing down.
    for (int k = 0; k < 5; ++k) {
        MoveTo(kPopUpBox.right - 20 + k, kPopUpBox.top + 8 + k);
        LineTo(kPopUpBox.right - 12 - k, kPopUpBox.top + 8 + k);
    }
    SetPort(saved);
}

bool MenuEvent(const EventRecord& event) {
    if (event.what == mouseDown) {
        const Rect bar = qiva::MenuBarRect();
        const Point pt = event.where;
        if (pt.v >= bar.top && pt.v < bar.bottom && pt.h >= bar.left && pt.h < bar.right) {
            Choose(MenuSelect(pt));
            return true;
        }
        if (pt.v >= kPopUpBox.top && pt.v < kPopUpBox.bottom && pt.h >= kPopUpBox.left &&
            pt.h < kPopUpBox.right) {
            Choose(PopUpMenuSelect(colourMenu, kPopUpBox.top + 2, kPopUpBox.left, colour));
            return true;
        }
        return false;
    }
    if ((event.what == keyDown || event.what == autoKey) && (event.modifiers & cmdKey) != 0) {
        const std::int32_t choice = MenuKey(static_cast<std::int16_t>(event.message & charCodeMask));
        Choose(choice);
        return choice != 0;
    }
    return false;
}

} // namespace demo
