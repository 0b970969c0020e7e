#pragma once
// The SDL backend's cursor service: the system's shapes, made once each, and the one custom cursor.

#include <SDL.h>

#include "platform/platform.h"

namespace platform {

class SdlCursors {
public:
    SdlCursors() = default;
    ~SdlCursors();
    SdlCursors(const SdlCursors&) = delete;
    SdlCursors& operator=(const SdlCursors&) = delete;

    int Size() const { return 32; }
    void SetSystem(SystemCursor cursor);
    void SetCustom(const CursorImage& image);
    void Show(bool shown);

private:
    SDL_Cursor* system_[9] = {};
    SDL_Cursor* custom_ = nullptr;
};

} // namespace platform
