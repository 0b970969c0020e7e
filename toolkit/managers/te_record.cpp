// Records: creation, text, layout, and the port set up for them.
#include <algorithm>
#include <cstddef>
#include <cstring>

#include "toolkit/core/memory.h"
#include "toolkit/core/state_dump.h"
#include "toolkit/core/tick_count.h"
#include "toolkit/graphics/quickdraw.h"
#include "toolkit/managers/scrap.h"
#include "toolkit/managers/te_dump.h"
#include "toolkit/managers/te_internal.h"
#include "toolkit/windows/windows.h"

namespace {

bool overwrite = false;
std::vector<TEHandle> records;

constexpr std::size_t RecordBytes(int nLines) {
    return sizeof(TERec) + static_cast<std::size_t>(std::max(0, nLines)) * sizeof(std::uint16_t);
}

} // namespace

namespace qiva {

bool TEOverwrite() {
    return overwrite;
}
void SetTEOverwrite(bool on) {
    overwrite = on;
}
int TERecordCount() {
    return static_cast<int>(records.size());
}
TEHandle TERecordAt(int index) {
    return index >= 0 && index < TERecordCount() ? records[static_cast<std::size_t>(index)] : nullptr;
}

namespace te {

PortScope::PortScope(TEPtr te) : port_(te->inPort) {
    GetPort(&saved_);
    if (port_ == nullptr) return;
    SetPort(port_);
    font_ = port_->txFont;
    face_ = port_->txFace;
    mode_ = port_->txMode;
    size_ = port_->txSize;
    GetForeColor(&fore_);
    if (!IsStyled(te)) {
        TextFont(te->txFont);
        TextFace(te->txFace);
        TextSize(te->txSize);
    }
    TextMode(te->txMode);
}

PortScope::~PortScope() {
    if (port_ != nullptr) {
        TextFont(font_);
        TextFace(face_);
        TextMode(mode_);
        TextSize(size_);
        RGBForeColor(&fore_);
    }
    SetPort(saved_);
}

std::span<const std::uint8_t> Text(TEPtr te) {
    if (te->hText == nullptr || *te->hText == nullptr) return {};
    return {reinterpret_cast<const std::uint8_t*>(*te->hText), te->teLength};
}

std::vector<int> Starts(TEPtr te) {
    return std::vector<int>(te->lineStarts, te->lineStarts + te->nLines + 1);
}

bool IsStyled(TEPtr te) {
    return te->txSize == -1 && te->hStyle != nullptr;
}

Measure MeasureOf(TEPtr te) {
    if (IsStyled(te)) {
        return [te](int start, int count) {
            int width = 0;
            for (int end = start + count; start < end;) {
                const int runEnd = std::min(end, ApplyRunAt(te, start));
                width += TextWidth(*te->hText, start, runEnd - start);
                start = runEnd;
            }
            return width;
        };
    }
    return [te](int start, int count) { return static_cast<int>(TextWidth(*te->hText, start, count)); };
}

Layout LayoutOf(TEPtr te, const Measure& measure) {
    Layout l;
    l.text = Text(te);
    l.measure = measure;
    if (te->wordBreak == DefaultWordBreak || te->wordBreak == nullptr) {
        l.isBreak = [te](int pos) { return IsSpace(static_cast<std::uint8_t>((*te->hText)[pos])); };
    } else {
        l.isBreak = [te](int pos) { return te->wordBreak(*te->hText, static_cast<std::int16_t>(pos)); };
    }
    l.widthLimit = te->destRect.right - te->destRect.left;
    l.crOnly = te->crOnly != 0;
    return l;
}

bool StoreStarts(TEHandle te, const std::vector<int>& starts) {
    const int nLines = static_cast<int>(starts.size()) - 1;
    SetHandleSize(reinterpret_cast<Handle>(te), static_cast<Size>(RecordBytes(nLines)));
    if (MemError() != noErr) return false;
    TEPtr p = *te;
    p->nLines = static_cast<std::int16_t>(nLines);
    for (int i = 0; i <= nLines; ++i)
        p->lineStarts[i] = static_cast<std::uint16_t>(starts[static_cast<std::size_t>(i)]);
    if (IsStyled(p)) StyledLineHeights(p, starts, nullptr);
    return true;
}

bool DefaultWordBreak(Ptr text, std::int16_t charPos) {
    return IsSpace(static_cast<std::uint8_t>(text[charPos]));
}

bool ReplaceRange(TEHandle te, int from, int to, std::string_view with) {
    TEPtr p = *te;
    const int length = p->teLength;
    from = std::clamp(from, 0, length);
    to = std::clamp(to, from, length);
    const int inserted = static_cast<int>(with.size());
    const int newLength = length - (to - from) + inserted;
    if (newLength > kTEMaxLength) return false;
    const std::string removed(*p->hText + from, static_cast<std::size_t>(to - from));
    if (newLength > length) {
        SetHandleSize(p->hText, newLength);
        if (MemError() != noErr) return false;
    }
    // An empty text has no block at all, so nothing is moved when there is nothing to move.
    char* text = *p->hText;
    if (to < length) std::memmove(text + from + inserted, text + to, static_cast<std::size_t>(length - to));
    if (inserted > 0) std::memcpy(text + from, with.data(), with.size());
    if (newLength < length) SetHandleSize(p->hText, newLength);
    p->teLength = static_cast<std::uint16_t>(newLength);
    StylesAfterReplace(te, from, to - from, inserted);

    PortScope port(*te);
    const Measure measure = MeasureOf(*te);
    const std::vector<int> old = Starts(*te);
    const Recalc r = RecalLines(LayoutOf(*te, measure), old, from, to - from, inserted);
    if (!StoreStarts(te, r.starts)) {
        // Put the text back as it was: the record keeps lines that describe it.
        ReplaceRange(te, from, from + inserted, removed);
        return false;
    }
    p = *te;
    p->selStart = p->selEnd = static_cast<std::uint16_t>(from + inserted);
    // Lines below move only when the count changed; otherwise only the lines before the first one
    // that matched an old line again differ.
    int lastChanged = -1;
    if (r.starts.size() == old.size()) {
        const int delta = inserted - (to - from);
        lastChanged = p->nLines - 1;
        for (int k = r.firstChanged + 1; k < p->nLines; ++k) {
            if (old[k] >= to && r.starts[k] == old[k] + delta) {
                lastChanged = k - 1;
                break;
            }
        }
    }
    RedrawLines(te, r.firstChanged, lastChanged);
    return true;
}

} // namespace te
} // namespace qiva

using namespace qiva::te;

void TEInit() {
    overwrite = false;
    qiva::InstallScrapExchange();
    qiva::RegisterStateDump("te", [](std::string& out) { qiva::AppendTEDumpLines(out, FrontWindow()); });
}

TEHandle TENew(const Rect* destRect, const Rect* viewRect) {
    auto te = reinterpret_cast<TEHandle>(NewHandleClear(static_cast<Size>(RecordBytes(0))));
    if (te == nullptr) return nullptr;
    const Handle text = NewHandle(0);
    if (text == nullptr) {
        DisposeHandle(reinterpret_cast<Handle>(te));
        return nullptr;
    }
    TEPtr p = *te;
    p->destRect = *destRect;
    p->viewRect = *viewRect;
    GetPort(&p->inPort);
    if (p->inPort != nullptr) {
        p->txFont = p->inPort->txFont;
        p->txFace = p->inPort->txFace;
        p->txMode = p->inPort->txMode;
        p->txSize = p->inPort->txSize;
        FontInfo info{};
        GetFontInfo(&info);
        p->fontAscent = info.ascent;
        p->lineHeight = static_cast<std::int16_t>(info.ascent + info.descent + info.leading);
    }
    if (p->lineHeight <= 0) p->lineHeight = 1; // a port without a usable font still lays lines out
    p->wordBreak = DefaultWordBreak;
    p->clikLoop = DefaultClickLoop;
    p->hText = text;
    records.push_back(te);
    return te;
}

void TEDispose(TEHandle te) {
    if (te == nullptr) return;
    std::erase(records, te);
    DisposeStyles(*te);
    DisposeHandle((*te)->hText);
    DisposeHandle(reinterpret_cast<Handle>(te));
}

void TESetText(const void* text, std::int32_t length, TEHandle te) {
    if (te == nullptr) return;
    length = std::clamp(length, 0, kTEMaxLength);
    if (PtrToXHand(text, (*te)->hText, length) != noErr) return;
    (*te)->teLength = static_cast<std::uint16_t>(length);
    StylesAfterReplace(te, 0, -1, length);
    TECalText(te);
    (*te)->selStart = (*te)->selEnd = static_cast<std::uint16_t>(length);
}

CharsHandle TEGetText(TEHandle te) {
    return te == nullptr ? nullptr : (*te)->hText;
}

void TECalText(TEHandle te) {
    if (te == nullptr) return;
    PortScope port(*te);
    const Measure measure = MeasureOf(*te);
    StoreStarts(te, BreakLines(LayoutOf(*te, measure)));
}

void TESetJust(std::int16_t just, TEHandle te) {
    if (te != nullptr) (*te)->just = just;
}
