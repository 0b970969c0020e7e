#pragma once
// The SDL backend's clipboard service: the desktop's clipboard text, UTF-8.

#include <string>
#include <string_view>

namespace platform {

class SdlClipboard {
public:
    std::string Text() const;
    void SetText(std::string_view text);
};

} // namespace platform
