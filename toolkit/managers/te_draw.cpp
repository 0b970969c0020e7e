// Drawing records: lines, highlighting, the caret, scrolling and the one-off text box.
#include <algorithm>

#include "toolkit/core/events.h"
#include "toolkit/core/memory.h"
#include "toolkit/core/tick_count.h"
#include "toolkit/graphics/drawing_state.h"
#include "toolkit/graphics/quickdraw.h"
#include "toolkit/managers/te_hit.h"
#include "toolkit/managers/te_internal.h"

namespace qiva::te {
namespace {

// The port's clip narrowed to `r` for the scope's life.
class ClipScope {
public:
    explicit ClipScope(const Rect& r) : saved_(NewRgn()), narrowed_(NewRgn()) {
        GetClip(saved_);
        RectRgn(narrowed_, &r);
        SectRgn(saved_, narrowed_, narrowed_);
        SetClip(narrowed_);
    }
    ~ClipScope() {
        SetClip(saved_);
        DisposeRgn(saved_);
        DisposeRgn(narrowed_);
    }
    ClipScope(const ClipScope&) = delete;
    ClipScope& operator=(const ClipScope&) = delete;

private:
    RgnHandle saved_, narrowed_;
};

class DrawingBracket {
public:
    DrawingBracket() { BeginDrawing(); }
    ~DrawingBracket() { EndDrawing(); }
    DrawingBracket(const DrawingBracket&) = delete;
    DrawingBracket& operator=(const DrawingBracket&) = delete;
};

int VisibleWidth(TEPtr te, const Measure& measure, int line) {
    const auto starts = Starts(te);
    const int end = LineVisibleEnd(Text(te), starts, line);
    const int start = line < te->nLines ? starts[static_cast<std::size_t>(line)] : te->teLength;
    return end > start ? measure(start, end - start) : 0;
}

Rect CaretRect(TEHandle te) {
    TEPtr p = *te;
    const Point at = PointOfOffset(te, p->selStart);
    const int line = LineOfOffset(Text(p), Starts(p), p->selStart);
    Rect r{at.v, static_cast<std::int16_t>(at.h - 1), static_cast<std::int16_t>(at.v + LineHeightOf(p, line)),
           at.h};
    if (r.left < p->viewRect.left) r.left = at.h, r.right = static_cast<std::int16_t>(at.h + 1);
    if (TEOverwrite() && p->selStart < p->teLength && Text(p)[p->selStart] != kReturn) {
        const int w = MeasureOf(p)(p->selStart, 1);
        if (w > 0) r.left = at.h, r.right = static_cast<std::int16_t>(at.h + w);
    }
    return r;
}

void InvertCaret(TEHandle te) {
    PortScope port(*te);
    DrawingBracket bracket;
    ClipScope clip((*te)->viewRect);
    const Rect r = CaretRect(te);
    InvertRect(&r);
}

void DrawLineText(TEHandle te, int line) {
    TEPtr p = *te;
    const auto starts = Starts(p);
    const int start = starts[static_cast<std::size_t>(line)];
    const int end = LineVisibleEnd(Text(p), starts, line);
    MoveTo(LineLeft(te, line), LineTop(p, line) + LineAscent(p, line));
    if (!IsStyled(p)) {
        DrawText(*p->hText, start, end - start);
        return;
    }
    for (int at = start; at < end;) {
        const int runEnd = std::min(end, ApplyRunAt(*te, at));
        DrawText(*(*te)->hText, at, runEnd - at);
        at = runEnd;
    }
}

void HighlightSelection(TEHandle te) {
    TEPtr p = *te;
    if (!p->active || p->selStart >= p->selEnd) return;
    const auto starts = Starts(p);
    const auto text = Text(p);
    const int first = LineOfOffset(text, starts, p->selStart);
    const int last = LineOfOffset(text, starts, p->selEnd);
    const Point a = PointOfOffset(te, p->selStart);
    const Point b = PointOfOffset(te, p->selEnd);
    for (int line = first; line <= last; ++line) {
        const int top = LineTop(*te, line);
        Rect r{static_cast<std::int16_t>(top), line == first ? a.h : (*te)->destRect.left,
               static_cast<std::int16_t>(top + LineHeightOf(*te, line)),
               line == last ? b.h : (*te)->destRect.right};
        (*te)->selRect = r;
        if (r.right > r.left) InvertRect(&r);
    }
}

void DrawArea(TEHandle te, const Rect& area) {
    TEPtr p = *te;
    if (p->inPort == nullptr) return;
    Rect shown{};
    if (!SectRect(&p->viewRect, &area, &shown)) return;
    PortScope port(p);
    DrawingBracket bracket;
    ClipScope clip(shown);
    const int first = std::max(0, LineAtV(*te, shown.top));
    const int last = std::min<int>((*te)->nLines - 1, LineAtV(*te, shown.bottom - 1));
    for (int line = first; line <= last; ++line) {
        const int top = LineTop(*te, line);
        const Rect box{static_cast<std::int16_t>(top), shown.left,
                       static_cast<std::int16_t>(top + LineHeightOf(*te, line)), shown.right};
        EraseRect(&box);
        DrawLineText(te, line);
    }
    // Above the first line and below the last, nothing but the background.
    Rect rest = shown;
    if (last >= first) {
        rest.bottom =
            static_cast<std::int16_t>(std::clamp<int>(LineTop(*te, first), shown.top, shown.bottom));
        if (rest.bottom > rest.top) EraseRect(&rest);
        rest = shown;
        rest.top =
            static_cast<std::int16_t>(std::clamp<int>(LineTop(*te, last + 1), shown.top, shown.bottom));
    }
    if (rest.bottom > rest.top) EraseRect(&rest);
    HighlightSelection(te);
    if ((*te)->caretState) {
        const Rect r = CaretRect(te);
        InvertRect(&r);
    }
}

} // namespace

int LineTop(TEPtr te, int line) {
    if (!IsStyled(te)) return te->destRect.top + line * te->lineHeight;
    int top = te->destRect.top;
    for (int i = 0; i < line; ++i)
        top += LineHeightOf(te, i);
    return top;
}

int LineAtV(TEPtr te, int v) {
    const int dy = v - te->destRect.top;
    if (dy < 0) return -1;
    if (!IsStyled(te)) return dy / std::max<int>(1, te->lineHeight);
    int line = 0;
    for (int top = 0; line < te->nLines; ++line) {
        top += LineHeightOf(te, line);
        if (dy < top) return line;
    }
    return line + (dy - LineTop(te, line) + te->destRect.top) / std::max(1, LineHeightOf(te, line));
}

int LineLeft(TEHandle te, int line) {
    TEPtr p = *te;
    if (p->just == teJustLeft || p->just == teForceLeft) return p->destRect.left;
    return p->destRect.left +
           JustifyOffset(p->just, p->destRect.right - p->destRect.left, VisibleWidth(p, MeasureOf(p), line));
}

Point PointOfOffset(TEHandle te, int offset) {
    TEPtr p = *te;
    const auto starts = Starts(p);
    const int line = LineOfOffset(Text(p), starts, offset);
    int h = LineLeft(te, line);
    if (line < (*te)->nLines) {
        const int start = starts[static_cast<std::size_t>(line)];
        if (offset > start) h += MeasureOf(*te)(start, offset - start);
    }
    return Point{static_cast<std::int16_t>(LineTop(*te, line)), static_cast<std::int16_t>(h)};
}

int OffsetAtPoint(TEHandle te, Point pt) {
    TEPtr p = *te;
    const int line = LineAtV(p, pt.v);
    if (line < 0) return 0;
    if (line >= p->nLines) return p->teLength;
    PortScope port(p);
    return OffsetInLine(Text(*te), Starts(*te), line, pt.h - LineLeft(te, line), MeasureOf(*te));
}

void SetSelection(TEHandle te, int start, int end) {
    TEPtr p = *te;
    const int oldStart = p->selStart, oldEnd = p->selEnd;
    p->selStart = static_cast<std::uint16_t>(std::clamp(std::min(start, end), 0, int{p->teLength}));
    p->selEnd = static_cast<std::uint16_t>(std::clamp(std::max(start, end), 0, int{p->teLength}));
    {
        PortScope port(p);
        const Point at = PointOfOffset(te, (*te)->selStart);
        const int line = LineOfOffset(Text(*te), Starts(*te), (*te)->selStart);
        (*te)->selPoint = Point{static_cast<std::int16_t>(at.v + LineAscent(*te, line)), at.h};
    }
    p = *te;
    if (!p->active || (oldStart == oldEnd && p->selStart == p->selEnd)) return;
    if (oldStart == p->selStart && oldEnd == p->selEnd) return;
    const auto text = Text(p);
    const auto starts = Starts(p);
    const int first = LineOfOffset(text, starts, std::min<int>(oldStart, p->selStart));
    const int last = LineOfOffset(text, starts, std::max<int>(oldEnd, p->selEnd));
    RedrawLines(te, first, last);
}

void RedrawLines(TEHandle te, int first, int last) {
    TEPtr p = *te;
    Rect area = p->viewRect;
    area.top = static_cast<std::int16_t>(std::max<int>(area.top, LineTop(p, first)));
    if (last >= 0)
        area.bottom =
            static_cast<std::int16_t>(std::min<int>(area.bottom, LineTop(p, last) + LineHeightOf(p, last)));
    if (area.bottom > area.top) DrawArea(te, area);
}

void HideCaret(TEHandle te) {
    if (!(*te)->caretState) return;
    InvertCaret(te);
    (*te)->caretState = 0;
}

void ShowCaret(TEHandle te) {
    TEPtr p = *te;
    if (!p->active || p->selStart != p->selEnd || p->caretState) return;
    p->caretState = 1;
    p->caretTime = static_cast<std::int32_t>(TickCount() + GetCaretTime());
    InvertCaret(te);
}

void ScrollToSelection(TEHandle te) {
    TEPtr p = *te;
    const int line = LineOfOffset(Text(p), Starts(p), p->selStart);
    const int top = LineTop(p, line), bottom = top + LineHeightOf(p, line);
    int dv = 0, dh = 0;
    if (top < p->viewRect.top)
        dv = p->viewRect.top - top;
    else if (bottom > p->viewRect.bottom)
        dv = std::max(p->viewRect.bottom - bottom, p->viewRect.top - top);
    const int h = p->selPoint.h;
    if (h < p->viewRect.left)
        dh = p->viewRect.left - h;
    else if (h >= p->viewRect.right)
        dh = p->viewRect.right - 1 - h;
    if (dh != 0 || dv != 0) TEScroll(static_cast<std::int16_t>(dh), static_cast<std::int16_t>(dv), te);
}

bool DefaultClickLoop(TEPtr te) {
    Point pt;
    GetMouse(&pt);
    GrafPtr saved;
    GetPort(&saved);
    SetPort(te->inPort);
    GlobalToLocal(&pt);
    SetPort(saved);
    TEHandle h = nullptr;
    for (int i = 0; i < TERecordCount(); ++i)
        if (*TERecordAt(i) == te) h = TERecordAt(i);
    if (h == nullptr) return true;
    const int lastBottom = LineTop(te, te->nLines);
    int dv = 0, dh = 0;
    if (pt.v < te->viewRect.top && te->destRect.top < te->viewRect.top)
        dv = te->lineHeight;
    else if (pt.v >= te->viewRect.bottom && lastBottom > te->viewRect.bottom)
        dv = -te->lineHeight;
    if (pt.h < te->viewRect.left && te->destRect.left < te->viewRect.left)
        dh = std::min(8, te->viewRect.left - te->destRect.left);
    else if (pt.h >= te->viewRect.right && te->destRect.right > te->viewRect.right)
        dh = -std::min(8, te->destRect.right - te->viewRect.right);
    if (dv != 0 || dh != 0) TEScroll(static_cast<std::int16_t>(dh), static_cast<std::int16_t>(dv), h);
    return true;
}

} // namespace qiva::te

using namespace qiva::te;

void TEUpdate(const Rect* rUpdate, TEHandle te) {
    if (te == nullptr || rUpdate == nullptr) return;
    DrawArea(te, *rUpdate);
}

void TEScroll(std::int16_t dh, std::int16_t dv, TEHandle te) {
    if (te == nullptr || (dh == 0 && dv == 0)) return;
    OffsetRect(&(*te)->destRect, dh, dv);
    (*te)->selPoint.h = static_cast<std::int16_t>((*te)->selPoint.h + dh);
    (*te)->selPoint.v = static_cast<std::int16_t>((*te)->selPoint.v + dv);
    DrawArea(te, (*te)->viewRect);
}

void TEIdle(TEHandle te) {
    if (te == nullptr) return;
    TEPtr p = *te;
    if (!p->active || p->selStart != p->selEnd) return;
    const std::uint32_t now = TickCount();
    if (static_cast<std::int32_t>(now - static_cast<std::uint32_t>(p->caretTime)) < 0) return;
    p->caretTime = static_cast<std::int32_t>(now + GetCaretTime());
    InvertCaret(te);
    (*te)->caretState = static_cast<std::int16_t>(!(*te)->caretState);
}

void TEActivate(TEHandle te) {
    if (te == nullptr || (*te)->active) return;
    (*te)->active = 1;
    if ((*te)->selStart != (*te)->selEnd) {
        const auto text = Text(*te);
        const auto starts = Starts(*te);
        RedrawLines(te, LineOfOffset(text, starts, (*te)->selStart),
                    LineOfOffset(text, starts, (*te)->selEnd));
    }
    ShowCaret(te);
}

void TEDeactivate(TEHandle te) {
    if (te == nullptr || !(*te)->active) return;
    HideCaret(te);
    (*te)->active = 0;
    if ((*te)->selStart != (*te)->selEnd) {
        const auto text = Text(*te);
        const auto starts = Starts(*te);
        RedrawLines(te, LineOfOffset(text, starts, (*te)->selStart),
                    LineOfOffset(text, starts, (*te)->selEnd));
    }
}

void TETextBox(const void* text, std::int32_t length, const Rect* box, std::int16_t just) {
    TEHandle te = TENew(box, box);
    if (te == nullptr) return;
    (*te)->just = just;
    TESetText(text, length, te);
    (*te)->active = 0;
    EraseRect(box);
    TEUpdate(box, te);
    TEDispose(te);
}
