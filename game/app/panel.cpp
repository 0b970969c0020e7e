// The hint about the pit under the pointer, and the game's lines of the state dump.

#include <array>
#include <string>

#include "game/app/tolka_app.h"
#include "game/game_state.h"
#include "game/game_strings.h"
#include "game/message_panel.h"
#include "game/pit_hint.h"
#include "game/session_state.h"
#include "toolkit/core/charset.h"
#include "toolkit/core/state_dump.h"
#include "toolkit/graphics/ports.h"
#include "toolkit/windows/windows.h"

namespace tolka {

namespace {

std::int16_t PitUnderPointer() {
    GrafPtr saved = nullptr;
    GetPort(&saved);
    SetPort(mainWindow);
    Point mouse{};
    GetMouse(&mouse);
    const std::int16_t pit = PitAtPoint(mouse);
    SetPort(saved);
    return pit;
}

} // namespace

void KeepPanelMessage() {
    if (mainWindow) hoverPit = PitUnderPointer();
}

void UpdatePitHint() {
    if (!showMessages || !mainWindow) return;
    const std::int16_t pit = PitUnderPointer();
    if (pit == hoverPit) return;
    hoverPit = pit;
    const PitHint hint = PitHintFor(gameBoard, pit, gameOn != 0, rules);
    // The hint is shown as text: a percent sign in the strings is only a character.
    std::string text = GameString(hint.first);
    if (hint.withCount) {
        std::array<char, kPanelTextSize> counted{};
        text.assign(counted.data(), FormatInto(counted, text, hint.count));
    }
    if (hint.second) text += GameString(hint.second);
    ShowPanelText(text);
}

namespace {

std::string GameLine() {
    std::string line = "game rules " + std::to_string(rules) + " level " + std::to_string(level) +
                       " english " + std::to_string(english) + " gameon " + std::to_string(gameOn) +
                       " awaiting " + std::to_string(awaitingPlayer) + " turn " + std::to_string(turnSide) +
                       " board";
    for (const std::uint8_t n : gameBoard.pits)
        line += ' ' + std::to_string(n);
    for (const std::uint8_t n : gameBoard.stores)
        line += ' ' + std::to_string(n);
    return line + " message " + qiva::DumpQuotedMac(PanelText()) + '\n';
}

// Pit rectangles in global pixels: the board window's content as the screen shows it.
std::string PitLines() {
    std::string out;
    if (!mainWindow) return out;
    GrafPtr saved = nullptr;
    GetPort(&saved);
    SetPort(mainWindow);
    for (std::int16_t pit = 0; pit < kPitCount; ++pit) {
        Rect r{};
        PitRect(pit, &r);
        Point topLeft{r.top, r.left}, bottomRight{r.bottom, r.right};
        LocalToGlobal(&topLeft);
        LocalToGlobal(&bottomRight);
        const Rect global{topLeft.v, topLeft.h, bottomRight.v, bottomRight.h};
        out += "pit " + std::to_string(pit) + " rect " + qiva::DumpRect(global) + " count " +
               std::to_string(gameBoard.pits[pit]) + '\n';
    }
    SetPort(saved);
    return out;
}

} // namespace

void RegisterGameDump() {
    qiva::RegisterStateDump("game", [](std::string& out) {
        out += GameLine();
        out += "sound last " + std::to_string(Display().LastSound()) + " count " +
               std::to_string(Display().SoundsAsked()) + '\n';
        out += PitLines();
    });
}

} // namespace tolka
