// Styled records: the style record's handles and how edits and style changes reach the runs.
#include "toolkit/managers/te_styles.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "toolkit/core/message_log.h"
#include "toolkit/core/memory.h"
#include "toolkit/graphics/quickdraw.h"
#include "toolkit/managers/te_hit.h"
#include "toolkit/managers/te_internal.h"

namespace qiva::te {
namespace {

TEStyleHandle StyleOf(TEPtr te) {
    return reinterpret_cast<TEStyleHandle>(te->hStyle);
}

std::vector<StyleRun> RunsOf(TEStyleHandle st) {
    return std::vector<StyleRun>((*st)->runs, (*st)->runs + (*st)->nRuns + 1);
}

std::vector<STElement> StylesOf(TEStyleHandle st) {
    return std::vector<STElement>(*(*st)->styleTab, *(*st)->styleTab + (*st)->nStyles);
}

void Report(const std::vector<std::string>& messages) {
    for (const auto& m : messages)
        AppendToMessageLog(m);
}

// The height and ascent of an entry in its font.
void MeasureStyle(STElement& e) {
    GrafPtr port = nullptr;
    GetPort(&port);
    if (port == nullptr) return;
    const std::int16_t font = port->txFont, size = port->txSize;
    const std::uint8_t face = port->txFace;
    TextFont(e.stFont);
    TextFace(e.stFace);
    TextSize(e.stSize);
    FontInfo info{};
    GetFontInfo(&info);
    e.stAscent = info.ascent;
    e.stHeight = static_cast<std::int16_t>(info.ascent + info.descent + info.leading);
    TextFont(font);
    TextFace(face);
    TextSize(size);
}

bool Store(TEStyleHandle st, const std::vector<StyleRun>& runs, const std::vector<STElement>& styles) {
    const auto bytes = sizeof(TEStyleRec) + (runs.size() - 1) * sizeof(StyleRun);
    SetHandleSize(reinterpret_cast<Handle>(st), static_cast<Size>(bytes));
    if (MemError() != noErr) return false;
    SetHandleSize(reinterpret_cast<Handle>((*st)->styleTab),
                  static_cast<Size>(styles.size() * sizeof(STElement)));
    if (MemError() != noErr) return false;
    (*st)->nRuns = static_cast<std::int16_t>(runs.size() - 1);
    (*st)->nStyles = static_cast<std::int16_t>(styles.size());
    std::memcpy((*st)->runs, runs.data(), runs.size() * sizeof(StyleRun));
    if (!styles.empty()) std::memcpy(*(*st)->styleTab, styles.data(), styles.size() * sizeof(STElement));
    return true;
}

STElement Merge(STElement e, std::int16_t mode, const TextStyle& s) {
    if (mode & doFont) e.stFont = s.tsFont;
    if (mode & doFace) {
        if (mode & doToggle)
            e.stFace = static_cast<std::uint8_t>(e.stFace ^ s.tsFace);
        else
            e.stFace = s.tsFace;
    }
    if (mode & addSize)
        e.stSize = static_cast<std::int16_t>(std::clamp(e.stSize + s.tsSize, 1, 127));
    else if (mode & doSize)
        e.stSize = s.tsSize;
    if (mode & doColor) e.stColor = s.tsColor;
    return e;
}

bool Matches(const STElement& e, std::int16_t mode, const TextStyle& s) {
    if ((mode & doFont) && e.stFont != s.tsFont) return false;
    if ((mode & doFace) && e.stFace != s.tsFace) return false;
    if ((mode & doSize) && e.stSize != s.tsSize) return false;
    if ((mode & doColor) && (e.stColor.red != s.tsColor.red || e.stColor.green != s.tsColor.green ||
                             e.stColor.blue != s.tsColor.blue))
        return false;
    return true;
}

// Restyles the selection character by character, then lays the record out and draws it again.
template <typename Change>
void Restyle(TEHandle te, bool redraw, Change change) {
    if (te == nullptr || !IsStyled(*te) || (*te)->selStart >= (*te)->selEnd) return;
    TEStyleHandle st = StyleOf(*te);
    auto runs = RunsOf(st);
    auto styles = StylesOf(st);
    auto perChar = StylePerCharacter(runs, (*te)->teLength);
    PortScope port(*te);
    for (int c = (*te)->selStart; c < (*te)->selEnd; ++c) {
        STElement e = change(styles[perChar[static_cast<std::size_t>(c)]]);
        const std::size_t before = styles.size();
        const std::uint16_t index = FindOrAddStyle(styles, e);
        if (styles.size() > before) MeasureStyle(styles.back());
        perChar[static_cast<std::size_t>(c)] = index;
    }
    runs = RunsFromCharacters(perChar, runs.front().styleIndex);
    std::vector<std::string> messages;
    RecountStyles(runs, styles, &messages);
    Report(messages);
    if (!Store(st, runs, styles)) return;
    TECalText(te);
    if (redraw) RedrawLines(te, 0, -1);
}

} // namespace

void DisposeStyles(TEPtr te) {
    TEStyleHandle st = StyleOf(te);
    if (st == nullptr) return;
    DisposeHandle(reinterpret_cast<Handle>((*st)->styleTab));
    DisposeHandle(reinterpret_cast<Handle>((*st)->lhTab));
    DisposeHandle((*st)->nullStyle);
    DisposeHandle(reinterpret_cast<Handle>(st));
    te->hStyle = nullptr;
}

void StylesAfterReplace(TEHandle te, int from, int removed, int inserted) {
    if (!IsStyled(*te)) return;
    TEStyleHandle st = StyleOf(*te);
    auto runs = RunsOf(st);
    auto styles = StylesOf(st);
    const int oldLength = runs.back().startChar;
    std::vector<std::uint16_t> perChar;
    if (removed < 0) {
        // A new text takes the style of the first run.
        perChar.assign(static_cast<std::size_t>(inserted), runs.front().styleIndex);
    } else {
        perChar = StylePerCharacter(runs, oldLength);
        // Typed text takes the style of what it replaces, else of the character before it.
        const int from0 = std::min(from, oldLength);
        const int source = removed > 0 || from0 == 0 ? std::min(from0, oldLength - 1) : from0 - 1;
        const std::uint16_t style =
            source >= 0 ? perChar[static_cast<std::size_t>(source)] : runs.front().styleIndex;
        perChar.erase(perChar.begin() + from0, perChar.begin() + std::min(oldLength, from0 + removed));
        perChar.insert(perChar.begin() + from0, static_cast<std::size_t>(inserted), style);
    }
    const std::uint16_t empty = runs.front().styleIndex;
    runs = RunsFromCharacters(perChar, empty);
    std::vector<std::string> messages;
    RecountStyles(runs, styles, &messages);
    Report(messages);
    Store(st, runs, styles);
}

int ApplyRunAt(TEPtr te, int offset) {
    TEStyleHandle st = StyleOf(te);
    const std::span<const StyleRun> runs((*st)->runs, static_cast<std::size_t>((*st)->nRuns + 1));
    const int run = RunOfOffset(runs, offset);
    if (run < 0) {
        AppendToMessageLog("qiva_NumRun");
        return te->teLength;
    }
    const STElement& e = (*(*st)->styleTab)[runs[static_cast<std::size_t>(run)].styleIndex];
    TextFont(e.stFont);
    TextFace(e.stFace);
    TextSize(e.stSize);
    RGBForeColor(&e.stColor);
    return runs[static_cast<std::size_t>(run) + 1].startChar;
}

std::vector<std::int16_t> StyledLineHeights(TEPtr te, const std::vector<int>& starts,
                                            std::vector<std::int16_t>* ascents) {
    TEStyleHandle st = StyleOf(te);
    const std::span<const StyleRun> runs((*st)->runs, static_cast<std::size_t>((*st)->nRuns + 1));
    const STElement* table = *(*st)->styleTab;
    const int nLines = static_cast<int>(starts.size()) - 1;
    std::vector<LHElement> lh(static_cast<std::size_t>(std::max(1, nLines + 1)));
    for (int line = 0; line <= nLines; ++line) {
        const int start = starts[static_cast<std::size_t>(std::min(line, nLines))];
        const int end = line < nLines ? starts[static_cast<std::size_t>(line) + 1] : start;
        LHElement e{0, 0};
        const int first = std::max(0, RunOfOffset(runs, start));
        for (int r = first; r < static_cast<int>(runs.size()) - 1; ++r) {
            if (r > first && runs[static_cast<std::size_t>(r)].startChar >= end) break;
            const STElement& s = table[runs[static_cast<std::size_t>(r)].styleIndex];
            e.lhHeight = std::max(e.lhHeight, s.stHeight);
            e.lhAscent = std::max(e.lhAscent, s.stAscent);
        }
        if (e.lhHeight <= 0) e.lhHeight = 1;
        lh[static_cast<std::size_t>(line)] = e;
    }
    SetHandleSize(reinterpret_cast<Handle>((*st)->lhTab), static_cast<Size>(lh.size() * sizeof(LHElement)));
    std::vector<std::int16_t> heights;
    if (MemError() == noErr) std::memcpy(*(*st)->lhTab, lh.data(), lh.size() * sizeof(LHElement));
    for (const auto& e : lh) {
        heights.push_back(e.lhHeight);
        if (ascents != nullptr) ascents->push_back(e.lhAscent);
    }
    return heights;
}

int LineHeightOf(TEPtr te, int line) {
    if (!IsStyled(te)) return te->lineHeight;
    TEStyleHandle st = StyleOf(te);
    const Size count =
        GetHandleSize(reinterpret_cast<Handle>((*st)->lhTab)) / static_cast<Size>(sizeof(LHElement));
    if (count <= 0) return std::max<int>(1, te->lineHeight);
    return (*(*st)->lhTab)[std::clamp<Size>(line, 0, count - 1)].lhHeight;
}

int LineAscent(TEPtr te, int line) {
    if (!IsStyled(te)) return te->fontAscent;
    TEStyleHandle st = StyleOf(te);
    const Size count =
        GetHandleSize(reinterpret_cast<Handle>((*st)->lhTab)) / static_cast<Size>(sizeof(LHElement));
    if (count <= 0) return te->fontAscent;
    return (*(*st)->lhTab)[std::clamp<Size>(line, 0, count - 1)].lhAscent;
}

} // namespace qiva::te

using namespace qiva::te;

TEHandle TEStyleNew(const Rect* destRect, const Rect* viewRect) {
    TEHandle te = TENew(destRect, viewRect);
    if (te == nullptr) return nullptr;
    auto st = reinterpret_cast<TEStyleHandle>(
        NewHandleClear(static_cast<Size>(sizeof(TEStyleRec) + sizeof(StyleRun))));
    auto table = reinterpret_cast<STHandle>(NewHandleClear(static_cast<Size>(sizeof(STElement))));
    auto lh = reinterpret_cast<LHHandle>(NewHandleClear(static_cast<Size>(sizeof(LHElement))));
    const Handle null = NewHandleClear(static_cast<Size>(sizeof(TextStyle)));
    if (st == nullptr || table == nullptr || lh == nullptr || null == nullptr) {
        for (Handle h : {reinterpret_cast<Handle>(st), reinterpret_cast<Handle>(table),
                         reinterpret_cast<Handle>(lh), null})
            if (h != nullptr) DisposeHandle(h);
        TEDispose(te);
        return nullptr;
    }
    TEPtr p = *te;
    STElement& e = **table;
    e.stCount = 1;
    e.stFont = p->txFont;
    e.stFace = p->txFace;
    e.stSize = p->txSize == 0 ? 12 : p->txSize;
    e.stAscent = p->fontAscent;
    e.stHeight = p->lineHeight;
    if (p->inPort != nullptr) {
        GrafPtr saved;
        GetPort(&saved);
        SetPort(p->inPort);
        GetForeColor(&e.stColor);
        SetPort(saved);
    }
    (*st)->nRuns = 1;
    (*st)->nStyles = 1;
    (*st)->styleTab = table;
    (*st)->lhTab = lh;
    (*st)->nullStyle = null;
    (*st)->runs[0] = {0, 0};
    (*st)->runs[1] = {0, 0};
    **lh = {p->lineHeight, p->fontAscent};
    p->hStyle = reinterpret_cast<Handle>(st);
    p->txSize = -1;
    return te;
}

TEStyleHandle TEGetStyleHandle(TEHandle te) {
    return te == nullptr || !IsStyled(*te) ? nullptr : reinterpret_cast<TEStyleHandle>((*te)->hStyle);
}

void TESetStyle(std::int16_t mode, const TextStyle* newStyle, bool redraw, TEHandle te) {
    if (newStyle == nullptr) return;
    Restyle(te, redraw, [&](const STElement& e) { return Merge(e, mode, *newStyle); });
}

void TEReplaceStyle(std::int16_t mode, const TextStyle* oldStyle, const TextStyle* newStyle, bool redraw,
                    TEHandle te) {
    if (oldStyle == nullptr || newStyle == nullptr) return;
    Restyle(te, redraw, [&](const STElement& e) {
        return Matches(e, static_cast<std::int16_t>(mode & doAll), *oldStyle) ? Merge(e, mode, *newStyle) : e;
    });
}

void TEGetStyle(std::int16_t offset, TextStyle* theStyle, std::int16_t* lineHeight, std::int16_t* fontAscent,
                TEHandle te) {
    if (te == nullptr || theStyle == nullptr) return;
    TEPtr p = *te;
    const int line = LineOfOffset(Text(p), Starts(p), offset);
    if (!IsStyled(p)) {
        *theStyle = TextStyle{p->txFont, p->txFace, 0, p->txSize, RGBColor{0, 0, 0}};
    } else {
        TEStyleHandle st = StyleOf(p);
        const std::span<const StyleRun> runs((*st)->runs, static_cast<std::size_t>((*st)->nRuns + 1));
        int run = RunOfOffset(runs, offset);
        if (run < 0) {
            qiva::AppendToMessageLog("qiva_NumRun");
            run = (*st)->nRuns - 1;
        }
        const STElement& e = (*(*st)->styleTab)[runs[static_cast<std::size_t>(run)].styleIndex];
        *theStyle = TextStyle{e.stFont, e.stFace, 0, e.stSize, e.stColor};
    }
    if (lineHeight != nullptr) *lineHeight = static_cast<std::int16_t>(LineHeightOf(p, line));
    if (fontAscent != nullptr) *fontAscent = static_cast<std::int16_t>(LineAscent(p, line));
}
