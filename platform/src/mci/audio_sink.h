// The layer's sound output: signed 16-bit stereo at 44100 Hz queued on the host's audio device.
// Without a device (none there, or SDL not built in) the sink takes the sound and drops it.
#ifndef WINPLAT_SRC_MCI_AUDIO_SINK_H
#define WINPLAT_SRC_MCI_AUDIO_SINK_H

#include <cstddef>
#include <cstdint>

namespace winplat::mci {

constexpr int kSinkRate = 44100;
constexpr int kSinkChannels = 2;

class AudioSink {
public:
    AudioSink();
    ~AudioSink();
    AudioSink(const AudioSink&) = delete;
    AudioSink& operator=(const AudioSink&) = delete;

    bool hasDevice() const { return device_ != 0; }
    void queue(const int16_t* samples, size_t frames);
    // Drops what is queued and not yet heard.
    void clear();

private:
    uint32_t device_ = 0;
};

}  // namespace winplat::mci

#endif
