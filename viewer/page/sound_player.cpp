#include "page/sound_player.h"

#include <map>

#include "winplat/user.h"

namespace lect32 {
namespace {

// The player each running timer belongs to: a window-less timer names only its id.
std::map<UINT_PTR, SoundPlayer*>& timerOwners() {
    static std::map<UINT_PTR, SoundPlayer*> owners;
    return owners;
}

}  // namespace

SoundPlayer::~SoundPlayer() { Close(); }

MciDevice& SoundPlayer::device(int n) {
    if (n == 1) return first_;
    return n == 2 ? second_ : background_;
}

void SoundPlayer::StartTimer() {
    if (timer_) return;
    timer_ = SetTimer(nullptr, 1, kTickMs, &SoundPlayer::OnTimer);
    if (timer_) timerOwners()[timer_] = this;
}

void SoundPlayer::StopTimer() {
    if (!timer_) return;
    KillTimer(nullptr, timer_);
    timerOwners().erase(timer_);
    timer_ = 0;
}

void CALLBACK SoundPlayer::OnTimer(HWND, UINT, UINT_PTR id, DWORD) {
    const auto owner = timerOwners().find(id);
    if (owner != timerOwners().end()) owner->second->Resume();
}

int SoundPlayer::Play(int16_t index) {
    if (!second_.PlayMedia(index, false, false)) return 0;
    background_.Pause();
    if (first_.IsPlaying()) {
        second_.Pause();
        return 0;
    }
    const int played = second_.Play();
    StartTimer();
    return played;
}

void SoundPlayer::PlayBackground(int16_t index, bool loop) {
    if (index == -1) {
        background_.Close();
        if (!first_.IsPlaying() && !second_.IsPlaying()) StopTimer();
        return;
    }
    if (!background_.PlayMediaByName(index, loop, false)) return;
    if (first_.IsPlaying() || second_.IsPlaying()) {
        background_.Pause();
        return;
    }
    if (!background_.IsPlaying()) background_.Play();
    StartTimer();
}

void SoundPlayer::PlayExclusive(int16_t index) {
    if (!first_.PlayMedia(index, false, false)) return;
    StopTimer();
    second_.Pause();
    background_.Pause();
    first_.Play();
    StartTimer();
}

void SoundPlayer::Resume() {
    for (MciDevice* device : {&first_, &second_, &background_}) {
        if (device->Poll()) {
            StartTimer();
            return;
        }
    }
    StopTimer();
}

void SoundPlayer::Close() {
    StopTimer();
    first_.Close();
    second_.Close();
    background_.Close();
}

void SoundPlayer::Stop() {
    first_.Close();
    second_.Close();
    if (background_.id()) {
        Resume();
        return;
    }
    StopTimer();
}

void SoundPlayer::Pause() {
    StopTimer();
    first_.Pause();
    second_.Pause();
    background_.Pause();
}

void SoundPlayer::ToggleSound(bool sounds, bool background) {
    SoundSwitches& switches = GetSoundSwitches();
    bool turnedOn = false;
    if (sounds) {
        switches.sounds = !switches.sounds;
        turnedOn = turnedOn || switches.sounds;
    }
    if (background) {
        switches.background = !switches.background;
        turnedOn = turnedOn || switches.background;
    }
    if (turnedOn) {
        Resume();
    } else {
        Pause();
    }
}

SoundPlayer& GetSoundPlayer() {
    static SoundPlayer player;
    return player;
}

}  // namespace lect32
