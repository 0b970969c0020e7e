#include "toolkit/graphics/buffers.h"

#include <cstring>

#include "toolkit/graphics/drawing_state.h"
#include "toolkit/graphics/ports.h"
#include "toolkit/graphics/rect_utils.h"
#include "toolkit/graphics/regions.h"

namespace qiva {

namespace {
bool gTemplateOpen = false;
} // namespace

bool OpenScreen(int width, int height) {
    const GrafPtr screenPort = TemplatePort();
    // Making the template port makes it current; the caller's port stays current afterwards.
    const GrafPtr previous = Drawing().current == screenPort ? nullptr : Drawing().current;
    if (gTemplateOpen) {
        const BufferSlot* slot = LookUpBuffer(ScreenBufferId());
        if (slot && slot->width == width && slot->height == height) return true;
        DisposeBufferPort(screenPort);
        gTemplateOpen = false;
        SetScreenBufferId(0);
    }
    // The template is its own model while it is made: start from the classic defaults.
    GrafPort& model = *screenPort;
    model = GrafPort{};
    std::memset(model.bkPat.pat, 0x00, 8);
    std::memset(model.pnPat.pat, 0xFF, 8);
    std::memset(model.fillPat.pat, 0xFF, 8);
    model.pnSize = Point{1, 1};
    model.pnMode = patCopy;
    model.txMode = srcOr;
    model.fgColor = blackColor;
    model.bkColor = whiteColor;
    SetRect(&model.portRect, 0, 0, width, height);
    model.portBits.bounds = model.portRect;
    if (!NewBufferPort(screenPort, width, height)) return false;
    gTemplateOpen = true;
    SetScreenBufferId(BufferIdOf(model.portBits));
    qd.screenBits = model.portBits;
    if (previous != nullptr) {
        SetPort(nullptr);
        SetPort(previous); // selects the new screen buffer and recomputes the clip
    } else {
        // The template was selected before it became the screen: select it again as the screen, or
        // drawing in it would never be presented.
        SelectBufferOf(Drawing().current);
    }
    return true;
}

void CloseBuffers() {
    if (gTemplateOpen) DisposeBufferPort(TemplatePort());
    gTemplateOpen = false;
    SetScreenBufferId(0);
    DisposeAllBuffers();
    Drawing().target = RasterTarget{};
}

} // namespace qiva

bool NewBufferPort(GrafPtr port, int width, int height) {
    using namespace qiva;
    if (port == nullptr) return false;
    OpenPort(port);
    const std::uintptr_t id = NewBuffer(width, height);
    SetBufferId(port->portBits, id);
    if (id == 0) return false;
    SetRect(&port->portRect, 0, 0, width, height);
    port->portBits.bounds = port->portRect;
    port->portBits.rowBytes = static_cast<std::int16_t>(width | 0x8000);
    RectRgn(port->visRgn, &port->portRect);
    SelectBufferOf(port);
    if (Drawing().current == port) RecomputeClip();
    return true;
}

void DisposeBufferPort(GrafPtr port) {
    using namespace qiva;
    if (port == nullptr) return;
    if (Drawing().current == port) SetPort(nullptr);
    const std::uintptr_t id = BufferIdOf(port->portBits);
    if (LookUpBuffer(id) != nullptr) {
        DisposeBuffer(id);
        SelectBufferOf(Drawing().current);
    }
    ClosePort(port);
}
