#include "toolkit/core/message_log.h"

#include <cstdlib>

#include "toolkit/core/memory.h"

namespace qiva {
namespace {

Handle logText = nullptr;
bool logWrittenAtExit = false;

void WriteLogAtExit() {
    WriteMessageLog(stdout);
}

} // namespace

void AppendToMessageLog(std::string_view line) {
    if (!logWrittenAtExit) {
        logWrittenAtExit = true;
        std::atexit(&WriteLogAtExit);
    }
    if (!logText) logText = NewHandle(0);
    if (logText) {
        PtrAndHand(line.data(), logText, static_cast<Size>(line.size()));
        PtrAndHand("\r\n", logText, 2);
    }
    if (!logText || MemError() != noErr)
        std::fprintf(stderr, "%.*s\n", static_cast<int>(line.size()), line.data());
}

std::string MessageLogText() {
    if (!logText || !*logText) return {};
    return std::string(*logText, static_cast<std::size_t>(GetHandleSize(logText)));
}

void WriteMessageLog(std::FILE* out) {
    std::string text = MessageLogText();
    ClearMessageLog();
    std::string plain;
    plain.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        plain += text[i];
    }
    std::fwrite(plain.data(), 1, plain.size(), out);
    std::fflush(out);
}

void ClearMessageLog() {
    if (logText) DisposeHandle(logText);
    logText = nullptr;
}

} // namespace qiva
