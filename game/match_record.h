#pragma once
// The match of three sets of three games: its record, the scoring of a game that has just ended and
// what the score sheet shows of it. State-free: every call takes the record it works on.

#include <cstdint>
#include <vector>

namespace tolka {

constexpr int kMatchSets = 3;
constexpr int kGamesPerSet = 3;
constexpr int kSumsRow = 3; // the row after the three games of a set holds their sums

// One set of one side: rows 0-2 are its games, row 3 their sums, each {points, bonus, total}.
struct SetScores {
    std::int16_t rows[4][3];
    std::int16_t score; // how far the side's sum of totals passes the other side's, else 0
};

struct MatchSide {
    SetScores sets[kMatchSets];
    std::int16_t total; // the sum of the set scores
};

struct MatchRecord {
    std::int16_t set;  // 0-2, 3 once the match is over
    std::int16_t game; // 0-2 within the set
    MatchSide sides[2];
};

inline bool MatchOver(const MatchRecord& record) {
    return record.set >= kMatchSets;
}

// Scores the game that ended with the two stores `store0` and `store1`: the winner gets 12 points
// and a bonus of its seeds past 24, a draw gives each side 6 points; then the sums, the set scores
// and the match totals are worked out again and the record moves to the next game. A record already
// over, or with counters out of range, is left as it is. Returns whether the match is over.
bool ScoreMatchGame(MatchRecord& record, int store0, int store1);

// The numbers the score sheet shows, by dialog item: side 0 from item 3, side 1 from item 44, each
// set's four rows of three items and its set score, then the match total. Rows of games still to
// come and the set scores of sets still to come are absent (their items are left as they are).
struct SheetNumber {
    std::int16_t item;
    std::int16_t value;
};
constexpr std::int16_t kSheetFirstItem = 3;
constexpr std::int16_t kSheetItemsPerSide = 41; // 3 sets of 13, the match total, one item skipped
constexpr std::int16_t kSheetResultItem = 84;
std::vector<SheetNumber> ScoreSheetNumbers(const MatchRecord& record);

// The game string shown as the match's result in the sheet: 0 (none) while both totals are 0, else
// 17 when side 1 leads, 18 when side 0 leads, 19 when they are level.
int ScoreSheetResultString(const MatchRecord& record);

} // namespace tolka
