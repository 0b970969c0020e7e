#include "game/sprite.h"

#include <algorithm>

#include "game/offscreen.h"
#include "toolkit/core/resources.h"
#include "toolkit/graphics/copy_bits.h"
#include "toolkit/graphics/pict_record.h"
#include "toolkit/graphics/picture_resources.h"
#include "toolkit/graphics/ports.h"
#include "toolkit/graphics/rect_utils.h"

namespace tolka {

namespace {

// A picture drawn at its own size, its frame moved to (0, 0), into a new offscreen port.
GrafPtr PictureInOffscreen(std::int16_t id, Rect& frame) {
    PicHandle pic = GetPicture(id);
    if (!pic) return nullptr;
    GrafPtr port = nullptr;
    if (qiva::PictureFrame(pic, frame)) {
        OffsetRect(&frame, -frame.left, -frame.top);
        port = NewOffscreen(frame.right, frame.bottom);
        if (port) {
            SetPort(port);
            DrawPicture(pic, &frame);
        }
    }
    ReleaseResource(reinterpret_cast<Handle>(pic));
    return port;
}

} // namespace

bool LoadSprite(std::int16_t pictureId, std::int16_t maskId, Sprite& sprite) {
    sprite = Sprite{};
    GrafPtr saved = nullptr;
    GetPort(&saved);
    Rect frame{}, maskFrame{};
    GrafPtr image = PictureInOffscreen(pictureId, frame);
    GrafPtr mask = image ? PictureInOffscreen(maskId, maskFrame) : nullptr;
    SetPort(saved);
    if (!image || !mask) {
        DisposeOffscreen(image);
        DisposeOffscreen(mask);
        return false;
    }
    sprite.frame = frame;
    sprite.image = image;
    sprite.mask = mask;
    return true;
}

void DrawSpriteAt(const Sprite& sprite, int h, int v) {
    GrafPtr port = nullptr;
    GetPort(&port);
    if (!port || !sprite.image || !sprite.mask) return;
    const Rect source = sprite.mask->portRect;
    Rect destination = source;
    OffsetRect(&destination, h, v);
    CopyMask(&sprite.image->portBits, &sprite.mask->portBits, &port->portBits, &source, &source,
             &destination);
}

void DisposeSprite(Sprite& sprite) {
    DisposeOffscreen(sprite.image);
    DisposeOffscreen(sprite.mask);
    sprite = Sprite{};
}

int MinimumStepFromCopies(int copies) {
    return std::clamp(184 / std::max(copies, 1), 4, kMaxSpriteStep);
}

int SpriteStep(int distance, int minimumStep, int framesPerSecond, std::uint64_t frameMicros) {
    if (distance <= 0) return 0;
    const int base = std::clamp(distance / 48, std::min(minimumStep, kMaxSpriteStep), kMaxSpriteStep);
    const std::uint64_t fps = static_cast<std::uint64_t>(std::max(framesPerSecond, 1));
    // A frame that took more than four frames' time (a sound, a stall) moves as four would.
    const std::uint64_t micros = std::min<std::uint64_t>(frameMicros, 4 * 1000000 / fps);
    const auto scaled =
        static_cast<int>((static_cast<std::uint64_t>(base) * micros * fps + 500000) / 1000000);
    return std::max(scaled, 1);
}

} // namespace tolka
