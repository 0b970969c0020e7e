#pragma once
// The game's menu commands as data: which command a menu choice names, and what each does to the
// session's flags and the options. The questions a command asks are answered by a callback, so the
// rules of the commands are tested without alerts; the program runs the alerts and the dialogs.

#include <cstdint>
#include <functional>

#include "game/settings_file.h"

namespace tolka {

// Menus and alerts, French numbers (English ones are 10000 higher).
constexpr std::int16_t kAppleMenu = 128;
constexpr std::int16_t kGameMenu = 129;
constexpr std::int16_t kOptionsMenu = 130;
constexpr std::int16_t kAbandonGameAlert = 128; // item 1 abandons the game in progress
constexpr std::int16_t kStopMatchAlert = 132;   // item 1 stops the match

enum class Command {
    None,
    About,
    Help,
    DeskAccessory,
    StandardRules,
    RelayRules,
    NewGame,
    NewMatch,
    StopMatch,
    ScoreSheet,
    Quit,
    ShowCounts,
    ShowDestination,
    Sound,
    HandAnimation,
    Messages,
    Level0,
    Level1,
    Level2,
    Level3,
};

struct MenuChoice {
    Command command = Command::None;
    std::int16_t menu = 0; // the French number of the menu
    std::int16_t item = 0;
};

// The command of a menu result (menu number in the high word, item in the low word), in either
// language; separators, items past the end and other menus give Command::None.
MenuChoice DecodeMenuChoice(std::int32_t menuResult);

struct SessionFlags {
    std::uint8_t gameOn = 0;
    std::uint8_t matchOn = 0;
    std::uint8_t abortGame = 0;
};

// What the program must do besides the flags and options a command has changed.
struct CommandEffects {
    bool quit = false;        // end the program (the settings are written at exit)
    bool clearMatch = false;  // a match starts: its record is emptied
    bool endSprite = false;   // the hand option changed: withdraw a hand on the board
    bool optionsMenu = false; // an option changed: redraw the panel and the hint
};

// True when the alert (French number) was answered with item 1.
using Confirm = std::function<bool(std::int16_t alert)>;

// Carries out a game or options command on the flags and the options. Commands that show something
// (about, help, score sheet, desk accessories) change nothing here.
CommandEffects ApplyCommand(Command command, SessionFlags& flags, GameSettings& options,
                            const Confirm& confirm);

// The search depth a level gives, and the checked items of the options and game menus.
struct MenuMarks {
    bool options[12] = {};         // by item, 1-11
    bool rules[3] = {};            // items 1 and 2 of the game menu
    bool matchItemsEnabled = true; // new game and new match; stop match is the opposite
};
MenuMarks MarksFor(const GameSettings& options, bool inMatch);

} // namespace tolka
