#include "toolkit/core/shell.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/headless.h"
#include "platform/platform.h"
#include "platform/single_instance.h"
#include "toolkit/core/application.h"
#include "toolkit/core/charset.h"
#include "toolkit/core/cursor.h"
#include "toolkit/core/error_box.h"
#include "toolkit/core/events.h"
#include "toolkit/core/main_window.h"
#include "toolkit/core/memory.h"
#include "toolkit/core/settings.h"
#include "toolkit/core/sound.h"
#include "toolkit/core/state_dump.h"
#include "toolkit/core/startup.h"
#include "toolkit/core/statistics.h"
#include "toolkit/core/time_manager.h"

namespace qiva {
namespace {

constexpr std::int32_t kWakeUpMessage = 1;

ApplicationHook quitHook = nullptr;
ApplicationHook activateHook = nullptr;
ApplicationHook deactivateHook = nullptr;
ShellHooks shellHooks;
bool quitFlag = false;
bool redrawFlag = false;

// Virtual keys the toolkit turns into characters itself.
std::int16_t VirtualKeyCharacter(platform::Key key) {
    using platform::Key;
    switch (key) {
    case Key::PageUp:
        return 11;
    case Key::PageDown:
        return 12;
    case Key::End:
        return 4;
    case Key::Home:
        return 1;
    case Key::Left:
        return 28;
    case Key::Up:
        return 30;
    case Key::Right:
        return 29;
    case Key::Down:
        return 31;
    case Key::Insert:
        return 5;
    case Key::Delete:
        return 127;
    case Key::F1:
        return 16;
    default:
        return -1;
    }
}

// A typed character in code page 1252, as the keyboard delivers it.
void TypedCharacter(int ch) {
    if (Input().controlDown && ch >= 0 && ch <= 26) ch += 64;
    PostEvent(keyDown, Cp1252ToMac(static_cast<std::uint8_t>(ch)));
}

// The character a key types by itself that no text event carries: the keys that type control codes,
// and letters with Control.
int KeyCharacter(const platform::Event& e) {
    using platform::Key;
    const bool control = Input().controlDown || e.modifiers.control;
    switch (e.key) {
    case Key::Return:
        return control ? 10 : 13;
    case Key::Backspace:
        return control ? 127 : 8;
    case Key::Tab:
        return control ? -1 : 9;
    case Key::Escape:
        return 27;
    case Key::Space:
        return control ? 32 : -1;
    default:
        break;
    }
    const auto k = static_cast<int>(e.key);
    if (control && k >= 'a' && k <= 'z') return k - 'a' + 1;
    // Digits stay digits with Control, so that command keys can be digits too.
    if (control && k >= '0' && k <= '9') return k;
    return -1;
}

void MenuKey(int letter) {
    Point centre;
    if (!shellHooks.menuTitleCentre ||
        !shellHooks.menuTitleCentre(static_cast<char>(letter & ~0x20), &centre))
        return;
    const Point saved = Input().mouse;
    Input().mouse = centre;
    PostEvent(mouseDown, 0);
    PostEvent(mouseUp, 0);
    Input().mouse = saved;
}

void SetMouse(int x, int y) {
    Input().mouse.h = static_cast<std::int16_t>(x);
    Input().mouse.v = static_cast<std::int16_t>(y);
}

void Button(std::uint8_t bit, bool down) {
    const bool isDown = (Input().buttons & bit) != 0;
    if (down && !isDown) {
        Input().buttons |= bit;
        PostEvent(mouseDown, 0);
    } else if (!down && isDown) {
        Input().buttons &= static_cast<std::uint8_t>(~bit);
        PostEvent(mouseUp, 0);
    }
}

void ReleaseAtExit() {
    if (shellHooks.releaseGraphics) shellHooks.releaseGraphics();
    ReleaseCursor();
    ForgetMainWindow();
    platform::ReleaseSingleInstance();
}

} // namespace

void PlatformErrorBox(const std::string& message) {
    std::int16_t volume = 0;
    GetSoundVol(&volume);
    // A scripted run counts the sounds it makes: a box it did not ask for must not add one.
    if (volume != 0 && platform::Current().Interactive()) platform::Current().Beep();
    platform::Current().ShowMessageBox(kErrorBoxCaption, message);
}

void SetQuitHook(ApplicationHook hook) {
    quitHook = hook;
}
void SetActivateHook(ApplicationHook hook) {
    activateHook = hook;
}
void SetDeactivateHook(ApplicationHook hook) {
    deactivateHook = hook;
}
ShellHooks& Shell() {
    return shellHooks;
}
bool QuitRequested() {
    return quitFlag;
}
void ResetShell() {
    quitHook = activateHook = deactivateHook = nullptr;
    shellHooks = ShellHooks{};
    quitFlag = redrawFlag = false;
    ForgetMainWindow();
    SetApplicationName("Tolka");
}

void HandlePlatformEvent(const platform::Event& e) {
    using platform::EventKind;
    switch (e.kind) {
    case EventKind::MouseMove:
        SetMouse(e.x, e.y);
        UpdateCursorForMouse(Input().mouse);
        // Bring the button bits in line with what the system reports (a release outside the
        // window, a press lost during a modal loop).
        Button(1, (e.buttons & 1) != 0);
        Button(2, (e.buttons & 2) != 0);
        break;
    case EventKind::MouseDown:
    case EventKind::MouseUp:
        SetMouse(e.x, e.y);
        Button(static_cast<std::uint8_t>(1u << e.button), e.kind == EventKind::MouseDown);
        break;
    case EventKind::KeyDown: {
        if (e.key == platform::Key::Control) {
            Input().controlDown = true;
            break;
        }
        const std::int16_t vk = VirtualKeyCharacter(e.key);
        if (vk >= 0) {
            PostEvent(keyDown, static_cast<std::uintptr_t>(vk));
            break;
        }
        const auto k = static_cast<int>(e.key);
        if (e.modifiers.alt && !e.modifiers.control && !Input().controlDown) {
            if ((k >= 'a' && k <= 'z') || (k >= '0' && k <= '9')) MenuKey(k);
            break;
        }
        const int ch = KeyCharacter(e);
        if (ch >= 0) TypedCharacter(ch);
        break;
    }
    case EventKind::KeyUp:
        if (e.key == platform::Key::Control) {
            Input().controlDown = false;
            PostEvent(keyUp, 17);
        } else {
            PostEvent(keyUp, 0);
        }
        break;
    case EventKind::Text: {
        // With Control or Alt held the key event has already said what the key meant.
        if (Input().controlDown || e.modifiers.control || e.modifiers.alt) break;
        const int ch = UnicodeToCp1252(e.codepoint);
        TypedCharacter(ch >= 0 ? ch : '?');
        break;
    }
    case EventKind::Activate:
        RereadSettingsAtActivation();
        if ((!activateHook || activateHook()) && shellHooks.scrapImport) shellHooks.scrapImport();
        break;
    case EventKind::Deactivate:
        if ((!deactivateHook || deactivateHook()) && shellHooks.scrapExport) shellHooks.scrapExport();
        break;
    case EventKind::CloseRequest:
        if (!quitHook || quitHook()) quitFlag = true;
        break;
    case EventKind::Quit:
        std::exit(e.status);
    case EventKind::Resized:
        // The virtual screen keeps its size and the platform shows it again from its own copy.
        break;
    case EventKind::WakeUp:
        if (e.message == kWakeUpMessage)
            platform::Current().RaiseWindow();
        else
            ShowErrorBox("Mauvais message Qiva");
        break;
    case EventKind::Wheel:
        if (shellHooks.wheel && e.wheel != 0) {
            Point where;
            GetMouse(&where);
            shellHooks.wheel(where, e.wheel);
        }
        break;
    case EventKind::None:
        break;
    }
}

void PumpStep() {
    platform::Event event;
    if (platform::Current().Pump(event)) HandlePlatformEvent(event);
    ServiceTimer();
    if (quitFlag) std::exit(0);
    if (redrawFlag) {
        redrawFlag = false;
        if (shellHooks.redrawAll) shellHooks.redrawAll();
    }
}

std::string ShellUsage(const char* program, const char* usage) {
    std::string name = program;
    if (const std::size_t slash = name.rfind('/'); slash != std::string::npos) name.erase(0, slash + 1);
    std::string text = "usage: " + name + " [--headless] [--script FILE|-] [--scale N]\n";
    if (usage) text += usage;
    text += "\nOn every program of the toolkit:\n"
            "  --headless        run without a display (also QIVA_BACKEND=headless)\n"
            "  --script FILE     run headless, taking the input from the script FILE; \"-\" reads it from\n"
            "                    standard input a line at a time, as the program asks for events\n"
            "  --scale N         show the screen at N times its size, 1 to 4 (also QIVA_SCALE=N)\n"
            "Script lines:\n";
    for (const std::string& verb : platform::ScriptSynopses())
        text += "  " + verb + "\n";
    return text;
}

int ShellMain(int argc, char** argv, const char* name, void (*appMain)(), const char* usage) {
    // --help answers before anything starts: no display, no settings file, no wake-up of a first instance.
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(ShellUsage(argc > 0 ? argv[0] : name, usage).c_str(), stdout);
            return 0;
        }
    SetApplicationName(name);
    SetShellRunning(true);
    const std::string error = platform::InstallFromCommandLine(argc, argv);
    if (!error.empty()) {
        std::fprintf(stderr, "%s: %s\n", argc > 0 ? argv[0] : name, error.c_str());
        return 2;
    }
    SetErrorBoxSink(&PlatformErrorBox);
    platform::SetStateDumpProvider(&StateDump);
    // A second start wakes the first and ends.
    if (platform::ClaimSingleInstance(ApplicationName(), kWakeUpMessage) == platform::InstanceClaim::Second)
        return 0;
    PrepareIniFile();
    SetUsageRecorded(platform::Current().Interactive());
    SetSplashWanted(platform::Current().Interactive());
    // The memory the application needs must be there; without it, say so and try anyway.
    Ptr probe = NewPtr(1048576);
    if (!probe)
        ShowErrorBox("Impossible d'allouer la memoire pour l'application");
    else
        DisposePtr(probe);
    std::atexit(&ReleaseAtExit);
    SetUpCursorGeometry();
    appMain();
    std::exit(0);
}

} // namespace qiva

void ExitToShell() {
    std::exit(0);
}

Boolean GetNextEvent(std::uint16_t eventMask, EventRecord* theEvent) {
    EventRecord scratch;
    qiva::PumpStep();
    return qiva::TakeNextEvent(eventMask, theEvent ? *theEvent : scratch);
}

Boolean Button() {
    qiva::PumpStep();
    return qiva::Input().buttons != 0;
}
