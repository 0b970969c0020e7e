#include "game/shell_answers.h"

#include <cstdint>

#include "game/game_help.h"
#include "game/game_state.h"
#include "game/session_state.h"
#include "toolkit/dialogs/dialogs.h"

namespace tolka {

namespace {

constexpr std::int16_t kQuitAlert = 128;

} // namespace

bool MayQuit() {
    if (gameOn && Alert(Localized(kQuitAlert), nullptr) != 1) return false;
    QuitHelp();
    return true;
}

bool MayImportClipboard() {
    return true;
}

bool MayExportClipboard() {
    return true;
}

} // namespace tolka
