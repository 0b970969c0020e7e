// INTERIM: what the program does until the board view, the Dialog Manager and the game's dialogs
// land. Each definition goes when its piece is on main.

#include "game/app/pending.h"

#include <array>
#include <cstdio>

#include "game/game_alerts.h"
#include "game/game_help.h"

#include "game/session_state.h"
#include "toolkit/graphics/ports.h"

std::int16_t Alert(std::int16_t, void*) {
    return 1;
}
DialogPtr GetNewDialog(std::int16_t, void*, GrafPtr) {
    return nullptr;
}
void ModalDialog(void*, std::int16_t* itemHit) {
    *itemHit = 1;
}
void DisposeDialog(DialogPtr) {}
void HideDItem(DialogPtr, std::int16_t) {}
void SetDAFont(std::int16_t) {}
void InitDialogs(void*) {}

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
