#pragma once
// The end-of-game dialog ('DLOG' 2002 in the chosen language): for each side the seeds it captured,
// those it collected from its own row at the end and its total, each drawn as a row of seeds with
// its number, and the result in large letters.

namespace tolka {

// `rest0` and `rest1` are the seeds each side collected from its own row at the end, already in the
// stores of the game's board. Runs the dialog until its button is chosen; false when the dialog is
// missing.
bool ShowGameSummary(int rest0, int rest1);

} // namespace tolka
