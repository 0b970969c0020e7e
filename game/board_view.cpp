#include "game/board_view.h"

#include <cstdio>

#include "game/board_geometry.h"
#include "game/game_state.h"
#include "game/icon_images.h"
#include "game/offscreen.h"
#include "game/seed_places.h"
#include "toolkit/core/events.h"
#include "toolkit/core/resources.h"
#include "toolkit/core/shell.h"
#include "toolkit/graphics/drawing_state.h"
#include "toolkit/graphics/picture_resources.h"
#include "toolkit/graphics/quickdraw.h"
#include "toolkit/managers/textedit.h"

namespace tolka {

namespace {

constexpr std::int16_t kShadowIcon = 128;
constexpr std::int16_t kPitPicture = 0, kLeftEndPicture = 1, kRightEndPicture = 2;
constexpr std::int16_t kTablePicture = 100, kFrontEdgePicture = 101, kBorderPicture = 102, kLogoPicture = 134;
constexpr int kCreditsFont = 20, kCreditsSize = 14, kBold = 1;
// One line, in the toolkit's character set: "Tolka © 2026 l'équipe Tolka".
constexpr char kCredits[] = "Tolka \xA9 2026 l'\x8E"
                            "quipe Tolka";

// Keeps the current port and clip of whatever it touches, and gathers the drawing of the window into
// one present.
class PortKeeper {
public:
    PortKeeper() {
        GetPort(&saved_);
        qiva::BeginDrawing();
    }
    ~PortKeeper() {
        SetPort(saved_);
        qiva::EndDrawing();
        if (qiva::Drawing().depth == 0) qiva::FlushScreen();
    }
    PortKeeper(const PortKeeper&) = delete;
    PortKeeper& operator=(const PortKeeper&) = delete;

private:
    GrafPtr saved_ = nullptr;
};

// The port's clip, put back at the end of a scope.
class ClipKeeper {
public:
    ClipKeeper() : saved_(NewRgn()) { GetClip(saved_); }
    ~ClipKeeper() {
        SetClip(saved_);
        DisposeRgn(saved_);
    }
    ClipKeeper(const ClipKeeper&) = delete;
    ClipKeeper& operator=(const ClipKeeper&) = delete;

private:
    RgnHandle saved_;
};

void DrawPictureInto(std::int16_t id, std::initializer_list<Rect> places) {
    PicHandle pic = GetPicture(id);
    if (!pic) return;
    for (const Rect& r : places)
        DrawPicture(pic, &r);
    ReleaseResource(reinterpret_cast<Handle>(pic));
}

Rect R(int left, int top, int right, int bottom) {
    Rect r;
    SetRect(&r, left, top, right, bottom);
    return r;
}

} // namespace

void BoardDisplay::Attach(GrafPtr window, Board* board) {
    window_ = window;
    board_ = board;
}

Board& BoardDisplay::Position() {
    return board_ ? *board_ : empty_;
}

void BoardDisplay::Alert(const std::string& text) {
    SeedTableView::Alert(text);
    if (alert) alert(text);
}

GrafPtr BoardDisplay::IconImage(std::int16_t number) {
    if (number == kShadowIcon) {
        if (!shadowTried_) shadowIcon_ = LoadIconImage(kShadowIcon), shadowTried_ = true;
        return shadowIcon_;
    }
    if (number < 0 || number >= static_cast<int>(seedIcons_.size())) return nullptr;
    if (!seedIconTried_[number]) seedIcons_[number] = LoadIconImage(number), seedIconTried_[number] = true;
    return seedIcons_[number];
}

void BoardDisplay::DrawSeedShadow(GrafPtr port, std::int16_t seed) {
    if (!port || seed < 0 || seed >= SeedTable::kSize) return;
    PortKeeper keep;
    GrafPtr icon = IconImage(kShadowIcon);
    SetPort(port);
    DrawIconImage(icon, ShadowRectOf(Seeds().Records()[seed]));
}

void BoardDisplay::DrawSeed(GrafPtr port, std::int16_t seed) {
    if (!port || seed < 0 || seed >= SeedTable::kSize) return;
    PortKeeper keep;
    const SeedRecord& record = Seeds().Records()[seed];
    GrafPtr icon = IconImage(record.icon);
    SetPort(port);
    DrawIconImage(icon, SeedRectOf(record));
}

void BoardDisplay::DrawPitSeeds(GrafPtr port, const Board& board, std::int16_t pit) {
    if (!port || pit < 0 || pit >= kPitCount) return;
    PortKeeper keep;
    const int count = board.pits[pit];
    // All shadows of the pit lie under all its seeds; only the first `count` records are shown.
    for (int pass = 0; pass < 2; ++pass) {
        int met = 0;
        for (std::int16_t i = 0; i < SeedTable::kSize && met < count; ++i) {
            if (Seeds().Records()[i].place != pit) continue;
            ++met;
            pass == 0 ? DrawSeedShadow(port, i) : DrawSeed(port, i);
        }
    }
}

void BoardDisplay::DrawPit(GrafPtr port, const Board& board, std::int16_t pit) {
    if (!port || pit < 0 || pit >= kPitCount) return;
    PortKeeper keep;
    const Rect r = PitRectOf(pit);
    CopyOffscreen(Background(), port, &r);
    DrawPitSeeds(port, board, pit);
}

void BoardDisplay::DrawStoreSeeds(GrafPtr port, std::int16_t place, int first) {
    if (!port) return;
    PortKeeper keep;
    for (int pass = 0; pass < 2; ++pass) {
        int index = 0;
        for (std::int16_t i = 0; i < SeedTable::kSize; ++i) {
            if (Seeds().Records()[i].place != place) continue;
            if (index++ < first) continue;
            pass == 0 ? DrawSeedShadow(port, i) : DrawSeed(port, i);
        }
    }
}

void BoardDisplay::DrawStore(GrafPtr port, std::uint8_t side) {
    if (!port) return;
    PortKeeper keep;
    const std::uint8_t s = side != 0 ? 1 : 0;
    const Rect strip = StoreRectOf(s, Position().stores[s]);
    CopyOffscreen(Background(), port, &strip);
    DrawStoreSeeds(port, StorePlace(s), 0);
}

void BoardDisplay::DrawBackground(GrafPtr port) {
    if (!port) return;
    PortKeeper keep;
    SetPort(port);
    const int right = window_ ? window_->portRect.right : kBoardWidth;

    {
        PicHandle border = GetPicture(kBorderPicture);
        if (border) {
            // One row of blocks at the top, three at the bottom, the middle one half a block over.
            for (int x = 0; x < right + 16; x += 32)
                for (const Rect& r : {R(x, 0, x + 32, 32), R(x, 318, x + 32, 350),
                                      R(x - 16, 350, x + 16, 382), R(x, 382, x + 32, 414)})
                    DrawPicture(border, &r);
            ReleaseResource(reinterpret_cast<Handle>(border));
        }
    }
    {
        ClipKeeper clip;
        ClipRect(&kPlayArea);
        if (PicHandle table = GetPicture(kTablePicture)) {
            for (int y = 32; y < 318; y += 64)
                for (int x = 0; x < right; x += 64) {
                    const Rect r = R(x, y, x + 64, y + 64);
                    DrawPicture(table, &r);
                }
            ReleaseResource(reinterpret_cast<Handle>(table));
        }
        if (PicHandle edge = GetPicture(kFrontEdgePicture)) {
            for (int x = 35; x < 605; x += 64) {
                const Rect r = R(x, 270, x + 64, 290);
                DrawPicture(edge, &r);
            }
            ReleaseResource(reinterpret_cast<Handle>(edge));
        }
    }
    if (PicHandle logo = GetPicture(kLogoPicture)) {
        Rect frame{};
        if (qiva::PictureFrame(logo, frame)) {
            const int w = frame.right - frame.left, h = frame.bottom - frame.top;
            const Rect r = R(320 - w / 2, 376 - h, 320 + w / 2, 376);
            DrawPicture(logo, &r);
        }
        ReleaseResource(reinterpret_cast<Handle>(logo));
    }

    TextFont(kCreditsFont);
    TextSize(kCreditsSize);
    TextFace(kBold);
    const int length = static_cast<int>(sizeof(kCredits) - 1);
    const int left = 320 - TextWidth(kCredits, 0, length) / 2;
    // A dark edge, then the text in yellow and white a pixel up and left: raised letters. The
    // baseline sits high enough for the message panel (down to 390) to hide the letters whole,
    // descenders included, instead of leaving their feet showing under it.
    constexpr std::int16_t kBaseline = 386;
    const std::pair<std::int32_t, Point> layers[] = {
        {blackColor, {kBaseline, static_cast<std::int16_t>(left)}},
        {yellowColor, {kBaseline - 1, static_cast<std::int16_t>(left - 1)}},
        {whiteColor, {kBaseline - 1, static_cast<std::int16_t>(left - 2)}}};
    for (const auto& [colour, at] : layers) {
        ForeColor(colour);
        MoveTo(at.h, at.v);
        DrawText(kCredits, 0, length);
    }
    ForeColor(blackColor);
    TextFont(0);
    TextSize(0);
    TextFace(0);
}

GrafPtr BoardDisplay::Background() {
    if (background_) return background_;
    background_ = NewOffscreen(kBoardWidth, kBoardHeight);
    if (!background_) {
        Alert("Pas assez de place m\x8Emoire");
        ExitToShell();
    }
    PortKeeper keep;
    DrawBackground(background_);
    SetPort(background_);
    Rect pits[kPitCount];
    for (int pit = 0; pit < kPitCount; ++pit)
        pits[pit] = PitRectOf(pit);
    if (PicHandle pic = GetPicture(kPitPicture)) {
        for (const Rect& r : pits)
            DrawPicture(pic, &r);
        ReleaseResource(reinterpret_cast<Handle>(pic));
    }
    DrawPictureInto(kLeftEndPicture, {kLeftEnds[0], kLeftEnds[1]});
    DrawPictureInto(kRightEndPicture, {kRightEnds[0], kRightEnds[1]});
    return background_;
}

void BoardDisplay::DrawBoard(GrafPtr port, RgnHandle region) {
    if (!port || !region || !*region) return;
    GrafPtr background = Background();
    PortKeeper keep;
    SetPort(port);
    ClipKeeper clip;
    SetClip(region);
    const Rect box = (*region)->rgnBBox;
    CopyOffscreen(background, port, &box);
    const std::uint16_t pits = PitsMeeting(box);
    for (std::int16_t pit = 0; pit < kPitCount; ++pit)
        if (pits & (1u << pit)) DrawPit(port, Position(), pit);
}

void BoardDisplay::DrawScene(GrafPtr port) {
    if (!port) return;
    PortKeeper keep;
    DrawBoard(port, port->visRgn);
    DrawStoreSeeds(port, kStoreOfSide0, 0);
    DrawStoreSeeds(port, kStoreOfSide1, 0);
}

void BoardDisplay::RedrawBoard() {
    if (!window_) return;
    Background();
    PortKeeper keep;
    // The buffer is kept for the next redraw, like the background: making it each time costs as much
    // as the redraw itself.
    if (!redrawBuffer_) redrawBuffer_ = NewOffscreen(kBoardWidth, kBoardHeight);
    if (!redrawBuffer_) {
        // Straight into the window: it may flicker, but the board is right.
        DrawScene(window_);
        return;
    }
    DrawScene(redrawBuffer_);
    const Rect all = kBoardBounds;
    CopyOffscreen(redrawBuffer_, window_, &all);
}

void BoardDisplay::UpdateHover() {
    if (!window_) return;
    PortKeeper keep;
    SetPort(window_);
    Point mouse;
    GetMouse(&mouse);
    GlobalToLocal(&mouse);
    if (EqualPt(mouse, lastMouse_)) return;
    EraseHover();
    lastMouse_ = mouse;

    Board& board = Position();
    int count = 0;
    const Rect bottomStore = StoreRectOf(0, board.stores[0]);
    const Rect topStore = StoreRectOf(1, board.stores[1]);
    if (PtInRect(mouse, &bottomStore)) count = board.stores[0];
    if (PtInRect(mouse, &topStore)) count = board.stores[1];
    const std::int16_t pit = PitAtPoint(mouse);
    if (pit >= 0) count = board.pits[pit];
    if (count == 0) {
        tip_ = Rect{};
        mark_ = Rect{};
        return;
    }
    SetPort(window_);
    if (options.showCounts) {
        tip_ = CountTipRect(mouse);
        char text[8];
        const int length = std::snprintf(text, sizeof text, "%d", count);
        TextFont(kCreditsFont);
        TextSize(kCreditsSize);
        TETextBox(text, length, &tip_, 1);
        TextFont(0);
        TextSize(0);
        FrameRect(&tip_);
    }
    if (options.showDestination && pit >= 0) {
        mark_ = DestinationMarkRect(DestinationPit(pit, count, rules));
        EraseOval(&mark_);
        FrameOval(&mark_);
    }
}

void BoardDisplay::EraseHover() {
    if (!window_) return;
    PortKeeper keep;
    RgnHandle region = NewRgn();
    for (const Rect* r : {&tip_, &mark_}) {
        if (EmptyRect(r)) continue;
        RectRgn(region, r);
        DrawBoard(window_, region);
    }
    DisposeRgn(region);
}

void BoardDisplay::SetSeedPlace(Board& board, std::int16_t place, std::int16_t seed) {
    tolka::SetSeedPlace(Seeds(), board, place, seed);
}

std::int16_t BoardDisplay::MoveSeedTo(Board& board, std::int16_t place, std::int16_t seed) {
    // A seed that could not be found (the records and the counts disagree) is taken from the
    // records lying nowhere when there is one, so that the picture keeps showing every seed.
    if (seed < 0 || seed >= SeedTable::kSize) seed = Seeds().FindIn(kNowhere);
    const std::int16_t moved = SeedTableView::MoveSeedTo(board, place, seed);
    if (moved >= 0) SetSeedPlace(board, place, moved);
    return moved;
}

void BoardDisplay::ResetSeeds() {
    SeedTableView::ResetSeeds();
    handOrigin_ = -1;
}

std::int16_t BoardDisplay::FindSeedInPit(Board& board, std::int16_t pit) {
    if (pit == handOrigin_) {
        const std::int16_t held = Seeds().FindIn(kInHand);
        if (held >= 0) return held;
    }
    return SeedTableView::FindSeedInPit(board, pit);
}

void BoardDisplay::ReturnHeldSeeds() {
    // Only a move cut short leaves seeds in the hand: they go back where they came from.
    for (std::int16_t i = 0; i < SeedTable::kSize; ++i)
        if (Seeds().Records()[i].place == kInHand) Seeds().SetSeedPlace(handOrigin_, i);
    handOrigin_ = -1;
}

void BoardDisplay::ShowCapture(std::uint8_t side, int count) {
    if (announceCapture) announceCapture(side, count);
}

void BoardDisplay::Reset() {
    if (SpriteActive() || clean_ || scene_) {
        DisposeSprite(sprite_);
        DisposeAnimationBuffers();
    }
    for (GrafPtr& icon : seedIcons_)
        DisposeOffscreen(icon), icon = nullptr;
    seedIconTried_.fill(false);
    DisposeOffscreen(shadowIcon_);
    shadowIcon_ = nullptr;
    shadowTried_ = false;
    DisposeOffscreen(background_);
    background_ = nullptr;
    DisposeOffscreen(redrawBuffer_);
    redrawBuffer_ = nullptr;
    sounds_.fill(nullptr);
    soundTried_.fill(false);
    lastMouse_ = Point{-1, -1};
    tip_ = mark_ = spriteRect_ = Rect{};
    minStep_ = 0;
    framesPerSecond_ = kReferenceFramesPerSecond;
    window_ = nullptr;
    board_ = nullptr;
}

BoardDisplay& Display() {
    static BoardDisplay display;
    return display;
}

} // namespace tolka

using tolka::Display;

void SeedRect(std::int16_t seed, Rect* rect) {
    if (!rect) return;
    *rect = seed >= 0 && seed < tolka::SeedTable::kSize ? tolka::SeedRectOf(Display().Seeds().Records()[seed])
                                                        : Rect{};
}
void DrawSeedShadow(GrafPtr port, std::int16_t seed) {
    Display().DrawSeedShadow(port, seed);
}
void DrawSeed(GrafPtr port, std::int16_t seed) {
    Display().DrawSeed(port, seed);
}
void DrawPitSeeds(GrafPtr port, const tolka::Board& board, std::int16_t pit) {
    Display().DrawPitSeeds(port, board, pit);
}
void DrawPit(GrafPtr port, const tolka::Board& board, std::int16_t pit) {
    Display().DrawPit(port, board, pit);
}
void DrawStoreSeeds(GrafPtr port, std::int16_t place, std::int16_t first) {
    Display().DrawStoreSeeds(port, place, first);
}
void DrawBackground(GrafPtr port) {
    Display().DrawBackground(port);
}
void DrawBoard(GrafPtr port, RgnHandle region) {
    Display().DrawBoard(port, region);
}
void DrawScene(GrafPtr port) {
    Display().DrawScene(port);
}
void RedrawBoard() {
    Display().RedrawBoard();
}
void UpdateHover() {
    Display().UpdateHover();
}
void EraseHover() {
    Display().EraseHover();
}
void SetSeedPlace(tolka::Board& board, std::int16_t place, std::int16_t seed) {
    Display().SetSeedPlace(board, place, seed);
}
std::int16_t MoveSeedTo(tolka::Board& board, std::int16_t place, std::int16_t seed) {
    return Display().MoveSeedTo(board, place, seed);
}
std::int16_t FindSeedInPit(tolka::Board& board, std::int16_t pit) {
    return Display().FindSeedInPit(board, pit);
}
void StartSprite(std::uint8_t side) {
    Display().StartSprite(side);
}
void EndSprite() {
    Display().EndSprite();
}
void PickUpPit(std::uint8_t side, tolka::Board& board, std::int16_t pit) {
    Display().PickUpPit(side, board, pit);
}
void DropSeed(tolka::Board& board, std::int16_t pit, std::int16_t seed) {
    Display().DropSeed(board, pit, seed);
}
void CaptureToStore(std::uint8_t side, tolka::Board& board, std::int16_t pit, std::int16_t count) {
    Display().CaptureToStore(side, board, pit, count);
}
void PlayGameSound(std::int16_t number) {
    Display().PlayGameSound(number);
}
void PlayPickUpSound(int count) {
    Display().PlayPickUpSound(count);
}
