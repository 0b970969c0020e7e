// The turns of a game: the player's wait for a move, the computer's search and move, the who-starts
// draw, the set-up of a new game and the window title.

#include "game/app/tolka_app.h"
#include "game/dialog_items.h"
#include "game/game_alerts.h"
#include "game/game_state.h"
#include "game/game_strings.h"
#include "game/match_dialogs.h"
#include "toolkit/dialogs/dialogs.h"
#include <array>

#include "game/message_format.h"
#include "game/message_panel.h"
#include "game/play_trace.h"
#include "game/random_range.h"
#include "game/rules.h"
#include "game/session_state.h"
#include "toolkit/core/cursor.h"
#include "toolkit/core/cursor_resources.h"
#include "toolkit/core/resources.h"
#include "toolkit/core/tick_count.h"
#include "toolkit/core/time_manager.h"
#include "toolkit/graphics/pict_player.h"
#include "toolkit/graphics/picture_resources.h"
#include "toolkit/graphics/ports.h"
#include "toolkit/graphics/rect_utils.h"
#include "toolkit/graphics/shapes.h"
#include "toolkit/windows/windows.h"

namespace tolka {

namespace {

constexpr std::int16_t kWhoStartsDialog = 2003;
constexpr std::uint32_t kSearchLimit = 600; // ticks

void ShowWait() {
    if (CursHandle wait = GetCursor(watchCursor)) SetCursor(*wait);
}

// Draws a picture resource into a rectangle of the current port and lets it go.
void DrawPictureResource(std::int16_t id, const Rect& r) {
    if (PicHandle pic = GetPicture(id)) {
        DrawPicture(pic, &r);
        ReleaseResource(reinterpret_cast<Handle>(pic));
    }
}

bool PlayerHasRelayMove() {
    for (int pit = 0; pit < kRowLength; ++pit)
        if (HasRelaySeeds(gameBoard, pit)) return true;
    return false;
}

} // namespace

void PlayerTurn() {
    SetCursor(&qiva::ArrowCursor());
    awaitingPlayer = 1;
    if (rules == kRelayRules && !PlayerHasRelayMove()) {
        // No pit of two seeds or more: the player passes without a word.
        awaitingPlayer = 0;
        TracePass(0);
        return;
    }
    StartSprite(0);
    while (awaitingPlayer && !abortGame) {
        UpdatePitHint();
        DoEvents();
    }
    awaitingPlayer = 0;
}

void ComputerTurn() {
    ShowWait();
    std::int16_t best = -1;
    ShowPanelMessage(GameString(1));
    StartSprite(1);
    SearchMove(1, gameBoard, best, 0);
    if (TickCount() > searchStart + kSearchLimit) PlayGameSound(6);
    if (best >= 0) {
        const int pit = best + kRowLength;
        if (gameBoard.pits[pit] > 1)
            ShowPanelMessage(GameString(12), gameBoard.pits[pit], best + 1);
        else
            ShowPanelMessage(GameString(11), best + 1);
        if (PlayMove(1, gameBoard, best, true))
            TraceMove(1, best, gameBoard);
        else
            ShowMessage("Impossible de jouer cette case");
        hoverPit = kRedrawHint;
    } else {
        // Nothing moves on the board: the pit hint would hide the pass at once.
        ShowPanelMessage(GameString(30));
        TracePass(1);
        KeepPanelMessage();
    }
}

bool AskWhoStarts(std::uint8_t& playerFirst) {
    GrafPtr saved = nullptr;
    GetPort(&saved);
    SetDAFont(3);
    DialogPtr dialog = GetNewDialog(Localized(kWhoStartsDialog), nullptr, reinterpret_cast<WindowPtr>(-1));
    if (!dialog) {
        SetPort(saved);
        SetDAFont(0);
        return false;
    }
    SetPort(dialog);
    // Cancel (1) or a fist (3, 4); a dialog the Dialog Manager cannot run counts as cancelled.
    const std::int16_t item = RunDialogUntil({1, 3, 4});
    const bool drawn = item == 3 || item == 4;
    if (drawn) {
        HideDItem(dialog, 1);
        // 4999 chances in 10000 for the player.
        playerFirst = RandomRange(0, 10000) > 5000 ? 1 : 0;
        Rect r{};
        GetItemRect(dialog, item, &r);
        BackColor(224);
        EraseRect(&r);
        DrawPictureResource(item == 3 ? 134 : 135, r);
        if (playerFirst) {
            Rect seed{};
            SetRect(&seed, r.left + 28, r.top + 40, r.left + 36, r.top + 48);
            DrawPictureResource(131, seed);
        }
        SetItemText(dialog, 2, GameString(playerFirst ? 13 : 14));
        qiva::ShortDelay(120); // the result stays in view for two seconds
    }
    DisposeDialog(dialog);
    SetPort(saved);
    SetDAFont(0);
    return drawn;
}

void NewGame(Board& board) {
    GrafPtr saved = nullptr;
    GetPort(&saved);
    SetPort(mainWindow);
    abortGame = 0;
    ClearBoard(board);
    RedrawBoard();
    // Each seed record goes to its place in turn: four a pit make records 4p to 4p + 3 pit p's.
    std::int16_t seed = 0;
    for (std::int16_t pit = 0; pit < kPitCount; ++pit) {
        board.pits[pit] = startBoard.pits[pit];
        for (int k = 0; k < startBoard.pits[pit]; ++k)
            SetSeedPlace(board, pit, seed++);
        DrawPit(mainWindow, board, pit);
        PlayGameSound(RandomRange(15, 18));
    }
    for (std::uint8_t side = 0; side < 2; ++side) {
        if (!startBoard.stores[side]) continue;
        // A store's seeds line up one after the other: each is placed at the count before it.
        for (std::uint8_t k = 0; k < startBoard.stores[side]; ++k) {
            board.stores[side] = k;
            SetSeedPlace(board, StorePlace(side), seed++);
        }
        board.stores[side] = startBoard.stores[side];
        Display().DrawStore(mainWindow, side);
    }
    SetPort(saved);
    UpdateTitle();
}

void UpdateTitle() {
    if (!mainWindow) return;
    std::array<char, 256> title{};
    if (matchOn)
        FormatInto(title, GameString(22), MatchGame() + 1, MatchSet() + 1);
    else
        FormatInto(title, "%s", GameString(gameOn ? 21 : 20));
    SetWTitle(mainWindow, title.data());
}

} // namespace tolka
