#include "game/match_dialogs.h"

#include "game/dialog_items.h"
#include "game/game_strings.h"
#include "game/session_state.h"
#include "toolkit/dialogs/dialogs.h"
#include "toolkit/graphics/ports.h"

namespace tolka {

namespace {

constexpr std::int16_t kScoreSheetDialog = 2000;
constexpr std::int16_t kDialogFont = 3;

MatchRecord match{};

} // namespace

const MatchRecord& CurrentMatch() {
    return match;
}

void ClearMatch() {
    match = MatchRecord{};
}

bool RecordMatchGame(int store0, int store1) {
    ScoreMatchGame(match, store0, store1);
    ShowScoreSheet();
    return MatchOver(match);
}

void ShowScoreSheet() {
    GrafPtr saved = nullptr;
    GetPort(&saved);
    SetDAFont(kDialogFont);
    DialogPtr dialog = GetNewDialog(Localized(kScoreSheetDialog), nullptr, reinterpret_cast<WindowPtr>(-1));
    if (!dialog) {
        SetDAFont(0);
        return;
    }
    SetPort(dialog);
    for (const SheetNumber& number : ScoreSheetNumbers(match))
        SetItemNumber(dialog, number.item, number.value);
    if (const int result = ScoreSheetResultString(match))
        SetItemText(dialog, kSheetResultItem, GameString(static_cast<std::int16_t>(result)));
    RunDialogUntil({1});
    DisposeDialog(dialog);
    SetPort(saved);
    SetDAFont(0);
}

std::int16_t MatchSet() {
    return match.set;
}

std::int16_t MatchGame() {
    return match.game;
}

} // namespace tolka
