#include <gtest/gtest.h>

#include <random>

#include "te_fixture.h"
#include "toolkit/managers/te_dump.h"
#include "toolkit/managers/te_layout.h"

namespace {

using TE = TextEditTest;

// The lines a full layout gives for the record's text, with widths measured in its font.
std::vector<int> FullLayout(TEHandle te) {
    qiva::te::Layout l;
    const std::string text = TextEditTest::TextOf(te);
    l.text = {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
    l.measure = [&](int s, int n) { return static_cast<int>(TextWidth(text.data(), s, n)); };
    l.isBreak = [&](int p) {
        return qiva::te::IsSpace(static_cast<std::uint8_t>(text[static_cast<std::size_t>(p)]));
    };
    l.widthLimit = (*te)->destRect.right - (*te)->destRect.left;
    return qiva::te::BreakLines(l);
}

TEST_F(TE, NewRecordTakesThePortsTextSettings) {
    TEHandle te = Make(10, 3);
    TEPtr p = *te;
    EXPECT_EQ(p->txFont, 22);
    EXPECT_EQ(p->txSize, 12);
    EXPECT_EQ(p->inPort, &port);
    EXPECT_EQ(p->lineHeight, LineHeight());
    EXPECT_EQ(p->teLength, 0);
    EXPECT_EQ(p->nLines, 0);
    EXPECT_EQ(p->lineStarts[0], 0);
    EXPECT_NE(p->hText, nullptr);
    EXPECT_EQ(qiva::TERecordCount(), 1);
    TEDispose(te);
    EXPECT_EQ(qiva::TERecordCount(), 0);
}

TEST_F(TE, SetTextLaysOutLinesAndPutsTheInsertionPointAtTheEnd) {
    TEHandle te = Make(10, 4, "one two three four\rfive");
    EXPECT_EQ(StartsOf(te), (std::vector<int>{0, 8, 19, 23}));
    EXPECT_EQ((*te)->selStart, 23);
    EXPECT_EQ((*te)->selEnd, 23);
    EXPECT_EQ(TEGetText(te), (*te)->hText);
    TESetText("x", 1, te);
    EXPECT_EQ(StartsOf(te), (std::vector<int>{0, 1}));
}

TEST_F(TE, EdgeKeys) {
    struct Case {
        const char* text;
        int selStart, selEnd;
        bool overwrite;
        std::uint8_t key;
        const char* after;
        int afterSel;
    };
    const Case cases[] = {
        {"abc", 0, 0, false, 8, "abc", 0},   // backspace at 0 deletes nothing
        {"abc", 3, 3, false, 127, "abc", 3}, // forward delete at the end deletes nothing
        {"abc", 2, 2, false, 8, "ac", 1},        {"abc", 1, 1, false, 127, "ac", 1},
        {"ab\rc", 2, 2, true, 'x', "abx\rc", 3}, // overwrite before a return inserts
        {"ab\rc", 1, 1, true, 'x', "ax\rc", 2},  // and replaces elsewhere
        {"abc", 3, 3, true, 'x', "abcx", 4},     // and inserts at the end
        {"abc", 0, 2, false, 'x', "xc", 1},      {"abc", 1, 3, false, 8, "a", 1},
    };
    for (const Case& c : cases) {
        TEHandle te = Make(20, 3, c.text);
        TESetSelect(c.selStart, c.selEnd, te);
        qiva::SetTEOverwrite(c.overwrite);
        TEKey(c.key, te);
        EXPECT_EQ(TextOf(te), c.after) << c.text << " key " << int(c.key);
        EXPECT_EQ((*te)->selStart, c.afterSel) << c.text << " key " << int(c.key);
        EXPECT_EQ((*te)->selEnd, c.afterSel);
        TEDispose(te);
    }
}

TEST_F(TE, KeyFiveSwitchesOverwrite) {
    TEHandle te = Make(20, 3, "abc");
    TESetSelect(0, 0, te);
    TEKey(5, te);
    EXPECT_TRUE(qiva::TEOverwrite());
    Type(te, "xy");
    EXPECT_EQ(TextOf(te), "xyc");
    TEKey(5, te);
    Type(te, "z");
    EXPECT_EQ(TextOf(te), "xyzc");
}

TEST_F(TE, ArrowsMoveByCharactersAndLines) {
    TEHandle te = Make(10, 4, "first line\rsecond\rthird"); // lines start at 0, 11, 18
    ASSERT_EQ(StartsOf(te), (std::vector<int>{0, 11, 18, 23}));
    struct Case {
        int at;
        std::uint8_t key;
        int expected;
    };
    for (const Case& c :
         {Case{3, 30, 0},   // up on the first line: start of text
          Case{20, 31, 23}, // down on the last line: end of text
          Case{13, 30, 2},  // up keeps the column
          Case{2, 31, 13},  // down keeps the column
          Case{9, 31, 17},  // column past the next line's end: before its return
          Case{0, 28, 0}, Case{23, 29, 23}, Case{11, 28, 10}, Case{5, 1, 0}, Case{5, 4, 23}}) {
        TESetSelect(c.at, c.at, te);
        TEKey(c.key, te);
        EXPECT_EQ((*te)->selStart, c.expected) << "from " << c.at << " key " << int(c.key);
        EXPECT_EQ((*te)->selEnd, c.expected);
    }
}

TEST_F(TE, ClicksSelect) {
    TEHandle te = Make(10, 6, "alpha beta\rgamma");
    const int top = (*te)->destRect.top, left = (*te)->destRect.left, lh = (*te)->lineHeight;
    struct Case {
        int h, v, offset;
    };
    for (const Case& c : {Case{left + 2 * width + 1, top + 1, 2},             // third character's left half
                          Case{left + 2 * width + width / 2 + 1, top + 1, 3}, // its right half
                          Case{left + 200, top + lh + 2, 16},                 // past a line's end
                          Case{left + 1, top + 5 * lh, 16},                   // below the last line: end
                          Case{left + 40, top - 3, 0}}) {                     // above the first: start
        ticks += 100;                                                         // never a double click
        TEClick(Point{static_cast<std::int16_t>(c.v), static_cast<std::int16_t>(c.h)}, false, te);
        EXPECT_EQ((*te)->selStart, c.offset) << c.h << "," << c.v;
        EXPECT_EQ((*te)->selEnd, c.offset);
    }
    // Shift extends from the far end of the selection.
    TESetSelect(2, 4, te);
    TEClick(Point{static_cast<std::int16_t>(top + 1), static_cast<std::int16_t>(left + 8 * width)}, true, te);
    EXPECT_EQ((*te)->selStart, 2);
    EXPECT_EQ((*te)->selEnd, 8);
}

TEST_F(TE, DoubleClickSelectsAWordWithinTheDoubleClickTime) {
    TEHandle te = Make(20, 3, "alpha beta gamma");
    const Point inBeta{static_cast<std::int16_t>((*te)->destRect.top + 2),
                       static_cast<std::int16_t>((*te)->destRect.left + 7 * width)};
    TEClick(inBeta, false, te);
    ticks += 5;
    TEClick(inBeta, false, te);
    EXPECT_EQ((*te)->selStart, 6);
    EXPECT_EQ((*te)->selEnd, 10);
    ticks += 200; // too late: a single click again
    TEClick(inBeta, false, te);
    ticks += 500;
    TEClick(inBeta, false, te);
    EXPECT_EQ((*te)->selStart, (*te)->selEnd);
}

TEST_F(TE, CutCopyPasteInsertAndDelete) {
    TEHandle te = Make(20, 3, "hello big world");
    TESetSelect(6, 10, te);
    TECut(te);
    EXPECT_EQ(TextOf(te), "hello world");
    EXPECT_EQ(TEGetScrapLength(), 4);
    TESetSelect(11, 11, te);
    TEKey(' ', te);
    TEPaste(te);
    EXPECT_EQ(TextOf(te), "hello world big ");
    EXPECT_EQ((*te)->selStart, 16);
    TESetSelect(0, 5, te);
    TECopy(te);
    TESetSelect(6, 11, te);
    TEPaste(te);
    EXPECT_EQ(TextOf(te), "hello hello big ");
    TESetSelect(6, 11, te);
    TEInsert("my ", 3, te);
    EXPECT_EQ(TextOf(te), "hello my hello big ");
    EXPECT_EQ((*te)->selStart, 9) << "the selection keeps its characters";
    EXPECT_EQ((*te)->selEnd, 14);
    TEDelete(te);
    EXPECT_EQ(TextOf(te), "hello my  big ");
    EXPECT_EQ(StartsOf(te), FullLayout(te));
}

TEST_F(TE, TheTextEditScrapGoesToTheDeskScrapAndBack) {
    TEHandle te = Make(20, 3, "copy me");
    TESetSelect(0, 4, te);
    TECopy(te);
    ZeroScrap();
    EXPECT_EQ(TEToScrap(), noErr);
    std::int32_t offset = 0;
    EXPECT_EQ(GetScrap(nullptr, MakeResType("TEXT"), &offset), 4);
    ZeroScrap();
    PutScrap(3, MakeResType("TEXT"), "new");
    EXPECT_EQ(TEFromScrap(), noErr);
    EXPECT_EQ(TEGetScrapLength(), 3);
    TESetSelect(0, 0, te);
    TEPaste(te);
    EXPECT_EQ(TextOf(te), "newcopy me");
    ZeroScrap();
    EXPECT_EQ(TEFromScrap(), noTypeErr);
    EXPECT_EQ(TEGetScrapLength(), 3) << "no text in the desk scrap: the TextEdit scrap stays";
}

TEST_F(TE, TheTextNeverPassesItsLimit) {
    TEHandle te = Make(30, 3);
    const std::string big(kTEMaxLength - 1, 'a');
    TESetText(big.data(), static_cast<std::int32_t>(big.size()), te);
    Type(te, "bcd");
    EXPECT_EQ((*te)->teLength, kTEMaxLength);
    EXPECT_EQ(TextOf(te).back(), 'b');
}

TEST_F(TE, CaretBlinksAtTheCaretPeriodWhileActive) {
    TEHandle te = Make(10, 2, "ab");
    TESetSelect(1, 1, te);
    const int h = (*te)->destRect.left + width;
    const Rect caret{(*te)->destRect.top, static_cast<std::int16_t>(h - 1),
                     static_cast<std::int16_t>((*te)->destRect.top + (*te)->lineHeight),
                     static_cast<std::int16_t>(h)};
    auto marked = [&] {
        int n = 0;
        for (int v = caret.top; v < caret.bottom; ++v)
            n += Pixel(caret.left, v) != static_cast<std::uint8_t>(port.bkIndex);
        return n;
    };
    TEUpdate(&(*te)->viewRect, te);
    const int plain = marked();
    TEIdle(te);
    EXPECT_EQ(marked(), plain) << "inactive: no caret";
    TEActivate(te);
    EXPECT_TRUE((*te)->caretState);
    const int shown = marked();
    EXPECT_GT(shown, plain);
    const std::uint32_t period = GetCaretTime();
    ASSERT_GT(period, 0u);
    ticks += period - 1;
    TEIdle(te);
    EXPECT_TRUE((*te)->caretState) << "not yet";
    ticks += 1;
    TEIdle(te);
    EXPECT_FALSE((*te)->caretState);
    EXPECT_EQ(marked(), plain);
    ticks += period;
    TEIdle(te);
    EXPECT_EQ(marked(), shown);
    TEDeactivate(te);
    EXPECT_EQ(marked(), plain);
}

TEST_F(TE, DrawingStaysWithinTheViewAndTextBoxLeavesNoRecord) {
    const Rect dest{10, 10, 200, static_cast<std::int16_t>(10 + 10 * width)};
    const Rect view{10, 10, static_cast<std::int16_t>(10 + LineHeight()),
                    static_cast<std::int16_t>(10 + 10 * width)};
    TEHandle te = TENew(&dest, &view);
    const std::string text = "abcdefgh\rABCDEFGH\rabcdefgh";
    TESetText(text.data(), static_cast<std::int32_t>(text.size()), te);
    TEUpdate(&dest, te);
    EXPECT_GT(InkIn(view), 0);
    EXPECT_EQ(InkIn(Rect{view.bottom, 0, kH, kW}), 0) << "lines below the view are not drawn";
    TEScroll(0, static_cast<std::int16_t>(-(*te)->lineHeight), te);
    EXPECT_EQ((*te)->destRect.top, 10 - (*te)->lineHeight);
    EXPECT_GT(InkIn(view), 0);
    TEDispose(te);

    const Rect box{60, 20, 100, 200};
    TETextBox("boxed", 5, &box, teJustCenter);
    EXPECT_EQ(qiva::TERecordCount(), 0);
    const int ink = InkIn(box);
    EXPECT_GT(ink, 0);
    // Centred: the text's ink is in the middle of the box, not at its left.
    EXPECT_EQ(InkIn(Rect{box.top, box.left, box.bottom, static_cast<std::int16_t>(box.left + 40)}), 0);
}

TEST_F(TE, DumpLinesDescribeTheRecordsOfAPort) {
    TEHandle te = Make(10, 3, "d\x8Ej\x88 \"vu\"\r");
    TESetSelect(2, 2, te);
    TEActivate(te);
    Make(5, 1, "other");
    GrafPort elsewhere{};
    ASSERT_TRUE(NewBufferPort(&elsewhere, 10, 10));
    SetPort(&elsewhere);
    TextFont(22);
    const Rect r{0, 0, 10, 10};
    TENew(&r, &r); // draws in another port: not listed
    DisposeBufferPort(&elsewhere);
    SetPort(&port);
    std::string out;
    qiva::AppendTEDumpLines(out, &port);
    const int lh = (*te)->lineHeight;
    const std::string view = "10 10 " + std::to_string(11 + 10 * width) + " " + std::to_string(10 + 3 * lh);
    const std::string first = "te 0 text \"d\xC3\xA9j\xC3\xA0 \\\"vu\\\"\\r\" sel 2 2 caret " +
                              std::to_string(10 + 2 * width) + " " + std::to_string(10 + lh / 2) +
                              " lines 1 view " + view + " active 1\n";
    ASSERT_EQ(out.substr(0, first.size()), first);
    EXPECT_EQ(out.substr(first.size(), 17), "te 1 text \"other\"");
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 2);
    // After the final return the insertion point is on the empty line below.
    TESetSelect(10, 10, te);
    out.clear();
    qiva::AppendTEDumpLines(out, &port);
    EXPECT_NE(out.find("sel 10 10 caret 10 " + std::to_string(10 + lh + lh / 2) + " "), std::string::npos)
        << out;
}

// Random keys, clicks and edits never leave the selection or the lines out of step with the text.
TEST_F(TE, RandomEditingKeepsSelectionAndLinesConsistent) {
    TEHandle te = Make(12, 5, "The quick brown fox\rjumps over the lazy dog.");
    TEActivate(te);
    std::mt19937 rng(11);
    const std::string typed = "ab cW\r\x8E ";
    const std::uint8_t keys[] = {1, 4, 5, 8, 28, 29, 30, 31, 127};
    for (int step = 0; step < 1500; ++step) {
        switch (rng() % 8) {
        case 0:
        case 1:
            TEKey(static_cast<std::uint8_t>(typed[rng() % typed.size()]), te);
            break;
        case 2:
            TEKey(keys[rng() % std::size(keys)], te);
            break;
        case 3: {
            ticks += static_cast<std::uint32_t>(rng() % 40);
            const Point pt{static_cast<std::int16_t>(rng() % 120), static_cast<std::int16_t>(rng() % 160)};
            TEClick(pt, rng() % 4 == 0, te);
            break;
        }
        case 4:
            TESetSelect(static_cast<std::int32_t>(rng() % 80) - 10, static_cast<std::int32_t>(rng() % 80),
                        te);
            break;
        case 5:
            (rng() % 2 ? TECut : TECopy)(te);
            break;
        case 6:
            TEPaste(te);
            break;
        default:
            TEIdle(te);
            ticks += 7;
            break;
        }
        const TEPtr p = *te;
        ASSERT_LE(p->selStart, p->selEnd) << "step " << step;
        ASSERT_LE(p->selEnd, p->teLength) << "step " << step;
        ASSERT_EQ(GetHandleSize(p->hText), p->teLength);
        ASSERT_EQ(StartsOf(te), FullLayout(te)) << "step " << step << " text \"" << TextOf(te) << '"';
    }
}

} // namespace
