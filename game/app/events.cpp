// The event pass and the clicks on the board.

#include "game/app/tolka_app.h"
#include "game/game_state.h"
#include "game/game_strings.h"
#include "game/message_panel.h"
#include "game/play_trace.h"
#include "game/session_state.h"
#include "toolkit/core/random.h"
#include "toolkit/graphics/ports.h"
#include "toolkit/menus/menus.h"
#include "toolkit/windows/windows.h"

namespace tolka {

void DoEvents() {
    // The random sequence follows the player's timing.
    Random();
    if (gameOn) UpdateHover();
    WindowPtr front = FrontWindow();
    EventRecord event;
    while (GetNextEvent(everyEvent, &event)) {
        switch (event.what) {
        case mouseDown: {
            WindowPtr window = nullptr;
            switch (FindWindow(event.where, &window)) {
            case inMenuBar:
                DoMenuCommand(MenuSelect(event.where));
                break;
            case inSysWindow:
                SystemClick(&event, window);
                break;
            case inContent:
                // A click that brings a window to the front only selects it; the board takes clicks
                // only while it is in front, and only those that land on it.
                if (window != front)
                    SelectWindow(window);
                else if (window == mainWindow)
                    DoBoardClick(event.where);
                break;
            case inDrag:
                SelectWindow(window);
                DragWindow(window, event.where, &qd.screenBits.bounds);
                break;
            case inGoAway:
                TrackGoAway(window, event.where);
                break;
            case inZoomIn:
            case inZoomOut:
                TrackBox(window, event.where, FindWindow(event.where, &window));
                break;
            default:
                break;
            }
            break;
        }
        case keyDown:
            // With the help in front only command keys come this far (it takes the others), and
            // they still choose menu commands.
            if (front == mainWindow || (front && GetWRefCon(front) < 0)) DoKey(event);
            break;
        case updateEvt: {
            // The board answers its own update events, in front or not, or they would come back for ever.
            auto* window = reinterpret_cast<WindowPtr>(event.message);
            if (window != mainWindow) break;
            GrafPtr saved = nullptr;
            GetPort(&saved);
            SetPort(window);
            BeginUpdate(window);
            hoverPit = kRedrawHint;
            RedrawBoard();
            EndUpdate(window);
            SetPort(saved);
            break;
        }
        default:
            break;
        }
        front = FrontWindow();
    }
}

void DoBoardClick(Point where) {
    if (!gameOn || !awaitingPlayer) return;
    GrafPtr saved = nullptr;
    GetPort(&saved);
    SetPort(mainWindow);
    GlobalToLocal(&where);
    const std::int16_t pit = PitAtPoint(where);
    EraseHover();
    if (pit >= 0 && pit < kRowLength) {
        if (gameBoard.pits[pit] == 0) {
            ShowPanelMessage(GameString(27));
            PlayGameSound(5);
        } else if (PlayMove(0, gameBoard, pit, true)) {
            TraceMove(0, pit, gameBoard);
            ShowPanelMessage(GameString(15));
            awaitingPlayer = 0;
        } else {
            ShowPanelMessage(GameString(28));
            PlayGameSound(5);
        }
    } else {
        ShowPanelMessage(GameString(29));
        PlayGameSound(5);
    }
    SetPort(saved);
}

} // namespace tolka
