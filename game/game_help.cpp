#include "game/game_help.h"

#include <array>
#include <cstdint>

#include "game/game_alerts.h"
#include "game/message_format.h"
#include "game/session_state.h"
#include "toolkit/help/help_viewer.h"

namespace tolka {

namespace {

// Fixed words of the game, the English one as it has always read.
constexpr const char* kFrenchFailure = "Impossible de trouver le fichier d'aide (erreur %ld)";
constexpr const char* kEnglishFailure = "Can't found 'tolka_gb.hlp'(error %ld)";

} // namespace

const char* HelpFileName(bool isEnglish) {
    return isEnglish ? "tolka_gb.hlp" : "tolka.hlp";
}

std::string HelpFailureMessage(bool isEnglish, long error) {
    std::array<char, kAlertTextSize> text{};
    const std::size_t length = FormatInto(text, isEnglish ? kEnglishFailure : kFrenchFailure, error);
    return std::string(text.data(), length);
}

void ShowHelp() {
    const bool isEnglish = english != 0;
    if (!WinHelp(mainWindow, HelpFileName(isEnglish), HELP_KEY,
                 reinterpret_cast<std::uintptr_t>(kHelpKeyword)))
        ShowMessage("%s", HelpFailureMessage(isEnglish, qiva::HelpError()));
}

void QuitHelp() {
    WinHelp(mainWindow, HelpFileName(english != 0), HELP_QUIT, 0);
}

} // namespace tolka
