#include "toolkit/menus/menu_dump.h"

#include "toolkit/core/state_dump.h"
#include "toolkit/menus/menu_geometry.h"
#include "toolkit/menus/menu_state.h"

namespace qiva {

using namespace menus;

std::string MenuCharWord(std::uint8_t ch) {
    if (ch == checkMark) return "\u2713";
    if (ch == commandMark) return "\u2318";
    if (ch <= ' ' || ch == 0x7F || ch == 0xCA) return "-";
    if (ch == '"' || ch == '\\') return std::string(1, static_cast<char>(ch));
    const std::string quoted = DumpQuotedMac(std::string(1, static_cast<char>(ch)));
    return quoted.substr(1, quoted.size() - 2);
}

namespace {

void WriteOpenMenu(std::string& out, const OpenMenu& open) {
    const MenuInfo& m = **open.menu;
    out += "open " + std::to_string(m.menuID) + " rect " + DumpRect(open.rect) + "\n";
    const std::vector<ItemMeasure> items = MeasureItems(open.menu);
    const std::vector<Rect> rects = ItemRects(open.rect, items, MeasureFont().lineHeight);
    int n = 1;
    for (const MenuItemRec* it = m.firstItem; it; it = it->next, ++n) {
        const bool hier = it->keyEquiv == hMenuCmd;
        out += "item " + std::to_string(m.menuID) + ' ' + std::to_string(n) + " text " +
               (IsSeparator(*it) ? std::string("\"-\"") : DumpQuotedMac(it->itemText ? it->itemText : "")) +
               " enabled " + (ItemEnabled(open.menu, n) ? "1" : "0") + " mark " +
               (hier ? "-" : MenuCharWord(it->markChar)) + " key " +
               (hier ? "-" : MenuCharWord(it->keyEquiv)) + " rect " +
               DumpRect(rects[static_cast<std::size_t>(n - 1)]);
        if (hier) out += " submenu " + std::to_string(it->markChar);
        out += "\n";
    }
}

} // namespace

void WriteMenuDump(std::string& out) {
    if (!S().list) return;
    out += "menubar " + DumpRect(S().bar) + "\n";
    if (S().portOpen) LayOutTitles();
    for (int i = 0; i < BarCount(); ++i) {
        const MenuInfo& m = **Entries()[i].menuOH;
        out += "menu " + std::to_string(m.menuID) + " title " + DumpQuotedMac(m.menuData ? m.menuData : "") +
               " rect " + DumpRect(m.titleRect) + " enabled " + ((m.enableFlags & 1) ? "1" : "0") + "\n";
    }
    for (const OpenMenu& open : S().open)
        WriteOpenMenu(out, open);
}

} // namespace qiva
