#include "game/game_summary.h"

namespace tolka {

std::array<std::int16_t, 6> SummaryCounts(const Board& board, int rest0, int rest1) {
    const int store0 = board.stores[0], store1 = board.stores[1];
    return {static_cast<std::int16_t>(store0 - rest0), static_cast<std::int16_t>(rest0),
            static_cast<std::int16_t>(store0),         static_cast<std::int16_t>(store1 - rest1),
            static_cast<std::int16_t>(rest1),          static_cast<std::int16_t>(store1)};
}

int SummaryResultString(const Board& board) {
    if (board.stores[0] > board.stores[1]) return 18;
    if (board.stores[0] < board.stores[1]) return 17;
    return 19;
}

std::vector<Rect> SeedRowSquares(const Rect& item, int count) {
    std::vector<Rect> squares;
    int h = item.left, v = item.top;
    for (int i = 0; i < count; ++i) {
        if (h + kSeedSquare > item.right && h > item.left) {
            h = item.left;
            v += kSeedRowStep;
        }
        squares.push_back(Rect{static_cast<std::int16_t>(v), static_cast<std::int16_t>(h),
                               static_cast<std::int16_t>(v + kSeedSquare),
                               static_cast<std::int16_t>(h + kSeedSquare)});
        h += kSeedSquare;
    }
    return squares;
}

} // namespace tolka
