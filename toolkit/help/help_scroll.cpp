#include "toolkit/help/help_scroll.h"

#include <algorithm>

namespace qiva::help {

int LastTop(int lineCount, int visibleLines, int lastTopicLine) {
    return std::max({lineCount - std::max(visibleLines, 1), lastTopicLine, 0});
}

int ScrollTop(int top, Scroll request, int visibleLines, int lastTop) {
    const int page = std::max(visibleLines - 1, 1);
    const int last = std::max(lastTop, 0);
    switch (request) {
    case Scroll::LineUp:
        top -= 1;
        break;
    case Scroll::LineDown:
        top += 1;
        break;
    case Scroll::PageUp:
        top -= page;
        break;
    case Scroll::PageDown:
        top += page;
        break;
    case Scroll::Home:
        top = 0;
        break;
    case Scroll::End:
        top = last;
        break;
    }
    return std::clamp(top, 0, last);
}

int WheelTop(int top, int notches, int lastTop) {
    // Far beyond any file: the clamp below brings it back, and the product cannot overflow.
    notches = std::clamp(notches, -100000, 100000);
    return std::clamp(top - notches * kWheelLines, 0, std::max(lastTop, 0));
}

std::optional<Scroll> ScrollForKey(int character) {
    switch (character) {
    case 11:
        return Scroll::PageUp;
    case 12:
        return Scroll::PageDown;
    case 1:
        return Scroll::Home;
    case 4:
        return Scroll::End;
    case 30:
        return Scroll::LineUp;
    case 31:
        return Scroll::LineDown;
    default:
        return std::nullopt;
    }
}

} // namespace qiva::help
