#pragma once
// Sound: the system beep, the volume, and 'snd ' resources played synchronously as WAVE images.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "toolkit/core/mac_types.h"

using SndChannelPtr = void*;

// Plays the 'snd ' resource in the handle, always synchronously. 0, or -1 for a resource it cannot play.
OSErr SndPlay(SndChannelPtr chan, Handle sndHdl, Boolean async);
// Volume not 0: the system beep. Volume 0: the menu bar flashes for `duration` ticks instead.
void SysBeep(std::int16_t duration);
void GetSoundVol(std::int16_t* level);
void SetSoundVol(std::int16_t level);

namespace qiva {

// The WAVE image of an 'snd ' resource (format 1 or 2; standard header of 8-bit mono samples, or
// extended header in its published layout: sample size at byte 48, samples from byte 64, 16-bit
// samples big-endian and turned into WAVE's little-endian). Returns 0 with the image, 0 with an empty
// image when the header lies outside the resource (nothing to play), -1 for what it cannot play.
// Samples past the end of the resource are not read: the sound is cut there.
int SndToWave(const std::uint8_t* snd, std::size_t size, std::vector<std::uint8_t>& wave);

// A format-1 'snd ' resource (one sampled-sound modifier, one buffer command) of a PCM WAVE image:
// 8-bit mono under a standard header, anything else (16-bit, stereo) under an extended header in the
// published layout, 16-bit samples big-endian. Returns an error text, empty on success.
std::string WaveToSnd(const std::uint8_t* wave, std::size_t size, std::vector<std::uint8_t>& snd);

// Inverts the menu bar (set by the menu manager once it exists).
void SetMenuBarFlashHook(void (*invertMenuBar)());

} // namespace qiva
