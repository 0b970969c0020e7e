#include "game/offscreen.h"

#include <new>

#include "toolkit/core/memory.h"
#include "toolkit/graphics/buffers.h"
#include "toolkit/graphics/copy_bits.h"
#include "toolkit/graphics/ports.h"
#include "toolkit/graphics/rect_utils.h"

GrafPtr NewOffscreen(int width, int height) {
    if (width <= 0 || height <= 0) return nullptr;
    Ptr block = NewPtrClear(static_cast<Size>(sizeof(GrafPort)));
    if (!block) return nullptr;
    auto* port = new (block) GrafPort{};
    GrafPtr saved = nullptr;
    GetPort(&saved);
    const bool opened = NewBufferPort(port, width, height);
    SetPort(saved);
    if (!opened) {
        DisposeBufferPort(port);
        SetPort(saved);
        DisposePtr(block);
        return nullptr;
    }
    return port;
}

GrafPtr NewMaskOffscreen(int width, int height) {
    return NewOffscreen(width, height);
}

void DisposeOffscreen(GrafPtr port) {
    if (!port) return;
    GrafPtr saved = nullptr;
    GetPort(&saved);
    DisposeBufferPort(port);
    SetPort(saved == port ? nullptr : saved);
    DisposePtr(reinterpret_cast<Ptr>(port));
}

void CopyOffscreen(GrafPtr source, GrafPtr destination, const Rect* rect) {
    if (!source || !destination || !rect || EmptyRect(rect)) return;
    GrafPtr saved = nullptr;
    GetPort(&saved);
    SetPort(destination);
    CopyBits(&source->portBits, &destination->portBits, rect, rect, srcCopy, nullptr);
    SetPort(saved);
}
