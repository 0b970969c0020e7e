#pragma once
// The two rule sets: legality, sowing, captures and the end of a game. Each operation takes the rule
// option by value; with a null view a move is played silently (the search's inner loop: no
// allocation, no call outside this unit), with a view the same move drives the board view.

#include <cstdint>

#include "game/board.h"

namespace tolka {

class SowingView;

// Values of the `rules` option. SowMove treats every non-zero value as the relay rules; the
// relay's reach test compares with kRelayRules exactly.
constexpr std::int16_t kStandardRules = 0;
constexpr std::int16_t kRelayRules = 1;

// True when the last seed sown from pit p would fall beyond the end of p's own row.
bool ReachesOpponent(const Board& board, int pit, std::int16_t ruleSet);
// True when no pit of the side reaches the opponent's row.
bool CannotFeed(const Board& board, std::uint8_t side, std::int16_t ruleSet);
bool IsLegalStandard(const Board& board, int pit, std::int16_t ruleSet);
bool HasRelaySeeds(const Board& board, int pit);

// Play row place m (0-5) of a side under the rule set given, silently or through the view. False,
// with the board untouched, when the move is illegal. Named apart from the game's PlayMove(..., animate),
// which reads the `rules` option: a bool and a view pointer must never select each other's overload.
bool SowStandard(std::uint8_t side, Board& board, int place, std::int16_t ruleSet, SowingView* view);
bool SowRelay(std::uint8_t side, Board& board, int place, SowingView* view);
bool SowMove(std::uint8_t side, Board& board, int place, std::int16_t ruleSet, SowingView* view);

// False while the game goes on (only the two rests are written). True when it is over: each side
// has collected its own row into its store and result says who won.
bool CheckGameOver(Board& board, std::uint8_t& result, std::uint16_t& playerRest,
                   std::uint16_t& computerRest);

} // namespace tolka
