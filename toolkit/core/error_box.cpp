#include "toolkit/core/error_box.h"

#include <cstdlib>
#include <cstring>

#include "toolkit/core/memory.h"

namespace qiva {
namespace {

std::vector<std::string>& History() {
    static auto* history = new std::vector<std::string>;
    return *history;
}

void HeadlessSink(const std::string& message) {
    History().push_back(message);
    std::fprintf(stderr, "%s: %s\n", kErrorBoxCaption, message.c_str());
    std::fflush(stderr);
}

ErrorBoxSink sink = &HeadlessSink;
bool boxShowing = false;

Handle logText = nullptr;
bool logWrittenAtExit = false;

void WriteLogAtExit() {
    WriteMessageLog(stdout);
}

} // namespace

void ShowErrorBox(std::string_view message) {
    if (boxShowing) return;
    boxShowing = true;
    sink(std::string(message));
    boxShowing = false;
}

void SetErrorBoxSink(ErrorBoxSink newSink) {
    sink = newSink ? newSink : &HeadlessSink;
}

const std::vector<std::string>& ErrorBoxHistory() {
    return History();
}

void ClearErrorBoxHistory() {
    History().clear();
}

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
