#pragma once
// The SDL2 backend: one resizable window showing the virtual screen at an integer scale, SDL events,
// one audio device (or silence), the SDL clipboard, cursors and message boxes.

#include <memory>

#include "platform/platform.h"

namespace platform {

// Returns nullptr (and an error text) when SDL's video cannot start. `scale` 0 chooses the scale
// from the usable display size.
std::unique_ptr<Backend> MakeSdlBackend(int scale, std::string& error);

} // namespace platform
