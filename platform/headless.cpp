#include "platform/headless.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iostream>

#include "platform/file_io.h"
#include "platform/paths.h"
#include "platform/png.h"
#include "platform/single_instance.h"
#include "platform/wave.h"

namespace platform {
namespace {

constexpr std::uint64_t kRefresh = 16667; // one present: 1/60 s
constexpr std::uint64_t kIdleWait = 5000; // an idle pump step waits this long

StateDumpProvider dumpProvider = nullptr;

} // namespace

void SetStateDumpProvider(StateDumpProvider provider) {
    dumpProvider = provider;
}

HeadlessBackend::HeadlessBackend() = default;
HeadlessBackend::~HeadlessBackend() = default;

std::string HeadlessBackend::LoadScript(const std::string& path) {
    if (path == "-") {
        SetLiveScript(std::cin);
        return {};
    }
    std::string text, readError;
    if (!ReadInputFile(path, InputKind::Script, text, readError)) return readError;
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
    live_ = nullptr;
    waiting_ = false;
    quitStatus_ = -1;
}

void HeadlessBackend::SetLiveScript(std::istream& in) {
    SetScript({});
    live_ = &in;
    liveLine_ = 0;
}

bool HeadlessBackend::ReadLiveLine() {
    std::string line;
    while (live_ && std::getline(*live_, line)) {
        std::optional<ScriptStep> step;
        const std::string error = ParseScriptLine(line, ++liveLine_, step);
        if (!error.empty()) {
            // A bad line ends the run as a failed expectation does.
            std::fprintf(stderr, "script %s\n", error.c_str());
            quitStatus_ = 1;
            live_ = nullptr;
            return false;
        }
        if (step) {
            // Steps done are dropped, so that a long drive keeps only the line it is on.
            script_.erase(script_.begin(), script_.begin() + static_cast<std::ptrdiff_t>(scriptPos_));
            scriptPos_ = 0;
            script_.push_back(std::move(*step));
            return true;
        }
    }
    live_ = nullptr;
    return false;
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
    if (e.kind == EventKind::MouseMove || e.kind == EventKind::MouseDown || e.kind == EventKind::MouseUp ||
        e.kind == EventKind::Wheel) {
        e.x = mouseX_;
        e.y = mouseY_;
    }
    e.modifiers = modifiers_;
}

bool HeadlessBackend::RunScript(Event& event) {
    while (scriptPos_ < script_.size() || (live_ && ReadLiveLine())) {
        const ScriptStep& step = script_[scriptPos_];
        auto fail = [&](const std::string& what) {
            std::fprintf(stderr, "script line %d: %s\n", step.line, what.c_str());
            quitStatus_ = 1;
            scriptPos_ = script_.size();
            live_ = nullptr;
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
        case ScriptStep::Op::Dump: {
            const std::string dump = dumpProvider ? dumpProvider() : std::string("end\n");
            if (step.file == "-") {
                std::fwrite(dump.data(), 1, dump.size(), stdout);
                std::fflush(stdout);
                ++scriptPos_;
            } else if (!WriteFileAtomically(step.file, dump)) {
                fail("cannot write " + step.file);
            } else {
                ++scriptPos_;
            }
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
