// The menus and the keys: commands carried out on the session's flags and the options, the marks
// and enabled items that follow them, and the space bar that lets the computer play for the player.

#include <cstdlib>

#include "game/app/tolka_app.h"
#include "game/game_alerts.h"
#include "game/game_help.h"
#include "game/game_state.h"
#include "game/game_strings.h"
#include "game/match_dialogs.h"
#include "game/menu_commands.h"
#include "game/message_panel.h"
#include "game/play_trace.h"
#include "game/session_state.h"
#include "toolkit/core/cursor.h"
#include "toolkit/core/cursor_resources.h"
#include "toolkit/dialogs/dialogs.h"
#include "toolkit/menus/menus.h"

namespace tolka {

namespace {

constexpr std::int16_t kAssistDepth = 8;
constexpr int kHelpKey = 0x10; // what the toolkit makes of the help function key

bool ConfirmAlert(std::int16_t alert) {
    return Alert(Localized(alert), nullptr) == 1;
}

} // namespace

void DoMenuCommand(std::int32_t menuResult) {
    const MenuChoice choice = DecodeMenuChoice(menuResult);
    switch (choice.command) {
    case Command::About:
        ShowAbout();
        break;
    case Command::Help:
        ShowHelp();
        break;
    case Command::ScoreSheet:
        ShowScoreSheet();
        break;
    case Command::None:
    case Command::DeskAccessory: // no desk accessory is installed on this platform
        break;
    default: {
        SessionFlags flags{gameOn, matchOn, abortGame};
        GameSettings options = CurrentSettings();
        const CommandEffects effects = ApplyCommand(choice.command, flags, options, &ConfirmAlert);
        gameOn = flags.gameOn;
        matchOn = flags.matchOn;
        abortGame = flags.abortGame;
        ApplySettings(options);
        SyncViewOptions();
        if (effects.clearMatch) ClearMatch();
        if (effects.quit) std::exit(0); // the exit handler writes the settings
        if (effects.endSprite) EndSprite();
        break;
    }
    }
    if (choice.menu == kOptionsMenu) {
        InvalMessagePanel();
        hoverPit = kRedrawHint;
    }
    HiliteMenu(0);
    AdjustMenus();
    DrawMenuBar();
    // A game kept as the first of a new match is a match game from now on, and says so.
    UpdateTitle();
}

void AdjustMenus() {
    const MenuMarks marks = MarksFor(CurrentSettings(), matchOn != 0);
    if (MenuHandle options = GetMenuHandle(Localized(kOptionsMenu))) {
        for (const int item : {1, 2, 4, 5, 6, 8, 9, 10, 11})
            CheckItem(options, static_cast<std::int16_t>(item), marks.options[item]);
    }
    UpdateSearchDepth();
    if (MenuHandle game = GetMenuHandle(Localized(kGameMenu))) {
        CheckItem(game, 1, marks.rules[1]);
        CheckItem(game, 2, marks.rules[2]);
        if (marks.matchItemsEnabled) {
            EnableItem(game, 4);
            EnableItem(game, 5);
            DisableItem(game, 6);
        } else {
            DisableItem(game, 4);
            DisableItem(game, 5);
            EnableItem(game, 6);
        }
    }
}

void DoKey(const EventRecord& event) {
    const int ch = static_cast<int>(event.message & charCodeMask);
    if (event.modifiers & cmdKey) {
        // MenuKey must see the items enabled and checked as they are now.
        AdjustMenus();
        DoMenuCommand(MenuKey(static_cast<std::int16_t>(ch)));
        return;
    }
    if (ch == kHelpKey) {
        ShowHelp();
        return;
    }
    if (!awaitingPlayer || ch != ' ') return;
    if (CursHandle wait = GetCursor(watchCursor)) SetCursor(*wait);
    ShowPanelMessage(GameString(2));
    const std::int16_t depth = searchDepth;
    searchDepth = kAssistDepth;
    std::int16_t best = -1;
    SearchMove(0, gameBoard, best, 0);
    if (best >= 0) {
        if (PlayMove(0, gameBoard, best, true))
            TraceMove(0, best, gameBoard);
        else
            ShowMessage("Impossible de jouer cette case");
        awaitingPlayer = 0;
        EraseHover();
    }
    searchDepth = depth;
}

} // namespace tolka
