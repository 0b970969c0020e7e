#include "game/settings_file.h"

#include <array>
#include <cctype>
#include <cstdlib>

#include "game/game_state.h"
#include "platform/file_io.h"
#include "platform/paths.h"
#include "toolkit/core/settings_file.h"

namespace tolka {
namespace {

bool IsBlank(char c) {
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

// Reads text as a stream of words and signed 16-bit numbers, each after any blanks.
class Reader {
public:
    explicit Reader(std::string_view text) : text_(text) {}

    std::string_view Word() {
        SkipBlanks();
        const std::size_t start = pos_;
        while (pos_ < text_.size() && !IsBlank(text_[pos_]))
            ++pos_;
        return text_.substr(start, pos_ - start);
    }

    // A number that does not fit 16 bits is as unreadable as one that is not there.
    bool Number(std::int16_t& value) {
        SkipBlanks();
        std::size_t at = pos_;
        bool negative = false;
        if (at < text_.size() && (text_[at] == '-' || text_[at] == '+')) negative = text_[at++] == '-';
        const std::size_t digits = at;
        long magnitude = 0;
        while (at < text_.size() && text_[at] >= '0' && text_[at] <= '9') {
            magnitude = magnitude * 10 + (text_[at++] - '0');
            if (magnitude > 32768) return false;
        }
        if (at == digits) return false;
        const long v = negative ? -magnitude : magnitude;
        if (v > 32767) return false;
        value = static_cast<std::int16_t>(v);
        pos_ = at;
        return true;
    }

private:
    void SkipBlanks() {
        while (pos_ < text_.size() && IsBlank(text_[pos_]))
            ++pos_;
    }
    std::string_view text_;
    std::size_t pos_ = 0;
};

} // namespace

GameSettings ParseSettings(std::string_view text, const GameSettings& defaults) {
    GameSettings s = defaults;
    Reader in(text);
    if (in.Word() != kSettingsSignature) return defaults;
    const std::array<std::uint8_t*, 5> flags{&s.showCounts, &s.showDestination, &s.soundOn, &s.handAnimation,
                                             &s.showMessages};
    std::int16_t n = 0;
    for (std::uint8_t* flag : flags) {
        if (!in.Number(n)) return s;
        *flag = n != 0 ? 1 : 0;
    }
    if (!in.Number(n)) return s;
    if (n >= 0 && n <= 3) s.level = n;
    if (!in.Number(n)) return s;
    if (n == 0 || n == 1) s.rules = n;
    return s;
}

std::string FormatSettings(const GameSettings& s) {
    std::string text(kSettingsSignature);
    text += '\n';
    for (const std::uint8_t flag :
         {s.showCounts, s.showDestination, s.soundOn, s.handAnimation, s.showMessages})
        text += flag ? " 1" : " 0";
    text += ' ' + std::to_string(s.level) + ' ' + std::to_string(s.rules) + '\n';
    return text;
}

std::string SettingsPath() {
    const std::string ini = qiva::IniPath();
    if (ini.empty()) return {};
    const std::size_t slash = ini.rfind('/');
    const std::string dir = slash == std::string::npos ? std::string(".") : ini.substr(0, slash);
    const std::string path = platform::JoinPath(dir, kSettingsFileName);
    const std::string found = platform::FindFileNoCase(path);
    return found.empty() ? path : found;
}

GameSettings ReadSettingsFile(const std::string& path) {
    std::string text, error;
    if (path.empty() || !platform::ReadInputFile(path, platform::InputKind::Settings, text, error)) return {};
    return ParseSettings(text);
}

bool WriteSettingsFile(const std::string& path, const GameSettings& settings) {
    return !path.empty() && platform::WriteOutputFile(path, FormatSettings(settings), 0600).empty();
}

GameSettings CurrentSettings() {
    return {showCounts, showDestination, soundOn, handAnimation, showMessages, level, rules};
}

void ApplySettings(const GameSettings& s) {
    showCounts = s.showCounts;
    showDestination = s.showDestination;
    soundOn = s.soundOn;
    handAnimation = s.handAnimation;
    showMessages = s.showMessages;
    level = s.level;
    rules = s.rules;
}

void ReadSettings() {
    ApplySettings(ReadSettingsFile(SettingsPath()));
}

void WriteSettings() {
    WriteSettingsFile(SettingsPath(), CurrentSettings());
}

} // namespace tolka
