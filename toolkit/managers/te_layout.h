#pragma once
// Line breaking of TextEdit, free of any state: where lines start in a text laid out within a
// width, measured by the caller (a record's font, or its style runs).

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace qiva::te {

inline constexpr std::uint8_t kReturn = 13;

// Width in pixels of text[start, start + count).
using Measure = std::function<int(int start, int count)>;
// True when the character at `pos` separates words (the record's word-break procedure).
using IsBreak = std::function<bool(int pos)>;

struct Layout {
    std::span<const std::uint8_t> text;
    Measure measure;
    IsBreak isBreak;
    int widthLimit = 0;
    bool crOnly = false; // lines end only after carriage returns
};

// The default word-break rule: spaces and control characters (codes up to 32) separate words.
inline bool IsSpace(std::uint8_t ch) {
    return ch <= 32;
}

// Where the line that starts at `start` ends (the next line's start). A line ends after a carriage
// return; a wider one ends before the first word that does not fit, spaces in front of that word
// staying on the line; when not even its first word fits, it is cut between characters, keeping at
// least one character.
int NextLineStart(const Layout& layout, int start);

// Every line start, then the text's length: nLines + 1 entries ({0} for an empty text).
std::vector<int> BreakLines(const Layout& layout);

struct Recalc {
    std::vector<int> starts; // the new line starts, as BreakLines gives them
    int firstChanged = 0;    // the first line whose start or content may differ
};

// The line starts after an edit that replaced `removed` characters at `pos` by `inserted` ones
// (layout.text is the new text, oldStarts the starts before the edit). Breaking starts from the
// line before the change and stops at the first line start that matches an old one past the edit.
Recalc RecalLines(const Layout& layout, std::span<const int> oldStarts, int pos, int removed, int inserted);

} // namespace qiva::te
