// Relays that come back to a lap they have already played end before repeating it.

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "game/relay_laps.h"
#include "game/rules.h"
#include "game/seed_table.h"
#include "tests/game/board_fixture.h"

namespace tolka {
namespace {

using test::B;
using test::Text;

// The lap limit as plainly as it can be said: remember every lap's key, stop at the first repeat.
int ReferenceLaps(std::uint8_t side, Board& b, int pit) {
    std::vector<std::vector<int>> seen;
    int laps = 0;
    while (b.pits[pit] >= 2) {
        std::vector<int> key(b.pits.begin(), b.pits.end());
        key.push_back(pit);
        for (const auto& k : seen)
            if (k == key) return laps;
        seen.push_back(key);
        pit = relay::SilentLap(side, b, pit);
        ++laps;
    }
    return laps;
}

// Each endless relay comes back to where it started: it ends with the seeds where the last lap
// left them, which here is the position it started from.
TEST(RelayCycle, EndlessRelaysEnd) {
    struct Case {
        std::uint8_t side;
        int place;
        const char* board;
    };
    const Case cases[] = {{0, 5, "4 5 4 3 2 5 1 2 1 7 4 3 0 0"}, {1, 4, "4 3 2 1 5 6 3 4 3 2 3 3 0 0"}};
    for (const Case& c : cases) {
        Board reference = B(c.board);
        const int laps = ReferenceLaps(c.side, reference, AbsolutePit(c.side, c.place));
        EXPECT_GT(laps, 1) << c.board;

        Board silent = B(c.board);
        ASSERT_TRUE(SowRelay(c.side, silent, c.place, nullptr));
        EXPECT_EQ(Text(silent), Text(reference));
        EXPECT_EQ(Text(silent), c.board);

        // The fall-back from a short history finds the same lap.
        Board one = B(c.board), two = B(c.board);
        EXPECT_EQ(relay::PlaySilentLaps<1>(c.side, one, AbsolutePit(c.side, c.place)), laps);
        EXPECT_EQ(relay::PlaySilentLaps<2>(c.side, two, AbsolutePit(c.side, c.place)), laps);
        EXPECT_EQ(Text(one), c.board);
        EXPECT_EQ(Text(two), c.board);
    }
}

// Histories too small to hold a move fall back to cycle detection; every size gives the reference result.
TEST(RelayCycle, SmallHistoriesFallBackToTheSameResult) {
    std::mt19937 rng(12345);
    int longMoves = 0;
    for (int trial = 0; trial < 20000; ++trial) {
        Board start;
        const int seeds = 8 + static_cast<int>(rng() % 41);
        for (int s = 0; s < seeds; ++s)
            ++start.pits[rng() % kPitCount];
        const auto side = static_cast<std::uint8_t>(rng() % 2);
        const int pit = AbsolutePit(side, static_cast<int>(rng() % kRowLength));
        if (start.pits[pit] < 2) continue;

        Board reference = start;
        const int laps = ReferenceLaps(side, reference, pit);
        longMoves += laps >= 3 ? 1 : 0;

        Board one = start, two = start, full = start;
        EXPECT_EQ(relay::PlaySilentLaps<1>(side, one, pit), laps);
        EXPECT_EQ(relay::PlaySilentLaps<2>(side, two, pit), laps);
        EXPECT_EQ(relay::PlaySilentLaps<relay::kLapHistory>(side, full, pit), laps);
        ASSERT_EQ(Text(one), Text(reference)) << Text(start) << " pit " << pit;
        ASSERT_EQ(Text(two), Text(reference)) << Text(start) << " pit " << pit;
        ASSERT_EQ(Text(full), Text(reference)) << Text(start) << " pit " << pit;
    }
    EXPECT_GT(longMoves, 100) << "the positions should include moves longer than the small histories";
}

} // namespace
} // namespace tolka
