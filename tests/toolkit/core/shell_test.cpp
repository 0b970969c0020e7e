#include "tests/toolkit/core/shell_fixture.h"

#include "toolkit/core/charset.h"
#include "toolkit/core/error_box.h"
#include "toolkit/core/state_dump.h"

#include <sstream>

#include <sys/wait.h>
#include <unistd.h>

#include "platform/single_instance.h"
#include "tests/support/scoped.h"

namespace {

using platform::EventKind;

using Shell = ShellTest;

TEST_F(Shell, NavigationKeysPostTheirToolkitCharacters) {
    struct Case {
        const char* key;
        std::uintptr_t character;
    };
    const Case cases[] = {{"pageup", 11}, {"pagedown", 12}, {"end", 4},     {"home", 1},   {"left", 28},
                          {"up", 30},     {"right", 29},    {"down", 31},   {"insert", 5}, {"delete", 127},
                          {"f1", 16},     {"return", 13},   {"escape", 27}, {"tab", 9},    {"backspace", 8},
                          {"a", 'a'},     {"shift+b", 'B'}, {"space", ' '}};
    for (const Case& c : cases) {
        Key(c.key);
        const auto events = Take();
        ASSERT_EQ(events.size(), 1u) << c.key;
        EXPECT_EQ(events[0].what, keyDown) << c.key;
        EXPECT_EQ(events[0].message, c.character) << c.key;
    }
    Key("f2");
    EXPECT_TRUE(Take().empty()) << "keys without a character post nothing";
}

TEST_F(Shell, ControlLettersAreRaisedBy64AndCarryTheCommandModifier) {
    Key("ctrl+c");
    auto events = Take();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].what, keyDown);
    EXPECT_EQ(events[0].message, 67u);
    EXPECT_NE(events[0].modifiers & cmdKey, 0);
    Key("ctrl+shift+a");
    events = Take();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].message, 65u);
    EXPECT_NE(events[0].modifiers & shiftKey, 0);
    // Digits stay digits, so that a menu's command key can be one.
    Key("ctrl+4");
    events = Take();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].message, static_cast<std::uintptr_t>('4'));
    EXPECT_NE(events[0].modifiers & cmdKey, 0);
}

TEST_F(Shell, KeyUpIsDeliveredOnlyWhenTheMaskAllowsIt) {
    Key("x");
    auto events = Take();
    ASSERT_EQ(events.size(), 1u) << "the default mask discards keyUp";
    SetEventMask(everyEvent);
    Key("x");
    Key("ctrl+v");
    events = Take();
    ASSERT_EQ(events.size(), 5u);
    EXPECT_EQ(events[0].what, keyDown);
    EXPECT_EQ(events[1].what, keyUp);
    EXPECT_EQ(events[1].message, 0u);
    EXPECT_EQ(events[2].what, keyDown);
    EXPECT_EQ(events[2].message, 86u);
    EXPECT_EQ(events[3].what, keyUp);
    EXPECT_EQ(events[3].message, 0u);
    EXPECT_EQ(events[4].what, keyUp);
    EXPECT_EQ(events[4].message, 17u) << "the Control key's release";
}

TEST_F(Shell, TypedTextIsTranslatedToTheMacintoshSet) {
    struct Case {
        char32_t typed;
        std::uintptr_t mac;
    };
    // Accented letters, characters the table maps by exception, and ones the set lacks.
    const Case cases[] = {{U'é', 142}, {U'ç', 141}, {U'€', 63}, {U'¤', 176}, {U'°', 251},
                          {U'¹', 245}, {U'º', 161}, {U'ø', 63}, {U'¦', 127}, {U'ƒ', 186},
                          {U'˜', 63},  {U'中', 63}, {U'~', 126}};
    for (const Case& c : cases) {
        platform::Event e;
        e.kind = EventKind::Text;
        e.codepoint = c.typed;
        Feed({e});
        const auto events = Take();
        ASSERT_EQ(events.size(), 1u);
        EXPECT_EQ(events[0].message, c.mac) << static_cast<std::uint32_t>(c.typed);
    }
    EXPECT_EQ(qiva::Cp1252ToMac(127), 63);
    EXPECT_EQ(qiva::Cp1252ToMac(128), 63);
}

TEST_F(Shell, AltLetterOpensTheMenuOfThatKeyLetter) {
    qiva::Shell().menuTitleCentre = [](char letter, Point* centre) {
        if (letter != 'F') return false;
        *centre = Point{10, 42};
        return true;
    };
    Feed({Mouse(EventKind::MouseMove, 300, 200)});
    Key("alt+f");
    Key("alt+g");
    const auto events = Take();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].what, mouseDown);
    EXPECT_EQ(events[0].where.h, 42);
    EXPECT_EQ(events[0].where.v, 10);
    EXPECT_EQ(events[1].what, mouseUp);
    Point mouse;
    GetMouse(&mouse);
    EXPECT_EQ(mouse.h, 300) << "the recorded position is restored";
}

TEST_F(Shell, BothButtonsGiveDownAndUpAndTheButtonModifier) {
    Feed({Mouse(EventKind::MouseDown, 10, 20, platform::LeftButton),
          Mouse(EventKind::MouseDown, 11, 21, platform::RightButton),
          Mouse(EventKind::MouseUp, 12, 22, platform::LeftButton),
          Mouse(EventKind::MouseUp, 13, 23, platform::RightButton)});
    const auto events = Take();
    ASSERT_EQ(events.size(), 4u);
    const std::int16_t whats[] = {mouseDown, mouseDown, mouseUp, mouseUp};
    const bool pressed[] = {true, true, true, false};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(events[i].what, whats[i]) << i;
        EXPECT_EQ((events[i].modifiers & btnState) != 0, pressed[i]) << i;
        EXPECT_EQ(events[i].where.h, 10 + i);
        EXPECT_EQ(events[i].where.v, 20 + i);
    }
}

TEST_F(Shell, MouseMovesRepairTheButtonState) {
    // A press the toolkit missed, then a release it missed.
    Feed({Mouse(EventKind::MouseMove, 1, 1, 0, 0b10), Mouse(EventKind::MouseMove, 2, 2, 0, 0b00)});
    auto events = Take();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].what, mouseDown);
    EXPECT_EQ(events[1].what, mouseUp);
    EXPECT_FALSE(Button());
    Feed({Mouse(EventKind::MouseDown, 3, 3, platform::LeftButton)});
    EXPECT_TRUE(Button());
}

TEST_F(Shell, ClosingAsksTheQuitHook) {
    qiva::SetQuitHook([] { return false; });
    platform::Event close;
    close.kind = EventKind::CloseRequest;
    Feed({close});
    EXPECT_FALSE(qiva::QuitRequested()) << "the program keeps running";
    qiva::SetQuitHook([] { return true; });
    EXPECT_EXIT(Feed({close}), ::testing::ExitedWithCode(0), "");
}

TEST_F(Shell, ScriptEndQuitsWithItsStatus) {
    std::vector<platform::ScriptStep> steps;
    ASSERT_EQ(platform::ParseScript("expect-sound 3\n", steps), "");
    headless->SetScript(std::move(steps));
    EXPECT_EXIT(
        {
            for (;;)
                qiva::PumpStep();
        },
        ::testing::ExitedWithCode(1), "script line 1");
}

// A program that tracks the mouse is waiting for events too: its loop reads the live script's next
// lines and answers their dumps, with the state as it is inside the loop.
TEST_F(Shell, ATrackingLoopRunsTheLiveScriptAndServesItsDumps) {
    static int polls;
    polls = 0;
    struct Guard {
        ~Guard() {
            platform::SetStateDumpProvider(nullptr);
            qiva::UnregisterStateDump("t.tracking");
        }
    } guard;
    platform::SetStateDumpProvider(&qiva::StateDump);
    qiva::RegisterStateDump("t.tracking",
                            [](std::string& out) { out += "polls " + std::to_string(polls) + "\n"; });
    std::istringstream in("mousedown\nwait 1\ndump " + (dir / "d.txt") + "\nmouseup\nkey a\n");
    headless->SetLiveScript(in);
    ASSERT_TRUE(Button());
    while (Button() && polls < 1000)
        ++polls;
    ASSERT_LT(polls, 1000) << "the release was never read";
    std::string dump;
    ASSERT_TRUE(platform::ReadFile(dir / "d.txt", dump));
    EXPECT_EQ(dump, "polls " + std::to_string(polls) + "\nend\n")
        << "dumped inside the loop, at its last poll";
    EXPECT_EQ(in.tellg(), static_cast<std::streamoff>(in.str().size() - 6)) << "the key is left for later";
}

TEST_F(Shell, ActivationRereadsSettingsAndCallsTheHooks) {
    static int imports, exports;
    imports = exports = 0;
    qiva::Shell().scrapImport = [] { ++imports; };
    qiva::Shell().scrapExport = [] { ++exports; };
    ASSERT_TRUE(platform::WriteFileAtomically(dir / "WIN.INI", "[Windows]\nBorderWidth=6\n[Audio]\n"));
    ASSERT_TRUE(platform::WriteFileAtomically(dir / "wqiva.ini", "[Audio]\nVolume=0\n"));
    platform::Event activate, deactivate;
    activate.kind = EventKind::Activate;
    deactivate.kind = EventKind::Deactivate;
    Feed({deactivate, activate});
    EXPECT_EQ(exports, 1);
    EXPECT_EQ(imports, 1);
    EXPECT_EQ(qiva::BorderWidth(), 6);
    std::int16_t volume = -1;
    GetSoundVol(&volume);
    EXPECT_EQ(volume, 0);
    qiva::SetActivateHook([] { return false; });
    Feed({activate});
    EXPECT_EQ(imports, 1) << "the hook refused the exchange";
}

TEST_F(Shell, WakeUpRaisesTheWindowAndAnyOtherWordIsAnError) {
    qiva::ClearErrorBoxHistory();
    platform::Event wake;
    wake.kind = EventKind::WakeUp;
    wake.message = 1;
    Feed({wake});
    EXPECT_EQ(headless->Raises(), 1);
    wake.message = 7;
    Feed({wake});
    ASSERT_EQ(qiva::ErrorBoxHistory().size(), 1u);
    EXPECT_EQ(qiva::ErrorBoxHistory()[0], "Mauvais message Qiva");
}

TEST_F(Shell, CustomCursorsBecomeAndXorPlanesOnlyWhenTheyChange) {
    Cursor c{};
    c.data[0] = 0xF0; // row 0: data 1111 0000, mask 1100 1100
    c.mask[0] = 0xCC;
    c.data[31] = 0x01; // row 15, second byte
    c.mask[31] = 0x01;
    c.hotSpot = {static_cast<std::int16_t>(0x0300), static_cast<std::int16_t>(0x0500)}; // v 3, h 5 big-endian
    qiva::SetUpCursorGeometry();
    SetCursor(&c);
    ASSERT_TRUE(headless->CustomCursorActive());
    const auto& andPlane = headless->CustomCursorAnd();
    const auto& xorPlane = headless->CustomCursorXor();
    ASSERT_EQ(andPlane.size(), 32u * 4);
    EXPECT_EQ(andPlane[0], 0x33);
    EXPECT_EQ(xorPlane[0], 0x3C);
    EXPECT_EQ(andPlane[15 * 4 + 1], 0xFE);
    EXPECT_EQ(xorPlane[15 * 4 + 1], 0x00);
    EXPECT_EQ(andPlane[2], 0xFF) << "outside the 16 x 16 image the planes are transparent";
    EXPECT_EQ(andPlane[16 * 4], 0xFF);
    EXPECT_EQ(headless->CustomCursorHotX(), 5);
    EXPECT_EQ(headless->CustomCursorHotY(), 3);

    Cursor ibeam{};
    ibeam.hotSpot = {iBeamCursor, 0x7FFF};
    SetCursor(&ibeam);
    EXPECT_FALSE(headless->CustomCursorActive());
    EXPECT_EQ(headless->LastSystemCursor(), platform::SystemCursor::IBeam);

    HideCursor();
    HideCursor();
    EXPECT_FALSE(headless->CursorShown());
    ShowCursor();
    EXPECT_FALSE(headless->CursorShown());
    ShowCursor();
    EXPECT_TRUE(headless->CursorShown());
    ShowCursor();
    EXPECT_EQ(qiva::CursorLevel(), 0);
}

TEST_F(Shell, SizingCursorsFollowTheFrameHook) {
    qiva::SetFrameCursorHook(
        [](Point p) { return p.h > 600 ? qiva::FrameCursor::Horizontal : qiva::FrameCursor::None; });
    Feed({Mouse(EventKind::MouseMove, 620, 10)});
    EXPECT_EQ(headless->LastSystemCursor(), platform::SystemCursor::SizeHorizontal);
    Feed({Mouse(EventKind::MouseMove, 100, 10)});
    EXPECT_EQ(headless->LastSystemCursor(), platform::SystemCursor::Arrow);
    qiva::SetTracking(true);
    Feed({Mouse(EventKind::MouseMove, 620, 10)});
    EXPECT_EQ(headless->LastSystemCursor(), platform::SystemCursor::Arrow);
}

} // namespace

namespace {

TEST_F(Shell, ASecondStartWakesTheFirstAndEndsAtOnce) {
    const qiva_test::ScopedEnv runtime("XDG_RUNTIME_DIR", dir.Path());
    const qiva_test::ScopeExit release([] { platform::ReleaseSingleInstance(); });
    ASSERT_EQ(platform::ClaimSingleInstance("Tolka", 1), platform::InstanceClaim::First);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        platform::ReleaseSingleInstance(); // what it inherited is the first instance's
        char name[] = "tolka", headlessOption[] = "--headless";
        char* argv[] = {name, headlessOption, nullptr};
        // The application's main routine must not run in the second instance.
        ::_exit(qiva::ShellMain(2, argv, "Tolka", [] { ::_exit(3); }));
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    qiva::PumpStep();
    EXPECT_EQ(headless->Raises(), 1) << "the first instance came forward";
}

} // namespace
