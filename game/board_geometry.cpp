#include "game/board_geometry.h"

#include "game/rules.h"
#include "toolkit/graphics/rect_utils.h"

namespace tolka {

namespace {

constexpr std::int16_t S(int v) {
    return static_cast<std::int16_t>(v);
}
constexpr Rect R(int left, int top, int right, int bottom) {
    return Rect{S(top), S(left), S(bottom), S(right)};
}

constexpr int kRowsLeft = 35;
constexpr int kTopRowTop = 80;
constexpr int kBottomRowTop = 175;
constexpr int kRowsBottom = kBottomRowTop + kPitSize;
constexpr int kRowsRight = 605;
constexpr int kStoreTop[2] = {278, 40};
constexpr int kStoreHeight = 48;
constexpr int kStoreSeedStep = 24;

} // namespace

Rect PitRectOf(int pit) {
    // The top row runs right to left, so the pits go round the board counter-clockwise.
    const int column = pit < kRowLength ? pit : kPitCount - 1 - pit;
    const int top = pit < kRowLength ? kBottomRowTop : kTopRowTop;
    const int left = kRowsLeft + kPitSize * column;
    return R(left, top, left + kPitSize, top + kPitSize);
}

Rect StoreRectOf(std::uint8_t side, int count) {
    const int top = kStoreTop[side != 0 ? 1 : 0];
    return R(0, top, kSeedSize + kStoreSeedStep * count, top + kStoreHeight);
}

Rect SeedRectOf(const SeedRecord& seed) {
    return R(seed.x, seed.y, seed.x + kSeedSize, seed.y + kSeedSize);
}

Rect ShadowRectOf(const SeedRecord& seed) {
    return R(seed.x - 4, seed.y + 4, seed.x - 4 + kSeedSize, seed.y + 4 + kSeedSize);
}

std::uint16_t PitsMeeting(const Rect& box) {
    std::uint16_t pits = 0;
    for (int pit = 0; pit < kPitCount; ++pit) {
        const Rect r = PitRectOf(pit);
        if (r.left <= box.right && box.left <= r.right && r.top <= box.bottom && box.top <= r.bottom)
            pits = static_cast<std::uint16_t>(pits | (1u << pit));
    }
    return pits;
}

Point PitCentre(int pit) {
    const Rect r = PitRectOf(pit);
    return Point{S(r.top + 47), S(r.left + 47)};
}

Rect CountTipRect(Point mouse) {
    int h = mouse.h, v = mouse.v;
    if (v < kTopRowTop) v = kTopRowTop;
    // The bottom stops at the rows' bottom edge: a pointer low in the bottom row keeps its tip beside it.
    if (v + 16 > kRowsBottom) v = kRowsBottom - 16;
    if (h + kSeedSize > kRowsRight) h = kRowsRight - kSeedSize;
    return R(h, v, h + kSeedSize, v + 16);
}

int DestinationPit(int pit, int count, std::int16_t ruleSet) {
    int dest = pit + count + count / kPitCount;
    if (ruleSet == kRelayRules) --dest;
    while (dest >= kPitCount)
        dest -= kPitCount;
    return dest;
}

Rect DestinationMarkRect(int pit) {
    Rect r = PitRectOf(pit);
    InsetRect(&r, 40, 40);
    return r;
}

} // namespace tolka

void PitRect(std::int16_t pit, Rect* rect) {
    if (rect) *rect = tolka::PitRectOf(pit);
}

std::int16_t PitAtPoint(Point pt) {
    for (std::int16_t pit = 0; pit < tolka::kPitCount; ++pit) {
        const Rect r = tolka::PitRectOf(pit);
        if (PtInRect(pt, &r)) return pit;
    }
    return -1;
}

void StoreRect(std::uint8_t side, const tolka::Board& board, Rect* rect) {
    if (rect) *rect = tolka::StoreRectOf(side, board.stores[side != 0 ? 1 : 0]);
}
