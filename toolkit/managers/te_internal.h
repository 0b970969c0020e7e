#pragma once
// What the TextEdit calls share: the record's text and lines as the state-free units want them,
// the port set up for the record, layout after edits, and drawing.

#include <span>
#include <string_view>
#include <vector>

#include "toolkit/managers/te_layout.h"
#include "toolkit/managers/textedit.h"

namespace qiva::te {

// The current port made the record's, with the record's text settings, for the scope's life.
class PortScope {
public:
    explicit PortScope(TEPtr te);
    ~PortScope();
    PortScope(const PortScope&) = delete;
    PortScope& operator=(const PortScope&) = delete;

private:
    GrafPtr saved_ = nullptr;
    GrafPtr port_ = nullptr;
    std::int16_t font_ = 0, mode_ = 0, size_ = 0;
    std::uint8_t face_ = 0;
    RGBColor fore_{};
};

std::span<const std::uint8_t> Text(TEPtr te);
std::vector<int> Starts(TEPtr te);
bool IsStyled(TEPtr te);

// Widths with the record's font (or runs); the port must be set up (PortScope).
Measure MeasureOf(TEPtr te);
Layout LayoutOf(TEPtr te, const Measure& measure);

// Stores new line starts in the record, resizing its block; false when memory is short.
bool StoreStarts(TEHandle te, const std::vector<int>& starts);

// Replaces [from, to) by `with`, lays the lines out again from the line before the change and
// redraws what changed. The insertion point goes after the new text. False (nothing changed) when
// memory is short or the text would pass kTEMaxLength.
bool ReplaceRange(TEHandle te, int from, int to, std::string_view with);

// Geometry of lines in local coordinates.
int LineTop(TEPtr te, int line);
int LineHeightOf(TEPtr te, int line);
int LineAscent(TEPtr te, int line);
int LineAtV(TEPtr te, int v); // -1 above the first line, nLines or more below the last
int OffsetAtPoint(TEHandle te, Point pt);
Point PointOfOffset(TEHandle te, int offset); // h of the insertion point, v its line's top
int LineLeft(TEHandle te, int line);          // destRect.left + the justification offset

// The selection set and shown; selPoint recomputed.
void SetSelection(TEHandle te, int start, int end);
// Draws the lines from `first` to `last` (all the rest when last < 0) within the view, erasing their
// boxes, then the highlighting or the caret.
void RedrawLines(TEHandle te, int first, int last);
void HideCaret(TEHandle te);
void ShowCaret(TEHandle te);
// Scrolls so that the insertion point shows.
void ScrollToSelection(TEHandle te);

// The default procedures.
bool DefaultWordBreak(Ptr text, std::int16_t charPos);
bool DefaultClickLoop(TEPtr te);

// Styled records: the style data's own share of these operations (te_styles.cpp).
void DisposeStyles(TEPtr te);
void StylesAfterReplace(TEHandle te, int from, int removed, int inserted);
// Sets the port to the style of the run holding `offset`; the end of that run.
int ApplyRunAt(TEPtr te, int offset);
std::vector<std::int16_t> StyledLineHeights(TEPtr te, const std::vector<int>& starts,
                                            std::vector<std::int16_t>* ascents);

} // namespace qiva::te
