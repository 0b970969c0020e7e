#include "game/sprite.h"

#include <algorithm>

#include "game/offscreen.h"
#include "toolkit/core/resources.h"
#include "toolkit/graphics/buffer_table.h"
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

// The mask is applied to the image once: where the mask is white the image becomes transparent, so
// each frame draws the hand with one plain copy instead of a masked one.
void ApplyMask(const Sprite& sprite) {
    const qiva::BufferSlot* image = qiva::LookUpBuffer(qiva::BufferIdOf(sprite.image->portBits));
    const qiva::BufferSlot* mask = qiva::LookUpBuffer(qiva::BufferIdOf(sprite.mask->portBits));
    if (!image || !mask) return;
    for (int y = 0; y < image->height; ++y) {
        std::uint8_t* out = image->base + static_cast<std::size_t>(y) * image->rowBytes;
        const std::uint8_t* m =
            y < mask->height ? mask->base + static_cast<std::size_t>(y) * mask->rowBytes : nullptr;
        for (int x = 0; x < image->width; ++x) {
            const bool opaque = m && x < mask->width && m[x] != qiva::kIndexWhite;
            if (!opaque)
                out[x] = qiva::kTransparentIndex;
            else if (out[x] == qiva::kTransparentIndex)
                out[x] = qiva::kIndexBlack; // the hand's own darkest pixels stay drawn
        }
    }
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
    ApplyMask(sprite);
    return true;
}

void DrawSpriteAt(const Sprite& sprite, int h, int v) {
    GrafPtr port = nullptr;
    GetPort(&port);
    if (!port || !sprite.image) return;
    const Rect source = sprite.image->portRect;
    Rect destination = source;
    OffsetRect(&destination, h, v);
    CopyBits(&sprite.image->portBits, &port->portBits, &source, &destination, srcCopy, nullptr);
}

void DisposeSprite(Sprite& sprite) {
    DisposeOffscreen(sprite.image);
    DisposeOffscreen(sprite.mask);
    sprite = Sprite{};
}

int MinimumStepFromCopies(int copies) {
    return std::clamp(184 / std::max(copies, 1), kMinSpriteStep, kMaxSpriteStep);
}

int SpriteStep(int distance, int minimumStep, std::uint64_t frameMicros) {
    if (distance <= 0) return 0;
    // Speeds in pixels per second: the per-frame steps at the reference rate.
    constexpr std::uint64_t kFps = kReferenceFramesPerSecond;
    const std::uint64_t speed = static_cast<std::uint64_t>(
        std::clamp<int>(distance, 48 * kMinSpriteStep, 48 * kMaxSpriteStep) * static_cast<int>(kFps) / 48);
    const std::uint64_t micros = std::min<std::uint64_t>(frameMicros, kLongestFrameMicros);
    const auto step = static_cast<int>((speed * micros + 500000) / 1000000);
    // A frame never moves less than the calibrated minimum (a machine that copies slowly takes
    // larger steps), nor less than a pixel.
    return std::max({step, minimumStep, 1});
}

} // namespace tolka
