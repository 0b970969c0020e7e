// tolka: the game. Runs in a window, or headless with a script (--headless, --script FILE|-), and can
// write a trace of every move it plays (--trace FILE).

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "game/app/tolka_app.h"
#include "game/board_text.h"
#include "game/play_trace.h"
#include "game/session_state.h"
#include "toolkit/core/shell.h"

namespace {

const char* const kUsage =
    "Tolka: a two-row sowing game against the computer, under the standard or the relay rules.\n"
    "  --version         print the version and end\n"
    "  --board \"B\"       start every game from board B instead of four seeds a pit: 14 counts\n"
    "                    separated by single spaces, pits 0-11 then the two stores, 48 seeds at most\n"
    "  --trace FILE      write a line per event of play: \"move SIDE PLACE BOARD\" after each move\n"
    "                    (PLACE the row place 0-5, BOARD the 14 counts: pits 0-11, then the two\n"
    "                    stores), \"pass SIDE\" when a side cannot move, \"over RESULT STORE0 STORE1\"\n"
    "                    when a game ends (RESULT 0 the player wins, 1 the computer, 255 a draw)\n"
    "The state dump adds the lines\n"
    "  game rules R level L english E gameon G awaiting 0|1 turn SIDE board P0 .. P11 S0 S1 message "
    "\"TEXT\"\n"
    "  sound last N count C\n"
    "  pit N rect L T R B count C\n"
    "(turn -1 between games; the last game sound asked for, -1 before any, and how many were, heard\n"
    "or not; pit rectangles in global pixels).\n";

} // namespace

int main(int argc, char** argv) {
    // The game's own options are taken out before the shell reads the rest.
    int kept = 1;
    bool headless = false, script = false;
    if (const char* backend = std::getenv("QIVA_BACKEND")) headless = std::strcmp(backend, "headless") == 0;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            argv[kept++] = argv[i];
        } else if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("tolka %s\n", TOLKA_VERSION);
            return 0;
        } else if (std::strcmp(argv[i], "--board") == 0) {
            const tolka::ParsedBoard parsed =
                i + 1 < argc ? tolka::ParseBoard(argv[++i]) : tolka::ParsedBoard{{}, "a board is needed"};
            if (!parsed.board) {
                std::fprintf(stderr, "tolka: --board: %s\n", parsed.error.c_str());
                return 2;
            }
            tolka::startBoard = *parsed.board;
        } else if (std::strcmp(argv[i], "--trace") == 0) {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "tolka: --trace needs a file\n");
                return 2;
            }
            std::string error;
            if (!tolka::OpenPlayTrace(argv[++i], error)) {
                std::fprintf(stderr, "tolka: %s\n", error.c_str());
                return 2;
            }
        } else if (std::strncmp(argv[i], "--", 2) == 0 && std::strcmp(argv[i], "--headless") != 0 &&
                   std::strcmp(argv[i], "--script") != 0 && std::strcmp(argv[i], "--scale") != 0) {
            std::fprintf(stderr, "tolka: unknown option %s (tolka --help lists them)\n", argv[i]);
            return 2;
        } else {
            headless = headless || std::strcmp(argv[i], "--headless") == 0;
            script = script || std::strcmp(argv[i], "--script") == 0;
            argv[kept++] = argv[i];
        }
    }
    argv[kept] = nullptr;
    // Without a script nothing would ever reach a headless run.
    if (headless && !script &&
        !(kept > 1 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0))) {
        std::fprintf(stderr, "tolka: a headless run needs --script FILE|-\n");
        return 2;
    }
    return qiva::ShellMain(kept, argv, "Tolka", &tolka::GameMain, kUsage);
}
