#include "game/menu_commands.h"

#include "game/session_state.h"

namespace tolka {

namespace {

Command GameMenuCommand(std::int16_t item) {
    switch (item) {
    case 1:
        return Command::StandardRules;
    case 2:
        return Command::RelayRules;
    case 4:
        return Command::NewGame;
    case 5:
        return Command::NewMatch;
    case 6:
        return Command::StopMatch;
    case 7:
        return Command::ScoreSheet;
    case 9:
        return Command::Quit;
    default:
        return Command::None;
    }
}

Command OptionsMenuCommand(std::int16_t item) {
    switch (item) {
    case 1:
        return Command::ShowCounts;
    case 2:
        return Command::ShowDestination;
    case 4:
        return Command::Sound;
    case 5:
        return Command::HandAnimation;
    case 6:
        return Command::Messages;
    case 8:
        return Command::Level0;
    case 9:
        return Command::Level1;
    case 10:
        return Command::Level2;
    case 11:
        return Command::Level3;
    default:
        return Command::None;
    }
}

void Toggle(std::uint8_t& option) {
    option = option ? 0 : 1;
}

} // namespace

MenuChoice DecodeMenuChoice(std::int32_t menuResult) {
    auto menu = static_cast<std::int16_t>(menuResult >> 16);
    const auto item = static_cast<std::int16_t>(menuResult & 0xFFFF);
    if (menu > kEnglishOffset) menu = static_cast<std::int16_t>(menu - kEnglishOffset);
    MenuChoice choice{Command::None, menu, item};
    if (item <= 0) return choice;
    switch (menu) {
    case kAppleMenu:
        choice.command = item == 1 ? Command::About : item == 2 ? Command::Help : Command::DeskAccessory;
        if (item == 3) choice.command = Command::None; // the separator
        break;
    case kGameMenu:
        choice.command = GameMenuCommand(item);
        break;
    case kOptionsMenu:
        choice.command = OptionsMenuCommand(item);
        break;
    default:
        break;
    }
    return choice;
}

CommandEffects ApplyCommand(Command command, SessionFlags& flags, GameSettings& options,
                            const Confirm& confirm) {
    CommandEffects effects;
    // A game in progress is abandoned only when the player agrees.
    const auto mayAbandon = [&] { return !flags.gameOn || confirm(kAbandonGameAlert); };
    const auto endGames = [&](std::uint8_t keepPlaying) {
        flags.abortGame = 1;
        flags.matchOn = 0;
        flags.gameOn = keepPlaying;
    };
    switch (command) {
    case Command::StandardRules:
    case Command::RelayRules: {
        const std::int16_t wanted = command == Command::StandardRules ? 0 : 1;
        if (options.rules != wanted && mayAbandon()) {
            endGames(0);
            options.rules = wanted;
        }
        break;
    }
    case Command::NewGame:
        if (mayAbandon()) endGames(1);
        break;
    case Command::NewMatch:
        // Declining keeps the game in progress, which becomes the match's first game.
        if (flags.gameOn && confirm(kAbandonGameAlert)) flags.abortGame = 1;
        effects.clearMatch = true;
        flags.gameOn = 1;
        flags.matchOn = 1;
        break;
    case Command::StopMatch:
        if (flags.matchOn && confirm(kStopMatchAlert)) endGames(0);
        break;
    case Command::Quit:
        effects.quit = mayAbandon();
        break;
    case Command::ShowCounts:
        Toggle(options.showCounts);
        break;
    case Command::ShowDestination:
        Toggle(options.showDestination);
        break;
    case Command::Sound:
        Toggle(options.soundOn);
        break;
    case Command::HandAnimation:
        Toggle(options.handAnimation);
        effects.endSprite = true;
        break;
    case Command::Messages:
        Toggle(options.showMessages);
        break;
    case Command::Level0:
    case Command::Level1:
    case Command::Level2:
    case Command::Level3:
        // The beginner gets the commentary; the stronger levels play in silence.
        options.level =
            static_cast<std::int16_t>(static_cast<int>(command) - static_cast<int>(Command::Level0));
        options.showMessages = options.level == 0 ? 1 : 0;
        break;
    default:
        break;
    }
    switch (command) {
    case Command::ShowCounts:
    case Command::ShowDestination:
    case Command::Sound:
    case Command::HandAnimation:
    case Command::Messages:
    case Command::Level0:
    case Command::Level1:
    case Command::Level2:
    case Command::Level3:
        effects.optionsMenu = true;
        break;
    default:
        break;
    }
    return effects;
}

MenuMarks MarksFor(const GameSettings& options, bool inMatch) {
    MenuMarks m;
    m.options[1] = options.showCounts != 0;
    m.options[2] = options.showDestination != 0;
    m.options[4] = options.soundOn != 0;
    m.options[5] = options.handAnimation != 0;
    m.options[6] = options.showMessages != 0;
    for (int lvl = 0; lvl < 4; ++lvl)
        m.options[8 + lvl] = options.level == lvl;
    m.rules[1] = options.rules == 0;
    m.rules[2] = options.rules == 1;
    m.matchItemsEnabled = !inMatch;
    return m;
}

} // namespace tolka
