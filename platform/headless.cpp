#include "platform/headless.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <sstream>

#include "platform/paths.h"
#include "platform/png.h"
#include "platform/single_instance.h"
#include "platform/wave.h"

namespace platform {
namespace {

constexpr std::uint64_t kRefresh = 16667; // one present: 1/60 s
constexpr std::uint64_t kIdleWait = 5000; // an idle pump step waits this long

struct NamedKey {
    const char* name;
    Key key;
    char32_t text; // the character the key types without modifiers (0: none)
};

const NamedKey kNamedKeys[] = {
    {"return", Key::Return, 0},     {"enter", Key::Return, 0},
    {"escape", Key::Escape, 0},     {"esc", Key::Escape, 0},
    {"tab", Key::Tab, 0},           {"backspace", Key::Backspace, 0},
    {"space", Key::Space, U' '},    {"delete", Key::Delete, 0},
    {"insert", Key::Insert, 0},     {"home", Key::Home, 0},
    {"end", Key::End, 0},           {"pageup", Key::PageUp, 0},
    {"pagedown", Key::PageDown, 0}, {"left", Key::Left, 0},
    {"right", Key::Right, 0},       {"up", Key::Up, 0},
    {"down", Key::Down, 0},         {"control", Key::Control, 0},
    {"shift", Key::Shift, 0},       {"alt", Key::Alt, 0},
};

bool ParseInt(const std::string& word, long long& value) {
    if (word.empty()) return false;
    std::size_t used = 0;
    try {
        value = std::stoll(word, &used, 10);
    } catch (...) {
        return false;
    }
    return used == word.size();
}

Event Make(EventKind kind) {
    Event e;
    e.kind = kind;
    return e;
}

// Decodes UTF-8; invalid bytes become U+FFFD so that a bad script still types something visible.
std::vector<char32_t> DecodeUtf8(std::string_view s) {
    std::vector<char32_t> out;
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        int extra = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
        if (extra < 0 || i + extra >= s.size() + (extra == 0 ? 1 : 0)) {
            out.push_back(0xFFFD);
            ++i;
            continue;
        }
        char32_t cp = extra == 0 ? c : (c & (0x3F >> extra));
        bool ok = true;
        for (int k = 1; k <= extra; ++k) {
            const auto d = static_cast<unsigned char>(s[i + k]);
            if ((d & 0xC0) != 0x80) ok = false;
            cp = (cp << 6) | (d & 0x3F);
        }
        if (!ok) {
            out.push_back(0xFFFD);
            ++i;
            continue;
        }
        out.push_back(cp);
        i += static_cast<std::size_t>(extra) + 1;
    }
    return out;
}

} // namespace

bool KeyEvents(const std::string& keyText, std::vector<Event>& events) {
    std::string name = keyText;
    Modifiers mods;
    for (;;) {
        const std::size_t plus = name.find('+');
        if (plus == std::string::npos || plus + 1 >= name.size()) break;
        const std::string prefix = name.substr(0, plus);
        if (prefix == "ctrl" || prefix == "control")
            mods.control = true;
        else if (prefix == "shift")
            mods.shift = true;
        else if (prefix == "alt")
            mods.alt = true;
        else
            return false;
        name = name.substr(plus + 1);
    }
    Key key = Key::None;
    char32_t text = 0;
    if (name.size() == 1 && ((name[0] >= 'a' && name[0] <= 'z') || (name[0] >= '0' && name[0] <= '9'))) {
        key = static_cast<Key>(name[0]);
        text = static_cast<char32_t>(mods.shift && name[0] >= 'a' ? name[0] - 32 : name[0]);
    } else if (name.size() >= 2 && name[0] == 'f' && name.size() <= 3) {
        long long n = 0;
        if (!ParseInt(name.substr(1), n) || n < 1 || n > 12) return false;
        key = static_cast<Key>(static_cast<int>(Key::F1) + n - 1);
    } else {
        for (const NamedKey& k : kNamedKeys)
            if (name == k.name) {
                key = k.key;
                text = k.text;
            }
        if (key == Key::None) return false;
    }
    auto press = [&](EventKind kind, Key k) {
        Event e = Make(kind);
        e.key = k;
        events.push_back(e);
    };
    if (mods.control) press(EventKind::KeyDown, Key::Control);
    if (mods.shift) press(EventKind::KeyDown, Key::Shift);
    if (mods.alt) press(EventKind::KeyDown, Key::Alt);
    press(EventKind::KeyDown, key);
    // As on a real keyboard, a typed character follows the key press unless Control or Alt is held.
    if (text && !mods.control && !mods.alt) {
        Event t = Make(EventKind::Text);
        t.codepoint = text;
        events.push_back(t);
    }
    press(EventKind::KeyUp, key);
    if (mods.alt) press(EventKind::KeyUp, Key::Alt);
    if (mods.shift) press(EventKind::KeyUp, Key::Shift);
    if (mods.control) press(EventKind::KeyUp, Key::Control);
    return true;
}

std::string ParseScript(const std::string& text, std::vector<ScriptStep>& steps) {
    steps.clear();
    std::istringstream in(text);
    std::string raw;
    int lineNumber = 0;
    while (std::getline(in, raw)) {
        ++lineNumber;
        if (!raw.empty() && raw.back() == '\r') raw.pop_back();
        std::istringstream words(raw);
        std::string command;
        if (!(words >> command) || command[0] == '#') continue;
        std::vector<std::string> args;
        for (std::string w; words >> w;)
            args.push_back(w);
        const std::string where = "line " + std::to_string(lineNumber) + ": ";
        ScriptStep step;
        step.line = lineNumber;
        auto numbers = [&](std::size_t count, long long* out) {
            if (args.size() < count) return false;
            for (std::size_t i = 0; i < count; ++i)
                if (!ParseInt(args[i], out[i])) return false;
            return true;
        };
        auto button = [&](std::size_t at, std::uint8_t& b) {
            if (args.size() <= at) return true;
            if (args.size() == at + 1 && (args[at] == "left" || args[at] == "right")) {
                b = args[at] == "right" ? RightButton : LeftButton;
                return true;
            }
            return false;
        };
        long long n[3] = {};
        if (command == "click" || command == "move") {
            std::uint8_t b = LeftButton;
            if (!numbers(2, n) || !button(2, b) || (command == "move" && args.size() != 2))
                return where + "expected: " + command + " X Y" + (command == "click" ? " [left|right]" : "");
            if (n[0] < 0 || n[1] < 0 || n[0] > 32767 || n[1] > 32767)
                return where + "coordinates out of range";
            Event move = Make(EventKind::MouseMove);
            move.x = static_cast<int>(n[0]);
            move.y = static_cast<int>(n[1]);
            step.events.push_back(move);
            if (command == "click") {
                Event down = move;
                down.kind = EventKind::MouseDown;
                down.button = b;
                Event up = down;
                up.kind = EventKind::MouseUp;
                step.events.push_back(down);
                step.events.push_back(up);
            }
        } else if (command == "mousedown" || command == "mouseup") {
            std::uint8_t b = LeftButton;
            if (!button(0, b)) return where + "expected: " + command + " [left|right]";
            Event e = Make(command == "mousedown" ? EventKind::MouseDown : EventKind::MouseUp);
            e.button = b;
            e.x = -1; // at the current position
            step.events.push_back(e);
        } else if (command == "key") {
            if (args.size() != 1 || !KeyEvents(args[0], step.events)) return where + "unknown key";
        } else if (command == "text") {
            const std::size_t at = raw.find("text") + 4;
            std::string rest = at < raw.size() ? raw.substr(at + 1) : std::string{};
            if (rest.empty()) return where + "expected: text STRING";
            for (char32_t c : DecodeUtf8(rest)) {
                Event e = Make(EventKind::Text);
                e.codepoint = c;
                step.events.push_back(e);
            }
        } else if (command == "activate" || command == "deactivate" || command == "close") {
            if (!args.empty()) return where + command + " takes no argument";
            step.events.push_back(Make(command == "activate"     ? EventKind::Activate
                                       : command == "deactivate" ? EventKind::Deactivate
                                                                 : EventKind::CloseRequest));
        } else if (command == "wait") {
            if (args.size() != 1 || !numbers(1, n) || n[0] < 0 || n[0] > 60LL * 3600)
                return where + "expected: wait TICKS (0 to 216000)";
            step.op = ScriptStep::Op::Wait;
            step.number = n[0];
        } else if (command == "shot") {
            if (args.size() != 1) return where + "expected: shot FILE.png";
            step.op = ScriptStep::Op::Shot;
            step.file = args[0];
        } else if (command == "expect-sound" || command == "expect-messagebox") {
            if (args.size() != 1 || !numbers(1, n) || n[0] < 0) return where + "expected: " + command + " N";
            step.op =
                command == "expect-sound" ? ScriptStep::Op::ExpectSound : ScriptStep::Op::ExpectMessageBox;
            step.number = n[0];
        } else if (command == "expect-pixel") {
            if (args.size() != 3 || !numbers(3, n) || n[2] < 0 || n[2] > 255)
                return where + "expected: expect-pixel X Y INDEX";
            step.op = ScriptStep::Op::ExpectPixel;
            step.x = static_cast<int>(n[0]);
            step.y = static_cast<int>(n[1]);
            step.number = n[2];
        } else {
            return where + "unknown command \"" + command + "\"";
        }
        steps.push_back(std::move(step));
    }
    return {};
}

HeadlessBackend::HeadlessBackend() = default;
HeadlessBackend::~HeadlessBackend() = default;

std::string HeadlessBackend::LoadScript(const std::string& path) {
    std::string text;
    if (!ReadFile(path, text)) return "cannot read script " + path;
    std::vector<ScriptStep> steps;
    std::string error = ParseScript(text, steps);
    if (!error.empty()) return path + ": " + error;
    SetScript(std::move(steps));
    return {};
}

void HeadlessBackend::SetScript(std::vector<ScriptStep> steps) {
    script_ = std::move(steps);
    haveScript_ = true;
    scriptPos_ = 0;
    waiting_ = false;
    quitStatus_ = -1;
}

bool HeadlessBackend::OpenWindow(std::string_view title, const WindowArea& area) {
    title_ = std::string(title);
    area_ = area;
    if (area_.width < 640) area_.width = 640;
    if (area_.height < 400) area_.height = 400;
    screen_.assign(static_cast<std::size_t>(area_.width) * area_.height, 0);
    windowOpen_ = true;
    return true;
}

void HeadlessBackend::CloseWindow() {
    windowOpen_ = false;
}

void HeadlessBackend::Stamp(Event& e, bool fromScript) {
    switch (e.kind) {
    case EventKind::MouseMove:
        mouseX_ = std::min(std::max(e.x, 0), std::max(area_.width - 1, 0));
        mouseY_ = std::min(std::max(e.y, 0), std::max(area_.height - 1, 0));
        // A script's moves report the buttons as they are; a test may say otherwise.
        if (fromScript) e.buttons = buttons_;
        break;
    case EventKind::MouseDown:
    case EventKind::MouseUp:
        if (e.x >= 0) {
            mouseX_ = std::min(std::max(e.x, 0), std::max(area_.width - 1, 0));
            mouseY_ = std::min(std::max(e.y, 0), std::max(area_.height - 1, 0));
        }
        if (e.kind == EventKind::MouseDown)
            buttons_ |= static_cast<std::uint8_t>(1u << e.button);
        else
            buttons_ &= static_cast<std::uint8_t>(~(1u << e.button));
        break;
    case EventKind::KeyDown:
    case EventKind::KeyUp: {
        const bool down = e.kind == EventKind::KeyDown;
        if (e.key == Key::Control) modifiers_.control = down;
        if (e.key == Key::Shift) modifiers_.shift = down;
        if (e.key == Key::Alt) modifiers_.alt = down;
        break;
    }
    default:
        break;
    }
    if (e.kind == EventKind::MouseMove || e.kind == EventKind::MouseDown || e.kind == EventKind::MouseUp) {
        e.x = mouseX_;
        e.y = mouseY_;
    }
    e.modifiers = modifiers_;
}

bool HeadlessBackend::RunScript(Event& event) {
    while (scriptPos_ < script_.size()) {
        const ScriptStep& step = script_[scriptPos_];
        auto fail = [&](const std::string& what) {
            std::fprintf(stderr, "script line %d: %s\n", step.line, what.c_str());
            quitStatus_ = 1;
            scriptPos_ = script_.size();
        };
        switch (step.op) {
        case ScriptStep::Op::Events:
            for (const Event& e : step.events)
                input_.push_back(e);
            ++scriptPos_;
            event = input_.front();
            input_.pop_front();
            return true;
        case ScriptStep::Op::Wait:
            if (!waiting_) {
                waiting_ = true;
                waitUntil_ = clock_ + static_cast<std::uint64_t>(step.number) * 1000000u / 60u;
            }
            if (clock_ < waitUntil_) return false;
            waiting_ = false;
            ++scriptPos_;
            break;
        case ScriptStep::Op::Shot: {
            if (!windowOpen_) {
                fail("no window to take a shot of");
                break;
            }
            const std::string error = WritePng(step.file, Screen());
            if (!error.empty())
                fail(error);
            else
                ++scriptPos_;
            break;
        }
        case ScriptStep::Op::ExpectSound:
            if (static_cast<long long>(sounds_.size()) != step.number)
                fail("expected " + std::to_string(step.number) + " sounds, " +
                     std::to_string(sounds_.size()) + " were played");
            else
                ++scriptPos_;
            break;
        case ScriptStep::Op::ExpectMessageBox:
            if (static_cast<long long>(messageBoxes_.size()) != step.number)
                fail("expected " + std::to_string(step.number) + " message boxes, " +
                     std::to_string(messageBoxes_.size()) + " were shown");
            else
                ++scriptPos_;
            break;
        case ScriptStep::Op::ExpectPixel: {
            const int got = PixelAt(step.x, step.y);
            if (got != step.number)
                fail("expected index " + std::to_string(step.number) + " at " + std::to_string(step.x) + "," +
                     std::to_string(step.y) + ", found " + std::to_string(got));
            else
                ++scriptPos_;
            break;
        }
        }
    }
    return false;
}

bool HeadlessBackend::Pump(Event& event) {
    event = Event{};
    std::int32_t word = 0;
    if (PollWakeUp(word)) {
        event.kind = EventKind::WakeUp;
        event.message = word;
        event.modifiers = modifiers_;
        return true;
    }
    bool have = false, fromScript = false;
    if (!input_.empty()) {
        event = input_.front();
        input_.pop_front();
        have = true;
    } else if (!scriptInput_.empty()) {
        event = scriptInput_.front();
        scriptInput_.pop_front();
        have = fromScript = true;
    } else if (haveScript_ && quitStatus_ < 0) {
        have = fromScript = RunScript(event);
        if (!have && scriptPos_ >= script_.size() && quitStatus_ < 0) quitStatus_ = 0;
    }
    if (have) {
        Stamp(event, fromScript);
        return true;
    }
    if (haveScript_ && quitStatus_ >= 0) {
        event.kind = EventKind::Quit;
        event.status = quitStatus_;
        return true;
    }
    clock_ += kIdleWait;
    return false;
}

void HeadlessBackend::Present(const Frame& frame, PixelRect dirty) {
    if (!windowOpen_ || !frame.pixels || !frame.palette) return;
    std::memcpy(palette_, frame.palette, sizeof palette_);
    dirty.left = std::max(dirty.left, 0);
    dirty.top = std::max(dirty.top, 0);
    dirty.right = std::min({dirty.right, frame.width, area_.width});
    dirty.bottom = std::min({dirty.bottom, frame.height, area_.height});
    for (int y = dirty.top; y < dirty.bottom; ++y)
        if (dirty.right > dirty.left)
            std::memcpy(&screen_[static_cast<std::size_t>(y) * area_.width + dirty.left],
                        frame.pixels + static_cast<std::ptrdiff_t>(y) * frame.rowBytes + dirty.left,
                        static_cast<std::size_t>(dirty.right - dirty.left));
    lastDirty_ = dirty;
    ++presents_;
    clock_ += kRefresh;
}

Frame HeadlessBackend::Screen() const {
    Frame f;
    f.pixels = screen_.data();
    f.rowBytes = area_.width;
    f.width = area_.width;
    f.height = area_.height;
    f.palette = palette_;
    return f;
}

int HeadlessBackend::PixelAt(int x, int y) const {
    if (!windowOpen_ || x < 0 || y < 0 || x >= area_.width || y >= area_.height) return -1;
    return screen_[static_cast<std::size_t>(y) * area_.width + x];
}

void HeadlessBackend::SetSystemCursor(SystemCursor cursor) {
    systemCursor_ = cursor;
    customCursor_ = false;
}

void HeadlessBackend::SetCustomCursor(const CursorImage& image) {
    const std::size_t bytes = static_cast<std::size_t>(image.size / 8) * image.size;
    cursorAnd_.assign(image.andPlane, image.andPlane + bytes);
    cursorXor_.assign(image.xorPlane, image.xorPlane + bytes);
    cursorHotX_ = image.hotX;
    cursorHotY_ = image.hotY;
    customCursor_ = true;
}

bool HeadlessBackend::PlayWave(const std::uint8_t* data, std::size_t size) {
    WaveInfo info;
    if (!ParseWave(data, size, info).empty()) return false;
    RecordedSound sound;
    sound.channels = info.channels;
    sound.sampleRate = info.sampleRate;
    sound.bitsPerSample = info.bitsPerSample;
    sound.samples.assign(info.samples, info.samples + info.dataBytes);
    sounds_.push_back(std::move(sound));
    clock_ += info.DurationMicroseconds();
    return true;
}

void HeadlessBackend::Beep() {
    const std::vector<std::uint8_t> wave = BeepWave();
    PlayWave(wave.data(), wave.size());
    sounds_.back().beep = true;
}

void HeadlessBackend::ShowMessageBox(std::string_view title, std::string_view text) {
    messageBoxes_.emplace_back(text);
    std::fprintf(stderr, "%.*s: %.*s\n", static_cast<int>(title.size()), title.data(),
                 static_cast<int>(text.size()), text.data());
}

} // namespace platform
