// board-run: animated moves of a new game in the program's window, to measure the sowing animation
// where it runs for real (bench/board_figures.sh runs it under Xvfb). After the hand's calibration it
// plays MOVES random legal moves with the hand and the sound, then prints the frames presented per
// second and the process's CPU time over that stretch.

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

#include "game/board_view.h"
#include "game/rules.h"
#include "platform/platform.h"
#include "toolkit/core/resources.h"
#include "toolkit/core/shell.h"
#include "toolkit/graphics/buffer_table.h"
#include "toolkit/graphics/present.h"
#include "toolkit/graphics/quickdraw.h"

namespace {

int gMoves = 6;

// Counts the presents on their way to the window.
class CountingPresent : public qiva::PresentSink {
public:
    explicit CountingPresent(qiva::PresentSink* next) : next_(next) {}
    void Present(const qiva::ScreenImage& screen, const Rect& area, Point source) override {
        ++count;
        if (next_) next_->Present(screen, area, source);
        // Frames that follow each other closely are the hand travelling (sounds and pauses part them).
        const std::uint64_t now = platform::Current().Microseconds();
        if (last_ != 0 && now - last_ < 100000) {
            ++travelFrames;
            travelMicros += now - last_;
        }
        last_ = now;
    }
    long count = 0;
    long travelFrames = 0;
    std::uint64_t travelMicros = 0;

private:
    qiva::PresentSink* next_;
    std::uint64_t last_ = 0;
};

void BoardRunMain() {
    InitGraf(&qd);
    if (OpenResFile("TOLKA.RSR") <= 0) {
        std::fprintf(stderr, "board-run: TOLKA.RSR cannot be opened\n");
        std::exit(1);
    }
    static GrafPort window;
    OpenPort(&window);
    static tolka::Board board;
    tolka::BoardDisplay& view = tolka::Display();
    view.Attach(&window, &board);
    view.options.soundOn = std::getenv("BOARD_RUN_SILENT") == nullptr;
    view.ResetSeeds();
    for (std::int16_t pit = 0; pit < tolka::kPitCount; ++pit) {
        board.pits[pit] = tolka::kStartSeedsPerPit;
        for (int i = 0; i < tolka::kStartSeedsPerPit; ++i)
            view.SetSeedPlace(board, pit, static_cast<std::int16_t>(4 * pit + i));
    }
    view.RedrawBoard();
    view.StartSprite(0); // calibrates
    std::printf("calibration: minimum step %d, %d frames per second\n", view.MinimumStep(),
                view.FramesPerSecond());
    std::fflush(stdout); // a watcher waits for this line before it acts on the window

    static CountingPresent counter(qiva::GetPresentSink());
    qiva::SetPresentSink(&counter);
    platform::Backend& backend = platform::Current();
    const std::uint64_t start = backend.Microseconds();
    const std::clock_t cpuStart = std::clock();
    std::srand(1);
    std::uint8_t side = 0;
    int played = 0;
    for (; played < gMoves; ++played) {
        std::vector<int> legal;
        for (int place = 0; place < tolka::kRowLength; ++place) {
            tolka::Board trial = board;
            if (tolka::SowMove(side, trial, place, tolka::kStandardRules, nullptr)) legal.push_back(place);
        }
        if (legal.empty()) break;
        view.StartSprite(side);
        tolka::SowMove(side, board, legal[static_cast<std::size_t>(std::rand()) % legal.size()],
                       tolka::kStandardRules, &view);
        side = static_cast<std::uint8_t>(1 - side);
    }
    const double seconds = static_cast<double>(backend.Microseconds() - start) / 1e6;
    const double cpu = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    std::printf("%d moves in %.2f s: %ld frames, %.1f frames per second; CPU %.2f s, %.1f%% of one core\n",
                played, seconds, counter.count, static_cast<double>(counter.count) / seconds, cpu,
                100.0 * cpu / seconds);
    if (counter.travelMicros > 0)
        std::printf("while the hand travels: %.1f frames per second\n",
                    static_cast<double>(counter.travelFrames) * 1e6 /
                        static_cast<double>(counter.travelMicros));
    std::fflush(stdout);
    ExitToShell();
}

} // namespace

int main(int argc, char** argv) {
    if (const char* moves = std::getenv("BOARD_RUN_MOVES")) gMoves = std::atoi(moves);
    return qiva::ShellMain(argc, argv, "BoardRun", &BoardRunMain,
                           "Plays animated moves of a new game in the window and prints the frame rate\n"
                           "and the CPU time (BOARD_RUN_MOVES moves, 6 by default; BOARD_RUN_SILENT=1\n"
                           "turns the sound off).\n");
}
