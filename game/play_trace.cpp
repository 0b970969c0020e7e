#include "game/play_trace.h"

#include "platform/file_io.h"

namespace tolka {

namespace {

std::string tracePath;
std::string traceText;

// The whole trace is written again after each line: a game is a few hundred short lines, and the
// file then always holds whole lines, even when the program is stopped while writing.
void Write(const std::string& line) {
    if (tracePath.empty()) return;
    traceText += line;
    traceText += '\n';
    platform::WriteOutputFile(tracePath, traceText);
}

std::string Counts(const Board& b) {
    std::string out;
    for (int i = 0; i < kPitCount; ++i)
        out += std::to_string(b.pits[i]) + ' ';
    return out + std::to_string(b.stores[0]) + ' ' + std::to_string(b.stores[1]);
}

} // namespace

bool OpenPlayTrace(const std::string& path, std::string& error) {
    ClosePlayTrace();
    error = platform::WriteOutputFile(path, "");
    if (error.empty()) tracePath = path;
    return error.empty();
}

void ClosePlayTrace() {
    tracePath.clear();
    traceText.clear();
}

std::string MoveLine(std::uint8_t side, int place, const Board& board) {
    return "move " + std::to_string(side) + ' ' + std::to_string(place) + ' ' + Counts(board);
}

std::string OverLine(std::uint8_t result, const Board& board) {
    return "over " + std::to_string(result) + ' ' + std::to_string(board.stores[0]) + ' ' +
           std::to_string(board.stores[1]);
}

void TraceMove(std::uint8_t side, int place, const Board& board) {
    Write(MoveLine(side, place, board));
}
void TracePass(std::uint8_t side) {
    Write("pass " + std::to_string(side));
}
void TraceOver(std::uint8_t result, const Board& board) {
    Write(OverLine(result, board));
}

} // namespace tolka
