#pragma once
// What the rules ask of the board view while a move is played on screen. The silent path (the
// search) never touches it; on the animated path the view, not the rules, raises the count of every
// pit and store that receives a seed, so the seed records and the counts stay in step.

#include <cstdint>

#include "game/board.h"

namespace tolka {

// Seed places other than pits 0-11.
constexpr std::int16_t kStoreOfSide1 = -1;
constexpr std::int16_t kStoreOfSide0 = -2;
constexpr std::int16_t kNowhere = -100;

constexpr std::int16_t StorePlace(std::uint8_t side) {
    return side == 1 ? kStoreOfSide1 : kStoreOfSide0;
}

class SowingView {
public:
    virtual ~SowingView() = default;

    // Every seed record goes nowhere and gets a fresh random look (ClearBoard).
    virtual void ResetSeeds() = 0;
    // The mover's hand takes the seeds of a pit; the rules then set its count to 0.
    virtual void PickUpPit(std::uint8_t side, Board& board, std::int16_t pit) = 0;
    // Index of the first seed record placed in the pit, or -1 after telling the user.
    virtual std::int16_t FindSeedInPit(Board& board, std::int16_t pit) = 0;
    // One seed falls into a pit; raises that pit's count.
    virtual void DropSeed(Board& board, std::int16_t pit, std::int16_t seed) = 0;
    // Moves a seed record to a place; raises that place's count. Returns its new index.
    virtual std::int16_t MoveSeedTo(Board& board, std::int16_t place, std::int16_t seed) = 0;
    // The seeds of a captured pit have been moved to the mover's store.
    virtual void CaptureToStore(std::uint8_t side, Board& board, std::int16_t pit, std::int16_t count) = 0;
    // The panel announces a capture of `count` seeds by `side`.
    virtual void ShowCapture(std::uint8_t side, int count) = 0;
    // The hand withdraws at the end of the move.
    virtual void EndSprite() = 0;
};

} // namespace tolka
