#pragma once
// The headless backend: no display and no audio device. Input comes from the test (Inject) or from
// a script; the clock is virtual and deterministic; presented frames, played sounds and message
// boxes are recorded. A sleep advances the clock exactly, a present by one refresh (1/60 s), a sound
// by its duration, an idle pump by a few milliseconds, and every clock read by one microsecond, so
// loops that wait for the clock to change always end.

#include <deque>
#include <istream>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace platform {

struct RecordedSound {
    int channels = 0;
    int sampleRate = 0;
    int bitsPerSample = 0;
    std::vector<std::uint8_t> samples;
    bool beep = false;
};

// One parsed line of a script.
struct ScriptStep {
    enum class Op { Events, Wait, Shot, Dump, ExpectSound, ExpectPixel, ExpectMessageBox };
    Op op = Op::Events;
    int line = 0;
    std::vector<Event> events; // Events
    long long number = 0;      // Wait: ticks; ExpectSound/ExpectMessageBox: count; ExpectPixel: index
    int x = 0, y = 0;          // ExpectPixel
    std::string file;          // Shot, Dump ("-": standard output)
};

// The script verbs (the command table is in headless_script.cpp):
//   click X Y [left|right]    move there, press and release the button
//   mousedown [left|right]    press at the current position
//   mouseup [left|right]      release at the current position
//   move X Y                  move the mouse (coordinates in virtual-screen pixels, 0 to 32767)
//   wheel N                   turn the mouse wheel N notches where the mouse is (positive: away from the
//                             user, which scrolls towards the start)
//   key NAME                  press and release a key: a letter or digit, return, escape, tab, backspace,
//                             space, delete, insert, home, end, pageup, pagedown, left, right, up, down,
//                             f1..f12, with any of the prefixes ctrl+, shift+, alt+
//   text STRING               type the rest of the line (UTF-8)
//   wait TICKS                let TICKS sixtieths of a second pass on the program's clock
//   activate, deactivate, close    window activation and the close box
//   shot FILE.png             write the whole virtual screen as shown
//   dump FILE|-               write the program's state, one object a line, then a line "end" ("-":
//                             standard output, flushed)
//   expect-sound N            N sounds (beeps included) have been played since the start
//   expect-messagebox N       N message boxes have been shown since the start
//   expect-pixel X Y INDEX    the screen pixel at (X, Y) holds palette index INDEX
// Blank lines and lines starting with '#' are skipped. The program quits when the script ends.

// Parses one line; a blank line or a comment leaves `step` empty. Returns an error naming the line
// ("line 3: ..."), empty on success.
std::string ParseScriptLine(std::string line, int lineNumber, std::optional<ScriptStep>& step);
// Parses a whole script.
std::string ParseScript(const std::string& text, std::vector<ScriptStep>& steps);
// "click X Y [left|right]"..., one per verb, for a program's --help.
std::vector<std::string> ScriptSynopses();
// Parses "ctrl+c", "f1", "a"... into its events (modifier presses around a key press).
bool KeyEvents(const std::string& name, std::vector<Event>& events);

// What the script's dump verb writes: the program's state, ending with the line "end". The toolkit
// installs it at start-up; without one a dump is the line "end" alone.
using StateDumpProvider = std::string (*)();
void SetStateDumpProvider(StateDumpProvider provider);

class HeadlessBackend : public Backend {
public:
    HeadlessBackend();
    ~HeadlessBackend() override;
    const char* Name() const override { return "headless"; }
    bool Interactive() const override { return false; }

    bool OpenWindow(std::string_view title, const WindowArea& area) override;
    void CloseWindow() override;
    WindowArea CurrentArea() override { return area_; }
    PixelRect Desktop() override { return desktop_; }
    void RaiseWindow() override { ++raises_; }
    bool Pump(Event& event) override;
    void Present(const Frame& frame, PixelRect dirty) override;
    Modifiers HeldModifiers() override { return modifiers_; }
    int CursorSize() override { return 32; }
    void SetSystemCursor(SystemCursor cursor) override;
    void SetCustomCursor(const CursorImage& image) override;
    void ShowCursor(bool shown) override { cursorShown_ = shown; }
    std::uint64_t Microseconds() override { return ++clock_; }
    void Sleep(std::uint64_t microseconds) override { clock_ += microseconds; }
    bool PlayWave(const std::uint8_t* data, std::size_t size) override;
    void Beep() override;
    void ShowMessageBox(std::string_view title, std::string_view text) override;
    std::string ClipboardText() override { return clipboard_; }
    void SetClipboardText(std::string_view text) override { clipboard_ = std::string(text); }

    // Test and script side.
    void Inject(const Event& event) { input_.push_back(event); }
    // A script file, or "-" for standard input read a line at a time as the program asks for events.
    std::string LoadScript(const std::string& path); // error text, empty on success
    void SetScript(std::vector<ScriptStep> steps);
    // Lines read from `in` one at a time, each when the steps before it are done; the end of the input
    // ends the script.
    void SetLiveScript(std::istream& in);
    void SetDesktop(PixelRect desktop) { desktop_ = desktop; }
    void SetArea(const WindowArea& area) { area_ = area; } // as if the user moved or maximized it
    void AdvanceClock(std::uint64_t microseconds) { clock_ += microseconds; }
    std::uint64_t Clock() const { return clock_; }

    bool WindowOpen() const { return windowOpen_; }
    const std::string& Title() const { return title_; }
    int PresentCount() const { return presents_; }
    PixelRect LastDirty() const { return lastDirty_; }
    // The virtual screen as last presented, and its palette.
    Frame Screen() const;
    int PixelAt(int x, int y) const; // palette index, or -1 outside the screen
    const std::vector<RecordedSound>& Sounds() const { return sounds_; }
    const std::vector<std::string>& MessageBoxes() const { return messageBoxes_; }
    int Raises() const { return raises_; }
    bool CursorShown() const { return cursorShown_; }
    SystemCursor LastSystemCursor() const { return systemCursor_; }
    bool CustomCursorActive() const { return customCursor_; }
    const std::vector<std::uint8_t>& CustomCursorAnd() const { return cursorAnd_; }
    const std::vector<std::uint8_t>& CustomCursorXor() const { return cursorXor_; }
    int CustomCursorHotX() const { return cursorHotX_; }
    int CustomCursorHotY() const { return cursorHotY_; }

private:
    bool RunScript(Event& event);
    bool ReadLiveLine();
    void Stamp(Event& event, bool fromScript);

    std::deque<Event> input_;
    std::deque<Event> scriptInput_;
    std::vector<ScriptStep> script_;
    bool haveScript_ = false;
    std::size_t scriptPos_ = 0;
    std::istream* live_ = nullptr;
    int liveLine_ = 0;
    bool waiting_ = false;
    std::uint64_t waitUntil_ = 0;
    int quitStatus_ = -1;

    std::uint64_t clock_ = 0;
    Modifiers modifiers_;
    std::uint8_t buttons_ = 0;
    int mouseX_ = 0, mouseY_ = 0;

    bool windowOpen_ = false;
    std::string title_;
    WindowArea area_;
    PixelRect desktop_{0, 0, 1920, 1080};
    int raises_ = 0;
    std::vector<std::uint8_t> screen_;
    std::uint32_t palette_[256] = {};
    int presents_ = 0;
    PixelRect lastDirty_;

    std::vector<RecordedSound> sounds_;
    std::vector<std::string> messageBoxes_;
    std::string clipboard_;
    bool cursorShown_ = true;
    SystemCursor systemCursor_ = SystemCursor::Arrow;
    bool customCursor_ = false;
    std::vector<std::uint8_t> cursorAnd_, cursorXor_;
    int cursorHotX_ = 0, cursorHotY_ = 0;
};

} // namespace platform
