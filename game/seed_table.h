#pragma once
// The seed records behind the board picture: one record per seed, naming the pit or store it lies
// in. Moving a record raises the count of its new place, which keeps the records and the position
// in step on the animated path. Where a seed is drawn inside its place is the board view's business.

#include <array>
#include <cstdint>
#include <string>

#include "game/board.h"
#include "game/sowing_view.h"

namespace tolka {

struct SeedRecord {
    std::int16_t place = kNowhere; // pit 0-11, kStoreOfSide1, kStoreOfSide0 or kNowhere
    std::int16_t icon = 0;         // which of the eight seed pictures, 0-7
    std::int16_t x = 0;
    std::int16_t y = 0;
};

class SeedTable {
public:
    static constexpr int kSize = kSeedCount;

    // Every record goes nowhere with a fresh random icon, drawn in table order.
    void Reset();
    // Records the place of a seed (the count of the place is the caller's business).
    void SetSeedPlace(std::int16_t place, std::int16_t seed);
    // Where a seed is drawn inside its place (the top left of its 32 × 32 picture).
    void SetPosition(std::int16_t seed, std::int16_t x, std::int16_t y);
    // The lowest index whose place is `place`, or -1.
    std::int16_t FindIn(std::int16_t place) const;
    // Moves a record to the end of the table (drawn over all others), names its new place and
    // raises that place's count. Returns its new index, or -1 for a place that is neither
    // a pit nor a store (nothing changes). A seed index of -1 (none was found) only
    // raises the count, so the position stays right even when the records do not.
    std::int16_t MoveTo(Board& board, std::int16_t place, std::int16_t seed);
    // How many records name a place.
    int CountIn(std::int16_t place) const;

    const std::array<SeedRecord, kSize>& Records() const { return records_; }

private:
    std::array<SeedRecord, kSize> records_{};
};

// The count of a place in a position (a pit, or the store a store place names); null for any other place.
std::uint8_t* PlaceCount(Board& board, std::int16_t place);

// The board view without a picture: keeps the seed records and the counts, draws nothing.
// The drawing view builds on it.
class SeedTableView : public SowingView {
public:
    void ResetSeeds() override { seeds_.Reset(); }
    void PickUpPit(std::uint8_t, Board&, std::int16_t) override {}
    std::int16_t FindSeedInPit(Board& board, std::int16_t pit) override;
    void DropSeed(Board& board, std::int16_t pit, std::int16_t seed) override {
        seeds_.MoveTo(board, pit, seed);
    }
    std::int16_t MoveSeedTo(Board& board, std::int16_t place, std::int16_t seed) override {
        return seeds_.MoveTo(board, place, seed);
    }
    void CaptureToStore(std::uint8_t, Board&, std::int16_t, std::int16_t) override {}
    void ShowCapture(std::uint8_t, int) override {}
    void EndSprite() override {}

    SeedTable& Seeds() { return seeds_; }
    // The last alert shown (empty when none): a missing seed is reported, never silently ignored.
    const std::string& LastAlert() const { return lastAlert_; }

protected:
    virtual void Alert(const std::string& text) { lastAlert_ = text; }

private:
    SeedTable seeds_;
    std::string lastAlert_;
};

} // namespace tolka
