// Windows made from 'WIND' templates, and the window icons of 'wicn' and 'wcic'.

#include <cstdint>
#include <string>

#include "toolkit/core/memory.h"
#include "toolkit/core/resources.h"
#include "toolkit/windows/wm_state.h"

namespace {

std::int16_t Word(const std::uint8_t* p) {
    return static_cast<std::int16_t>((p[0] << 8) | p[1]);
}

// The first big-endian word of a resource, or `none` when there is no such resource (or it is short).
std::int16_t FirstWord(const char (&type)[5], std::int16_t id, std::int16_t none) {
    Handle h = GetResource(MakeResType(type), id);
    if (!h || !*h) return none;
    const std::int16_t value = GetHandleSize(h) >= 2 ? Word(reinterpret_cast<const std::uint8_t*>(*h)) : none;
    ReleaseResource(h);
    return value;
}

} // namespace

namespace qiva {

void ApplyWindowIcons(WindowPtr window, std::int16_t id) {
    WindowPeek w = Peek(window);
    if (!w || !IsListedWindow(w)) return;
    w->iconID = FirstWord("wicn", id, kNoWindowIcon);
    w->colorIconID = FirstWord("wcic", id, kNoColorIcon);
    DrawWindowFrame(w, nullptr);
}

void SetWindowColorIcon(WindowPtr window, std::int16_t id) {
    WindowPeek w = Peek(window);
    if (!w || !IsListedWindow(w)) return;
    w->colorIconID = id;
    DrawWindowFrame(w, nullptr);
}

} // namespace qiva

WindowPtr GetNewWindow(std::int16_t windowID, void* wStorage, WindowPtr behind) {
    Handle h = GetResource(MakeResType("WIND"), windowID);
    if (!h || !*h) return nullptr;
    // bounds (top, left, bottom, right), procID, visible and go-away (a byte and a pad each),
    // refCon, then the title with its length byte.
    const Size size = GetHandleSize(h);
    const auto* p = reinterpret_cast<const std::uint8_t*>(*h);
    if (size < 19 || 19 + p[18] > size) {
        ReleaseResource(h);
        return nullptr;
    }
    const Rect bounds{Word(p), Word(p + 2), Word(p + 4), Word(p + 6)};
    const std::int16_t procID = Word(p + 8);
    const bool visible = p[10] != 0, goAway = p[12] != 0;
    const auto refCon = static_cast<std::int32_t>((static_cast<std::uint32_t>(p[14]) << 24) | (p[15] << 16) |
                                                  (p[16] << 8) | p[17]);
    const std::string title(reinterpret_cast<const char*>(p + 19), p[18]);
    ReleaseResource(h);
    WindowPtr w = NewWindow(wStorage, &bounds, title.c_str(), visible, procID, behind, goAway, refCon);
    if (w) qiva::ApplyWindowIcons(w, windowID);
    return w;
}
