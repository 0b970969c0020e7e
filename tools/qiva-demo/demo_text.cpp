#include "tools/qiva-demo/demo_text.h"

#include "toolkit/graphics/buffers.h"
#include "toolkit/graphics/quickdraw.h"
#include "toolkit/managers/scrap.h"
#include "toolkit/managers/textedit.h"
#include "toolkit/menus/menus.h"
#include "toolkit/windows/windows.h"
#include "tools/qiva-demo/demo_menus.h"

namespace {

constexpr std::int16_t kEditMenu = 140;
enum : std::int16_t { kCut = 1, kCopy, kPaste, kClear };

WindowPtr window = nullptr;
TEHandle field = nullptr;

// Cut and Copy leave the text in the scrap too, where the host clipboard takes it at deactivation.
void Edit(std::int16_t item) {
    if (field == nullptr) return;
    switch (item) {
    case kCut:
    case kCopy:
        (item == kCut ? TECut : TECopy)(field);
        ZeroScrap();
        TEToScrap();
        break;
    case kPaste:
        TEFromScrap();
        TEPaste(field);
        break;
    case kClear:
        TEDelete(field);
        break;
    default:
        break;
    }
}

void Draw() {
    SetPort(window);
    EraseRect(&window->portRect);
    Rect frame = (*field)->viewRect;
    InsetRect(&frame, -3, -3);
    FrameRect(&frame);
    TEUpdate(&window->portRect, field);
}

} // namespace

void DemoTextStart() {
    TEInit();
}

void DemoTextOpen() {
    Rect bounds;
    SetRect(&bounds, 40, 200, 300, 330);
    // Behind the other windows: the demo's own keys stay with the demo until the field is clicked.
    window = NewWindow(nullptr, &bounds, "Text", true, noGrowDocProc, nullptr, true, 0);
    if (window == nullptr) return;
    SetPort(window);
    TextFont(21);
    TextSize(12);
    Rect view;
    SetRect(&view, 10, 10, 250, 120);
    field = TENew(&view, &view);
}

void DemoTextMenus() {
    MenuHandle menu = NewMenu(kEditMenu, "Edit");
    AppendMenu(menu, "Cut/X;Copy/C;Paste/V;Clear");
    demo::AddMenu(menu, Edit);
}

bool DemoTextEvent(const EventRecord& e) {
    if (window == nullptr) return false;
    switch (e.what) {
    case mouseDown: {
        WindowPtr w = nullptr;
        const std::int16_t part = FindWindow(e.where, &w);
        if (w != window) return false;
        if (part == inDrag) {
            Rect limit = qiva::TemplatePort()->portRect;
            limit.top = static_cast<std::int16_t>(limit.top + GetMBarHeight() + 4);
            DragWindow(w, e.where, &limit);
        } else if (part == inGoAway) {
            if (TrackGoAway(w, e.where)) {
                TEDispose(field);
                DisposeWindow(w);
                field = nullptr;
                window = nullptr;
            }
        } else if (part == inContent) {
            if (w != FrontWindow()) {
                SelectWindow(w);
            } else {
                SetPort(window);
                Point pt = e.where;
                GlobalToLocal(&pt);
                if (PtInRect(pt, &(*field)->viewRect)) TEClick(pt, (e.modifiers & shiftKey) != 0, field);
            }
        }
        return true;
    }
    case keyDown:
    case autoKey:
        if (FrontWindow() != window || (e.modifiers & cmdKey) != 0) return false;
        TEKey(static_cast<std::int16_t>(e.message & charCodeMask), field);
        return true;
    case updateEvt:
        if (reinterpret_cast<WindowPtr>(e.message) != window) return false;
        BeginUpdate(window);
        Draw();
        EndUpdate(window);
        return true;
    case activateEvt:
        if (reinterpret_cast<WindowPtr>(e.message) != window) return false;
        if (e.modifiers & activeFlag)
            TEActivate(field);
        else
            TEDeactivate(field);
        return true;
    default:
        return false;
    }
}

void DemoTextIdle() {
    if (field != nullptr && FrontWindow() == window) TEIdle(field);
}
