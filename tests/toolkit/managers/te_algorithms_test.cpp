// The state-free units of TextEdit: line breaking, keys, words, points and offsets, style runs.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "toolkit/managers/te_hit.h"
#include "toolkit/managers/te_keys.h"
#include "toolkit/managers/te_layout.h"
#include "toolkit/managers/te_style_runs.h"

namespace {

using namespace qiva::te;

// A text with every character 6 pixels wide, save 'W' (10) and the carriage return (0).
struct Fixed {
    std::string text;
    int limit = 60;
    bool crOnly = false;
    std::span<const std::uint8_t> Bytes() const {
        return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
    }
    int Width(int start, int count) const {
        int w = 0;
        for (int i = start; i < start + count; ++i)
            w += text[static_cast<std::size_t>(i)] == 'W'    ? 10
                 : text[static_cast<std::size_t>(i)] == '\r' ? 0
                                                             : 6;
        return w;
    }
    Layout Make() const {
        Layout l;
        l.text = Bytes();
        l.measure = [this](int s, int n) { return Width(s, n); };
        l.isBreak = [this](int p) {
            return IsSpace(static_cast<std::uint8_t>(text[static_cast<std::size_t>(p)]));
        };
        l.widthLimit = limit;
        l.crOnly = crOnly;
        return l;
    }
};

TEST(TELayout, LinesBreakAtReturnsBetweenWordsAndInsideLongWords) {
    struct Case {
        const char* text;
        int limit;
        std::vector<int> starts;
    };
    const Case cases[] = {
        {"", 60, {0}},
        {"short", 60, {0, 5}},
        {"ab\rcd\r", 60, {0, 3, 6}},                   // a line ends after its return
        {"\r\r", 60, {0, 1, 2}},                       // empty lines
        {"aaaa bbbb cccc", 60, {0, 10, 14}},           // 9 characters fit (54 < 60), the space stays
        {"aaaa  bbbbbb", 60, {0, 6, 12}},              // both spaces stay on the first line
        {"aaaaaaaaaaaaaaaaaaaa", 60, {0, 9, 18, 20}},  // a long word is cut, 9 characters a line
        {"aa bbbbbbbbbbbbbbbbbb", 60, {0, 3, 12, 21}}, // the long word starts its own line
        {"WWWWWW", 60, {0, 5, 6}},                     // 5 × 10 = 50 < 60, the sixth would make 60
        {"abc", 3, {0, 1, 2, 3}},                      // narrower than a character: one a line
        {"abc", 0, {0, 1, 2, 3}},
        {"aaaa bbbb\rcc", 60, {0, 10, 12}},      // the return's own width is not counted
        {"aaaaaaaaaaaa\rb", 60, {0, 9, 13, 14}}, // cut before the return, which ends the next line
    };
    for (const Case& c : cases) {
        Fixed f{c.text, c.limit};
        EXPECT_EQ(BreakLines(f.Make()), c.starts) << '"' << c.text << "\" within " << c.limit;
    }
}

TEST(TELayout, ReturnsOnlyModeIgnoresTheWidth) {
    Fixed f{"a very long line that would wrap\rnext", 30, true};
    EXPECT_EQ(BreakLines(f.Make()), (std::vector<int>{0, 33, 37}));
}

// An edit laid out again from the old lines must give the lines of a full layout.
TEST(TELayout, IncrementalLayoutAgreesWithAFullOne) {
    std::mt19937 rng(7);
    const std::string alphabet = "aaaabbW  \r";
    Fixed f;
    for (int round = 0; round < 3000; ++round) {
        f.limit = 20 + static_cast<int>(rng() % 80);
        std::vector<int> old = BreakLines(f.Make());
        const int length = static_cast<int>(f.text.size());
        const int pos = length == 0 ? 0 : static_cast<int>(rng() % static_cast<unsigned>(length + 1));
        const int removed = static_cast<int>(rng() % static_cast<unsigned>(std::min(length - pos, 12) + 1));
        std::string inserted;
        for (int n = static_cast<int>(rng() % 14); n > 0; --n)
            inserted += alphabet[rng() % alphabet.size()];
        if (length > 300) inserted.clear();
        f.text.replace(static_cast<std::size_t>(pos), static_cast<std::size_t>(removed), inserted);
        const Recalc r = RecalLines(f.Make(), old, pos, removed, static_cast<int>(inserted.size()));
        const std::vector<int> full = BreakLines(f.Make());
        ASSERT_EQ(r.starts, full) << "round " << round << " text \"" << f.text << '"';
        ASSERT_LE(r.firstChanged, static_cast<int>(full.size()));
        for (int i = 0; i < r.firstChanged; ++i)
            ASSERT_EQ(old[static_cast<std::size_t>(i)], full[static_cast<std::size_t>(i)]);
    }
}

TEST(TEKeys, KeysPlanTheirEdits) {
    const std::string text = "ab\rcd";
    const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(text.data()),
                                              text.size());
    struct Case {
        std::uint8_t key;
        int selStart, selEnd;
        bool overwrite;
        KeyPlan::Kind kind;
        int from, to;
        bool typed;
    };
    const Case cases[] = {
        {kBackspace, 0, 0, false, KeyPlan::Replace, 0, 0, false}, // nothing before the start
        {kBackspace, 2, 2, false, KeyPlan::Replace, 1, 2, false},
        {kBackspace, 1, 4, false, KeyPlan::Replace, 1, 4, false},     // a selection goes as it is
        {kForwardDelete, 5, 5, false, KeyPlan::Replace, 5, 5, false}, // nothing after the end
        {kForwardDelete, 1, 1, false, KeyPlan::Replace, 1, 2, false},
        {kHome, 3, 4, false, KeyPlan::Select, 0, 0, false},
        {kEnd, 1, 1, false, KeyPlan::Select, 5, 5, false},
        {kLeft, 0, 0, false, KeyPlan::Select, 0, 0, false},
        {kLeft, 3, 5, false, KeyPlan::Select, 2, 2, false},
        {kRight, 5, 5, false, KeyPlan::Select, 5, 5, false},
        {kRight, 1, 1, false, KeyPlan::Select, 2, 2, false},
        {kOverwriteKey, 1, 1, false, KeyPlan::ToggleOverwrite, 0, 0, false},
        {kUp, 4, 4, false, KeyPlan::LineAbove, 4, 4, false},
        {kDown, 1, 1, false, KeyPlan::LineBelow, 1, 1, false},
        {'x', 1, 1, false, KeyPlan::Replace, 1, 1, true}, // insert
        {'x', 1, 1, true, KeyPlan::Replace, 1, 2, true},  // overwrite the next character
        {'x', 2, 2, true, KeyPlan::Replace, 2, 2, true},  // but never a return
        {'x', 5, 5, true, KeyPlan::Replace, 5, 5, true},  // nor past the end
        {'x', 0, 2, true, KeyPlan::Replace, 0, 2, true},  // a selection is replaced
    };
    for (const Case& c : cases) {
        const KeyPlan p = PlanKey(c.key, bytes, c.selStart, c.selEnd, c.overwrite);
        EXPECT_EQ(p.kind, c.kind) << int(c.key) << " at " << c.selStart;
        EXPECT_EQ(p.from, c.from) << int(c.key) << " at " << c.selStart;
        EXPECT_EQ(p.to, c.to) << int(c.key) << " at " << c.selStart;
        EXPECT_EQ(p.hasTyped, c.typed);
    }
}

bool Space(std::span<const std::uint8_t> t, int p) {
    return IsSpace(t[static_cast<std::size_t>(p)]);
}

TEST(TEKeys, DoubleClickWords) {
    const std::string text = "one  two\rthree";
    const std::span<const std::uint8_t> b(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    struct Case {
        int offset, start, end;
    };
    for (const Case& c : {Case{0, 0, 3}, Case{2, 0, 3}, Case{3, 0, 3}, Case{4, 4, 5}, Case{5, 5, 8},
                          Case{8, 5, 8}, Case{9, 9, 14}, Case{14, 9, 14}}) {
        const Range r = WordAt(b, c.offset, Space);
        EXPECT_EQ(r.start, c.start) << c.offset;
        EXPECT_EQ(r.end, c.end) << c.offset;
    }
    const std::string spaces = "a  ";
    const std::span<const std::uint8_t> s(reinterpret_cast<const std::uint8_t*>(spaces.data()),
                                          spaces.size());
    EXPECT_EQ(WordAt(s, 3, Space).start, 3) << "past a trailing space: nothing";
}

TEST(TEHit, PointsAlongALineAndLinesOfOffsets) {
    Fixed f{"abcd efgh\rij"}; // lines: "abcd efgh\r" and "ij"
    f.limit = 100;
    const auto starts = BreakLines(f.Make());
    ASSERT_EQ(starts, (std::vector<int>{0, 10, 12}));
    const Measure m = [&](int s, int n) { return f.Width(s, n); };
    struct Case {
        int line, x, offset;
    };
    for (const Case& c : {Case{0, -5, 0}, Case{0, 0, 0}, Case{0, 2, 0}, Case{0, 3, 1}, Case{0, 8, 1},
                          Case{0, 9, 2}, Case{0, 500, 9}, // past the end: before the return
                          Case{1, 500, 12}, Case{2, 0, 12}}) {
        EXPECT_EQ(OffsetInLine(f.Bytes(), starts, c.line, c.x, m), c.offset) << c.line << ' ' << c.x;
    }
    // A line broken after a space keeps a click past its end on it.
    Fixed wrapped{"aaaa bbbb"};
    wrapped.limit = 40;
    const auto ws = BreakLines(wrapped.Make());
    ASSERT_EQ(ws, (std::vector<int>{0, 5, 9}));
    EXPECT_EQ(OffsetInLine(wrapped.Bytes(), ws, 0, 500, m), 4);

    EXPECT_EQ(LineOfOffset(f.Bytes(), starts, 0), 0);
    EXPECT_EQ(LineOfOffset(f.Bytes(), starts, 9), 0);
    EXPECT_EQ(LineOfOffset(f.Bytes(), starts, 10), 1);
    EXPECT_EQ(LineOfOffset(f.Bytes(), starts, 12), 1);
    Fixed endsInReturn{"ab\r"};
    const auto es = BreakLines(endsInReturn.Make());
    EXPECT_EQ(LineOfOffset(endsInReturn.Bytes(), es, 3), 1)
        << "after a final return: the empty line after it";
    EXPECT_EQ(LineOfOffset({}, std::vector<int>{0}, 0), 0);

    EXPECT_EQ(JustifyOffset(kJustLeft, 100, 40), 0);
    EXPECT_EQ(JustifyOffset(kJustCenter, 100, 40), 30);
    EXPECT_EQ(JustifyOffset(kJustRight, 100, 40), 60);
}

TEST(TEStyleRuns, RunOfAnOffset) {
    const std::vector<StyleRun> runs = {{0, 2}, {4, 0}, {9, 1}, {12, 0}};
    struct Case {
        int offset, run;
    };
    for (const Case& c : {Case{0, 0}, Case{3, 0}, Case{4, 1}, Case{8, 1}, Case{9, 2}, Case{12, 2},
                          Case{13, -1}, Case{-1, -1}}) {
        EXPECT_EQ(RunOfOffset(runs, c.offset), c.run) << c.offset;
    }
}

TEST(TEStyleRuns, RunsMergeAndTheTableCountsItsUses) {
    std::vector<STElement> styles(3);
    for (int i = 0; i < 3; ++i)
        styles[static_cast<std::size_t>(i)].stFont = static_cast<std::int16_t>(i + 10);
    // Characters styled 2 2 0 0 1 1 2: style 2 is used twice, 0 and 1 once.
    const std::vector<std::uint16_t> perChar = {2, 2, 0, 0, 1, 1, 2};
    auto runs = RunsFromCharacters(perChar, 0);
    EXPECT_EQ(runs.size(), 5u);
    EXPECT_EQ(StylePerCharacter(runs, 7), perChar);
    std::vector<std::string> messages;
    RecountStyles(runs, styles, &messages);
    EXPECT_EQ(styles[2].stCount, 2);
    // Restyle the middle into style 2: styles 0 and 1 lose their uses and leave the table.
    runs = RunsFromCharacters(std::vector<std::uint16_t>(7, 2), 0);
    RecountStyles(runs, styles, &messages);
    ASSERT_EQ(styles.size(), 1u);
    EXPECT_EQ(styles[0].stFont, 12);
    EXPECT_EQ(styles[0].stCount, 1);
    EXPECT_EQ(runs[0].styleIndex, 0) << "the run's index moved down with its entry";
    EXPECT_TRUE(messages.empty());
}

TEST(TEStyleRuns, RemovingAStyleStillInUseIsReported) {
    std::vector<STElement> styles(2);
    styles[0].stCount = 1;
    styles[1].stCount = 1;
    std::vector<StyleRun> runs = {{0, 0}, {3, 1}, {5, 0}};
    std::vector<std::string> messages;
    DeleteStyleUse(runs, styles, 1, &messages);
    EXPECT_EQ(styles.size(), 1u);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "qiva_DelStyle : count illegal");
    EXPECT_EQ(runs[1].styleIndex, 0) << "decreased anyway";
    STElement e{};
    e.stFont = 5;
    EXPECT_EQ(FindOrAddStyle(styles, e), 1);
    EXPECT_EQ(FindOrAddStyle(styles, e), 1);
}

} // namespace
