// What a WAV file says about its sound, read field by field: the PCM format of its "fmt " chunk and
// how many bytes of samples its "data" chunk holds (no more than the file has).
#ifndef WINPLAT_SRC_MCI_WAVE_HEADER_H
#define WINPLAT_SRC_MCI_WAVE_HEADER_H

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace winplat::mci {

struct WaveInfo {
    uint16_t channels = 0;
    uint32_t samplesPerSecond = 0;
    uint16_t bitsPerSample = 0;
    uint16_t blockAlign = 0;
    uint32_t dataBytes = 0;

    // The length of the samples in milliseconds, rounded down.
    uint32_t durationMs() const;
};

// None, with the reason in 'why', for anything but a RIFF WAVE file of PCM samples (1 to 8 channels,
// 8 or 16 bits, 1 to 384000 samples a second, a consistent block size) with a data chunk.
std::optional<WaveInfo> readWaveHeader(std::span<const uint8_t> file, std::string& why);

}  // namespace winplat::mci

#endif
