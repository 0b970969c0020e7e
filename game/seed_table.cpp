#include "game/seed_table.h"

#include <algorithm>

#include "game/random_range.h"

namespace tolka {

void SeedTable::Reset() {
    for (SeedRecord& r : records_) {
        r.place = kNowhere;
        r.icon = RandomRange(0, 8);
    }
}

void SeedTable::SetSeedPlace(std::int16_t place, std::int16_t seed) {
    if (seed >= 0 && seed < kSize) records_[seed].place = place;
}

void SeedTable::SetPosition(std::int16_t seed, std::int16_t x, std::int16_t y) {
    if (seed < 0 || seed >= kSize) return;
    records_[seed].x = x;
    records_[seed].y = y;
}

std::int16_t SeedTable::FindIn(std::int16_t place) const {
    for (int i = 0; i < kSize; ++i)
        if (records_[i].place == place) return static_cast<std::int16_t>(i);
    return -1;
}

std::int16_t SeedTable::MoveTo(Board& board, std::int16_t place, std::int16_t seed) {
    std::uint8_t* count = PlaceCount(board, place);
    if (!count) return -1;
    ++*count;
    if (seed < 0 || seed >= kSize) return -1;
    std::rotate(records_.begin() + seed, records_.begin() + seed + 1, records_.end());
    records_.back().place = place;
    return kSize - 1;
}

int SeedTable::CountIn(std::int16_t place) const {
    return static_cast<int>(std::count_if(records_.begin(), records_.end(),
                                          [place](const SeedRecord& r) { return r.place == place; }));
}

std::uint8_t* PlaceCount(Board& board, std::int16_t place) {
    if (place == kStoreOfSide0) return &board.stores[0];
    if (place == kStoreOfSide1) return &board.stores[1];
    if (place >= 0 && place < kPitCount) return &board.pits[static_cast<std::size_t>(place)];
    return nullptr;
}

std::int16_t SeedTableView::FindSeedInPit(Board&, std::int16_t pit) {
    const std::int16_t seed = seeds_.FindIn(pit);
    if (seed < 0) Alert("Impossible de trouver une pierre de la case " + std::to_string(pit));
    return seed;
}

} // namespace tolka
