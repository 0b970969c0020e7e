#include "game/game_strings.h"

#include <array>

#include "game/session_state.h"
#include "toolkit/core/indexed_strings.h"

namespace tolka {

namespace {
std::array<char, 256> sharedString{};
}

const char* GameString(std::int16_t index) {
    GetIndString(sharedString.data(), Localized(kGameStrings), index);
    return sharedString.data();
}

std::string GameText(std::int16_t index) {
    return GameString(index);
}

} // namespace tolka
