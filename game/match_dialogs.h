#pragma once
// The match of three sets of three games as the program keeps it: its one record, the scoring of
// each game of a match and the score sheet ('DLOG' 2000 in the chosen language) that shows it.

#include <cstdint>

#include "game/match_record.h"

namespace tolka {

// The program's record (zeros until a match starts).
const MatchRecord& CurrentMatch();

// Sets the whole record to zero (a new match).
void ClearMatch();

// Scores the game that has just ended with these stores, shows the score sheet, and answers whether
// the match is over.
bool RecordMatchGame(int store0, int store1);

// The score sheet alone, until its button is chosen; nothing when the dialog is missing.
void ShowScoreSheet();

// The current set and the game within it, each from 0.
std::int16_t MatchSet();
std::int16_t MatchGame();

} // namespace tolka
