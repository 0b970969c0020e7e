#pragma once
// The Window Manager: the toolkit's own windows on the virtual screen, kept in a front-to-back list,
// with their frames, activation, update regions, mouse tracking and the desktop behind them.
// Coordinates of regions and of the calls' points are global (screen) pixels unless said otherwise.

#include <cstdint>

#include "toolkit/core/events.h"
#include "toolkit/graphics/quickdraw_types.h"

struct WindowRecord;
using WindowPtr = GrafPtr; // a window is its port first
using WindowPeek = WindowRecord*;

// Definition procedure: a message, the window and a parameter; the answer depends on the message.
using WindowDefProc = std::int32_t (*)(std::int16_t message, WindowPeek window, std::intptr_t param);

struct WindowRecord {
    GrafPort port;
    std::int16_t windowKind; // 8 for application windows
    Boolean visible;
    Boolean hilited;
    Boolean goAwayFlag;
    std::uint8_t spareFlag; // behaviour flags, see qiva::kResizableByFrame and below
    RgnHandle strucRgn;
    RgnHandle contRgn;
    RgnHandle updateRgn;
    WindowDefProc windowDefProc;
    char* titleText; // NUL-terminated copy (Macintosh character set), a Ptr block
    WindowPeek nextWindow;
    std::int32_t refCon; // negative: a desk accessory window
    std::int16_t procID;
    RgnHandle visPart;         // what of the structure is visible, kept by the redraw pass
    std::int16_t contentColor; // classic colour constant, erases newly exposed content
    std::int16_t contentColor2;
    std::int16_t iconID;      // 'wicn' value, -9999 without one
    std::int16_t colorIconID; // 'wcic' value, -9997 without one
    // The toolkit's additions: the definition procedure's own data and the window's controls.
    void* dataHandle;
    void* controlList;
};

// Window kinds and type codes.
constexpr std::int16_t dialogKind = 2;
constexpr std::int16_t userKind = 8;
constexpr std::int16_t documentProc = 0;
constexpr std::int16_t dBoxProc = 1;
constexpr std::int16_t plainDBox = 2;
constexpr std::int16_t altDBoxProc = 3;
constexpr std::int16_t noGrowDocProc = 4;
constexpr std::int16_t zoomDocProc = 8;
constexpr std::int16_t zoomNoGrow = 12;
constexpr std::int16_t rDocProc = 16;

// FindWindow part codes.
constexpr std::int16_t inDesk = 0;
constexpr std::int16_t inMenuBar = 1;
constexpr std::int16_t inSysWindow = 2;
constexpr std::int16_t inContent = 3;
constexpr std::int16_t inDrag = 4;
constexpr std::int16_t inGrow = 5;
constexpr std::int16_t inGoAway = 6;
constexpr std::int16_t inZoomIn = 7;
constexpr std::int16_t inZoomOut = 8;

// Definition procedure messages and hit codes.
constexpr std::int16_t wDraw = 0;
constexpr std::int16_t wHit = 1;
constexpr std::int16_t wCalcRgns = 2;
constexpr std::int16_t wNew = 3;
constexpr std::int16_t wDispose = 4;
constexpr std::int16_t wGrow = 5;
constexpr std::int16_t wDrawGIcon = 6;
constexpr std::int32_t wNoHit = 0;
constexpr std::int32_t wInContent = 1;
constexpr std::int32_t wInDrag = 2;
constexpr std::int32_t wInGrow = 3;
constexpr std::int32_t wInGoAway = 4;
constexpr std::int32_t wInZoomIn = 5;
constexpr std::int32_t wInZoomOut = 6;

void InitWindows();
short GetMBarHeight();

WindowPtr NewWindow(void* wStorage, const Rect* boundsRect, const char* title, Boolean visible,
                    std::int16_t procID, WindowPtr behind, Boolean goAwayFlag, std::int32_t refCon);
WindowPtr GetNewWindow(std::int16_t windowID, void* wStorage, WindowPtr behind);
void CloseWindow(WindowPtr window);
void DisposeWindow(WindowPtr window);

WindowPtr FrontWindow();
void SelectWindow(WindowPtr window);
void HiliteWindow(WindowPtr window, Boolean fHilite);
void ShowWindow(WindowPtr window);
void HideWindow(WindowPtr window);
void ShowHide(WindowPtr window, Boolean showFlag);
void BringToFront(WindowPtr window);
void SendBehind(WindowPtr window, WindowPtr behindWindow);
void DrawGrowIcon(WindowPtr window);

void SetWTitle(WindowPtr window, const char* title);
void GetWTitle(WindowPtr window, char* title); // room for 256 bytes
void SetWRefCon(WindowPtr window, std::int32_t data);
std::int32_t GetWRefCon(WindowPtr window);
WindowPeek GetWindowList();

std::int16_t FindWindow(Point thePoint, WindowPtr* window);

void BeginUpdate(WindowPtr window);
void EndUpdate(WindowPtr window);
void InvalRect(const Rect* badRect); // local coordinates of the current port (a window)
void InvalRgn(RgnHandle badRgn);
void ValidRect(const Rect* goodRect);
void ValidRgn(RgnHandle goodRgn);

Boolean TrackGoAway(WindowPtr window, Point thePt);
Boolean TrackBox(WindowPtr window, Point thePt, std::int16_t partCode);
void DragWindow(WindowPtr window, Point startPt, const Rect* boundsRect);
std::int32_t DragGrayRgn(RgnHandle theRgn, Point startPt, const Rect* limitRect, const Rect* slopRect,
                         std::int16_t axis, void (*actionProc)());
std::int32_t GrowWindow(WindowPtr window, Point startPt, const Rect* sizeRect);
void SizeWindow(WindowPtr window, std::int16_t w, std::int16_t h, Boolean fUpdate);
void MoveWindow(WindowPtr window, std::int16_t hGlobal, std::int16_t vGlobal, Boolean front);
void ZoomWindow(WindowPtr window, std::int16_t partCode, Boolean front);

// The click handling for part code 2 (a desk accessory window, or the desktop).
void SystemClick(const EventRecord* theEvent, WindowPtr theWindow);

constexpr std::int16_t noConstraint = 0;
constexpr std::int16_t hAxisOnly = 1;
constexpr std::int16_t vAxisOnly = 2;

namespace qiva {

// Behaviour flags (WindowRecord::spareFlag).
inline constexpr std::uint8_t kResizableByFrame = 0x04;
inline constexpr std::uint8_t kFrameControls = 0x08;
inline constexpr std::uint8_t kZoomRequest = 0x10;
inline constexpr std::uint8_t kBoxPressed = 0x20; // the box named by a wDraw parameter shows pressed

// Default icon numbers of a window without 'wicn' / 'wcic'.
inline constexpr std::int16_t kNoWindowIcon = -9999;
inline constexpr std::int16_t kNoColorIcon = -9997;

// The menu bar's height (the Menu Manager sets it); FindWindow and the desktop keep out of it.
void SetMenuBarHeight(short height);

inline WindowPeek Peek(WindowPtr w) {
    return reinterpret_cast<WindowPeek>(w);
}

// Content rectangle of a window in global coordinates (its portRect seen from the screen).
Rect GlobalContentRect(WindowPeek w);

// The window whose update region is not empty, starting at FrontWindow; null when none.
WindowPtr WindowNeedingUpdate();

// Runs the redraw pass: draws only what became visible since the last pass.
void RedrawPass();
// Forgets what is on screen and draws the desktop and every window again (after a resize).
void RedrawAll();

// The desktop's pattern and colours where there is no desktop picture; the desktop is painted again.
void SetDesktopPattern(const Pattern& pattern, const RGBColor& fore, const RGBColor& back);

// What the desktop shows now (global): the screen below the menu bar that no window covers.
RgnHandle DesktopRegion();

// Sets the colour that erases the window's content (a classic colour constant); the visible
// content is erased with it and becomes the update region.
void SetWindowContentColor(WindowPtr window, std::int16_t colour);

// Sets a window's colour icon number and redraws its frame.
void SetWindowColorIcon(WindowPtr window, std::int16_t id);
// Reads 'wicn' and 'wcic' of that number into the window's icon numbers and redraws its frame.
void ApplyWindowIcons(WindowPtr window, std::int16_t id);

// What the layers above plug in; each may be null.
struct WindowHooks {
    void (*disposeControls)(WindowPtr window) = nullptr;                 // the controls of a closing window
    void (*plotColorIcon)(std::int16_t id, const Rect& where) = nullptr; // a 'cicn' in the current port
    void (*settingsPopup)(Point where) = nullptr;                        // right click on the desktop
    // The Dialog Manager's modeless dialogues: takes a mouse-down, key, update or activate event of one
    // (true), before desk accessories are asked.
    bool (*dialogueEvent)(EventRecord& event) = nullptr;
};
WindowHooks& WindowManagerHooks();

// Ends the Window Manager: closes every window and forgets its state (tests, and a new InitWindows).
void CloseWindowManager();

} // namespace qiva
