#pragma once
// Where things lie on the 640 × 400 board window, in its local coordinates: the pits (two rows of
// six, numbered counter-clockwise from the bottom left), the store strips, the board ends, the play
// area the hand may appear in, and the hover marks. State-free: every answer comes from its arguments.

#include <cstdint>

#include "game/board.h"
#include "game/seed_table.h"
#include "toolkit/core/geometry.h"

namespace tolka {

constexpr int kBoardWidth = 640;
constexpr int kBoardHeight = 400;
constexpr int kPitSize = 95;
constexpr int kSeedSize = 32;

// The hand is never shown outside this band (it would cover the border and the message panel).
constexpr Rect kPlayArea{32, 0, 318, 640};
// Where the session writes its messages under the board.
constexpr Rect kMessagePanel{326, 64, 390, 576};
// The two halves of each board end.
constexpr Rect kLeftEnds[2] = {{78, 15, 185, 35}, {175, 15, 280, 35}};
constexpr Rect kRightEnds[2] = {{78, 605, 185, 625}, {175, 605, 280, 625}};
// The whole board window.
constexpr Rect kBoardBounds{0, 0, kBoardHeight, kBoardWidth};

// The rectangle of pit 0-11.
Rect PitRectOf(int pit);
// The strip of a side's store (any non-zero side means 1): it grows to the right with the count.
Rect StoreRectOf(std::uint8_t side, int count);
// A seed's 32 × 32 rectangle and its shadow (4 left, 4 down).
Rect SeedRectOf(const SeedRecord& seed);
Rect ShadowRectOf(const SeedRecord& seed);

// The pits a redraw of `box` must draw again, one bit per pit: those whose rectangle meets it,
// rectangles that only touch included.
std::uint16_t PitsMeeting(const Rect& box);

// Where the hand goes to reach a pit: its centre.
Point PitCentre(int pit);

// The count tip under the pointer: 32 × 16, kept right of nothing past x 605, not above y 80 and
// with its bottom no lower than the pit rows' bottom (270).
Rect CountTipRect(Point mouse);
// Where the last seed sown from a pit of `count` seeds lands: one pit skipped per full lap, one
// pit earlier under the relay rules (the first seed goes back into the pit).
int DestinationPit(int pit, int count, std::int16_t ruleSet);
// The destination marker: the pit's rectangle inset by 40 (15 × 15 at its centre).
Rect DestinationMarkRect(int pit);

} // namespace tolka

// The Toolbox-style entries of the board geometry.
void PitRect(std::int16_t pit, Rect* rect);
// The first pit whose rectangle holds the point (left and top edges inside), or -1.
std::int16_t PitAtPoint(Point pt);
void StoreRect(std::uint8_t side, const tolka::Board& board, Rect* rect);
