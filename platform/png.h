#pragma once
// Writing an 8-bit frame as an RGB PNG file (screenshots of the virtual screen).

#include <string>

#include "platform/platform.h"

namespace platform {

// Returns an error text, empty on success. The file is replaced atomically.
std::string WritePng(const std::string& path, const Frame& frame);

} // namespace platform
