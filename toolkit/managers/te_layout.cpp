#include "toolkit/managers/te_layout.h"

#include <algorithm>

namespace qiva::te {
namespace {

// Width of [a, b) without a carriage return at its end, which is not drawn. Measured in pieces and
// no further than `budget`, so a paragraph or a word far wider than the line costs no more than
// the line itself.
int VisibleUpTo(const Layout& l, int a, int b, int budget) {
    if (b > a && l.text[b - 1] == kReturn) --b;
    constexpr int kPiece = 48;
    int width = 0;
    for (int p = a; p < b && width < budget; p += kPiece)
        width += l.measure(p, std::min(kPiece, b - p));
    return width;
}

int CutBetweenCharacters(const Layout& l, int start, int end) {
    int width = 0;
    int p = start;
    while (p < end) {
        if (l.text[p] == kReturn) return p + 1;
        const int w = l.measure(p, 1);
        if (p > start && width + w >= l.widthLimit) break;
        width += w;
        ++p;
    }
    return p;
}

} // namespace

int NextLineStart(const Layout& l, int start) {
    const int length = static_cast<int>(l.text.size());
    if (start >= length) return length;
    const auto cr = std::find(l.text.begin() + start, l.text.end(), kReturn);
    const int end = cr == l.text.end() ? length : static_cast<int>(cr - l.text.begin()) + 1;
    if (l.crOnly) return end;

    // Words (separators, then the characters of a word) are added while the line stays narrower
    // than the limit.
    int width = 0;
    int pos = start;
    while (pos < end) {
        const int wordStart = pos;
        while (pos < end && l.isBreak(pos))
            ++pos;
        const int spacesEnd = pos;
        while (pos < end && !l.isBreak(pos))
            ++pos;
        const int w = VisibleUpTo(l, wordStart, pos, l.widthLimit - width);
        if (width + w >= l.widthLimit) {
            if (wordStart == start || spacesEnd == start) return CutBetweenCharacters(l, start, end);
            return spacesEnd;
        }
        width += w;
    }
    return end;
}

std::vector<int> BreakLines(const Layout& l) {
    std::vector<int> starts{0};
    const int length = static_cast<int>(l.text.size());
    for (int s = 0; s < length;)
        starts.push_back(s = NextLineStart(l, s));
    return starts;
}

Recalc RecalLines(const Layout& l, std::span<const int> oldStarts, int pos, int removed, int inserted) {
    const int length = static_cast<int>(l.text.size());
    const int delta = inserted - removed;
    const int oldLines = static_cast<int>(oldStarts.size()) - 1;
    // The line holding the change, then the one before (its last word may now fit or not); and
    // further back across lines cut inside a word, whose break depends on that word's whole width.
    int line =
        static_cast<int>(std::upper_bound(oldStarts.begin(), oldStarts.end() - 1, pos) - oldStarts.begin()) -
        1;
    line = std::max(0, line - 1);
    // A word cut between characters over several lines, now narrow enough to fit a line, may move
    // up to where it starts.
    int wordStart = std::min(pos, length), wordEnd = std::min(pos + inserted, length);
    while (wordStart > 0 && !l.isBreak(wordStart - 1))
        --wordStart;
    while (wordEnd < length && !l.isBreak(wordEnd))
        ++wordEnd;
    if (wordStart < oldStarts[line] && VisibleUpTo(l, wordStart, wordEnd, l.widthLimit) < l.widthLimit) {
        while (line > 0 && oldStarts[line] > wordStart)
            --line;
        line = std::max(0, line - 1);
    }

    Recalc r;
    r.firstChanged = line;
    r.starts.assign(oldStarts.begin(), oldStarts.begin() + line + 1);
    int old = line + 1; // the next old start not yet passed
    for (int s = r.starts.back(); s < length;) {
        s = NextLineStart(l, s);
        r.starts.push_back(s);
        if (s < pos + inserted) continue;
        // Past the edit the text is the old one shifted: once a start matches an old one, the
        // lines after it are the old lines shifted.
        while (old <= oldLines && oldStarts[old] + delta < s)
            ++old;
        if (old <= oldLines && oldStarts[old] >= pos + removed && oldStarts[old] + delta == s) {
            for (int k = old + 1; k <= oldLines; ++k)
                r.starts.push_back(oldStarts[k] + delta);
            return r;
        }
    }
    if (r.starts.back() != length) r.starts.push_back(length); // an empty text
    return r;
}

} // namespace qiva::te
