#include <gtest/gtest.h>

#include <set>

#include "game/game_state.h"
#include "game/random_range.h"
#include "game/rules.h"
#include "game/search.h"
#include "tests/game/board_fixture.h"
#include "tests/support/scoped.h"
#include "toolkit/core/tick_count.h"

namespace tolka {
namespace {

using test::B;

struct Result {
    std::int16_t best;
    std::int16_t score;
    std::uint32_t seedAfter;
};

Result SearchFrom(std::int16_t ruleSet, std::int16_t depth, std::uint8_t side, const char* board,
                  std::uint32_t seed = 1, Searcher::TickSource ticks = nullptr) {
    randSeed = seed;
    Searcher searcher(ruleSet, depth, ticks);
    std::int16_t best = 99;
    const std::int16_t score = searcher.Search(side, B(board), best, 0);
    return {best, score, randSeed};
}

std::uint32_t SeedAfter(std::uint32_t seed, int draws) {
    while (draws-- > 0)
        seed = qiva::NextRandomSeed(seed);
    return seed;
}

TEST(RandomRange, StaysInItsRange) {
    struct Case {
        int lo, hi;
    };
    for (const Case c : {Case{0, 10000}, Case{-1, 2}, Case{15, 18}, Case{0, 8}}) {
        randSeed = 1;
        std::set<int> seen;
        for (int i = 0; i < 20000; ++i) {
            const int v = RandomRange(c.lo, c.hi);
            ASSERT_GE(v, c.lo);
            ASSERT_LT(v, c.hi);
            seen.insert(v);
        }
        if (c.hi - c.lo <= 8) {
            EXPECT_EQ(static_cast<int>(seen.size()), c.hi - c.lo) << c.lo << ".." << c.hi;
        }
    }
    randSeed = 1; // first draw 16807: 16807 * 3 / 65536 = 0
    EXPECT_EQ(RandomRange(-1, 2), -1);
}

TEST(Search, DepthOneTakesTheBiggestCapture) {
    // Side 0: place 4 captures 2, place 5 captures 2 + 3 + 2.
    const Result r = SearchFrom(kStandardRules, 1, 0, "0 0 0 0 2 3 1 2 1 4 4 4 0 0");
    EXPECT_EQ(r.best, 5);
    EXPECT_GE(r.score, 699);
    EXPECT_LE(r.score, 701);
}

TEST(Search, OneDrawPerLeafAndTiesVaryWithTheSeed) {
    // From the start, standard rules, four legal places and no capture: four leaves, four draws.
    std::set<int> choices;
    for (std::uint32_t seed = 1; seed < 200; ++seed) {
        const Result r = SearchFrom(kStandardRules, 1, 0, "4 4 4 4 4 4 4 4 4 4 4 4 0 0", seed);
        EXPECT_EQ(r.seedAfter, SeedAfter(seed, 4));
        EXPECT_GE(r.best, 2);
        choices.insert(r.best);
    }
    EXPECT_GT(choices.size(), 1u) << "the random term should break ties differently";
}

TEST(Search, TheFirstPlaceThatEndsTheGameDecidesTheNode) {
    // Place 0 is legal and harmless; place 1 leaves no pit of two and loses 4 to 6. Place 1 is
    // chosen, scored on the stores before the move, and places 3 and 4 are never tried.
    const char* board = "1 1 0 1 1 0 1 1 1 1 1 1 0 0";
    for (std::int16_t depth : {std::int16_t{1}, std::int16_t{4}}) {
        const Result r = SearchFrom(kStandardRules, depth, 0, board);
        EXPECT_EQ(r.best, 1) << depth;
        EXPECT_EQ(r.score, -kGameEndBonus) << depth;
    }
    // The same end won (9 to 7) and drawn (7 to 7): the bonus goes with the result, the lead is
    // the one before the move, and a draw scores 0 with no random term.
    const Result win = SearchFrom(kStandardRules, 3, 0, "1 1 0 1 1 0 1 1 1 1 1 1 5 1");
    EXPECT_EQ(win.best, 1);
    EXPECT_EQ(win.score, 400 + kGameEndBonus);
    const Result draw = SearchFrom(kStandardRules, 1, 0, "1 1 0 1 1 0 1 1 1 1 1 1 3 1");
    EXPECT_EQ(draw.best, 1);
    EXPECT_EQ(draw.score, 0);
}

TEST(Search, RelayPassWhenNoPitHoldsTwo) {
    const Result r = SearchFrom(kRelayRules, 4, 1, "3 2 0 0 0 0 1 1 0 1 0 1 0 0");
    EXPECT_EQ(r.best, -1);
    EXPECT_EQ(r.score, kNoMoveScore);
    EXPECT_EQ(r.seedAfter, 1u) << "a node without a legal place draws nothing";
}

TEST(Search, NeverChoosesAnIllegalPlace) {
    // Relay: only place 3 is legal, and every reply leaves side 0 without a move, so every legal
    // place scores as badly as possible. The legal place is still the one chosen.
    const Result r = SearchFrom(kRelayRules, 3, 0, "1 0 0 2 1 1 6 0 2 0 0 0 0 0");
    EXPECT_EQ(r.score, kNoMoveScore);
    EXPECT_EQ(r.best, 3);
}

std::uint32_t fakeTicks = 0;
int tickReads = 0;
std::uint32_t JumpingClock() {
    // The root reads 0; every later read is far past the ten seconds.
    return tickReads++ == 0 ? 0 : 10000;
}
std::uint32_t StoppedClock() {
    return fakeTicks;
}

TEST(Search, TheCutOffTurnsDeepNodesIntoLeaves) {
    // Past the limit every node four plies down is a leaf: the search becomes a complete depth-4
    // search, down to the random draws.
    const char* board = "4 4 4 4 4 4 4 4 4 4 4 4 0 0";
    for (std::int16_t ruleSet : {kStandardRules, kRelayRules}) {
        tickReads = 0;
        const Result cut = SearchFrom(ruleSet, 10, 1, board, 7, &JumpingClock);
        const Result four = SearchFrom(ruleSet, 4, 1, board, 7);
        EXPECT_EQ(cut.best, four.best);
        EXPECT_EQ(cut.score, four.score);
        EXPECT_EQ(cut.seedAfter, four.seedAfter);
    }
    // A clock that never passes the limit changes nothing.
    fakeTicks = 500;
    const Result slow = SearchFrom(kStandardRules, 6, 1, board, 7, &StoppedClock);
    const Result full = SearchFrom(kStandardRules, 6, 1, board, 7);
    EXPECT_EQ(slow.best, full.best);
    EXPECT_EQ(slow.seedAfter, full.seedAfter);
}

TEST(Search, ClassicEntryUsesTheOptionsAndRecordsItsStart) {
    const qiva_test::ScopeExit restore([] {
        qiva::SetTickSource(nullptr);
        rules = kStandardRules;
        level = 0;
        searchDepth = 8;
    });
    qiva::SetTickSource(&StoppedClock);
    fakeTicks = 1234;
    rules = kRelayRules;
    level = 1;
    UpdateSearchDepth();
    EXPECT_EQ(searchDepth, 4);
    level = 7; // out of range: the depth stays
    UpdateSearchDepth();
    EXPECT_EQ(searchDepth, 4);

    randSeed = 3;
    std::int16_t best = 99;
    const Board start = StartBoard();
    const std::int16_t score = SearchMove(1, start, best, 0);
    EXPECT_EQ(searchStart, 1234u);
    const Result same = SearchFrom(kRelayRules, 4, 1, "4 4 4 4 4 4 4 4 4 4 4 4 0 0", 3);
    EXPECT_EQ(best, same.best);
    EXPECT_EQ(score, same.score);
}

} // namespace
} // namespace tolka
