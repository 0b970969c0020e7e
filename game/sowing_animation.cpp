// The hand sprite and the three animated steps of a move. The window shows the scene buffer (the
// board with the hand); the clean buffer is the board without it, from which the hand's old place is
// put back before each step.

#include <algorithm>
#include <cstdlib>

#include "game/board_geometry.h"
#include "game/board_view.h"
#include "game/offscreen.h"
#include "game/random_range.h"
#include "platform/platform.h"
#include "toolkit/core/tick_count.h"
#include "toolkit/graphics/quickdraw.h"

namespace tolka {

namespace {

constexpr std::int16_t kComputerHand = 128, kComputerHandMask = 129;
constexpr std::int16_t kPlayerHand = 130, kPlayerHandMask = 131;
constexpr int kComputerReach = -90, kPlayerReach = 102;
// The calibration copies the whole window for two seconds, or until this many copies have shown
// that the machine is fast (an unpaced display would otherwise copy for nothing).
constexpr std::uint32_t kCalibrationTicks = 120;
constexpr int kCalibrationMaxCopies = 240;

std::uint64_t NowMicros() {
    return platform::HasBackend() ? platform::Current().Microseconds() : 0;
}

void ServiceWindow() {
    if (platform::HasBackend()) platform::Current().ServiceWindow();
}

// The hand's frames are shown at the display's rate: each copy waits for its frame while this lives.
// Outside the animation, drawing shows at once.
class FramePacing {
public:
    FramePacing() { Set(true); }
    ~FramePacing() { Set(false); }
    FramePacing(const FramePacing&) = delete;
    FramePacing& operator=(const FramePacing&) = delete;

private:
    static void Set(bool on) {
        if (platform::HasBackend()) platform::Current().SetPacing(on);
    }
};

} // namespace

void BoardDisplay::DisposeAnimationBuffers() {
    DisposeOffscreen(clean_);
    DisposeOffscreen(scene_);
    clean_ = scene_ = nullptr;
}

void BoardDisplay::StartSprite(std::uint8_t side) {
    side = side != 0 ? 1 : 0;
    if (SpriteActive()) {
        // Already waiting on the board for this side: nothing to do. For the other side, withdraw it.
        if (side == side_) return;
        EndSprite();
    }
    if (!options.handAnimation || !window_) return;
    side_ = side;
    clean_ = NewOffscreen(kBoardWidth, kBoardHeight);
    scene_ = clean_ ? NewOffscreen(kBoardWidth, kBoardHeight) : nullptr;
    if (!scene_) {
        DisposeAnimationBuffers();
        Alert("Pas assez de place memoire");
        return;
    }
    const Rect all = kBoardBounds;
    DrawScene(clean_);
    CopyOffscreen(clean_, scene_, &all);

    const bool computer = side == 1;
    if (!LoadSprite(computer ? kComputerHand : kPlayerHand, computer ? kComputerHandMask : kPlayerHandMask,
                    sprite_)) {
        // No hand to show: the move is drawn without animation, and nothing is left allocated.
        DisposeAnimationBuffers();
        return;
    }
    spriteRect_ = sprite_.frame;
    hOffset_ = 0;
    vOffset_ = computer ? kComputerReach : kPlayerReach;
    OffsetRect(&spriteRect_, kBoardWidth / 2 - spriteRect_.right / 2, computer ? -144 : 270);
    if (minStep_ == 0) Calibrate();
    ShowSprite(nullptr);
}

void BoardDisplay::Calibrate() {
    const FramePacing pacing;
    const Rect all = kBoardBounds;
    const std::uint32_t t0 = TickCount();
    while (TickCount() == t0) {
    }
    const std::uint64_t start = NowMicros();
    int copies = 0;
    while (TickCount() - t0 < kCalibrationTicks && copies < kCalibrationMaxCopies) {
        CopyOffscreen(scene_, window_, &all);
        ServiceWindow();
        ++copies;
    }
    copies = std::max(copies, 1);
    const std::uint64_t elapsed = std::max<std::uint64_t>(NowMicros() - start, 1);
    minStep_ = MinimumStepFromCopies(copies);
    framesPerSecond_ = static_cast<int>(std::clamp<std::uint64_t>(copies * 1000000ull / elapsed, 1, 1000));
}

void BoardDisplay::ShowSprite(const Rect* old) {
    if (!SpriteActive() || !window_) return;
    GrafPtr saved = nullptr;
    GetPort(&saved);
    SetPort(scene_);
    DrawSpriteAt(sprite_, spriteRect_.left, spriteRect_.top);
    Rect area = spriteRect_;
    if (old) UnionRect(old, &spriteRect_, &area);
    SetPort(window_);
    RgnHandle clip = NewRgn();
    GetClip(clip);
    ClipRect(&kPlayArea);
    CopyBits(&scene_->portBits, &window_->portBits, &area, &area, srcCopy, nullptr);
    SetClip(clip);
    DisposeRgn(clip);
    SetPort(saved);
    // The copy waited for its display frame; meanwhile the window system may want an answer.
    ServiceWindow();
}

void BoardDisplay::MoveSpriteTo(int h, int v) {
    if (!SpriteActive()) return;
    const FramePacing pacing;
    // The first step of a move takes a frame at the rate the calibration measured.
    std::uint64_t frame = 1000000u / static_cast<unsigned>(std::max(framesPerSecond_, 1));
    std::uint64_t last = NowMicros();
    for (;;) {
        const int cx = (spriteRect_.left + spriteRect_.right) / 2;
        const int cy = (spriteRect_.top + spriteRect_.bottom) / 2;
        const int dx = h + hOffset_ - cx, dy = v + vOffset_ - cy;
        const int step = SpriteStep(std::abs(dx) + std::abs(dy), minStep_, frame);
        const int mx = std::clamp(dx, -step, step), my = std::clamp(dy, -step, step);
        if (mx == 0 && my == 0) return;
        CopyOffscreen(clean_, scene_, &spriteRect_);
        const Rect old = spriteRect_;
        OffsetRect(&spriteRect_, mx, my);
        ShowSprite(&old);
        const std::uint64_t now = NowMicros();
        frame = now - last;
        last = now;
    }
}

void BoardDisplay::BringSpriteToPit(std::int16_t pit) {
    const Point centre = PitCentre(pit);
    MoveSpriteTo(centre.h, centre.v);
}

void BoardDisplay::ShowPitChange(std::int16_t pit) {
    const FramePacing pacing;
    const Rect r = PitRectOf(pit);
    DrawPit(clean_, Position(), pit);
    CopyOffscreen(clean_, scene_, &r);
    ShowSprite(&r);
}

void BoardDisplay::EndSprite() {
    ReturnHeldSeeds();
    if (!SpriteActive()) return;
    const int cx = (spriteRect_.left + spriteRect_.right) / 2;
    MoveSpriteTo(cx - hOffset_, side_ == 1 ? 80 : 270);
    if (window_) {
        GrafPtr saved = nullptr;
        GetPort(&saved);
        SetPort(window_);
        RgnHandle clip = NewRgn();
        GetClip(clip);
        // Put the board back under the hand without touching the message panel.
        const Rect keep = options.showMessages ? Rect{0, 0, 326, kBoardWidth} : kBoardBounds;
        ClipRect(&keep);
        CopyBits(&clean_->portBits, &window_->portBits, &spriteRect_, &spriteRect_, srcCopy, nullptr);
        SetClip(clip);
        DisposeRgn(clip);
        SetPort(saved);
    }
    spriteRect_ = Rect{};
    DisposeAnimationBuffers();
    DisposeSprite(sprite_);
    ServiceWindow();
}

void BoardDisplay::PickUpPit(std::uint8_t side, Board& board, std::int16_t pit) {
    if (pit < 0 || pit >= kPitCount) return;
    const int count = board.pits[pit];
    ReturnHeldSeeds();
    handOrigin_ = pit;
    for (int taken = 0; taken < count;) {
        const std::int16_t seed = Seeds().FindIn(pit);
        if (seed < 0) break;
        Seeds().SetSeedPlace(kInHand, seed);
        ++taken;
    }
    if (!SpriteActive()) StartSprite(side);
    board.pits[pit] = 0;
    if (SpriteActive()) {
        BringSpriteToPit(pit);
        ShowPitChange(pit);
    } else {
        DrawPit(window_, board, pit);
    }
    PlayPickUpSound(count);
}

void BoardDisplay::DropSeed(Board& board, std::int16_t pit, std::int16_t seed) {
    if (pit < 0 || pit >= kPitCount) return;
    MoveSeedTo(board, pit, seed);
    const bool onSeeds = board.pits[pit] > 1;
    if (SpriteActive()) {
        BringSpriteToPit(pit);
        PlayGameSound(onSeeds ? RandomRange(20, 23) : RandomRange(10, 13));
        ShowPitChange(pit);
    } else {
        // The whole pit, so that its shadows stay under its seeds as a full redraw has them.
        DrawPit(window_, board, pit);
        // The same draw as the animated path, so both leave the generator, and so the seed table,
        // in the same state; the still drop always sounds the same.
        const std::int16_t sound = onSeeds ? RandomRange(20, 23) : RandomRange(10, 13);
        PlayGameSound(onSeeds ? sound : std::int16_t{10});
    }
}

void BoardDisplay::CaptureToStore(std::uint8_t side, Board& board, std::int16_t pit, std::int16_t /*count*/) {
    if (pit < 0 || pit >= kPitCount) return;
    if (SpriteActive()) BringSpriteToPit(pit);
    PlayGameSound(2);
    const std::uint8_t s = side != 0 ? 1 : 0;
    // The whole strip again rather than the new seeds on top: their shadows go under the seeds
    // already there, as on a full redraw.
    if (SpriteActive()) {
        DrawStore(clean_, s);
        ShowPitChange(pit);
        const Rect store = StoreRectOf(s, board.stores[s]);
        CopyOffscreen(clean_, scene_, &store);
        ShowSprite(&store);
    } else {
        DrawPit(window_, board, pit);
        DrawStore(window_, s);
    }
    PlayGameSound(3);
}

} // namespace tolka
