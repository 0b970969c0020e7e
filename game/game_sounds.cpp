// The game's sounds: 'snd ' resources loaded once and played to their end; with the sound off each
// becomes a pause of the same rhythm, during which the window is kept alive.

#include "game/board_view.h"
#include "platform/platform.h"
#include "toolkit/core/resources.h"
#include "toolkit/core/sound.h"
#include "toolkit/core/time_manager.h"

namespace tolka {

namespace {
constexpr int kSilentPauseTicks = 10;
}

void BoardDisplay::PlayGameSound(std::int16_t number) {
    lastSound_ = number;
    ++soundsAsked_;
    if (!options.soundOn) {
        for (int i = 0; i < kSilentPauseTicks; ++i) {
            Delay(1, nullptr);
            if (platform::HasBackend()) platform::Current().ServiceWindow();
        }
        return;
    }
    if (number < 0 || number >= static_cast<int>(sounds_.size())) return;
    if (!soundTried_[number]) {
        sounds_[number] = GetResource(MakeResType("snd "), number);
        soundTried_[number] = true;
    }
    if (sounds_[number]) {
        SndPlay(nullptr, sounds_[number], false);
        if (platform::HasBackend()) platform::Current().ServiceWindow();
    }
}

void BoardDisplay::PlayPickUpSound(int count) {
    PlayGameSound(count > 1 ? 2 : 4);
}

} // namespace tolka
