// The board view made the game's: it draws the one position in the board window, reads the options,
// and speaks through the message panel and the game's message alert.

#include "game/app/tolka_app.h"
#include "game/board_view.h"
#include "game/game_alerts.h"
#include "game/game_state.h"
#include "game/game_strings.h"
#include "game/message_panel.h"
#include "game/session_state.h"

namespace tolka {

void SyncViewOptions() {
    Display().options = ViewOptions{showCounts != 0, showDestination != 0, soundOn != 0, handAnimation != 0,
                                    showMessages != 0};
}

void InstallBoardView() {
    BoardDisplay& view = Display();
    view.Attach(mainWindow, &gameBoard);
    view.announceCapture = [](std::uint8_t side, int count) {
        ShowPanelMessage(GameString(side == 1 ? 3 : 4), count);
    };
    view.alert = [](const std::string& text) { ShowMessage("%s", text); };
    SetBoardView(&view);
    SyncViewOptions();
}

} // namespace tolka
