#pragma once
// The board window's picture and the sowing animation. One BoardDisplay draws the game's position
// into the board window: the background composed once into an offscreen buffer, the pits, the seeds
// of the seed table with their shadows, the stores, and the hover marks. It is the engine's view
// (tolka::SowingView): on the animated path the hand sprite takes the played pit's seeds and sows
// them one at a time with sounds; with the hand animation off the same calls redraw the seeds in
// place, and both paths leave the same seed table and the same position.
//
// Wiring, by the game at start-up:
//     tolka::Display().Attach(boardWindow, &gameBoard);
//     tolka::SetBoardView(&tolka::Display());            // the rules drive it on animated moves
//     tolka::Display().options = ...;                     // again whenever an option changes
//     tolka::Display().announceCapture = ...;             // the panel's capture message
//     tolka::Display().alert = ...;                       // the game's message alert
// Then RedrawBoard() for update events, UpdateHover() while a game is on, EraseHover() before a
// click on the board is handled, StartSprite(side) at the start of each turn.

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "game/board.h"
#include "game/seed_table.h"
#include "game/sprite.h"
#include "toolkit/graphics/quickdraw_types.h"

namespace tolka {

// The place of the seeds the hand has taken from a pit and not sown yet: they are no longer drawn in
// the pit (a relay's first seed goes back into the pit it came from while the others are still held).
constexpr std::int16_t kInHand = -3;

// The game's options the view reads.
struct ViewOptions {
    bool showCounts = true;      // the count tip under the pointer
    bool showDestination = true; // the marker on the pit the last seed would reach
    bool soundOn = true;         // off: each sound becomes a 10-tick pause
    bool handAnimation = true;   // the hand sprite sows
    bool showMessages = true;    // the message panel is shown (the hand's exit spares it)
};

class BoardDisplay : public SeedTableView {
public:
    // The board window (its content is 640 × 400 from its local (0, 0)) and the game's position.
    void Attach(GrafPtr window, Board* board);
    GrafPtr Window() const { return window_; }
    Board& Position();

    ViewOptions options;
    std::function<void(std::uint8_t side, int count)> announceCapture;
    // The game's message alert; without one the text is kept as LastAlert().
    std::function<void(const std::string&)> alert;

    // The engine's view.
    void ResetSeeds() override;
    std::int16_t FindSeedInPit(Board& board, std::int16_t pit) override;
    void PickUpPit(std::uint8_t side, Board& board, std::int16_t pit) override;
    void DropSeed(Board& board, std::int16_t pit, std::int16_t seed) override;
    std::int16_t MoveSeedTo(Board& board, std::int16_t place, std::int16_t seed) override;
    void CaptureToStore(std::uint8_t side, Board& board, std::int16_t pit, std::int16_t count) override;
    void ShowCapture(std::uint8_t side, int count) override;
    void EndSprite() override;

    // Drawing (each keeps the current port; the window's drawing costs one present per call).
    void DrawSeedShadow(GrafPtr port, std::int16_t seed);
    void DrawSeed(GrafPtr port, std::int16_t seed);
    void DrawPitSeeds(GrafPtr port, const Board& board, std::int16_t pit);
    void DrawPit(GrafPtr port, const Board& board, std::int16_t pit);
    void DrawStoreSeeds(GrafPtr port, std::int16_t place, int first);
    // The store's strip drawn again from the board, all its seeds with their shadows under them.
    void DrawStore(GrafPtr port, std::uint8_t side);
    void DrawBackground(GrafPtr port);
    void DrawBoard(GrafPtr port, RgnHandle region);
    void DrawScene(GrafPtr port);
    void RedrawBoard();
    void UpdateHover();
    void EraseHover();
    Rect CountTip() const { return tip_; }
    Rect DestinationMark() const { return mark_; }

    // Seeds.
    void SetSeedPlace(Board& board, std::int16_t place, std::int16_t seed);

    // The hand.
    void StartSprite(std::uint8_t side);
    bool SpriteActive() const { return sprite_.image != nullptr; }
    Rect SpriteRect() const { return spriteRect_; }
    void ShowSprite(const Rect* old);
    void MoveSpriteTo(int h, int v);
    // The minimum step (0 until calibrated) and the frame rate the calibration measured.
    int MinimumStep() const { return minStep_; }
    int FramesPerSecond() const { return framesPerSecond_; }
    void SetCalibration(int minimumStep, int framesPerSecond) {
        minStep_ = minimumStep;
        framesPerSecond_ = framesPerSecond;
    }

    // Sounds: 'snd ' resources played synchronously, or a 10-tick pause with the sound off.
    void PlayGameSound(std::int16_t number);
    void PlayPickUpSound(int count);
    // The last sound asked for and how many were, heard or not (the state dump shows them).
    std::int16_t LastSound() const { return lastSound_; }
    unsigned SoundsAsked() const { return soundsAsked_; }

    // Forgets everything made (buffers, icons, sounds, the hand): a new start.
    void Reset();

protected:
    void Alert(const std::string& text) override;

private:
    GrafPtr Background();
    GrafPtr IconImage(std::int16_t number);
    void BringSpriteToPit(std::int16_t pit);
    void Calibrate();
    void ShowPitChange(std::int16_t pit);
    void DisposeAnimationBuffers();
    void ReturnHeldSeeds();

    GrafPtr window_ = nullptr;
    Board* board_ = nullptr;
    Board empty_{};

    GrafPtr background_ = nullptr;
    GrafPtr redrawBuffer_ = nullptr; // where whole-board redraws are composed
    GrafPtr shadowIcon_ = nullptr;
    std::array<GrafPtr, 100> seedIcons_{};
    std::array<bool, 100> seedIconTried_{};
    bool shadowTried_ = false;
    Point lastMouse_{-1, -1};
    Rect tip_{};
    Rect mark_{};
    std::int16_t handOrigin_ = -1; // the pit the held seeds came from

    Sprite sprite_;
    std::uint8_t side_ = 0;
    Rect spriteRect_{};
    int vOffset_ = 0, hOffset_ = 0;
    GrafPtr clean_ = nullptr, scene_ = nullptr;
    int minStep_ = 0;
    int framesPerSecond_ = 60;
    std::uint64_t lastFrameMicros_ = 0;

    std::int16_t lastSound_ = -1;
    unsigned soundsAsked_ = 0;
    std::array<Handle, 64> sounds_{};
    std::array<bool, 64> soundTried_{};
};

// The one board display of the program.
BoardDisplay& Display();

} // namespace tolka

// The Toolbox-style entries, on tolka::Display().
void SeedRect(std::int16_t seed, Rect* rect);
void DrawSeedShadow(GrafPtr port, std::int16_t seed);
void DrawSeed(GrafPtr port, std::int16_t seed);
void DrawPitSeeds(GrafPtr port, const tolka::Board& board, std::int16_t pit);
void DrawPit(GrafPtr port, const tolka::Board& board, std::int16_t pit);
void DrawStoreSeeds(GrafPtr port, std::int16_t place, std::int16_t first);
void DrawBackground(GrafPtr port);
void DrawBoard(GrafPtr port, RgnHandle region);
void DrawScene(GrafPtr port);
void RedrawBoard();
void UpdateHover();
void EraseHover();
void SetSeedPlace(tolka::Board& board, std::int16_t place, std::int16_t seed);
std::int16_t MoveSeedTo(tolka::Board& board, std::int16_t place, std::int16_t seed);
std::int16_t FindSeedInPit(tolka::Board& board, std::int16_t pit);
void StartSprite(std::uint8_t side);
void EndSprite();
void PickUpPit(std::uint8_t side, tolka::Board& board, std::int16_t pit);
void DropSeed(tolka::Board& board, std::int16_t pit, std::int16_t seed);
void CaptureToStore(std::uint8_t side, tolka::Board& board, std::int16_t pit, std::int16_t count);
void PlayGameSound(std::int16_t number);
void PlayPickUpSound(int count);
