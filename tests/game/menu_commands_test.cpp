// The menu commands: which command a choice names in either language, what each does to the flags
// and options for every answer to its questions, and the marks the menus show.

#include <gtest/gtest.h>

#include <vector>

#include "game/menu_commands.h"

namespace tolka {
namespace {

std::int32_t Choice(int menu, int item) {
    return (menu << 16) | item;
}

TEST(MenuCommands, ChoicesNameTheirCommandInBothLanguages) {
    const struct {
        int menu, item;
        Command command;
    } cases[] = {
        {128, 1, Command::About},         {128, 2, Command::Help},
        {128, 3, Command::None},          {128, 4, Command::DeskAccessory},
        {129, 1, Command::StandardRules}, {129, 2, Command::RelayRules},
        {129, 3, Command::None},          {129, 4, Command::NewGame},
        {129, 5, Command::NewMatch},      {129, 6, Command::StopMatch},
        {129, 7, Command::ScoreSheet},    {129, 8, Command::None},
        {129, 9, Command::Quit},          {129, 10, Command::None},
        {130, 1, Command::ShowCounts},    {130, 2, Command::ShowDestination},
        {130, 3, Command::None},          {130, 4, Command::Sound},
        {130, 5, Command::HandAnimation}, {130, 6, Command::Messages},
        {130, 7, Command::None},          {130, 8, Command::Level0},
        {130, 11, Command::Level3},       {130, 12, Command::None},
        {131, 1, Command::None},          {0, 0, Command::None},
        {129, 0, Command::None},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DecodeMenuChoice(Choice(c.menu, c.item)).command, c.command) << c.menu << "/" << c.item;
        EXPECT_EQ(DecodeMenuChoice(Choice(c.menu + 10000, c.item)).command, c.command)
            << "English " << c.menu << "/" << c.item;
    }
    EXPECT_EQ(DecodeMenuChoice(Choice(10129, 4)).menu, 129);
}

struct Outcome {
    SessionFlags flags;
    GameSettings options;
    CommandEffects effects;
    std::vector<std::int16_t> asked;
};

Outcome Apply(Command command, SessionFlags flags, GameSettings options, bool answer) {
    Outcome run{flags, options, {}, {}};
    run.effects = ApplyCommand(command, run.flags, run.options, [&](std::int16_t alert) {
        run.asked.push_back(alert);
        return answer;
    });
    return run;
}

TEST(MenuCommands, GameCommandsAskBeforeAbandoningAGame) {
    const SessionFlags idle{0, 0, 0}, playing{1, 0, 0}, inMatch{1, 1, 0};
    GameSettings relay;
    relay.rules = 1;
    const struct {
        const char* name;
        Command command;
        SessionFlags before;
        GameSettings options;
        bool answer;
        SessionFlags after;
        std::int16_t rules;
        std::vector<std::int16_t> asked;
        bool quit, clearMatch;
    } cases[] = {
        {"new game when idle", Command::NewGame, idle, {}, false, {1, 0, 1}, 0, {}, false, false},
        {"new game, abandon agreed", Command::NewGame, inMatch, {}, true, {1, 0, 1}, 0, {128}, false, false},
        {"new game, abandon declined", Command::NewGame, playing, {}, false, playing, 0, {128}, false, false},
        {"rules in force: nothing", Command::StandardRules, playing, {}, true, playing, 0, {}, false, false},
        {"rules changed during a game",
         Command::RelayRules,
         playing,
         {},
         true,
         {0, 0, 1},
         1,
         {128},
         false,
         false},
        {"rules change declined",
         Command::StandardRules,
         playing,
         relay,
         false,
         playing,
         1,
         {128},
         false,
         false},
        {"rules changed when idle",
         Command::StandardRules,
         idle,
         relay,
         false,
         {0, 0, 1},
         0,
         {},
         false,
         false},
        {"new match when idle", Command::NewMatch, idle, {}, false, {1, 1, 0}, 0, {}, false, true},
        {"new match abandons the game",
         Command::NewMatch,
         playing,
         {},
         true,
         {1, 1, 1},
         0,
         {128},
         false,
         true},
        {"new match keeps the game", Command::NewMatch, playing, {}, false, {1, 1, 0}, 0, {128}, false, true},
        {"stop match agreed", Command::StopMatch, inMatch, {}, true, {0, 0, 1}, 0, {132}, false, false},
        {"stop match declined", Command::StopMatch, inMatch, {}, false, inMatch, 0, {132}, false, false},
        {"stop match without one", Command::StopMatch, playing, {}, true, playing, 0, {}, false, false},
        {"quit when idle", Command::Quit, idle, {}, false, idle, 0, {}, true, false},
        {"quit during a game agreed", Command::Quit, playing, {}, true, playing, 0, {128}, true, false},
        {"quit during a game declined", Command::Quit, playing, {}, false, playing, 0, {128}, false, false},
        {"about changes nothing", Command::About, inMatch, {}, true, inMatch, 0, {}, false, false},
    };
    for (const auto& c : cases) {
        const Outcome r = Apply(c.command, c.before, c.options, c.answer);
        EXPECT_EQ(r.flags.gameOn, c.after.gameOn) << c.name;
        EXPECT_EQ(r.flags.matchOn, c.after.matchOn) << c.name;
        EXPECT_EQ(r.flags.abortGame, c.after.abortGame) << c.name;
        EXPECT_EQ(r.options.rules, c.rules) << c.name;
        EXPECT_EQ(r.asked, c.asked) << c.name;
        EXPECT_EQ(r.effects.quit, c.quit) << c.name;
        EXPECT_EQ(r.effects.clearMatch, c.clearMatch) << c.name;
    }
}

TEST(MenuCommands, OptionsToggleAndLevelsSetTheMessages) {
    GameSettings options;
    Outcome r = Apply(Command::Sound, {}, options, true);
    EXPECT_EQ(r.options.soundOn, 0);
    EXPECT_TRUE(r.effects.optionsMenu);
    EXPECT_TRUE(r.asked.empty());
    r = Apply(Command::Sound, {}, r.options, true);
    EXPECT_EQ(r.options.soundOn, 1);
    EXPECT_TRUE(Apply(Command::HandAnimation, {}, options, true).effects.endSprite);

    // Levels 1-3 silence the panel, level 0 brings it back; the option stays free afterwards.
    r = Apply(Command::Level3, {}, options, true);
    EXPECT_EQ(r.options.level, 3);
    EXPECT_EQ(r.options.showMessages, 0);
    r = Apply(Command::Messages, {}, r.options, true);
    EXPECT_EQ(r.options.showMessages, 1);
    EXPECT_EQ(r.options.level, 3);
    r = Apply(Command::Level1, {}, r.options, true);
    EXPECT_EQ(r.options.showMessages, 0);
    r = Apply(Command::Level0, {}, r.options, true);
    EXPECT_EQ(r.options.level, 0);
    EXPECT_EQ(r.options.showMessages, 1);
}

TEST(MenuCommands, MarksFollowTheOptionsAndTheMatch) {
    GameSettings options;
    options.soundOn = 0;
    options.level = 2;
    options.rules = 1;
    const MenuMarks m = MarksFor(options, true);
    EXPECT_TRUE(m.options[1] && m.options[2] && m.options[5] && m.options[6]);
    EXPECT_FALSE(m.options[4]);
    EXPECT_FALSE(m.options[8] || m.options[9] || m.options[11]);
    EXPECT_TRUE(m.options[10]);
    EXPECT_FALSE(m.rules[1]);
    EXPECT_TRUE(m.rules[2]);
    EXPECT_FALSE(m.matchItemsEnabled);
    // A level or rules outside their range mark no item.
    options.level = 7;
    options.rules = 5;
    const MenuMarks odd = MarksFor(options, false);
    EXPECT_FALSE(odd.options[8] || odd.options[9] || odd.options[10] || odd.options[11]);
    EXPECT_FALSE(odd.rules[1] || odd.rules[2]);
    EXPECT_TRUE(odd.matchItemsEnabled);
}

} // namespace
} // namespace tolka
