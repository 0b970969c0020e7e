// INTERIM: what the program does until the game's dialogs land.

#include "game/app/pending.h"

#include <array>
#include <cstdio>

#include "game/game_alerts.h"
#include "game/game_help.h"

#include "game/session_state.h"
#include "toolkit/graphics/ports.h"

namespace tolka {

void ShowMessageWith(std::string_view format, std::span<const FormatArg> args) {
    std::array<char, kAlertTextSize> text{};
    FormatBounded(text, format, args);
    std::fprintf(stderr, "tolka: %s\n", text.data());
}
bool AskQuestionWith(std::string_view, std::span<const FormatArg>) {
    return false;
}
void ShowAbout() {}
bool ShowGameSummary(std::uint16_t, std::uint16_t) {
    return true;
}
void ClearMatch() {}
bool RecordMatchGame(std::int16_t, std::int16_t) {
    return false;
}
void ShowScoreSheet() {}
bool MayQuit() {
    QuitHelp();
    return true;
}
void GetItemRect(DialogPtr, std::int16_t, Rect* r) {
    *r = Rect{};
}
void SetItemText(DialogPtr, std::int16_t, const char*) {}
std::int16_t MatchSet() {
    return 0;
}
std::int16_t MatchGame() {
    return 0;
}

} // namespace tolka
