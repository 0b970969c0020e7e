#include <gtest/gtest.h>

#include "game/rules.h"
#include "tests/game/board_fixture.h"

namespace tolka {
namespace {

using test::B;
using test::Text;

TEST(Rules, LegalityAtTheStart) {
    const Board start = StartBoard();
    for (int pit = 0; pit < kPitCount; ++pit) {
        const bool reaches = pit % kRowLength >= 2; // pits 0, 1, 6, 7 do not reach the other row
        EXPECT_EQ(IsLegalStandard(start, pit, kStandardRules), reaches) << "pit " << pit;
        EXPECT_TRUE(HasRelaySeeds(start, pit)) << "pit " << pit;
    }
}

TEST(Rules, ReachesOpponent) {
    struct Case {
        const char* board;
        int pit;
        std::int16_t rules;
        bool reaches;
    };
    const Case cases[] = {
        {"0 0 0 0 0 1 0 0 0 0 0 0 0 0", 5, kStandardRules, true},
        {"0 0 0 0 0 1 0 0 0 0 0 0 0 0", 5, kRelayRules, false}, // 5 + 1 - 1 = 5
        {"0 0 0 0 0 2 0 0 0 0 0 0 0 0", 5, kRelayRules, true},
        {"0 0 0 0 0 0 0 0 0 0 0 1 0 0", 11, kStandardRules, true},
        {"0 0 0 0 0 0 0 0 0 0 0 0 0 0", 5, kStandardRules, false}, // an empty pit never reaches
        {"0 0 0 0 0 0 0 0 0 0 0 1 0 0", 11, 2, true}, // only the value 1 takes the relay's first seed back
        {"0 0 0 0 0 0 5 0 0 0 0 0 0 0", 6, kStandardRules, false},
        {"0 0 0 0 0 0 6 0 0 0 0 0 0 0", 6, kStandardRules, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReachesOpponent(B(c.board), c.pit, c.rules), c.reaches) << c.board << " pit " << c.pit;
}

struct MoveCase {
    const char* what;
    std::int16_t rules;
    std::uint8_t side;
    int place;
    const char* before;
    const char* after; // nullptr: the move is refused
};

const MoveCase kMoves[] = {
    {"plain sowing", kStandardRules, 0, 2, "4 4 4 4 4 4 4 4 4 4 4 4 0 0", "4 4 0 5 5 5 5 4 4 4 4 4 0 0"},
    {"a pit that does not reach while another does", kStandardRules, 0, 0, "4 4 4 4 4 4 4 4 4 4 4 4 0 0",
     nullptr},
    {"the computer's side", kStandardRules, 1, 3, "4 4 4 4 4 4 4 4 4 4 4 4 0 0",
     "5 5 4 4 4 4 4 4 4 0 5 5 0 0"},
    {"an empty pit", kStandardRules, 0, 1, "4 0 4 4 4 4 4 4 4 4 4 4 0 0", nullptr},
    {"no pit reaches: any non-empty pit", kStandardRules, 0, 0, "1 1 0 0 0 0 4 4 4 4 4 4 0 0",
     "0 2 0 0 0 0 4 4 4 4 4 4 0 0"},
    {"twelve seeds skip their pit", kStandardRules, 0, 0, "12 0 0 0 0 0 1 1 1 1 1 1 0 0",
     "0 2 1 1 1 1 2 2 2 2 2 2 0 0"},
    {"a capture chain of 2, 3, 2", kStandardRules, 0, 5, "0 0 0 0 0 3 1 2 1 4 4 4 0 0",
     "0 0 0 0 0 0 0 0 0 4 4 4 7 0"},
    {"the chain stops at the mover's own row", kStandardRules, 0, 4, "0 0 0 0 2 1 1 4 4 4 4 4 0 0",
     "0 0 0 0 0 2 0 4 4 4 4 4 2 0"},
    {"the computer captures on the player's row", kStandardRules, 1, 5, "1 1 2 0 0 0 0 0 0 0 2 3 0 0",
     "0 0 0 0 0 0 0 0 0 0 2 0 0 7"},
    {"a capture may take the whole row", kStandardRules, 0, 5, "3 0 0 0 0 6 1 1 1 1 1 1 0 0",
     "3 0 0 0 0 0 0 0 0 0 0 0 12 0"},
    {"a place outside the row", kStandardRules, 0, 6, "4 4 4 4 4 4 4 4 4 4 4 4 0 0", nullptr},
    {"relay: a single seed is refused", kRelayRules, 0, 1, "2 1 0 0 0 0 4 4 4 4 4 4 0 0", nullptr},
    {"relay: two seeds, the next pit captured on the own row", kRelayRules, 0, 0,
     "2 1 0 0 0 0 4 4 4 4 4 4 0 0", "1 0 0 0 0 0 4 4 4 4 4 4 2 0"},
    {"relay: a last pit of 3 relays", kRelayRules, 0, 0, "2 2 0 0 0 0 4 4 4 4 4 4 0 0",
     "1 1 1 1 0 0 4 4 4 4 4 4 0 0"},
    {"relay: twelve seeds end on the origin", kRelayRules, 0, 3, "0 0 1 12 0 0 0 0 0 0 0 0 0 0",
     "1 1 2 1 1 1 1 1 1 1 1 1 0 0"},
    {"relay: a chain runs from pit 0 on to pit 11", kRelayRules, 1, 4, "1 0 0 0 0 0 0 0 0 0 3 3 0 0",
     "0 0 0 0 0 0 0 0 0 0 1 0 0 6"},
    {"relay: no feeding obligation", kRelayRules, 0, 0, "2 0 0 0 0 9 4 4 4 4 4 4 0 0",
     "1 1 0 0 0 9 4 4 4 4 4 4 0 0"},
    {"relay: any non-zero value plays the relay", 2, 0, 0, "2 2 0 0 0 0 4 4 4 4 4 4 0 0",
     "1 1 1 1 0 0 4 4 4 4 4 4 0 0"},
};

TEST(Rules, MovesUnderBothRuleSets) {
    for (const MoveCase& c : kMoves) {
        Board board = B(c.before);
        const bool played = SowMove(c.side, board, c.place, c.rules, nullptr);
        EXPECT_EQ(played, c.after != nullptr) << c.what;
        EXPECT_EQ(Text(board), c.after ? c.after : c.before) << c.what;
    }
}

TEST(Rules, CheckGameOver) {
    struct Case {
        const char* what;
        const char* before;
        bool over;
        std::uint16_t rest0, rest1;
        const char* after;
        std::uint8_t result;
    };
    const Case cases[] = {
        {"start", "4 4 4 4 4 4 4 4 4 4 4 4 0 0", false, 24, 24, "4 4 4 4 4 4 4 4 4 4 4 4 0 0", 0},
        {"an empty row", "3 0 0 0 0 0 0 0 0 0 0 0 12 0", true, 3, 0, "0 0 0 0 0 0 0 0 0 0 0 0 15 0",
         kPlayerWins},
        {"no pit holds two", "1 1 0 1 0 1 1 0 1 1 1 0 10 20", true, 4, 4, "0 0 0 0 0 0 0 0 0 0 0 0 14 24",
         kComputerWins},
        {"a store of 25", "2 2 2 2 2 2 2 2 2 2 2 1 25 0", true, 12, 11, "0 0 0 0 0 0 0 0 0 0 0 0 37 11",
         kPlayerWins},
        {"equal stores", "2 0 0 0 0 0 2 0 0 0 0 0 24 20", false, 2, 2, "2 0 0 0 0 0 2 0 0 0 0 0 24 20", 0},
        {"a draw", "1 0 0 0 0 0 1 0 0 0 0 0 23 23", true, 1, 1, "0 0 0 0 0 0 0 0 0 0 0 0 24 24", kDraw},
    };
    for (const Case& c : cases) {
        Board board = B(c.before);
        std::uint8_t result = 77;
        std::uint16_t rest0 = 0, rest1 = 0;
        const bool over = CheckGameOver(board, result, rest0, rest1);
        EXPECT_EQ(over, c.over) << c.what;
        EXPECT_EQ(rest0, c.rest0) << c.what;
        EXPECT_EQ(rest1, c.rest1) << c.what;
        EXPECT_EQ(Text(board), c.after) << c.what;
        EXPECT_EQ(result, c.over ? c.result : 77) << c.what;
    }
}

} // namespace
} // namespace tolka
