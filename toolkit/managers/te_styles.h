#pragma once
// Styled TextEdit records: style runs over the text, a style table and a table of line heights.

#include <cstdint>

#include "toolkit/managers/te_style_runs.h"
#include "toolkit/managers/textedit.h"

struct TextStyle {
    std::int16_t tsFont;
    std::uint8_t tsFace;
    std::uint8_t filler;
    std::int16_t tsSize;
    RGBColor tsColor;
};

struct LHElement {
    std::int16_t lhHeight;
    std::int16_t lhAscent;
};

using STHandle = qiva::te::STElement**;
using LHHandle = LHElement**;

// The style record, in the classic field order; runs holds nRuns + 1 entries.
struct TEStyleRec {
    std::int16_t nRuns;
    std::int16_t nStyles;
    STHandle styleTab;
    LHHandle lhTab;
    std::int32_t teRefCon;
    Handle nullStyle;
    qiva::te::StyleRun runs[1];
};
using TEStylePtr = TEStyleRec*;
using TEStyleHandle = TEStylePtr*;

// What TESetStyle changes.
enum : std::int16_t {
    doFont = 1,
    doFace = 2,
    doSize = 4,
    doColor = 8,
    doAll = 15,
    addSize = 16,
    doToggle = 32
};

// A styled record whose one run has the port's text settings and foreground colour.
TEHandle TEStyleNew(const Rect* destRect, const Rect* viewRect);
TEStyleHandle TEGetStyleHandle(TEHandle te);
// Gives the selection (or, with an empty selection, nothing) the parts of newStyle that mode names.
void TESetStyle(std::int16_t mode, const TextStyle* newStyle, bool redraw, TEHandle te);
// In the selection, the parts of oldStyle that mode names become newStyle's where they match.
void TEReplaceStyle(std::int16_t mode, const TextStyle* oldStyle, const TextStyle* newStyle, bool redraw,
                    TEHandle te);
// The style at an offset, and the height and ascent of its line.
void TEGetStyle(std::int16_t offset, TextStyle* theStyle, std::int16_t* lineHeight, std::int16_t* fontAscent,
                TEHandle te);
