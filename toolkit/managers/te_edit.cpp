// Editing records: keys, clicks, the selection, cut, copy, paste, and the TextEdit scrap.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "toolkit/core/error_box.h"
#include "toolkit/core/events.h"
#include "toolkit/core/memory.h"
#include "toolkit/core/tick_count.h"
#include "toolkit/graphics/drawing_state.h"
#include "toolkit/graphics/quickdraw.h"
#include "toolkit/managers/scrap.h"
#include "toolkit/managers/te_hit.h"
#include "toolkit/managers/te_internal.h"
#include "toolkit/managers/te_keys.h"

namespace {

constexpr ResType kText = MakeResType("TEXT");

Handle teScrap = nullptr;
std::int32_t teScrapLength = 0;

Handle TheTEScrap() {
    if (teScrap == nullptr) teScrap = NewHandle(0);
    return teScrap;
}

// What every editing call does around its change: one drawing bracket, the caret hidden while the
// text moves under it, shown again and the selection brought into view afterwards.
class EditScope {
public:
    explicit EditScope(TEHandle te) : te_(te) {
        qiva::BeginDrawing();
        qiva::te::HideCaret(te_);
    }
    ~EditScope() {
        qiva::te::ScrollToSelection(te_);
        qiva::te::ShowCaret(te_);
        qiva::EndDrawing();
    }
    EditScope(const EditScope&) = delete;
    EditScope& operator=(const EditScope&) = delete;

private:
    TEHandle te_;
};

std::string_view Selected(TEPtr te) {
    return {*te->hText + te->selStart, static_cast<std::size_t>(te->selEnd - te->selStart)};
}

bool IsBreakAt(std::span<const std::uint8_t> text, int pos) {
    return qiva::te::IsSpace(text[static_cast<std::size_t>(pos)]);
}

// The line above or below the insertion point, at the insertion point's h.
int VerticalMove(TEHandle te, bool up) {
    using namespace qiva::te;
    TEPtr p = *te;
    const int line = LineOfOffset(Text(p), Starts(p), p->selStart);
    if (up && line == 0) return 0;
    if (!up && line >= p->nLines - 1) return p->teLength;
    const int target = up ? line - 1 : line + 1;
    const Point pt{static_cast<std::int16_t>(LineTop(p, target)), p->selPoint.h};
    return OffsetAtPoint(te, pt);
}

} // namespace

using namespace qiva::te;

void TESetSelect(std::int32_t selStart, std::int32_t selEnd, TEHandle te) {
    if (te == nullptr) return;
    EditScope scope(te);
    SetSelection(te, std::clamp<std::int32_t>(selStart, 0, (*te)->teLength),
                 std::clamp<std::int32_t>(selEnd, 0, (*te)->teLength));
}

void TEKey(std::int16_t key, TEHandle te) {
    if (te == nullptr) return;
    EditScope scope(te);
    TEPtr p = *te;
    const KeyPlan plan =
        PlanKey(static_cast<std::uint8_t>(key), Text(p), p->selStart, p->selEnd, qiva::TEOverwrite());
    switch (plan.kind) {
    case KeyPlan::Replace: {
        const char typed = static_cast<char>(plan.typed);
        if (!plan.hasTyped && plan.from == plan.to) break;
        ReplaceRange(te, plan.from, plan.to,
                     plan.hasTyped ? std::string_view(&typed, 1) : std::string_view());
        break;
    }
    case KeyPlan::Select:
        SetSelection(te, plan.from, plan.to);
        break;
    case KeyPlan::ToggleOverwrite:
        qiva::SetTEOverwrite(!qiva::TEOverwrite());
        break;
    case KeyPlan::LineAbove:
    case KeyPlan::LineBelow: {
        const int at = VerticalMove(te, plan.kind == KeyPlan::LineAbove);
        SetSelection(te, at, at);
        break;
    }
    }
}

void TEClick(Point pt, bool extend, TEHandle te) {
    if (te == nullptr) return;
    EditScope scope(te);
    TEPtr p = *te;
    const int offset = OffsetAtPoint(te, pt);
    const std::uint32_t now = TickCount();
    const bool twice = !extend && now - static_cast<std::uint32_t>(p->clickTime) < GetDblTime() &&
                       std::abs(pt.h - p->clickLoc.h) <= 4 && std::abs(pt.v - p->clickLoc.v) <= 4;
    p->clickTime = static_cast<std::int32_t>(now);
    p->clickLoc = pt;
    // The anchor is the part of the selection that stays while the mouse moves.
    Range anchor{offset, offset};
    if (twice) {
        anchor = WordAt(Text(p), offset, IsBreakAt);
        p->clickTime = 0; // a third click starts again
    } else if (extend) {
        const int mid = (p->selStart + p->selEnd) / 2;
        anchor = offset < mid ? Range{p->selEnd, p->selEnd} : Range{p->selStart, p->selStart};
    }
    auto selectTo = [&](int at) {
        Range r = twice ? WordAt(Text(*te), at, IsBreakAt) : Range{at, at};
        SetSelection(te, std::min(anchor.start, r.start), std::max(anchor.end, r.end));
    };
    selectTo(offset);
    while (Button()) {
        TEPtr q = *te;
        Point mouse;
        GetMouse(&mouse);
        {
            PortScope port(q);
            GlobalToLocal(&mouse);
        }
        if (!PtInRect(mouse, &q->viewRect) && q->clikLoop != nullptr && !q->clikLoop(q)) break;
        selectTo(OffsetAtPoint(te, mouse));
    }
}

void TEDelete(TEHandle te) {
    if (te == nullptr || (*te)->selStart == (*te)->selEnd) return;
    EditScope scope(te);
    ReplaceRange(te, (*te)->selStart, (*te)->selEnd, {});
}

void TEInsert(const void* text, std::int32_t length, TEHandle te) {
    if (te == nullptr || text == nullptr || length <= 0) return;
    EditScope scope(te);
    const int start = (*te)->selStart, end = (*te)->selEnd;
    const std::string copy(static_cast<const char*>(text), static_cast<std::size_t>(length));
    // The text goes in front of the selection, which keeps its characters.
    if (ReplaceRange(te, start, start, copy)) SetSelection(te, start + length, end + length);
}

void TECopy(TEHandle te) {
    if (te == nullptr) return;
    const std::string_view sel = Selected(*te);
    if (PtrToXHand(sel.data(), TheTEScrap(), static_cast<Size>(sel.size())) == noErr)
        teScrapLength = static_cast<std::int32_t>(sel.size());
}

void TECut(TEHandle te) {
    if (te == nullptr) return;
    TECopy(te);
    TEDelete(te);
}

void TEPaste(TEHandle te) {
    if (te == nullptr) return;
    EditScope scope(te);
    const Handle scrap = TheTEScrap();
    const std::string text(*scrap == nullptr ? "" : *scrap,
                           static_cast<std::size_t>(std::min<Size>(teScrapLength, GetHandleSize(scrap))));
    ReplaceRange(te, (*te)->selStart, (*te)->selEnd, text);
}

Handle TEScrapHandle() {
    return TheTEScrap();
}

std::int32_t TEGetScrapLength() {
    return teScrapLength;
}

void TESetScrapLength(std::int32_t length) {
    teScrapLength = std::clamp<std::int32_t>(length, 0, GetHandleSize(TheTEScrap()));
}

OSErr TEToScrap() {
    const Handle scrap = TheTEScrap();
    if (PutScrap(teScrapLength, kText, *scrap) != 0) {
        qiva::ShowErrorBox("TEToScrap : erreur deskmanager");
        return static_cast<OSErr>(noScrapErr);
    }
    return noErr;
}

OSErr TEFromScrap() {
    const Handle h = NewHandle(0);
    std::int32_t offset = 0;
    const std::int32_t n = GetScrap(h, kText, &offset);
    if (n < 0) {
        DisposeHandle(h);
        if (n == noTypeErr) return static_cast<OSErr>(noTypeErr);
        qiva::ShowErrorBox("TEFromScrap : erreur deskmanager");
        return static_cast<OSErr>(n);
    }
    if (teScrap != nullptr) DisposeHandle(teScrap);
    teScrap = h;
    teScrapLength = n;
    return noErr;
}
