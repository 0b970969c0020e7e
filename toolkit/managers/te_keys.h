#pragma once
// What a key does to a TextEdit selection, free of any state. The caller applies the plan: it
// replaces the range, moves the selection or asks for the line above or below.

#include <cstdint>
#include <span>

namespace qiva::te {

// Keys with a meaning of their own; every other character is typed.
enum : std::uint8_t {
    kHome = 1,
    kEnd = 4,
    kOverwriteKey = 5,
    kBackspace = 8,
    kLeft = 28,
    kRight = 29,
    kUp = 30,
    kDown = 31,
    kForwardDelete = 127,
};

struct KeyPlan {
    enum Kind {
        Replace,         // [from, to) replaced by `typed` (or by nothing), insertion point after it
        Select,          // the selection becomes [from, to); the record scrolls to show it
        ToggleOverwrite, // typing replaces the next character, or no longer does
        LineAbove,       // the insertion point moves one line up (start of text on the first line)
        LineBelow,       // one line down (end of text on the last line)
    } kind;
    int from = 0, to = 0;
    bool hasTyped = false;
    std::uint8_t typed = 0;
};

// The plan for `key` on text with the selection [selStart, selEnd] (ordered) and the overwrite
// mode as given.
KeyPlan PlanKey(std::uint8_t key, std::span<const std::uint8_t> text, int selStart, int selEnd,
                bool overwrite);

// The word around `offset` for a double click: the run of word characters holding the character at
// `offset` (or, failing that, the one before it); a single separating character otherwise; empty at
// the end of a text that does not end in a word.
struct Range {
    int start, end;
};
Range WordAt(std::span<const std::uint8_t> text, int offset,
             bool (*isBreak)(std::span<const std::uint8_t>, int));

} // namespace qiva::te
