#include "mci/audio_sink.h"

#include <string>

#include "winplat/debug.h"

#if WINPLAT_AUDIO_SDL
#include <SDL.h>
#endif

namespace winplat::mci {

#if WINPLAT_AUDIO_SDL
AudioSink::AudioSink() {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        OutputDebugStringA((std::string("MCI: no audio, playing silent: ") + SDL_GetError()).c_str());
        return;
    }
    SDL_AudioSpec want{};
    want.freq = kSinkRate;
    want.format = AUDIO_S16SYS;
    want.channels = kSinkChannels;
    want.samples = 4096;
    device_ = SDL_OpenAudioDevice(nullptr, 0, &want, nullptr, 0);
    if (!device_) {
        OutputDebugStringA((std::string("MCI: no audio device, playing silent: ") + SDL_GetError()).c_str());
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return;
    }
    SDL_PauseAudioDevice(device_, 0);
}

AudioSink::~AudioSink() {
    if (!device_) return;
    SDL_CloseAudioDevice(device_);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void AudioSink::queue(const int16_t* samples, size_t frames) {
    if (device_) SDL_QueueAudio(device_, samples, static_cast<Uint32>(frames * kSinkChannels * sizeof(int16_t)));
}

void AudioSink::clear() {
    if (device_) SDL_ClearQueuedAudio(device_);
}
#else
AudioSink::AudioSink() { OutputDebugStringA("MCI: built without SDL, playing silent"); }
AudioSink::~AudioSink() = default;
void AudioSink::queue(const int16_t*, size_t) {}
void AudioSink::clear() {}
#endif

}  // namespace winplat::mci
