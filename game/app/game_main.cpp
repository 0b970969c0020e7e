// Start-up and the main loop: the managers, the game's resource file, the language, the settings,
// the menu bar and the board window; then games for as long as they are asked for.

#include <cstdlib>

#include "game/app/tolka_app.h"
#include "game/game_alerts.h"
#include "game/game_state.h"
#include "game/game_strings.h"
#include "game/match_dialogs.h"
#include "game/menu_commands.h"
#include "game/message_panel.h"
#include "game/play_trace.h"
#include "game/rules.h"
#include "game/session_state.h"
#include "game/settings_file.h"
#include "game/shell_answers.h"
#include "game/summary_dialog.h"
#include "toolkit/core/cursor.h"
#include "toolkit/core/cursor_resources.h"
#include "toolkit/core/error_box.h"
#include "toolkit/core/memory.h"
#include "toolkit/core/resources.h"
#include "toolkit/core/shell.h"
#include "toolkit/dialogs/dialogs.h"
#include "toolkit/graphics/graphics_startup.h"
#include "toolkit/graphics/ports.h"
#include "toolkit/graphics/text.h"
#include "toolkit/managers/textedit.h"
#include "toolkit/menus/menus.h"
#include "toolkit/windows/windows.h"

namespace tolka {

std::int16_t turnSide = -1;

namespace {

constexpr std::int16_t kLanguageAlert = 133;
constexpr std::int16_t kMenuBar = 128;
constexpr std::int16_t kBoardWindow = 128;
constexpr std::int16_t kMessageAlert = 1001; // the game's message alert, ShowMessage's

void ShowArrow() {
    SetCursor(&qiva::ArrowCursor());
}

// The game's message alert lives in TOLKA.RSR: when the file is missing, or has no such alert, the
// toolkit's error box gives the message, which would otherwise only name the missing alert.
void ReportFatal(const char* text) {
    if (GetResource(MakeResType("ALRT"), Localized(kMessageAlert)))
        ShowMessage("%s", text);
    else
        qiva::ShowErrorBox(text);
}

void WriteSettingsAtExit() {
    WriteSettings();
}

// One game from the who-starts draw to its end, or until a command stops it.
void PlayOneGame(std::uint8_t playerFirst) {
    NewGame(gameBoard);
    DoEvents();
    ShowPanelMessage(GameString(playerFirst ? 13 : 14));
    std::uint8_t result = 0;
    std::uint16_t playerRest = 0, computerRest = 0;
    turnSide = playerFirst ? 0 : 1;
    while (!CheckGameOver(gameBoard, result, playerRest, computerRest) && !abortGame) {
        if (turnSide == 0)
            PlayerTurn();
        else
            ComputerTurn();
        turnSide = static_cast<std::int16_t>(1 - turnSide);
    }
    turnSide = -1;
    ShowArrow();
    if (!abortGame) {
        TraceOver(result, gameBoard);
        PlayGameSound(result == kComputerWins ? 8 : 7);
        ShowGameSummary(playerRest, computerRest);
        if (matchOn && RecordMatchGame(gameBoard.stores[0], gameBoard.stores[1])) matchOn = 0;
    }
    UpdateTitle();
    if (!gameOn) {
        hoverPit = kRedrawHint;
        ClearBoard(gameBoard);
        RedrawBoard();
    }
}

} // namespace

void SetUpMenuBar(std::int16_t menuBarID) {
    Handle bar = GetNewMBar(menuBarID);
    if (!bar) return; // the game goes on without menus; the keys still work
    SetMenuBar(bar);
    DisposeHandle(bar);
    AppendResMenu(GetMenuHandle(Localized(kAppleMenu)), MakeResType("DRVR"));
    DrawMenuBar();
}

void InitApplication() {
    InitGraf(&qd);
    InitFonts();
    InitWindows();
    InitMenus();
    TEInit();
    InitDialogs(nullptr);
    InitCursor();
    if (CursHandle wait = GetCursor(watchCursor)) SetCursor(*wait);

    if (OpenResFile("TOLKA.RSR") < 0) {
        ReportFatal("Des fichiers essentiels sont absents. Reinstallez le logiciel.");
        ExitToShell();
    }
    ShowArrow();
    english = Alert(kLanguageAlert, nullptr) == 2 ? 1 : 0;
    SetUpMenuBar(Localized(kMenuBar));
    // The screen is always 256 colours here, so the question about fewer colours never arises.
    mainWindow = GetNewWindow(kBoardWindow, nullptr, reinterpret_cast<WindowPtr>(-1));
    if (!mainWindow) {
        ReportFatal("Mauvais fichier ressource");
        ExitToShell();
    }
    SetPort(mainWindow);
    InstallBoardView();
    RegisterGameDump();
    qiva::SetQuitHook(&MayQuit);
    qiva::SetActivateHook(&MayImportClipboard);
    qiva::SetDeactivateHook(&MayExportClipboard);
}

void GameMain() {
    InitApplication();
    ReadSettings();
    SyncViewOptions();
    // From here on every end of the program, whatever its cause, keeps the options.
    std::atexit(&WriteSettingsAtExit);
    DoEvents();
    UpdateTitle();
    AdjustMenus();
    for (;;) {
        ShowArrow();
        std::uint8_t playerFirst = 0;
        if (gameOn && AskWhoStarts(playerFirst)) {
            PlayOneGame(playerFirst);
        } else if (gameOn) {
            // The draw was cancelled: the series (or the match) ends.
            gameOn = 0;
            matchOn = 0;
            // The hint speaks of the game that was: it must say again how to start one.
            hoverPit = kRedrawHint;
            ClearBoard(gameBoard);
            RedrawBoard();
            UpdateTitle();
            AdjustMenus();
        }
        UpdatePitHint();
        DoEvents();
    }
}

} // namespace tolka
