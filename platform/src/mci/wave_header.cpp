#include "mci/wave_header.h"

#include <algorithm>

#include "winplat/byte_reader.h"

namespace winplat::mci {

namespace {

constexpr uint16_t kPcm = 1;
constexpr uint32_t kMaxRate = 384000;

bool tagIs(std::span<const uint8_t> tag, const char* expected) {
    return tag.size() == 4 && std::equal(tag.begin(), tag.end(), expected);
}

// The "fmt " chunk's body: false, with the reason, when it is not PCM the layer plays.
bool readFormat(ByteReader& chunk, WaveInfo& info, std::string& why) {
    const uint16_t format = chunk.u16();
    info.channels = chunk.u16();
    info.samplesPerSecond = chunk.u32();
    const uint32_t bytesPerSecond = chunk.u32();
    info.blockAlign = chunk.u16();
    info.bitsPerSample = chunk.u16();
    if (!chunk.ok()) return why = "the format chunk is shorter than 16 bytes", false;
    if (format != kPcm) return why = "the samples are not PCM", false;
    if (info.channels < 1 || info.channels > 8) return why = "channels outside 1..8", false;
    if (info.bitsPerSample != 8 && info.bitsPerSample != 16) return why = "samples of neither 8 nor 16 bits", false;
    if (info.samplesPerSecond < 1 || info.samplesPerSecond > kMaxRate) return why = "a sample rate outside 1..384000", false;
    if (info.blockAlign != info.channels * info.bitsPerSample / 8) return why = "a block size that fits no sample", false;
    if (bytesPerSecond != info.samplesPerSecond * info.blockAlign) return why = "a byte rate that fits no sample", false;
    return true;
}

}  // namespace

uint32_t WaveInfo::durationMs() const {
    const uint64_t bytesPerSecond = static_cast<uint64_t>(samplesPerSecond) * blockAlign;
    return bytesPerSecond ? static_cast<uint32_t>(uint64_t{dataBytes} * 1000 / bytesPerSecond) : 0;
}

std::optional<WaveInfo> readWaveHeader(std::span<const uint8_t> file, std::string& why) {
    ByteReader reader(file);
    const std::span<const uint8_t> riff = reader.view(4);
    reader.u32();  // the RIFF size: the file's own length is what counts
    const std::span<const uint8_t> wave = reader.view(4);
    if (!reader.ok() || !tagIs(riff, "RIFF") || !tagIs(wave, "WAVE")) return why = "no RIFF WAVE header", std::nullopt;
    WaveInfo info;
    bool haveFormat = false;
    bool haveData = false;
    while (reader.remaining() >= 8 && !(haveFormat && haveData)) {
        const std::span<const uint8_t> tag = reader.view(4);
        const uint32_t size = reader.u32();
        // A chunk claiming more than is left keeps what is there (a truncated data chunk plays
        // its bytes); its end is the file's.
        const size_t body = std::min<size_t>(size, reader.remaining());
        if (tagIs(tag, "fmt ")) {
            ByteReader chunk(reader.view(body));
            if (!readFormat(chunk, info, why)) return std::nullopt;
            haveFormat = true;
        } else {
            if (tagIs(tag, "data")) {
                info.dataBytes = static_cast<uint32_t>(body);
                haveData = true;
            }
            reader.skip(body);
        }
        if ((size & 1) && reader.remaining() > 0) reader.skip(1);  // chunks are padded to even sizes
    }
    if (!haveFormat) return why = "no format chunk", std::nullopt;
    if (!haveData) return why = "no data chunk", std::nullopt;
    return info;
}

}  // namespace winplat::mci
