#include "platform/sdl_clipboard.h"

#include <SDL.h>

namespace platform {

std::string SdlClipboard::Text() const {
    char* text = SDL_GetClipboardText();
    std::string result = text ? text : "";
    SDL_free(text);
    return result;
}

void SdlClipboard::SetText(std::string_view text) {
    SDL_SetClipboardText(std::string(text).c_str());
}

} // namespace platform
