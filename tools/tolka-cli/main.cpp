// tolka-cli: the game engine on the command line, for analysing positions and for scripted checks.
// Answers go to standard output one line each; errors go to standard error with exit status 2.

#include <algorithm>
#include <charconv>
#include <ctime>
#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "game/board.h"
#include "game/board_text.h"
#include "game/game_state.h"
#include "game/rules.h"
#include "game/search.h"
#include "toolkit/core/random.h"

namespace {

using namespace tolka;

constexpr int kUsageError = 2;
// A game between two searches can in principle go round for ever; selfplay gives up after this many turns.
constexpr int kMaxTurns = 2000;

const char* const kMainHelp =
    "usage: tolka-cli COMMAND [OPTIONS]\n"
    "\n"
    "The Tolka game engine on the command line. A board is written as 14 counts separated by single\n"
    "spaces: pits 0..11 (0-5 the player's row, side 0; 6-11 the computer's row, side 1), then store 0\n"
    "and store 1. Each count lies in 0..48 and they add up to 48 or less.\n"
    "\n"
    "commands:\n"
    "  random    the toolkit's random sequence\n"
    "  play      play one move\n"
    "  over      settle the end of a game\n"
    "  search    the computer's choice of move\n"
    "  selfplay  whole games between two searches\n"
    "\n"
    "'tolka-cli COMMAND --help' describes each command. Errors go to standard error with status 2.\n";

struct Option {
    int values;            // how many words follow the option
    const char* what;      // what they are, for the message when they are missing
    bool optional = false; // a switch that may be left out
};

struct Command {
    const char* help;
    std::map<std::string, Option> options;
};

const std::map<std::string, Command> kCommands = {
    {"random",
     {"usage: tolka-cli random --seed S --count N\n"
      "Sets randSeed to S (unsigned 32-bit) and takes N steps of Random. Prints one line per step:\n"
      "  SEED RESULT\n"
      "the new randSeed as an unsigned decimal, then Random's result as a signed decimal.\n",
      {{"--seed", {1, "a seed"}}, {"--count", {1, "a count"}}}}},
    {"play",
     {"usage: tolka-cli play --rules standard|relay --side 0|1 --place M --board \"B\"\n"
      "Plays row place M (0-5) of the side on board B, silently. Prints the board after the move, or\n"
      "'illegal' when the move is refused.\n",
      {{"--rules", {1, "a rule set"}},
       {"--side", {1, "a side"}},
       {"--place", {1, "a place"}},
       {"--board", {1, "a board"}}}}},
    {"over",
     {"usage: tolka-cli over --board \"B\"\n"
      "Prints 'on' while the game goes on, else\n"
      "  over R REST0 REST1 BOARD\n"
      "R being 0 (the player wins), 1 (the computer wins) or 255 (a draw), REST0 and REST1 the seeds each\n"
      "side collected from its row, and BOARD the final board.\n",
      {{"--board", {1, "a board"}}}}},
    {"search",
     {"usage: tolka-cli search --rules R --side S --depth D --seed N --board \"B\"\n"
      "Searches D plies (1-12) for side S from randSeed N, with no time cut-off. Prints\n"
      "  best M score V seed N2\n"
      "M being the row place chosen (0-5, or -1 when no place is legal), V its score and N2 the randSeed\n"
      "afterwards (unsigned decimal).\n",
      {{"--rules", {1, "a rule set"}},
       {"--side", {1, "a side"}},
       {"--depth", {1, "a depth"}},
       {"--seed", {1, "a seed"}},
       {"--board", {1, "a board"}}}}},
    {"selfplay",
     {"usage: tolka-cli selfplay --rules R --levels L0 L1 --seed N --games G\n"
      "Plays G games from the start position, side 0 searching at level L0 and side 1 at level L1 (levels\n"
      "0-3 search 1, 4, 8 and 10 plies), randSeed set to N once and carried from game to game. Side 0\n"
      "starts the odd games, side 1 the even ones. Prints one line per game:\n"
      "  game I moves LETTERS result R stores S0 S1\n"
      "LETTERS naming the pits played in turn (A for pit 0 to L for pit 11, '-' for a pass), R the result\n"
      "(0, 1 or 255) and S0, S1 the final stores. A game still going after 2000 turns is abandoned with\n"
      "the result '-'. With --timing each line ends with\n"
      "  slowest MS0 MS1\n"
      "the longest search of side 0 and of side 1 in that game, in milliseconds of processor time.\n",
      {{"--rules", {1, "a rule set"}},
       {"--levels", {2, "two levels, L0 L1"}},
       {"--seed", {1, "a seed"}},
       {"--games", {1, "a number of games"}},
       {"--timing", {0, "nothing", true}}}}},
};

struct UsageError {
    std::string message;
};

class Arguments {
public:
    Arguments(const Command& command, int argc, char** argv) {
        for (int i = 0; i < argc; ++i) {
            const std::string name = argv[i];
            const auto option = command.options.find(name);
            if (option == command.options.end()) throw UsageError{"unknown option '" + name + "'"};
            if (values_.count(name)) throw UsageError{"option " + name + " given twice"};
            std::vector<std::string> values;
            // No value starts with "--": a missing value is reported as such, not the next option
            // taken for it and the option's own value left over.
            for (int k = 0; k < option->second.values; ++k) {
                if (++i >= argc || std::string_view(argv[i]).starts_with("--"))
                    throw UsageError{name + " takes " + option->second.what};
                values.emplace_back(argv[i]);
            }
            values_[name] = std::move(values);
        }
        for (const auto& [name, option] : command.options)
            if (!option.optional && !values_.count(name)) throw UsageError{"missing option " + name};
    }

    const std::string& Text(const std::string& name, int index = 0) const { return values_.at(name)[index]; }
    bool Has(const std::string& name) const { return values_.count(name) != 0; }

    template <class Int>
    Int Number(const std::string& name, long long lo, long long hi, int index = 0) const {
        const std::string& text = Text(name, index);
        long long value = 0;
        const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (ec != std::errc() || end != text.data() + text.size() || value < lo || value > hi)
            throw UsageError{name + " must be a number in " + std::to_string(lo) + ".." + std::to_string(hi)};
        return static_cast<Int>(value);
    }

    std::int16_t Rules() const {
        const std::string& text = Text("--rules");
        if (text == "standard") return kStandardRules;
        if (text == "relay") return kRelayRules;
        throw UsageError{"--rules must be 'standard' or 'relay'"};
    }

    Board ReadBoard() const {
        ParsedBoard parsed = ParseBoard(Text("--board"));
        if (!parsed.board) throw UsageError{"--board: " + parsed.error};
        return *parsed.board;
    }

private:
    std::map<std::string, std::vector<std::string>> values_;
};

void Print(const std::string& line) {
    std::printf("%s\n", line.c_str());
}

void RunRandom(const Arguments& args) {
    randSeed = args.Number<std::uint32_t>("--seed", 0, 0xFFFFFFFFLL);
    const auto count = args.Number<long long>("--count", 0, 100000000);
    for (long long i = 0; i < count; ++i) {
        const std::int16_t result = Random();
        std::printf("%u %d\n", static_cast<unsigned>(randSeed), result);
    }
}

void RunPlay(const Arguments& args) {
    const std::int16_t ruleSet = args.Rules();
    const auto side = args.Number<std::uint8_t>("--side", 0, 1);
    const auto place = args.Number<int>("--place", 0, kRowLength - 1);
    Board board = args.ReadBoard();
    Print(SowMove(side, board, place, ruleSet, nullptr) ? FormatBoard(board) : "illegal");
}

void RunOver(const Arguments& args) {
    Board board = args.ReadBoard();
    std::uint8_t result = 0;
    std::uint16_t rest0 = 0, rest1 = 0;
    if (!CheckGameOver(board, result, rest0, rest1)) {
        Print("on");
        return;
    }
    Print("over " + std::to_string(result) + " " + std::to_string(rest0) + " " + std::to_string(rest1) + " " +
          FormatBoard(board));
}

void RunSearch(const Arguments& args) {
    const std::int16_t ruleSet = args.Rules();
    const auto side = args.Number<std::uint8_t>("--side", 0, 1);
    // A search of no plies looks at no move and has no choice to give: the game never asks for one.
    const auto depth = args.Number<std::int16_t>("--depth", 1, 12);
    const auto seed = args.Number<std::uint32_t>("--seed", 0, 0xFFFFFFFFLL);
    const Board board = args.ReadBoard();
    randSeed = seed;
    Searcher searcher(ruleSet, depth, nullptr);
    std::int16_t best = -1;
    const std::int16_t score = searcher.Search(side, board, best, 0);
    std::printf("best %d score %d seed %u\n", best, score, static_cast<unsigned>(randSeed));
}

void RunSelfplay(const Arguments& args) {
    const std::int16_t ruleSet = args.Rules();
    const std::int16_t depths[2] = {DepthForLevel(args.Number<int>("--levels", 0, 3, 0)),
                                    DepthForLevel(args.Number<int>("--levels", 0, 3, 1))};
    randSeed = args.Number<std::uint32_t>("--seed", 0, 0xFFFFFFFFLL);
    const auto games = args.Number<int>("--games", 0, 1000000);
    const bool timing = args.Has("--timing");
    for (int game = 1; game <= games; ++game) {
        double slowest[2] = {0, 0}; // milliseconds
        Board board = StartBoard();
        std::uint8_t side = game % 2 == 1 ? 0 : 1;
        std::string moves;
        std::uint8_t result = 0;
        std::uint16_t rest0 = 0, rest1 = 0;
        bool over = false;
        for (int turn = 0; turn < kMaxTurns && !(over = CheckGameOver(board, result, rest0, rest1)); ++turn) {
            Searcher searcher(ruleSet, depths[side], nullptr);
            std::int16_t best = -1;
            // Processor time, so that other work on the machine does not lengthen a search.
            const std::clock_t start = std::clock();
            searcher.Search(side, board, best, 0);
            const double took = 1000.0 * static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
            slowest[side] = std::max(slowest[side], took);
            if (best < 0) {
                moves += '-';
            } else {
                SowMove(side, board, best, ruleSet, nullptr);
                moves += static_cast<char>('A' + AbsolutePit(side, best));
            }
            side = static_cast<std::uint8_t>(1 - side);
        }
        const std::string outcome = over ? std::to_string(result) : "-";
        std::printf("game %d moves %s result %s stores %d %d", game, moves.c_str(), outcome.c_str(),
                    board.stores[0], board.stores[1]);
        if (timing) std::printf(" slowest %.1f %.1f", slowest[0], slowest[1]);
        std::printf("\n");
        std::fflush(stdout);
    }
}

using Runner = void (*)(const Arguments&);
const std::map<std::string, Runner> kRunners = {{"random", RunRandom},
                                                {"play", RunPlay},
                                                {"over", RunOver},
                                                {"search", RunSearch},
                                                {"selfplay", RunSelfplay}};

bool WantsHelp(int argc, char** argv) {
    for (int i = 0; i < argc; ++i)
        if (std::string_view(argv[i]) == "--help" || std::string_view(argv[i]) == "-h") return true;
    return false;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fputs(kMainHelp, stderr);
        return kUsageError;
    }
    const std::string name = argv[1];
    if (name == "--help" || name == "-h" || name == "help") {
        std::fputs(kMainHelp, stdout);
        return 0;
    }
    const auto command = kCommands.find(name);
    if (command == kCommands.end()) {
        std::fprintf(stderr, "tolka-cli: unknown command '%s' (try 'tolka-cli --help')\n", name.c_str());
        return kUsageError;
    }
    if (WantsHelp(argc - 2, argv + 2)) {
        std::fputs(command->second.help, stdout);
        return 0;
    }
    try {
        const Arguments args(command->second, argc - 2, argv + 2);
        kRunners.at(name)(args);
    } catch (const UsageError& error) {
        std::fprintf(stderr, "tolka-cli %s: %s\n", name.c_str(), error.message.c_str());
        return kUsageError;
    }
    return 0;
}
