#pragma once
// The sowing and capture loops of both rule sets, written once over a policy that either changes
// the counts itself (silent) or lets the board view move the seed records (animated).
// Internal to the rules.

#include <cstdint>

#include "game/board.h"
#include "game/sowing_view.h"

namespace tolka::detail {

constexpr int NextPit(int p) {
    return p == kPitCount - 1 ? 0 : p + 1;
}
constexpr int PrevPit(int p) {
    return p == 0 ? kPitCount - 1 : p - 1;
}

struct SilentSow {
    void PickUp(std::uint8_t, Board&, int) {}
    void Drop(Board& b, int /*origin*/, int pit) { ++b.pits[pit]; }
    void Capture(std::uint8_t side, Board& b, int pit) {
        b.stores[side] = static_cast<std::uint8_t>(b.stores[side] + b.pits[pit]);
        b.pits[pit] = 0;
    }
    void End() {}
};

struct AnimatedSow {
    SowingView& view;

    void PickUp(std::uint8_t side, Board& b, int pit) {
        view.PickUpPit(side, b, static_cast<std::int16_t>(pit));
    }
    void Drop(Board& b, int origin, int pit) {
        const std::int16_t seed = view.FindSeedInPit(b, static_cast<std::int16_t>(origin));
        view.DropSeed(b, static_cast<std::int16_t>(pit), seed);
    }
    void Capture(std::uint8_t side, Board& b, int pit) {
        const int k = b.pits[pit];
        b.pits[pit] = 0;
        view.ShowCapture(side, k);
        for (int i = 0; i < k; ++i) {
            const std::int16_t seed = view.FindSeedInPit(b, static_cast<std::int16_t>(pit));
            view.MoveSeedTo(b, StorePlace(side), seed);
        }
        view.CaptureToStore(side, b, static_cast<std::int16_t>(pit), static_cast<std::int16_t>(k));
    }
    void End() { view.EndSprite(); }
};

// Standard rules: sow from pit p skipping the origin on every lap, then capture 2s and 3s backwards
// while the chain stays in the opponent's row.
template <class Sow>
void StandardSowing(Sow& sow, std::uint8_t side, Board& b, int p) {
    const int origin = p;
    const int n = b.pits[p];
    sow.PickUp(side, b, p);
    b.pits[p] = 0;
    for (int i = 0; i < n; ++i) {
        p = NextPit(p);
        if (p == origin) p = NextPit(p);
        sow.Drop(b, origin, p);
    }
    auto inOpponentRow = [side](int pit) { return side == 0 ? pit >= kRowLength : pit < kRowLength; };
    while (inOpponentRow(p) && (b.pits[p] == 2 || b.pits[p] == 3)) {
        sow.Capture(side, b, p);
        p = PrevPit(p);
    }
    sow.End();
}

// Relay rules, one lap: the first seed goes back into the origin, the origin is skipped after that,
// then 2s and 4s are captured backwards on either row. Returns the pit that received the last seed
// (the origin itself after a sowing of 12, 23, 34 or 45, which ends the move).
template <class Sow>
int RelayLap(Sow& sow, std::uint8_t side, Board& b, int p) {
    const int origin = p;
    const int n = b.pits[p];
    sow.PickUp(side, b, p);
    b.pits[p] = 0;
    for (int i = 0; i < n; ++i) {
        sow.Drop(b, origin, p);
        p = NextPit(p);
        if (p == origin) p = NextPit(p);
    }
    p = PrevPit(p);
    const int last = p;
    while (b.pits[p] == 2 || b.pits[p] == 4) {
        sow.Capture(side, b, p);
        p = PrevPit(p);
    }
    return last;
}

} // namespace tolka::detail
