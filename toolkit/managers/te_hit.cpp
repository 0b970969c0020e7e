#include "toolkit/managers/te_hit.h"

#include <algorithm>

namespace qiva::te {

int LineOfOffset(std::span<const std::uint8_t> text, std::span<const int> starts, int offset) {
    const int nLines = static_cast<int>(starts.size()) - 1;
    if (nLines <= 0) return 0;
    const int length = static_cast<int>(text.size());
    if (offset >= length && text[length - 1] == kReturn) return nLines;
    const auto it = std::upper_bound(starts.begin(), starts.begin() + nLines, offset);
    return std::max(0, static_cast<int>(it - starts.begin()) - 1);
}

int LineVisibleEnd(std::span<const std::uint8_t> text, std::span<const int> starts, int line) {
    const int nLines = static_cast<int>(starts.size()) - 1;
    if (line >= nLines) return static_cast<int>(text.size());
    int end = starts[line + 1];
    if (end > starts[line] && text[end - 1] == kReturn) --end;
    return end;
}

int JustifyOffset(std::int16_t just, int widthLimit, int lineWidth) {
    switch (just) {
    case kJustCenter:
        return (widthLimit - lineWidth) / 2;
    case kJustRight:
        return widthLimit - lineWidth;
    default:
        return 0;
    }
}

int OffsetInLine(std::span<const std::uint8_t> text, std::span<const int> starts, int line, int x,
                 const Measure& measure) {
    const int nLines = static_cast<int>(starts.size()) - 1;
    if (line >= nLines) return static_cast<int>(text.size());
    const int start = starts[line];
    int end = LineVisibleEnd(text, starts, line);
    // A soft break after a space: the space ends this line, the click stays on it.
    if (line + 1 < nLines && end == starts[line + 1] && end > start && text[end - 1] <= 32) --end;
    int left = x;
    int offset = start;
    while (offset < end) {
        const int w = measure(offset, 1);
        if (left * 2 < w) break;
        left -= w;
        ++offset;
    }
    return offset;
}

} // namespace qiva::te
