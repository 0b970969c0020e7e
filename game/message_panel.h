#pragma once
// The message panel under the board: one message at a time, centred on a yellow-green ground with a
// frame and a shadow. Nothing is drawn while the messages option is off.

#include <array>
#include <string>
#include <string_view>

#include "game/message_format.h"
#include "toolkit/graphics/quickdraw_types.h"

namespace tolka {

// The panel's whole area in the board window, frame and shadow included.
constexpr Rect kMessagePanelRect{326, 64, 390, 576}; // top, left, bottom, right
// Room for a message, its terminator included; longer ones are cut.
constexpr std::size_t kPanelTextSize = 512;

// Shows a text as it stands (Macintosh character set); a percent sign in it is only a character.
void ShowPanelText(std::string_view text);

// Shows a message formatted printf-style from a resource string and its arguments.
template <class... Args>
void ShowPanelMessage(std::string_view format, const Args&... args) {
    std::array<char, kPanelTextSize> text{};
    const std::size_t length = FormatInto(text, format, args...);
    ShowPanelText(std::string_view(text.data(), length));
}

// Invalidates the panel's area of the board window, so the next update redraws the board there.
void InvalMessagePanel();

// What the panel shows now: the last message while messages are on, else nothing.
std::string PanelText();
// Forgets the last message (a new run in tests).
void ClearPanelText();

} // namespace tolka
