#include "toolkit/graphics/graphics_startup.h"

#include <cstddef>
#include <cstring>
#include <string>

#include "toolkit/core/application.h"
#include "toolkit/core/memory.h"
#include "toolkit/core/random.h"
#include "toolkit/core/settings.h"
#include "toolkit/core/startup.h"
#include "toolkit/core/state_dump.h"
#include "toolkit/graphics/buffers.h"
#include "toolkit/graphics/drawing_state.h"
#include "toolkit/graphics/main_screen.h"
#include "toolkit/graphics/palette.h"
#include "toolkit/graphics/ports.h"
#include "toolkit/graphics/rect_utils.h"
#include "toolkit/graphics/regions.h"

namespace qiva {

namespace {
int gScreenWidth = 640, gScreenHeight = 400;
int gHighlight[3] = {0, 0, 0};
CTabHandle gColorTable = nullptr;
PixMap gScreenPixMap{};

void BuildColorTable() {
    const PaletteState& palette = ThePalette();
    if (gColorTable == nullptr)
        gColorTable = reinterpret_cast<CTabHandle>(
            NewHandle(static_cast<Size>(offsetof(ColorTable, ctTable) + 256 * sizeof(ColorSpec))));
    if (gColorTable == nullptr) return;
    (*gColorTable)->ctSeed = palette.ctSeed;
    (*gColorTable)->ctFlags = 0;
    (*gColorTable)->ctSize = 255;
    std::memcpy((*gColorTable)->ctTable, palette.colourSpecs.data(), 256 * sizeof(ColorSpec));
}

void DescribeScreenPixMap() {
    gScreenPixMap = PixMap{};
    gScreenPixMap.baseAddr = qd.screenBits.baseAddr;
    gScreenPixMap.rowBytes = qd.screenBits.rowBytes;
    gScreenPixMap.bounds = qd.screenBits.bounds;
    gScreenPixMap.hRes = gScreenPixMap.vRes = 72 << 16;
    gScreenPixMap.pixelType = 0;
    gScreenPixMap.pixelSize = 8;
    gScreenPixMap.cmpCount = 1;
    gScreenPixMap.cmpSize = 8;
    gScreenPixMap.pmTable = gColorTable;
}

// The inverse-colour setting as the settings file holds it; a change (through the inverse-colour panel)
// rebuilds the palette and shows the whole screen again in the new colours.
void ApplyInverseColourSetting() {
    std::int16_t rgb[3];
    GetInverseColour(rgb);
    SetHighlightSetting(rgb[0], rgb[1], rgb[2]);
}

void InverseColourChanged() {
    ApplyInverseColourSetting();
    DrawingState& d = Drawing();
    const BufferSlot* screen = LookUpBuffer(ScreenBufferId());
    if (screen == nullptr) return;
    Rect whole;
    SetRect(&whole, 0, 0, static_cast<short>(screen->width), static_cast<short>(screen->height));
    UnionRect(&d.dirty, &whole, &d.dirty);
    FlushScreen();
}

void SetUpGraphics() {
    SettingsApply().inverseColourChanged = &InverseColourChanged;
    randSeed = 1;
    SetUpPalette(gHighlight[0], gHighlight[1], gHighlight[2]);
    DrawingState& d = Drawing();
    d.procs = DefaultRasterProcs();
    d.procs.openScreen();
    BuildColorTable();
    OpenScreen(gScreenWidth, gScreenHeight);
    DescribeScreenPixMap();
    RegisterStateDump("screen", [](std::string& out) {
        out += "screen " + std::to_string(gScreenWidth) + " " + std::to_string(gScreenHeight) + "\n";
    });
}

} // namespace

CTabHandle TheColorTable() {
    return gColorTable;
}
const PixMap& ScreenPixMap() {
    return gScreenPixMap;
}

void SetScreenSize(int width, int height) {
    gScreenWidth = width;
    gScreenHeight = height;
}

void SetHighlightSetting(int red, int green, int blue) {
    gHighlight[0] = red;
    gHighlight[1] = green;
    gHighlight[2] = blue;
    // Once the layer runs, a new setting (read again at activation) changes the palette at once.
    if (gColorTable != nullptr) {
        SetUpPalette(red, green, blue);
        BuildColorTable();
    }
}

void CloseGraphics() {
    DrawingState& d = Drawing();
    SetPort(nullptr);
    CloseBuffers();
    if (d.effectiveClip) DisposeRgn(d.effectiveClip);
    d = DrawingState{};
    if (gColorTable) DisposeHandle(reinterpret_cast<Handle>(gColorTable));
    gColorTable = nullptr;
    gScreenPixMap = PixMap{};
}

} // namespace qiva

void InitGraf(void*) {
    // In a program on the shell the first InitGraf runs the toolkit start-up, whose graphics step
    // creates the main window and sizes the screen after it.
    if (qiva::ShellRunning() && !qiva::ToolkitStarted()) {
        qiva::ToolkitStartup([] {
            qiva::ApplyInverseColourSetting();
            int width = 0, height = 0;
            if (qiva::OpenMainScreen(width, height)) qiva::SetScreenSize(width, height);
            qiva::SetUpGraphics();
        });
        return;
    }
    qiva::SetUpGraphics();
}
