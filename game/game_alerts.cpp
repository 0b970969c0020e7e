#include "game/game_alerts.h"

#include "game/session_state.h"
#include "toolkit/core/cursor.h"
#include "toolkit/core/memory.h"
#include "toolkit/dialogs/dialogs.h"

namespace tolka {

namespace {

constexpr std::int16_t kAboutAlert = 1000;
constexpr std::int16_t kMessageAlert = 1001;
constexpr std::int16_t kQuestionAlert = 1002;

// The text formatted into a block of its own and handed to the alert as ^0; nothing is shown when
// the block cannot be had.
std::int16_t AlertWithText(std::int16_t alert, std::string_view format, std::span<const FormatArg> args) {
    const Ptr block = NewPtr(kAlertTextSize);
    if (!block) return -1;
    FormatBounded(std::span<char>(block, kAlertTextSize), format, args);
    SetCursor(&qiva::ArrowCursor());
    ParamText(block, nullptr, nullptr, nullptr);
    DisposePtr(block);
    return Alert(Localized(alert), nullptr);
}

} // namespace

void ShowMessageWith(std::string_view format, std::span<const FormatArg> args) {
    AlertWithText(kMessageAlert, format, args);
}

bool AskQuestionWith(std::string_view format, std::span<const FormatArg> args) {
    return AlertWithText(kQuestionAlert, format, args) == 1;
}

void ShowAbout() {
    Alert(Localized(kAboutAlert), nullptr);
}

} // namespace tolka
