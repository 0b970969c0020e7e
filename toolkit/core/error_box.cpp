#include "toolkit/core/error_box.h"

#include <cstdio>

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

} // namespace qiva
