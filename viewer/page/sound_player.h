// The one program-wide player of page sounds: device 1 for sounds that take precedence (played
// exclusively), device 2 for sounds of links and objects, device 3 for the page's background
// sound. A window-less 110 ms timer polls them while any plays, restarting looping ones, so that
// a paused device resumes once the one in front of it has finished.
#ifndef LECT32_PAGE_SOUND_PLAYER_H
#define LECT32_PAGE_SOUND_PLAYER_H

#include <cstdint>

#include "page/mci_device.h"
#include "winplat/types.h"

namespace lect32 {

class SoundPlayer {
public:
    static constexpr UINT kTickMs = 110;

    SoundPlayer() = default;
    ~SoundPlayer();
    SoundPlayer(const SoundPlayer&) = delete;
    SoundPlayer& operator=(const SoundPlayer&) = delete;

    // A sound of a link or object (device 2); it waits while device 1 plays. 1 when it plays.
    int Play(int16_t index);
    // The page's background sound (-1: none); the same stored file goes on playing.
    void PlayBackground(int16_t index, bool loop);
    // A sound before all others (device 1): the other two wait for its end.
    void PlayExclusive(int16_t index);
    // The timer's tick: the first device that plays keeps the timer running; none stops it.
    void Resume();
    // At document close and exit: the timer stops and every device closes.
    void Close();
    // Devices 1 and 2 close; the background sound goes on.
    void Stop();
    void Pause();
    // Each flag set flips its switch; a switch turned on resumes, else everything pauses.
    void ToggleSound(bool sounds, bool background);

    // n 1-3.
    MciDevice& device(int n);
    UINT_PTR timer() const { return timer_; }

private:
    void StartTimer();
    void StopTimer();
    static void CALLBACK OnTimer(HWND window, UINT message, UINT_PTR id, DWORD time);

    UINT_PTR timer_ = 0;
    MciDevice first_{1};
    MciDevice second_{2};
    MciDevice background_{MciDevice::kBackgroundKind};
};

SoundPlayer& GetSoundPlayer();

}  // namespace lect32

#endif
