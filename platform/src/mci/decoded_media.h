// Media files read by FFmpeg's libraries (WAV, MP3, AVI, MPEG, QuickTime and whatever else they
// demux and decode): what a file holds, decoding it whole, and the backend that plays it.
#ifndef WINPLAT_SRC_MCI_DECODED_MEDIA_H
#define WINPLAT_SRC_MCI_DECODED_MEDIA_H

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "mci/media_backend.h"

namespace winplat::mci {

// None, with the reason in 'why', when no demuxer reads the file or no decoder reads any of its
// sound or picture streams.
std::optional<MediaInfo> probeMedia(const std::string& hostPath, std::string& why);

// What a decode produced: pictures and sound samples (per channel).
struct DecodeTally {
    uint64_t videoFrames = 0;
    uint64_t audioSamples = 0;
    uint32_t audioRate = 0;
};

// Decodes the range from..to (ms) of the file, handing each picture to 'picture' (when set) and
// the sound to 'sound'; stops early when 'cancelled' says so. False when the file cannot be read.
struct DecodeSinks {
    // Interleaved signed 16-bit stereo at 44100 Hz.
    void (*sound)(void* context, const int16_t* samples, size_t frames) = nullptr;
    bool (*cancelled)(void* context) = nullptr;
    void* context = nullptr;
};
bool decodeRange(const std::string& hostPath, uint32_t fromMs, uint32_t toMs, const DecodeSinks& sinks,
                 DecodeTally& tally, std::string& why);

// The real backend: each play decodes its range on a thread of its own and queues the sound on
// the audio sink; without an audio device the sound is dropped and the device keeps its time.
std::unique_ptr<MediaBackend> makeDecodingBackend();

}  // namespace winplat::mci

#endif
