#include "toolkit/managers/te_keys.h"

#include "toolkit/managers/te_layout.h"

namespace qiva::te {

KeyPlan PlanKey(std::uint8_t key, std::span<const std::uint8_t> text, int selStart, int selEnd,
                bool overwrite) {
    const int length = static_cast<int>(text.size());
    switch (key) {
    case kForwardDelete:
        return {KeyPlan::Replace, selStart, selStart == selEnd && selEnd < length ? selEnd + 1 : selEnd};
    case kBackspace:
        return {KeyPlan::Replace, selStart == selEnd && selStart > 0 ? selStart - 1 : selStart, selEnd};
    case kHome:
        return {KeyPlan::Select, 0, 0};
    case kEnd:
        return {KeyPlan::Select, length, length};
    case kOverwriteKey:
        return {KeyPlan::ToggleOverwrite};
    case kLeft: {
        const int at = selStart > 0 ? selStart - 1 : 0;
        return {KeyPlan::Select, at, at};
    }
    case kRight: {
        const int at = selEnd < length ? selEnd + 1 : length;
        return {KeyPlan::Select, at, at};
    }
    case kUp:
        return {KeyPlan::LineAbove, selStart, selStart};
    case kDown:
        return {KeyPlan::LineBelow, selStart, selStart};
    default: {
        // Overwriting never swallows a line end: typing before a carriage return inserts.
        const bool extend = overwrite && selStart == selEnd && selEnd < length && text[selEnd] != kReturn;
        return {KeyPlan::Replace, selStart, extend ? selEnd + 1 : selEnd, true, key};
    }
    }
}

Range WordAt(std::span<const std::uint8_t> text, int offset,
             bool (*isBreak)(std::span<const std::uint8_t>, int)) {
    const int length = static_cast<int>(text.size());
    int at = offset;
    if (at >= length || isBreak(text, at)) {
        if (at > 0 && !isBreak(text, at - 1))
            at = at - 1;
        else
            return at < length ? Range{at, at + 1} : Range{length, length};
    }
    int start = at, end = at + 1;
    while (start > 0 && !isBreak(text, start - 1))
        --start;
    while (end < length && !isBreak(text, end))
        ++end;
    return {start, end};
}

} // namespace qiva::te
