// Choosing with the mouse: pulled-down menus from the bar (with their hierarchical menus) and pop-up
// menus, the screen under each kept and put back exactly; and choosing with a command key.

#include <algorithm>
#include <cstring>
#include <optional>

#include "toolkit/core/events.h"
#include "toolkit/graphics/drawing_state.h"
#include "toolkit/graphics/quickdraw.h"
#include "toolkit/menus/menu_key_search.h"
#include "toolkit/menus/menu_state.h"
#include "toolkit/menus/menus.h"

namespace qiva::menus {

namespace {

// The screen's pixels under a menu, copied byte for byte (the transfer calls skip the transparent
// index, so they could not put back what was there).
class SavedBits {
public:
    explicit SavedBits(const Rect& area) {
        const BufferSlot* screen = LookUpBuffer(ScreenBufferId());
        if (!screen) return;
        left_ = std::max<int>(area.left, 0);
        top_ = std::max<int>(area.top, 0);
        right_ = std::min<int>(area.right, screen->width);
        bottom_ = std::min<int>(area.bottom, screen->height);
        if (right_ <= left_ || bottom_ <= top_) return;
        const auto w = static_cast<std::size_t>(right_ - left_);
        pixels_.resize(w * static_cast<std::size_t>(bottom_ - top_));
        for (int v = top_; v < bottom_; ++v)
            std::memcpy(&pixels_[static_cast<std::size_t>(v - top_) * w],
                        screen->base + static_cast<std::size_t>(v) * screen->rowBytes + left_, w);
    }
    void Restore() const {
        const BufferSlot* screen = LookUpBuffer(ScreenBufferId());
        if (!screen || pixels_.empty()) return;
        const auto w = static_cast<std::size_t>(right_ - left_);
        MenuPort port;
        BeginDrawing();
        for (int v = top_; v < bottom_; ++v)
            std::memcpy(screen->base + static_cast<std::size_t>(v) * screen->rowBytes + left_,
                        &pixels_[static_cast<std::size_t>(v - top_) * w], w);
        AddDirty(left_, top_, right_ - 1, bottom_ - 1);
        EndDrawing();
    }

private:
    int left_ = 0, top_ = 0, right_ = 0, bottom_ = 0;
    std::vector<std::uint8_t> pixels_;
};

struct Level {
    OpenMenu shown;
    SavedBits under;
};

void DrawFrame(const Rect& r) {
    MenuPort port;
    SetColours(kIndexBlack, LightGrey());
    const Rect frame{static_cast<std::int16_t>(r.top - 1), static_cast<std::int16_t>(r.left - 1),
                     static_cast<std::int16_t>(r.bottom + 1), static_cast<std::int16_t>(r.right + 1)};
    FrameRect(&frame);
    const Rect right{r.top, static_cast<std::int16_t>(r.right + 1), static_cast<std::int16_t>(r.bottom + 2),
                     static_cast<std::int16_t>(r.right + 2)};
    const Rect below{static_cast<std::int16_t>(r.bottom + 1), r.left, static_cast<std::int16_t>(r.bottom + 2),
                     static_cast<std::int16_t>(r.right + 2)};
    PaintRect(&right);
    PaintRect(&below);
}

class Tracker {
public:
    ~Tracker() { CloseFrom(0); }

    bool Empty() const { return levels_.empty(); }
    const Level& Deepest() const { return *levels_.back(); }

    // Shows the menu in `rect` as level `depth`, closing whatever was at that depth or deeper.
    void Open(std::size_t depth, MenuHandle menu, const Rect& rect) {
        CloseFrom(depth);
        levels_.push_back(
            std::make_unique<Level>(Level{OpenMenu{menu, rect, 0}, SavedBits(MenuFrameArea(rect))}));
        Publish();
        BeginDrawing();
        DrawFrame(rect);
        Rect r = rect;
        (*menu)->menuProc(mDrawMsg, menu, &r, Point{0, 0}, nullptr);
        EndDrawing();
    }

    void CloseFrom(std::size_t depth) {
        while (levels_.size() > depth) {
            const std::unique_ptr<Level> closing = std::move(levels_.back());
            levels_.pop_back();
            Publish();
            closing->under.Restore();
        }
        Publish();
    }

    // Follows the mouse: the deepest menu under it highlights the item there; an enabled item that
    // opens a hierarchical menu shows it. Returns the depth under the mouse, or -1.
    int Track(Point pt) {
        for (int d = static_cast<int>(levels_.size()) - 1; d >= 0; --d) {
            Level& level = *levels_[static_cast<std::size_t>(d)];
            if (!Inside(level.shown.rect, pt)) continue;
            Choose(level, pt);
            const MenuItemRec* item = ItemAtIndex(level.shown.menu, level.shown.hilited);
            const auto depth = static_cast<std::size_t>(d + 1);
            if (item && item->keyEquiv == hMenuCmd) {
                MenuHandle sub = GetMenuHandle(item->markChar);
                const bool shown = levels_.size() > depth && levels_[depth]->shown.menu == sub;
                if (sub && !shown && sub != level.shown.menu) OpenSubmenu(depth, sub, level);
            } else {
                CloseFrom(depth);
            }
            Publish();
            return d;
        }
        // Outside every menu: the deepest one lets go of its item, the others keep the path to it.
        if (!levels_.empty()) {
            Level& last = *levels_.back();
            const MenuItemRec* item = ItemAtIndex(last.shown.menu, last.shown.hilited);
            if (!item || item->keyEquiv != hMenuCmd) Choose(last, Point{-32768, -32768});
        }
        Publish();
        return -1;
    }

    // The item chosen at release: an enabled item that opens no menu, in the menu under the mouse.
    std::int32_t Result(Point pt) const {
        for (int d = static_cast<int>(levels_.size()) - 1; d >= 0; --d) {
            const Level& level = *levels_[static_cast<std::size_t>(d)];
            if (!Inside(level.shown.rect, pt)) continue;
            const int item = level.shown.hilited;
            const MenuItemRec* rec = ItemAtIndex(level.shown.menu, item);
            if (!rec || rec->keyEquiv == hMenuCmd || !ItemEnabled(level.shown.menu, item)) return 0;
            return MenuResult((*level.shown.menu)->menuID, static_cast<std::int16_t>(item));
        }
        return 0;
    }

private:
    std::vector<std::unique_ptr<Level>> levels_;

    static bool Inside(const Rect& r, Point pt) {
        return pt.h >= r.left && pt.h < r.right && pt.v >= r.top && pt.v < r.bottom;
    }

    static void Choose(Level& level, Point pt) {
        Rect r = level.shown.rect;
        std::int16_t item = level.shown.hilited;
        (*level.shown.menu)->menuProc(mChooseMsg, level.shown.menu, &r, pt, &item);
        level.shown.hilited = item;
    }

    void OpenSubmenu(std::size_t depth, MenuHandle sub, const Level& parent) {
        CalcMenuSize(sub);
        if ((*sub)->menuHeight <= 0) {
            CloseFrom(depth);
            return;
        }
        const std::vector<ItemMeasure> items = MeasureItems(parent.shown.menu);
        const std::vector<Rect> rects = ItemRects(parent.shown.rect, items, MeasureFont().lineHeight);
        const Rect itemRect = rects[static_cast<std::size_t>(parent.shown.hilited - 1)];
        Open(depth, sub, PlaceSubmenu(itemRect, {(*sub)->menuWidth, (*sub)->menuHeight}, S().port.portRect));
    }

    void Publish() {
        S().open.clear();
        for (const auto& level : levels_)
            S().open.push_back(level->shown);
    }
};

// Shows the bar menu of title `index` under its title; false when it has no items.
bool PullDown(Tracker& tracker, int index) {
    MenuHandle menu = Entries()[index].menuOH;
    HiliteMenu((*menu)->menuID);
    CalcMenuSize(menu);
    if ((*menu)->menuHeight <= 0 || (*menu)->menuWidth <= 0) return false;
    const Rect place = PlaceMenu((*menu)->titleRect, S().bar.bottom,
                                 {(*menu)->menuWidth, (*menu)->menuHeight}, S().port.portRect);
    tracker.Open(0, menu, place);
    return true;
}

} // namespace

} // namespace qiva::menus

using namespace qiva::menus;

std::int32_t MenuSelect(Point startPt) {
    if (!S().list || !S().portOpen) return 0;
    const std::vector<Rect> titles = LayOutTitles();
    int title = qiva::TitleAt(titles, startPt);
    if (title < 0) return 0;
    std::int32_t result = 0;
    {
        Tracker tracker;
        PullDown(tracker, title);
        Point pt = startPt;
        for (;;) {
            const int now = qiva::TitleAt(titles, pt);
            if (now >= 0 && now != title) {
                tracker.CloseFrom(0);
                title = now;
                PullDown(tracker, title);
            } else if (!tracker.Empty()) {
                tracker.Track(pt);
            }
            if (!Button()) break;
            GetMouse(&pt);
        }
        GetMouse(&pt);
        result = tracker.Result(pt);
    }
    // The release belongs to the menu, as WaitMouseUp takes it: the application does not see it.
    FlushEvents(mUpMask, 0);
    if (result == 0) HiliteMenu(0);
    return result;
}

std::int32_t PopUpMenuSelect(MenuHandle menu, std::int16_t top, std::int16_t left, std::int16_t popUpItem) {
    if (!S().portOpen || !menu || !*menu || !(*menu)->menuProc) return 0;
    CalcMenuSize(menu);
    if ((*menu)->menuHeight <= 0) return 0;
    Rect place{};
    std::int16_t item = popUpItem;
    (*menu)->menuProc(mPopUpMsg, menu, &place, Point{top, left}, &item);
    std::int32_t result = 0;
    {
        Tracker tracker;
        tracker.Open(0, menu, place);
        if ((*menu)->drawProc) (*menu)->drawProc(menu, &place);
        Point pt;
        GetMouse(&pt);
        for (;;) {
            tracker.Track(pt);
            if (!Button()) break;
            GetMouse(&pt);
        }
        GetMouse(&pt);
        result = tracker.Result(pt);
    }
    // The release belongs to the menu, as WaitMouseUp takes it: the application does not see it.
    FlushEvents(mUpMask, 0);
    return result;
}

std::int32_t MenuKey(std::int16_t ch) {
    if (!S().list) return 0;
    auto describe = [](MenuHandle m) {
        qiva::KeyMenu menu;
        menu.id = (*m)->menuID;
        menu.enabled = ((*m)->enableFlags & 1) != 0;
        int n = 1;
        for (const MenuItemRec* it = (*m)->firstItem; it; it = it->next, ++n)
            menu.items.push_back({it->keyEquiv, it->markChar, ItemEnabled(m, n)});
        return menu;
    };
    std::vector<qiva::KeyMenu> listed;
    for (int i = 0; i < ListCount(); ++i)
        listed.push_back(describe(Entries()[i].menuOH));
    // A hierarchical menu not in the list is read from its resource for the search and let go after.
    auto load = [&](std::int16_t id) -> std::optional<qiva::KeyMenu> {
        if (MenuHandle m = GetMenuHandle(id)) return describe(m);
        MenuHandle m = GetMenu(id);
        if (!m) return std::nullopt;
        qiva::KeyMenu menu = describe(m);
        DisposeMenu(m);
        return menu;
    };
    const std::optional<qiva::KeyHit> hit = qiva::FindMenuKey(static_cast<std::uint8_t>(ch), listed, load);
    if (!hit) return 0;
    HiliteMenu(hit->titleId);
    return qiva::MenuResult(hit->menuId, hit->item);
}
