#include "platform/sdl_cursor.h"

#include <iterator>
#include <vector>

namespace platform {

SdlCursors::~SdlCursors() {
    for (SDL_Cursor* c : system_)
        if (c) SDL_FreeCursor(c);
    if (custom_) SDL_FreeCursor(custom_);
}

void SdlCursors::SetSystem(SystemCursor cursor) {
    static const SDL_SystemCursor ids[] = {
        SDL_SYSTEM_CURSOR_ARROW,    SDL_SYSTEM_CURSOR_IBEAM,    SDL_SYSTEM_CURSOR_CROSSHAIR,
        SDL_SYSTEM_CURSOR_WAIT,     SDL_SYSTEM_CURSOR_SIZEWE,   SDL_SYSTEM_CURSOR_SIZENS,
        SDL_SYSTEM_CURSOR_SIZENWSE, SDL_SYSTEM_CURSOR_SIZENESW, SDL_SYSTEM_CURSOR_HAND};
    static_assert(std::size(ids) == sizeof system_ / sizeof system_[0]);
    const auto i = static_cast<std::size_t>(cursor);
    if (i >= std::size(ids)) return;
    if (!system_[i]) system_[i] = SDL_CreateSystemCursor(ids[i]);
    if (system_[i]) SDL_SetCursor(system_[i]);
}

void SdlCursors::SetCustom(const CursorImage& image) {
    // AND/XOR to SDL's data/mask: mask = NOT AND, data = NOT (AND XOR XOR).
    const std::size_t bytes = static_cast<std::size_t>(image.size / 8) * image.size;
    std::vector<Uint8> data(bytes), mask(bytes);
    for (std::size_t i = 0; i < bytes; ++i) {
        mask[i] = static_cast<Uint8>(~image.andPlane[i]);
        data[i] = static_cast<Uint8>(~(image.andPlane[i] ^ image.xorPlane[i]));
    }
    SDL_Cursor* cursor =
        SDL_CreateCursor(data.data(), mask.data(), image.size, image.size, image.hotX, image.hotY);
    if (!cursor) return;
    SDL_SetCursor(cursor);
    if (custom_) SDL_FreeCursor(custom_);
    custom_ = cursor;
}

void SdlCursors::Show(bool shown) {
    SDL_ShowCursor(shown ? SDL_ENABLE : SDL_DISABLE);
}

} // namespace platform
