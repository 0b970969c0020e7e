#include "toolkit/core/application.h"

namespace qiva {
namespace {

std::string applicationName = "Tolka";
bool shellRunning = false;

} // namespace

const std::string& ApplicationName() {
    return applicationName;
}
void SetApplicationName(const std::string& name) {
    applicationName = name;
}
bool ShellRunning() {
    return shellRunning;
}
void SetShellRunning(bool running) {
    shellRunning = running;
}

} // namespace qiva
