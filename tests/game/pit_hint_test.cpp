// The strings the pit hint is made of, for each place of the pointer.

#include <gtest/gtest.h>

#include "game/pit_hint.h"
#include "game/rules.h"
#include "tests/game/board_fixture.h"

namespace tolka {
namespace {

TEST(PitHint, EachPlaceOfThePointerHasItsStrings) {
    using test::B;
    const Board start = StartBoard();
    // Pit 0 holds 13 seeds and laps the board; pit 2 falls short while pit 0 reaches.
    const Board lap = B("13 0 1 0 0 0 4 4 4 4 4 4 6 4");
    // No pit of the player reaches the computer's row.
    const Board short_ = B("1 1 0 0 0 0 4 4 4 4 4 4 11 11");
    const struct {
        const char* name;
        Board board;
        std::int16_t pit;
        bool gameOn;
        std::int16_t rules;
        PitHint expected;
    } cases[] = {
        {"no game", start, 3, false, kStandardRules, {16}},
        {"no pit", start, -1, true, kStandardRules, {10}},
        {"computer's pit shows its count", lap, 7, true, kStandardRules, {9, 0, true, 4}},
        {"reaches", start, 3, true, kStandardRules, {5, 6}},
        {"laps the board", lap, 0, true, kStandardRules, {5, 31}},
        {"short while another reaches", lap, 2, true, kStandardRules, {5, 8}},
        {"short and none reaches", short_, 1, true, kStandardRules, {5, 7}},
        // Under the relay rules the first seed falls back into the pit: pit 2 with 4 seeds ends in 5.
        {"relay counts one seed less", start, 2, true, kRelayRules, {5, 8}},
        {"relay reach", start, 3, true, kRelayRules, {5, 6}},
    };
    for (const auto& c : cases) {
        const PitHint h = PitHintFor(c.board, c.pit, c.gameOn, c.rules);
        EXPECT_EQ(h.first, c.expected.first) << c.name;
        EXPECT_EQ(h.second, c.expected.second) << c.name;
        EXPECT_EQ(h.withCount, c.expected.withCount) << c.name;
        EXPECT_EQ(h.count, c.expected.count) << c.name;
    }
}

} // namespace
} // namespace tolka
