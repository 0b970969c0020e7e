#pragma once
// The hand sprite: a picture and its mask in two offscreen ports, drawn through the mask. And the
// arithmetic of its travel, state-free: the step of each frame and the calibration of the minimum step.

#include <cstdint>

#include "toolkit/graphics/quickdraw_types.h"

namespace tolka {

struct Sprite {
    Rect frame{};            // (0, 0, width, height)
    GrafPtr image = nullptr; // the sprite is active exactly while this exists
    GrafPtr mask = nullptr;
};

// Loads picture and mask (their frames moved to (0, 0)) into the sprite, the image made transparent
// where the mask is white; false, with the sprite cleared, when either picture is missing or a buffer
// cannot be had. The current port is kept.
bool LoadSprite(std::int16_t pictureId, std::int16_t maskId, Sprite& sprite);
// Draws the sprite (its masked image) into the current port with its top left at (h, v).
void DrawSpriteAt(const Sprite& sprite, int h, int v);
void DisposeSprite(Sprite& sprite);

// The hand's speeds are the steps of a frame at the reference rate: at most 32 pixels along each
// axis, a 48th of the remaining way, at least 4; in pixels per second they hold at any frame rate.
constexpr int kMaxSpriteStep = 32;
constexpr int kMinSpriteStep = 4;
constexpr int kReferenceFramesPerSecond = 60;
// A frame that took longer than this (a stall) moves the hand as far as this would.
constexpr std::uint64_t kLongestFrameMicros = 125000;

// The minimum step from the number of full-window copies made in two seconds: 184 / copies,
// within 4-32.
int MinimumStepFromCopies(int copies);

// How far the hand may move along each axis in a frame that took `frameMicros`, for a centre
// `distance` (|dx| + |dy|) away: the time the frame took at the speed for that distance, and never
// less than the minimum step. At the reference rate these are the classic per-frame steps.
int SpriteStep(int distance, int minimumStep, std::uint64_t frameMicros);

} // namespace tolka
