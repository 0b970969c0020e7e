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

// Loads picture and mask (their frames moved to (0, 0)) into the sprite; false, with the sprite
// cleared, when either picture is missing or a buffer cannot be had. The current port is kept.
bool LoadSprite(std::int16_t pictureId, std::int16_t maskId, Sprite& sprite);
// Draws the sprite through its mask into the current port with its top left at (h, v).
void DrawSpriteAt(const Sprite& sprite, int h, int v);
void DisposeSprite(Sprite& sprite);

// The fastest step: 32 pixels a frame along each axis at the reference rate.
constexpr int kMaxSpriteStep = 32;
constexpr int kReferenceFramesPerSecond = 60;

// The minimum step from the number of full-window copies made in two seconds: 184 / copies,
// within 4-32 (a slow machine takes larger steps).
int MinimumStepFromCopies(int copies);

// How far the sprite may move this frame along each axis, for a centre `distance` (|dx| + |dy|)
// away: a 48th of it, within the minimum step and 32, at the calibrated frame rate; scaled by
// the time the last frame really took (in microseconds) so that the sprite keeps its speed in
// pixels per second when frames come late. At least 1 while there is a distance left.
int SpriteStep(int distance, int minimumStep, int framesPerSecond, std::uint64_t frameMicros);

} // namespace tolka
