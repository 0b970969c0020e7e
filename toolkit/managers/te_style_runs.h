#pragma once
// Style runs of a styled TextEdit record, free of any state: the run of an offset, the runs after
// an edit or a change of style, and the style table's use counts.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "toolkit/graphics/quickdraw_types.h"

namespace qiva::te {

// One run: from startChar to the next run's startChar, in the style table's entry styleIndex.
struct StyleRun {
    std::uint16_t startChar;
    std::uint16_t styleIndex;
};

// A style table entry, 18 bytes in the classic layout.
struct STElement {
    std::int16_t stCount; // runs using it
    std::int16_t stHeight;
    std::int16_t stAscent;
    std::int16_t stFont;
    std::uint8_t stFace;
    std::uint8_t filler;
    std::int16_t stSize;
    RGBColor stColor;
};

inline bool SameStyle(const STElement& a, const STElement& b) {
    return a.stFont == b.stFont && a.stFace == b.stFace && a.stSize == b.stSize &&
           a.stColor.red == b.stColor.red && a.stColor.green == b.stColor.green &&
           a.stColor.blue == b.stColor.blue;
}

// `runs` holds nRuns + 1 entries, the last marking the text's end. The run holding `offset`: the last
// whose startChar is not above it; -1 past the end of the text.
int RunOfOffset(std::span<const StyleRun> runs, int offset);

// The style index of every character.
std::vector<std::uint16_t> StylePerCharacter(std::span<const StyleRun> runs, int length);

// Runs from the style of every character: equal neighbours merged, the end marker appended. An
// empty text keeps one empty run in `emptyStyle`.
std::vector<StyleRun> RunsFromCharacters(std::span<const std::uint16_t> styles, std::uint16_t emptyStyle);

// Drops one use of entry `index`: at no use left the entry leaves the table and the runs' indices
// above it move down by one. A run still naming the entry is a fault in the counts: `messages` gets
// "qiva_DelStyle : count illegal" and that run's index is decreased anyway.
void DeleteStyleUse(std::vector<StyleRun>& runs, std::vector<STElement>& styles, int index,
                    std::vector<std::string>* messages);

// Sets every entry's stCount to the runs using it (the end marker not counted), removing entries no
// run uses through DeleteStyleUse.
void RecountStyles(std::vector<StyleRun>& runs, std::vector<STElement>& styles,
                   std::vector<std::string>* messages);

// The entry equal to `style` (font, face, size, colour), added when there is none.
std::uint16_t FindOrAddStyle(std::vector<STElement>& styles, const STElement& style);

} // namespace qiva::te
