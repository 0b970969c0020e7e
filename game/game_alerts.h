#pragma once
// The game's alerts. The message and question alerts ('ALRT' 1001 and 1002 in the chosen language): a
// printf-style text formatted into 512 bytes with typed arguments, shown as the alert's ^0. A
// stray % in a text cannot read an argument that is not there, and a long text is cut, never
// written past the buffer; a text meant to be shown as it stands goes through "%s".

#include <array>
#include <span>
#include <string_view>

#include "game/message_format.h"

namespace tolka {

constexpr std::size_t kAlertTextSize = 512;

void ShowMessageWith(std::string_view format, std::span<const FormatArg> args);
// True when the question's first item (yes) was chosen.
bool AskQuestionWith(std::string_view format, std::span<const FormatArg> args);

template <class... Args>
void ShowMessage(std::string_view format, const Args&... args) {
    const std::array<FormatArg, sizeof...(Args)> list{FormatArg(args)...};
    ShowMessageWith(format, list);
}

template <class... Args>
bool AskQuestion(std::string_view format, const Args&... args) {
    const std::array<FormatArg, sizeof...(Args)> list{FormatArg(args)...};
    return AskQuestionWith(format, list);
}

// The about box ('ALRT' 1000); its answer does not matter.
void ShowAbout();

} // namespace tolka
