#include "game/relay_laps.h"

#include <cstring>

#include "game/sow_steps.h"

namespace tolka::relay {
namespace {

// What decides the rest of a relay: the twelve pit counts and the pit about to be emptied.
struct LapKey {
    std::uint8_t bytes[kPitCount + 1];

    LapKey() = default;
    LapKey(const Board& b, int pit) {
        std::memcpy(bytes, b.pits.data(), kPitCount);
        bytes[kPitCount] = static_cast<std::uint8_t>(pit);
    }
    friend bool operator==(const LapKey& a, const LapKey& b) {
        return std::memcmp(a.bytes, b.bytes, sizeof a.bytes) == 0;
    }
};

struct LapState {
    Board board;
    int pit;

    bool Ended() const { return board.pits[pit] < 2; }
    LapKey Key() const { return {board, pit}; }
    void Step(std::uint8_t side) { pit = SilentLap(side, board, pit); }
};

// The number of laps a move plays from `start`: up to its natural end, or up to the first lap whose
// key repeats. Brent's cycle detection finds the cycle's length and its first lap without storing
// the laps; the first repeat is then the lap at (start of cycle + cycle length).
int ExactLapCount(std::uint8_t side, const LapState& start) {
    LapState tortoise = start;
    LapState hare = start;
    hare.Step(side);
    int hareIndex = 1;
    int power = 1;
    int cycle = 1;
    while (true) {
        if (hare.Ended()) return hareIndex;
        if (tortoise.Key() == hare.Key()) break;
        if (power == cycle) {
            tortoise = hare;
            power *= 2;
            cycle = 0;
        }
        hare.Step(side);
        ++hareIndex;
        ++cycle;
    }
    tortoise = start;
    hare = start;
    for (int i = 0; i < cycle; ++i)
        hare.Step(side);
    int head = 0;
    while (!(tortoise.Key() == hare.Key())) {
        tortoise.Step(side);
        hare.Step(side);
        ++head;
    }
    return head + cycle;
}

} // namespace

int SilentLap(std::uint8_t side, Board& board, int pit) {
    detail::SilentSow sow;
    return detail::RelayLap(sow, side, board, pit);
}

template <int historySize>
int PlaySilentLaps(std::uint8_t side, Board& board, int pit) {
    const LapState start{board, pit};
    LapKey history[historySize];
    int kept = 0;
    int laps = 0;
    while (board.pits[pit] >= 2) {
        const LapKey key(board, pit);
        for (int i = 0; i < kept; ++i)
            if (history[i] == key) return laps;
        if (kept == historySize) {
            // Longer than the stack history: count the laps exactly, then play them from the start.
            const int total = ExactLapCount(side, start);
            board = start.board;
            pit = start.pit;
            for (int i = 0; i < total; ++i)
                pit = SilentLap(side, board, pit);
            return total;
        }
        history[kept++] = key;
        const std::uint8_t storeBefore = board.stores[side];
        pit = SilentLap(side, board, pit);
        ++laps;
        // A capture leaves fewer seeds on the board than any earlier lap saw: no earlier key can recur.
        if (board.stores[side] != storeBefore) kept = 0;
    }
    return laps;
}

template int PlaySilentLaps<1>(std::uint8_t, Board&, int);
template int PlaySilentLaps<2>(std::uint8_t, Board&, int);
template int PlaySilentLaps<kLapHistory>(std::uint8_t, Board&, int);

} // namespace tolka::relay
