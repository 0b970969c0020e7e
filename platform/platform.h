#pragma once
// The platform interface: everything the toolkit needs from the machine, behind one backend.
// Two backends implement it: "sdl" (a real window, SDL2) and "headless" (tests and scripted runs:
// virtual clock, recorded frames, sounds and message boxes). Nothing above this folder sees SDL or
// system headers; all text crossing this interface is UTF-8.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace platform {

// Keys the toolkit distinguishes. Letters and digits are their lower-case ASCII code; the rest
// are named. Keys not listed arrive as Other (their character, if any, comes as a Text event).
enum class Key : std::uint16_t {
    None = 0,
    Backspace = 8,
    Tab = 9,
    Return = 13,
    Escape = 27,
    Space = 32,
    // '0'..'9' = 48..57, 'a'..'z' = 97..122
    Delete = 127,
    PageUp = 256,
    PageDown,
    End,
    Home,
    Left,
    Up,
    Right,
    Down,
    Insert,
    F1,
    F2,
    F3,
    F4,
    F5,
    F6,
    F7,
    F8,
    F9,
    F10,
    F11,
    F12,
    Control,
    Shift,
    Alt,
    Other,
};

// Modifier keys held, sampled when an event is made.
struct Modifiers {
    bool control = false;
    bool shift = false;
    bool alt = false;
};

enum class EventKind : std::uint8_t {
    None,
    MouseMove,    // x, y; buttons = the buttons the system reports down
    MouseDown,    // x, y, button
    MouseUp,      // x, y, button
    KeyDown,      // key (repeats arrive as further KeyDown)
    KeyUp,        // key
    Text,         // codepoint: one typed character
    Activate,     // the window became the active one
    Deactivate,   // another window became active
    CloseRequest, // the user asked to close the window (the application may refuse)
    Quit,         // the process must end now with `status` (script end, fatal backend error)
    Resized,      // the window's size changed
    WakeUp,       // a second instance asked this one to come forward; `message` is its word
    Wheel,        // wheel: notches, positive away from the user, where the last move left the pointer
};

enum MouseButton : std::uint8_t { LeftButton = 0, RightButton = 1 };

struct Event {
    EventKind kind = EventKind::None;
    int x = 0; // mouse position in virtual-screen pixels, clamped into the screen
    int y = 0;
    std::uint8_t button = 0;  // MouseDown / MouseUp
    std::uint8_t buttons = 0; // MouseMove: bit 0 left, bit 1 right
    Key key = Key::None;
    char32_t codepoint = 0;
    std::int32_t message = 0; // WakeUp
    int status = 0;           // Quit
    int wheel = 0;            // Wheel
    Modifiers modifiers;
};

// An 8-bit frame: pixels are palette indices, rows `rowBytes` apart; the palette maps each index
// to 0xAARRGGBB.
struct Frame {
    const std::uint8_t* pixels = nullptr;
    int rowBytes = 0;
    int width = 0;
    int height = 0;
    const std::uint32_t* palette = nullptr; // 256 entries
};

// A rectangle in pixels: left/top inclusive, right/bottom exclusive.
struct PixelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool Empty() const { return right <= left || bottom <= top; }
};

// The main window: its position on the desktop, the size of the virtual screen it shows (in
// virtual pixels; the window shows it at an integer scale) and whether it is maximized.
struct WindowArea {
    int left = 32;
    int top = 32;
    int width = 640;
    int height = 450;
    bool maximized = false;
};

enum class SystemCursor : std::uint8_t {
    Arrow,
    IBeam,
    Cross,
    Wait,
    SizeHorizontal,
    SizeVertical,
    SizeFalling, // top-left / bottom-right
    SizeRising,  // top-right / bottom-left
    Hand,
};

// A custom cursor in the AND/XOR form: per pixel, AND 1 XOR 0 transparent, AND 0 XOR 0 black,
// AND 0 XOR 1 white, AND 1 XOR 1 inverted. Rows are size / 8 bytes, most significant bit first.
struct CursorImage {
    int size = 0; // width = height
    const std::uint8_t* andPlane = nullptr;
    const std::uint8_t* xorPlane = nullptr;
    int hotX = 0;
    int hotY = 0;
};

class Backend {
public:
    virtual ~Backend() = default;
    virtual const char* Name() const = 0;
    // Whether a person is in front of it: a scripted run's virtual time and error boxes are not use.
    virtual bool Interactive() const { return true; }

    // Window. Open once; the virtual screen is area.width x area.height and never smaller than
    // 640 x 400. Returns false when no window can be made.
    virtual bool OpenWindow(std::string_view title, const WindowArea& area) = 0;
    virtual void CloseWindow() = 0;
    virtual WindowArea CurrentArea() = 0;
    // The usable desktop in desktop pixels (where a window may be placed).
    virtual PixelRect Desktop() = 0;
    virtual void RaiseWindow() = 0;

    // Takes at most one event. With none pending it may wait a few milliseconds (never longer),
    // so that a program polling for events does not spin a core. Returns false for no event.
    virtual bool Pump(Event& event) = 0;
    // Keeps the window alive during a long piece of drawing that takes no input (an animation):
    // answers the window system and repaints what was exposed, leaving every input event queued
    // for the next Pump. Never waits.
    virtual void ServiceWindow() {}

    // Shows the frame: converts `dirty` through the palette, then shows the whole virtual screen.
    // While pacing is on, at most one present per 1/60 s: an earlier call waits for its turn.
    virtual void Present(const Frame& frame, PixelRect dirty) = 0;
    // Pacing is off by default, so ordinary drawing shows at once however many presents it makes;
    // an animation turns it on around its frames to run at the display's rate.
    virtual void SetPacing(bool) {}

    virtual Modifiers HeldModifiers() = 0;

    virtual int CursorSize() = 0; // the size of a custom cursor the system shows (>= 16)
    virtual void SetSystemCursor(SystemCursor cursor) = 0;
    virtual void SetCustomCursor(const CursorImage& image) = 0;
    virtual void ShowCursor(bool shown) = 0;

    // Microseconds since the program started, monotonic.
    virtual std::uint64_t Microseconds() = 0;
    virtual void Sleep(std::uint64_t microseconds) = 0;
    // Double-click and caret blink times in milliseconds.
    virtual int DoubleClickMilliseconds() { return 500; }
    virtual int CaretBlinkMilliseconds() { return 530; }

    // Plays a WAVE image (RIFF, PCM 8 or 16 bits, 1 or 2 channels) and returns when it has been
    // heard. Without an audio device it waits for the sound's duration. Returns false only for an
    // image it cannot read.
    virtual bool PlayWave(const std::uint8_t* data, std::size_t size) = 0;
    virtual void Beep() = 0;

    // A modal message box with the stop icon; returns when the user closes it.
    virtual void ShowMessageBox(std::string_view title, std::string_view text) = 0;

    virtual std::string ClipboardText() = 0;
    virtual void SetClipboardText(std::string_view text) = 0;
};

// The backend the program runs on. Install takes ownership and replaces the previous one.
Backend& Current();
bool HasBackend();
void Install(std::unique_ptr<Backend> backend);

// Chooses and installs the backend from the command line and the environment: "--headless" or
// QIVA_BACKEND=headless selects the headless backend, "--script FILE" gives it a script (and implies
// it), "--scale N" or QIVA_SCALE=N forces the window scale (1 to 4). The options used are removed
// from argv. Returns an error text, empty on success.
std::string InstallFromCommandLine(int& argc, char** argv);

} // namespace platform
